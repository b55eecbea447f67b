#include "ExecutableInfo.h"

#include "Version.h"

#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace ExecutableInfo {

QString executablePath()
{
    // /proc answers before any QCoreApplication exists, which module initialization needs.
    std::error_code error;
    const auto path = std::filesystem::canonical("/proc/self/exe", error);
    return error ? QString() : QString::fromStdString(path.string());
}

bool isRunningExecutable(const QString &fileName)
{
    const QString canonical = QFileInfo(fileName).canonicalFilePath();
    return !canonical.isEmpty() && canonical == executablePath();
}

VersionNumbers compiledVersion()
{
    return {BuildVersion::Major, BuildVersion::Minor, BuildVersion::Release, BuildVersion::Build};
}

}  // namespace ExecutableInfo
