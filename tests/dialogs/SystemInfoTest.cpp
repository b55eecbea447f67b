// The Linux description and the memory figures: parsed from given texts, and
// read on this machine.
#include "SystemInfo.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/utsname.h>

using namespace SystemInfo;

TEST(SystemInfo, DescribesThisMachine)
{
    QFile osRelease("/etc/os-release");
    ASSERT_TRUE(osRelease.open(QIODevice::ReadOnly));
    utsname system {};
    ASSERT_EQ(uname(&system), 0);
    const QString description = operatingSystemDescription();
    EXPECT_TRUE(description.startsWith(prettyNameOf(QString::fromUtf8(osRelease.readAll())) + ", "))
        << description.toStdString();
    EXPECT_TRUE(description.endsWith(QStringLiteral("%1, Kernel %2").arg(system.machine, system.release)));
}

TEST(SystemInfo, MemoryFromMeminfo)
{
    const auto parsed = parseMemInfo("MemTotal:        1048576 kB\nMemFree: 1 kB\nMemAvailable:     262144 kB\n");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(std::pair(parsed->totalPhysical, parsed->availablePhysical),
              std::pair(std::uint64_t(1073741824), std::uint64_t(268435456)));
    for (const char *unusable : {"", "MemTotal: 1024 kB\n", "MemTotal: 0 kB\nMemAvailable: 0 kB\n", "garbage"})
        EXPECT_FALSE(parseMemInfo(unusable)) << unusable;

    const auto here = readMemoryStatus();
    ASSERT_TRUE(here);
    EXPECT_TRUE(here->totalPhysical > 0 && here->availablePhysical <= here->totalPhysical);
}
