#pragma once

#include <QString>
#include <cstdint>

// The running program: where it lies and which version it was built as.
namespace ExecutableInfo {

// Canonical path of the running executable.
QString executablePath();

// True when fileName names the running executable (through any link or relative path).
bool isRunningExecutable(const QString &fileName);

struct VersionNumbers {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t release = 0;
    std::uint16_t build = 0;
};

// The version compiled into the program from the build's project version.
VersionNumbers compiledVersion();

}  // namespace ExecutableInfo
