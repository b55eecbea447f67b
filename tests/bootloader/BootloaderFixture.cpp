#include "BootloaderFixture.h"

#include "Delays.h"
#include "TestEnvironment.h"
#include "Utils.h"

namespace {
[[maybe_unused]] auto *const languageEnvironment =
    ::testing::AddGlobalTestEnvironment(new TestLanguageEnvironment);
// Many times the longest wait for the scheduler that a busy machine shows.
constexpr int AnsweringWindowMs = 400;
constexpr int TakeInTimeoutMs = 5000;
}

void BootloaderTest::SetUp()
{
    CurrentComPort = sim.portPath();
    InitBootloaderModule();
    Bootloader->setTimeouts(answeringTimeouts());
    setDelayObserver([this](int) { EXPECT_TRUE(sim.waitUntilTakenIn(TakeInTimeoutMs)); });
    setMainWindowLink(&mainWindow);
    setConnectDialogControl(&dialog);
}

void BootloaderTest::TearDown()
{
    setDelayObserver({});
    Bootloader->Close();
    FinalizeBootloaderModule();
    setConnectDialogControl(nullptr);
    setMainWindowLink(nullptr);
    BootloaderAbort = false;
}

BootloaderTimeouts answeringTimeouts()
{
    BootloaderTimeouts timeouts;
    timeouts.identification = AnsweringWindowMs;
    return timeouts;
}

void useProgramIdentificationWindow()
{
    BootloaderTimeouts timeouts = Bootloader->timeouts();
    timeouts.identification = BootloaderTimeouts().identification;
    Bootloader->setTimeouts(timeouts);
}

TModul BootloaderTest::module(const QString &name)
{
    TModul modul;
    modul.Categorie = 1;
    modul.Name = name;
    modul.FlashSize = geometry().flashSize;
    modul.FlashPageSize = geometry().flashPageSize;
    modul.EEPromSize = geometry().eepromSize;
    modul.EEPromPageSize = geometry().eepromPageSize;
    return modul;
}

void BootloaderTest::openModuleInBootloader()
{
    sim.setEntersBootloaderAfter(0);
    ASSERT_TRUE(Bootloader->Open());
}

QByteArray addressFrame(std::uint32_t address)
{
    QByteArray frame("IA");
    frame += char(address >> 16);
    frame += char(address >> 8);
    frame += char(address);
    return frame;
}

QByteArray blockFrame(char command, int length, char memory)
{
    QByteArray frame("I");
    frame += command;
    frame += char(length >> 8);
    frame += char(length);
    frame += memory;
    return frame;
}
