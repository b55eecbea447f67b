#include "ProgLinkFixture.h"

#include "ProgUSB.h"
#include "Sleep.h"
#include "TestEnvironment.h"
#include "Utils.h"

namespace {
[[maybe_unused]] auto *const environment = ::testing::AddGlobalTestEnvironment(new TestLanguageEnvironment);
constexpr int DefaultFlashSize = 32768;
constexpr int DefaultEepromSize = 1024;

const QStringList SpiItems = {
    QStringLiteral("4 MHz (250ns)"), QStringLiteral("2 MHz (500ns)"), QStringLiteral("1 MHz (1µs)"),
    QStringLiteral("500  kHz (2µs)"), QStringLiteral("250  kHz (4µs)"), QStringLiteral("125  kHz (8µs)"),
    QStringLiteral("50  kHz (20µs)"), QStringLiteral("25  kHz (40µs)"), QStringLiteral("10  kHz (100µs)"),
    QStringLiteral("5  kHz (200µs)"), QStringLiteral("1  kHz (1ms)"),
};
}

void ProgLinkTest::SetUp()
{
    useBoard(DefaultFlashSize, DefaultEepromSize);
    *DeviceInfo = TDeviceInfo();
    InitProgUSBModule();
    window.spiItems = SpiItems;
    window.spiIndex = 0;
    setMainWindowLink(&window);
    // The power cycle's pause is recorded, not waited for.
    setSleepFunction([this](int ms) { pauses.append(ms); });
}

void ProgLinkTest::TearDown()
{
    FinalizeProgUSBModule();
    setMainWindowLink(nullptr);
    setSleepFunction({});
    sim.reset();
}

void ProgLinkTest::useBoard(int flashSize, int eepromSize)
{
    sim.reset();
    sim = std::make_unique<BoardSimulator>(flashSize, eepromSize);
    CurrentComPort = sim->portPath();
}

void ProgLinkTest::open()
{
    ASSERT_TRUE(ProgUSB->Open());
    window.log.clear();
}

void ProgLinkTest::openInProgrammingMode()
{
    sim->setProgrammingMode(true);
    open();
}

TModul target()
{
    TModul modul;
    modul.Name = QStringLiteral("ATmega328P");
    modul.FlashSize = DefaultFlashSize;
    modul.FlashPageSize = 128;
    modul.EEPromSize = DefaultEepromSize;
    modul.EEPromPageSize = 4;
    modul.Signatur = QStringLiteral("1E950F");
    modul.FlashDelay = 10;
    modul.EEPromDelay = 10;
    modul.FuseDelay = 10;
    modul.EraseDelay = 300;
    return modul;
}

std::string ProgLinkTest::requestsOf(std::uint16_t command) const
{
    EXPECT_TRUE(sim->waitForExchanges(0, 3000));
    QByteArrayList requests;
    for (const auto &exchange : sim->exchanges()) {
        if (exchange.command == command)
            requests << (exchange.request.isEmpty() ? QByteArray("-") : exchange.request.toHex());
    }
    return requests.join(' ').toStdString();
}

void ProgLinkTest::expectNoViolations() const
{
    EXPECT_TRUE(sim->violations().isEmpty()) << sim->violations().join('\n').toStdString();
}
