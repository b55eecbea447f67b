#include "VersionLine.h"

#include "Utils.h"

bool ReadVersionNumbers(const QString &fileName, std::uint16_t &major, std::uint16_t &minor,
                        std::uint16_t &release, std::uint16_t &build)
{
    return Utility->GetFileVersion(fileName, major, minor, release, build);
}

QString VersionLine(const QString &caption, std::uint16_t major, std::uint16_t minor,
                    std::uint16_t release, std::uint16_t build)
{
    return QStringLiteral("%1 %2.%3.%4 Build: %5")
        .arg(caption)
        .arg(major)
        .arg(minor)
        .arg(release)
        .arg(build);
}
