#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// What the about box tells of the computer it runs on.
namespace SystemInfo {

// The value of PRETTY_NAME in the text of an os-release file, unquoted;
// empty when it has none.
QString prettyNameOf(const QString &osRelease);

// "<pretty name>, <machine>, Kernel <release>"; "Linux" stands in for a missing name.
QString describeLinux(const QString &prettyName, const QString &machine, const QString &kernelRelease);

// The description of the running system, from /etc/os-release (or
// /usr/lib/os-release) and uname.
QString operatingSystemDescription();

// Physical memory in bytes.
struct MemoryStatus {
    std::uint64_t totalPhysical = 0;
    std::uint64_t availablePhysical = 0;
};

// MemTotal and MemAvailable of a /proc/meminfo text; nothing when either is
// missing or the total is 0.
std::optional<MemoryStatus> parseMemInfo(const QString &memInfo);

// The running system's memory; nothing when /proc/meminfo cannot be read.
std::optional<MemoryStatus> readMemoryStatus();

}  // namespace SystemInfo
