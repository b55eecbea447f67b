#pragma once

#include <QString>
#include <cstdint>

// The program's version as the splash, the status bar and the about box show it.

// The executable's version numbers; true once the version data was read.
bool ReadVersionNumbers(const QString &fileName, std::uint16_t &major, std::uint16_t &minor,
                        std::uint16_t &release, std::uint16_t &build);

// "<caption> a.b.c Build: d".
QString VersionLine(const QString &caption, std::uint16_t major, std::uint16_t minor,
                    std::uint16_t release, std::uint16_t build);
