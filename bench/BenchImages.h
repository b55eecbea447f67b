#pragma once

// The full flash image of the largest device (256 KiB of random bytes), as
// the image benchmarks share it.
#include "MemoryStream.h"

#include <QString>

inline constexpr int FullFlashSize = 256 * 1024;

// The same random bytes at every call.
TMemoryStream randomFlashStream();
// An Intel HEX file of those bytes, written once per run by the program's own writer.
const QString &fullFlashHexFile();
