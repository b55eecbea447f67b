#include "PrivateRuntimeFolder.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr mode_t PrivateMode = 0700;
constexpr mode_t PermissionBits = 0777;

bool isPrivateFolder(const QString &path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode)
        && info.st_uid == ::geteuid() && (info.st_mode & PermissionBits) == PrivateMode;
}

void warnNotPrivate(const QString &path)
{
    qWarning("%s is not a folder of this user with mode 0700: not used",
             qUtf8Printable(QDir::toNativeSeparators(path)));
}
}

namespace PlatformFolders {

QString privateRuntimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime)) {
        if (isPrivateFolder(runtime))
            return QDir::cleanPath(runtime);
        warnNotPrivate(runtime);
    }
    const QString own = QDir::tempPath() + QStringLiteral("/lumaprog-%1").arg(::geteuid());
    // A folder that exists already, perhaps made by someone else, has to pass the test as well.
    ::mkdir(QFile::encodeName(own).constData(), PrivateMode);
    if (isPrivateFolder(own))
        return own;
    warnNotPrivate(own);
    return {};
}

}  // namespace PlatformFolders
