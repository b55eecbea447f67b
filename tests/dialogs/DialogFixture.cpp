#include "DialogFixture.h"

#include "PortChooser.h"
#include "ProgUSB.h"
#include "Sleep.h"
#include "TestEnvironment.h"
#include "Utils.h"

#include <QDir>
#include <QFile>

namespace {
class ProgramFolder : public ::testing::Environment {
public:
    void SetUp() override
    {
        folders = std::make_unique<TemporaryProgramFolders>();
        ASSERT_TRUE(folders->installTestLanguage());
        const QDir bin(qEnvironmentVariable("LUMAPROG_BIN_DIR"));
        const QDir exe(folders->exeFolder());
        for (const QString name : {"EN.lang.so", "DE.lang.so", "Ressourcen"})
            ASSERT_TRUE(QFile::link(bin.filePath(name), exe.filePath(name)));
        InitUtilsModule();
        InitProgUSBModule();
    }
    void TearDown() override
    {
        FinalizeProgUSBModule();
        FinalizeUtilsModule();
        folders.reset();
    }
    std::unique_ptr<TemporaryProgramFolders> folders;
};
[[maybe_unused]] auto *const environment = ::testing::AddGlobalTestEnvironment(new ProgramFolder);
}

void DialogTest::SetUp()
{
    ASSERT_TRUE(configHome.isValid());
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    Utility->IniWrite(SettingsSection::ProgramOptions, QStringLiteral("LanguageID"), QStringLiteral("TT"));
    setUiServices(&ui);
    setSleepFunction([](int) {});
    *DeviceInfo = TDeviceInfo();
    window = std::make_unique<TMainFrm>();
    setMainWindowLink(&log);
    SetModalRunner([](QDialog &) { return int(QDialog::Rejected); });
}

void DialogTest::TearDown()
{
    SetModalRunner({});
    setMainWindowLink(nullptr);
    window.reset();
    setSleepFunction({});
    setUiServices(nullptr);
}

void DialogTest::usePort(const QString &port)
{
    CurrentComPort = port;
    window->ComboBox1->refill();
    window->ComboBox1->selectCurrentPort();
}
