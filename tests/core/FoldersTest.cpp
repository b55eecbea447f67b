#include "CoreFixture.h"

#include "Version.h"

#include <QCoreApplication>

namespace {

class Folders : public CoreFixture {
protected:
    QString exeFolder() const { return folders.exeFolder() + '/'; }
};

}  // namespace

TEST_F(Folders, PerUserSettingsFolderFollowsXdgConfigHome)
{
    // A settings file beside the executable is not read before portable mode is known.
    writeFile(exeFolder() + "Lumaprog.ini", "[ProgramOptions]\nLanguageID=DE\n");
    EXPECT_EQ(read<QString>("ProgramOptions", "LanguageID", "EN"), "EN");
    EXPECT_TRUE(QFileInfo(folders.configHome() + "/Kal-Works").isDir());
    QString settings, temp;
    utility.SettingsFolder(settings);
    utility.TempFolder(temp);
    EXPECT_EQ(QStringList({settings, utility.SettingsFile(), temp}),
              QStringList({folders.configHome() + "/Kal-Works", userSettingsFile(), QString()}));
    EXPECT_TRUE(QFileInfo(settings).isDir() && !QFileInfo::exists(exeFolder() + "Temp"));
}

TEST_F(Folders, WithoutXdgConfigHomeTheSettingsLieInHomeConfig)
{
    QTemporaryDir home;
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", "relative/is/ignored");
    QString folder;
    utility.SettingsFolder(folder);
    const QString defaultFolder = DefaultFolder();
    qputenv("HOME", savedHome);
    EXPECT_EQ(folder, home.path() + "/.config/Kal-Works");
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(defaultFolder, home.path() + '/');
}

TEST_F(Folders, PortableModeKeepsEverythingBesideTheExecutable)
{
    PortableMode = true;
    QString folder;
    utility.ExeFolder(folder);
    EXPECT_EQ(folder, exeFolder());
    utility.SettingsFolder(folder);
    EXPECT_EQ(folder, folders.exeFolder());
    utility.TempFolder(folder);
    EXPECT_EQ(folder, exeFolder() + "Temp/");
    EXPECT_TRUE(QFileInfo(folder).isDir());

    utility.IniWrite("System", "FirstStart", false);
    EXPECT_EQ(readFile(exeFolder() + "Lumaprog.ini"), "[System]\nFirstStart=0\n");
    EXPECT_FALSE(QFileInfo::exists(folders.configHome() + "/Kal-Works"));
}

TEST_F(Folders, DeleteTempFilesKeepsSubFoldersAndTheFolder)
{
    const QString temp = exeFolder() + "Temp/";
    DeleteTempFiles();  // makes a missing folder
    EXPECT_TRUE(QFileInfo(temp).isDir());
    PortableMode = true;
    writeFile(temp + "a.txt", "a");
    writeFile(temp + ".hidden", "h");
    writeFile(temp + "sub/inner.txt", "i");
    writeFile(folders.exeFolder() + "/outside.txt", "o");
    ASSERT_TRUE(QFile::link(folders.exeFolder() + "/outside.txt", temp + "file-link"));
    ASSERT_TRUE(QFile::link(temp + "sub", temp + "folder-link"));

    DeleteTempFiles();

    EXPECT_EQ(QDir(temp).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              QStringList{"sub"});
    EXPECT_TRUE(QFileInfo::exists(temp + "sub/inner.txt"));
    EXPECT_TRUE(QFileInfo::exists(folders.exeFolder() + "/outside.txt"));
}

TEST_F(Folders, ModuleLifeCycle)
{
    // Outside portable mode the finalization leaves Temp alone.
    writeFile(exeFolder() + "Temp/keep.tmp", "x");
    InitUtilsModule();
    FinalizeUtilsModule();
    EXPECT_TRUE(QFileInfo::exists(exeFolder() + "Temp/keep.tmp"));

    InitUtilsModule();
    PortableMode = true;
    CurrentComPort = DefaultComPort;
    UartComPort = "/dev/ttyUSB0";
    FinalizeUtilsModule();

    EXPECT_TRUE(Utility == nullptr && DeviceInfo == nullptr);
    EXPECT_EQ(CurrentComPort + UartComPort, QString());
    EXPECT_FALSE(QFileInfo::exists(exeFolder() + "Temp/keep.tmp"));
    EXPECT_TRUE(QFileInfo(exeFolder() + "Temp").isDir());
}

TEST_F(Folders, FileVersionOnlyForTheRunningExecutable)
{
    std::uint16_t major = 91, minor = 92, release = 93, build = 94;
    const QString self = QCoreApplication::applicationFilePath();
    EXPECT_FALSE(utility.GetFileVersion(exeFolder() + "nothing.here", major, minor, release, build));
    writeFile(exeFolder() + "other", "x");
    EXPECT_FALSE(utility.GetFileVersion(exeFolder() + "other", major, minor, release, build));
    EXPECT_EQ(std::tuple(major, minor, release, build), std::tuple(91, 92, 93, 94));

    ASSERT_TRUE(QFile::link(self, exeFolder() + "link-to-self"));
    EXPECT_TRUE(utility.GetFileVersion(exeFolder() + "link-to-self", major, minor, release, build));
    EXPECT_EQ(std::tuple(major, minor, release, build),
              std::tuple(BuildVersion::Major, BuildVersion::Minor, BuildVersion::Release, BuildVersion::Build));
}
