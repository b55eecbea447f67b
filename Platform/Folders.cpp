#include "Folders.h"

#include <QDir>
#include <pwd.h>
#include <unistd.h>

namespace PlatformFolders {

QString homeFolder()
{
    QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty()) {
        // No HOME in the environment (started by a service): ask the user database.
        if (const passwd *entry = getpwuid(getuid()); entry && entry->pw_dir)
            home = QString::fromLocal8Bit(entry->pw_dir);
    }
    while (home.size() > 1 && home.endsWith(QLatin1Char('/')))
        home.chop(1);
    return home;
}

QString userConfigFolder()
{
    // The XDG rules say a relative XDG_CONFIG_HOME is invalid and must be ignored.
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (QDir::isAbsolutePath(configured))
        return QDir::cleanPath(configured);
    const QString home = homeFolder();
    return home.isEmpty() ? QString() : QDir::cleanPath(home + QStringLiteral("/.config"));
}

}  // namespace PlatformFolders
