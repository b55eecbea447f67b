// The program's folders, the temporary files of portable mode and the executable's version.
#include "Utils.h"

#include "ExecutableInfo.h"
#include "Folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace {

constexpr const char *SettingsSubFolder = "Kal-Works";
constexpr const char *TempSubFolder = "Temp/";

QString &exeFolderOverride()
{
    static QString folder;
    return folder;
}

QString withTrailingSeparator(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString withoutTrailingSeparator(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

// Free of Utility, because finalization deletes the temporary files after freeing it.
QString exeFolder()
{
    if (!exeFolderOverride().isEmpty())
        return withTrailingSeparator(exeFolderOverride());
    return withTrailingSeparator(QFileInfo(ExecutableInfo::executablePath()).path());
}

QString portableTempFolder()
{
    const QString folder = exeFolder() + QLatin1String(TempSubFolder);
    QDir().mkpath(folder);
    return folder;
}

}  // namespace

QString DefaultFolder()
{
    return withTrailingSeparator(PlatformFolders::homeFolder());
}

void TUtility::SetExeFolderOverride(const QString &folder)
{
    exeFolderOverride() = folder;
}

void TUtility::ExeFolder(QString &folder)
{
    folder = exeFolder();
}

void TUtility::SettingsFolder(QString &folder)
{
    QString base = PortableMode ? QString() : PlatformFolders::userConfigFolder();
    // Without any per-user folder the settings stay beside the program.
    folder = base.isEmpty() ? withoutTrailingSeparator(exeFolder())
                            : withTrailingSeparator(base) + QLatin1String(SettingsSubFolder);
    QDir().mkpath(folder);
}

void TUtility::TempFolder(QString &folder)
{
    folder = PortableMode ? portableTempFolder() : QString();
}

QString TUtility::SettingsFile()
{
    QString folder;
    SettingsFolder(folder);
    return withTrailingSeparator(folder) + QLatin1String(SettingsFileName);
}

bool TUtility::GetFileVersion(const QString &fileName, std::uint16_t &major, std::uint16_t &minor,
                              std::uint16_t &release, std::uint16_t &build)
{
    if (!ExecutableInfo::isRunningExecutable(fileName))
        return false;
    const ExecutableInfo::VersionNumbers version = ExecutableInfo::compiledVersion();
    major = version.major;
    minor = version.minor;
    release = version.release;
    build = version.build;
    return true;
}

void DeleteTempFiles()
{
    namespace fs = std::filesystem;
    std::error_code listError;
    fs::directory_iterator entries(QFile::encodeName(portableTempFolder()).toStdString(), listError);
    for (; !listError && entries != fs::directory_iterator(); entries.increment(listError)) {
        std::error_code ignored;
        // A link is removed itself, even when it points at a folder; folders stay.
        if (entries->symlink_status(ignored).type() != fs::file_type::directory)
            fs::remove(entries->path(), ignored);
    }
}
