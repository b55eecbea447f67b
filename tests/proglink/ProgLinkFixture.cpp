#include "ProgLinkFixture.h"

#include "HexContainer.h"
#include "Modul.h"
#include "ProgUSB.h"
#include "Sleep.h"
#include "Utils.h"

#include <QFile>
#include <QTemporaryFile>

namespace {
[[maybe_unused]] auto *const environment = ::testing::AddGlobalTestEnvironment(new ProgLinkEnvironment);
constexpr int DefaultFlashSize = 32768;
constexpr int DefaultEepromSize = 1024;
}

const QStringList RecordingWindow::SpiItems = {
    QStringLiteral("4 MHz (250ns)"), QStringLiteral("2 MHz (500ns)"), QStringLiteral("1 MHz (1µs)"),
    QStringLiteral("500  kHz (2µs)"), QStringLiteral("250  kHz (4µs)"), QStringLiteral("125  kHz (8µs)"),
    QStringLiteral("50  kHz (20µs)"), QStringLiteral("25  kHz (40µs)"), QStringLiteral("10  kHz (100µs)"),
    QStringLiteral("5  kHz (200µs)"), QStringLiteral("1  kHz (1ms)"),
};

void PrintTo(const LogLine &line, std::ostream *out)
{
    *out << "{" << line.styles << ", 0x" << std::hex << line.colour << std::dec << ", \""
         << line.text.toStdString() << "\"}";
}

void RecordingWindow::addLogLine(TFontStyles styles, TColor colour, const QString &text)
{
    log.append({styles, colour, text});
    if (onLogLine)
        onLogLine();
}

void ProgLinkEnvironment::SetUp()
{
    ASSERT_TRUE(m_configHome.isValid() && m_exeFolder.isValid());
    qputenv("XDG_CONFIG_HOME", m_configHome.path().toLocal8Bit());
    TUtility::SetExeFolderOverride(m_exeFolder.path());
    const QString library = qEnvironmentVariable("LUMAPROG_TEST_LIB_DIR") + QStringLiteral("/TT.lang.so");
    ASSERT_TRUE(QFile::copy(library, m_exeFolder.filePath(QStringLiteral("TT.lang.so")))) << library.toStdString();
    InitUtilsModule();
    Utility->IniWrite(QStringLiteral("ProgramOptions"), QStringLiteral("LanguageID"), QStringLiteral("TT"));
}

void ProgLinkEnvironment::TearDown()
{
    FinalizeUtilsModule();
    TUtility::SetExeFolderOverride(QString());
}

void ProgLinkTest::SetUp()
{
    useBoard(DefaultFlashSize, DefaultEepromSize);
    *DeviceInfo = TDeviceInfo();
    InitProgUSBModule();
    setMainWindowLink(&window);
    // The power cycle's pause is recorded, not waited for.
    setSleepFunction([](int) {});
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

TLogProc ProgLinkTest::logger()
{
    return [this](TFontStyles styles, TColor colour, const QString &text) { lines.append({styles, colour, text}); };
}

TModul ProgLinkTest::target()
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

void ProgLinkTest::makeImage(THexContainer &image, int size, const QMap<int, QByteArray> &blocks)
{
    constexpr int RecordBytes = 16;
    QByteArray text;
    std::uint32_t segment = 0;
    for (auto it = blocks.begin(); it != blocks.end(); ++it) {
        for (int offset = 0; offset < it.value().size(); offset += RecordBytes) {
            const QByteArray chunk = it.value().mid(offset, RecordBytes);
            const std::uint32_t full = std::uint32_t(it.key() + offset);
            if ((full >> 16) != segment) {
                segment = full >> 16;
                const std::uint8_t data[2] = {std::uint8_t(segment >> 8), std::uint8_t(segment)};
                text += QStringLiteral(":02000004%1%2\n")
                            .arg(QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(data), 2).toHex()))
                            .arg(HexChecksum(2, 0, 4, data), 2, 16, QLatin1Char('0'))
                            .toUpper()
                            .toLatin1();
            }
            const auto *data = reinterpret_cast<const std::uint8_t *>(chunk.constData());
            const auto count = std::uint16_t(chunk.size());
            const auto address = std::uint16_t(full & 0xFFFF);
            text += QStringLiteral(":%1%2%3%4%5\n")
                        .arg(count, 2, 16, QLatin1Char('0'))
                        .arg(address, 4, 16, QLatin1Char('0'))
                        .arg(QStringLiteral("00"))
                        .arg(QString::fromLatin1(chunk.toHex()))
                        .arg(HexChecksum(count, address, 0, data), 2, 16, QLatin1Char('0'))
                        .toUpper()
                        .toLatin1();
        }
    }
    text += ":00000001FF\n";
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write(text);
    file.close();
    image.LoadFromFile(file.fileName());
    image.Resize(size - 1);
}

std::vector<BoardSimulator::Exchange> ProgLinkTest::exchangesOf(std::uint16_t command) const
{
    std::vector<BoardSimulator::Exchange> result;
    for (const auto &exchange : sim->exchanges()) {
        if (exchange.command == command)
            result.push_back(exchange);
    }
    return result;
}
