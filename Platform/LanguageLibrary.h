#pragma once

#include <QString>
#include <cstdint>
#include <functional>

// A language library is the file "<language id>.lang.so" beside the executable.
// The suffix is distinctive so that no other shared object there is ever loaded.
inline constexpr const char *LanguageLibrarySuffix = ".lang.so";

// Its exports. Each follows the two-call rule: called with no buffer, size 0 and
// mode 0 it answers the text's length in bytes; called again with a buffer of
// length + 1 bytes and mode 1 it copies the UTF-8 text and a terminating zero.
using LanguageValueFunction = std::int32_t (*)(std::int32_t id, char *buffer, std::int32_t size,
                                               std::int32_t mode);            // getValue
using LanguageInfoFunction = std::int32_t (*)(char *buffer, std::int32_t size,
                                              std::int32_t mode);             // getLangID, getLangFull

namespace LanguageLibrary {

// Longest text taken from a library: a larger length answer is cut to this, so
// that a broken library cannot make us allocate without bound.
inline constexpr std::int32_t MaxTextLength = 1 << 20;

// Loads the library at the full path. Libraries are never unloaded, so asking
// again hands back the one already loaded. On failure returns nullptr and sets
// errorNumber to the system's error number of the failed call (never 0).
void *load(const QString &path, int &errorNumber);

// Finds an export by name; nullptr and a non-zero errorNumber when it is missing.
using ExportFunction = void (*)();
ExportFunction findExport(void *library, const char *name, int &errorNumber);

// Applies the two-call rule to one export, given as a call of (buffer, size, mode),
// and returns its text. The buffer is terminated by us, whatever the library wrote.
QString fetchText(const std::function<std::int32_t(char *, std::int32_t, std::int32_t)> &call);

}  // namespace LanguageLibrary
