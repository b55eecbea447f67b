#include "BootloaderFixture.h"

#include "Utils.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

namespace {
[[maybe_unused]] auto *const languageEnvironment =
    ::testing::AddGlobalTestEnvironment(new TestLanguageEnvironment);
}

void TestLanguageEnvironment::SetUp()
{
    ASSERT_TRUE(m_configHome.isValid() && m_exeFolder.isValid());
    qputenv("XDG_CONFIG_HOME", m_configHome.path().toLocal8Bit());
    TUtility::SetExeFolderOverride(m_exeFolder.path());
    const QString library = qEnvironmentVariable("LUMAPROG_TEST_LIB_DIR") + "/TT.lang.so";
    ASSERT_TRUE(QFile::copy(library, m_exeFolder.filePath("TT.lang.so"))) << library.toStdString();
    InitUtilsModule();
    Utility->IniWrite("ProgramOptions", "LanguageID", "TT");
}

void TestLanguageEnvironment::TearDown()
{
    FinalizeUtilsModule();
    TUtility::SetExeFolderOverride(QString());
}

void BootloaderTest::SetUp()
{
    CurrentComPort = sim.portPath();
    InitBootloaderModule();
    BootloaderTimeouts quick;
    quick.flashEraseCr = 100;
    quick.eepromEraseCr = 100;
    quick.address = 100;
    quick.programBlock = 100;
    quick.readBlock = 100;
    quick.start = 100;
    Bootloader->setTimeouts(quick);
    setMainWindowLink(&mainWindow);
    setConnectDialogControl(&dialog);
}

void BootloaderTest::TearDown()
{
    Bootloader->Close();
    FinalizeBootloaderModule();
    setConnectDialogControl(nullptr);
    setMainWindowLink(nullptr);
    BootloaderAbort = false;
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

void BootloaderTest::makeImage(THexContainer &image, int size, const QMap<int, QByteArray> &blocks)
{
    constexpr int RecordBytes = 16;
    QByteArray text;
    for (auto it = blocks.begin(); it != blocks.end(); ++it) {
        for (int offset = 0; offset < it.value().size(); offset += RecordBytes) {
            const QByteArray chunk = it.value().mid(offset, RecordBytes);
            const auto *data = reinterpret_cast<const std::uint8_t *>(chunk.constData());
            const auto count = std::uint16_t(chunk.size());
            const auto address = std::uint16_t(it.key() + offset);
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

QByteArray BootloaderTest::addressFrame(std::uint32_t address)
{
    QByteArray frame("IA");
    frame += char(address >> 16);
    frame += char(address >> 8);
    frame += char(address);
    return frame;
}

QByteArray BootloaderTest::blockFrame(char command, int length, char memory)
{
    QByteArray frame("I");
    frame += command;
    frame += char(length >> 8);
    frame += char(length);
    frame += memory;
    return frame;
}
