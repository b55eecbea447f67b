#include "SystemInfo.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <sys/utsname.h>

namespace {
constexpr std::uint64_t BytesPerKiB = 1024;

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// An os-release value: quoted with " or ', where a backslash takes the next character as it is.
QString unquoted(const QString &value)
{
    if (value.size() < 2 || (value.front() != u'"' && value.front() != u'\'') || value.back() != value.front())
        return value;
    QString text;
    for (qsizetype at = 1; at < value.size() - 1; ++at) {
        if (value.at(at) == u'\\' && at + 1 < value.size() - 1)
            ++at;
        text += value.at(at);
    }
    return text;
}
}

namespace SystemInfo {

QString prettyNameOf(const QString &osRelease)
{
    const QString key = QStringLiteral("PRETTY_NAME=");
    for (const QString &line : osRelease.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(key))
            return unquoted(trimmed.mid(key.size()));
    }
    return {};
}

QString describeLinux(const QString &prettyName, const QString &machine, const QString &kernelRelease)
{
    QStringList parts{prettyName.isEmpty() ? QStringLiteral("Linux") : prettyName};
    if (!machine.isEmpty())
        parts << machine;
    if (!kernelRelease.isEmpty())
        parts << QStringLiteral("Kernel ") + kernelRelease;
    return parts.join(QStringLiteral(", "));
}

QString operatingSystemDescription()
{
    QString prettyName = prettyNameOf(readText(QStringLiteral("/etc/os-release")));
    if (prettyName.isEmpty())
        prettyName = prettyNameOf(readText(QStringLiteral("/usr/lib/os-release")));
    utsname system {};
    if (uname(&system) != 0)
        return describeLinux(prettyName, {}, {});
    return describeLinux(prettyName, QString::fromLocal8Bit(system.machine),
                         QString::fromLocal8Bit(system.release));
}

std::optional<MemoryStatus> parseMemInfo(const QString &memInfo)
{
    static const QRegularExpression line(QStringLiteral("^(\\w+):\\s*(\\d+)\\s*kB\\s*$"),
                                         QRegularExpression::MultilineOption);
    std::optional<std::uint64_t> total, available;
    for (auto match = line.globalMatch(memInfo); match.hasNext();) {
        const auto field = match.next();
        bool ok = false;
        const std::uint64_t kib = field.captured(2).toULongLong(&ok);
        if (!ok)
            continue;
        if (field.captured(1) == QLatin1String("MemTotal") && !total)
            total = kib * BytesPerKiB;
        else if (field.captured(1) == QLatin1String("MemAvailable") && !available)
            available = kib * BytesPerKiB;
    }
    if (!total || !available || *total == 0)
        return std::nullopt;
    return MemoryStatus{*total, *available};
}

std::optional<MemoryStatus> readMemoryStatus()
{
    return parseMemInfo(readText(QStringLiteral("/proc/meminfo")));
}

}  // namespace SystemInfo
