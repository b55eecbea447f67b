// A language library with known answers for the text lookup tests. It answers
// "<tag> <id>" for every id except a few that probe the caller's handling, and
// records every getValue call so that tests can check the two-call rule.
// Built with WITHOUT_GETVALUE it lacks getValue, as a broken library would.
#include "LanguageAbi.h"

#include <string>
#include <vector>

#ifndef LANGUAGE_TAG
#error "LANGUAGE_TAG names the library's language"
#endif

using lumaprog::language::answerText;

namespace {

enum ProbeId : std::int32_t {
    NonAsciiText = 5,   // UTF-8 beyond ASCII
    EmptyText = 7,      // length 0
    EndlessText = 8,    // claims the largest length and never writes a terminator
    NegativeLength = 9, // answers a negative length
};

// Per call: id, whether a buffer was given, size, mode.
std::vector<std::int32_t> calls;

[[maybe_unused]] std::string textOf(std::int32_t id)
{
    switch (id) {
    case NonAsciiText:
        return "\xC3\xB6" "ffnen \xE2\x80\x93 10 \xC2\xB5s";  // "öffnen – 10 µs"
    case EmptyText:
        return "";
    default:
        return std::string(LANGUAGE_TAG) + " " + std::to_string(id);
    }
}

}  // namespace

extern "C" {

#ifndef WITHOUT_GETVALUE
std::int32_t getValue(std::int32_t id, char *buffer, std::int32_t size, std::int32_t mode)
{
    calls.insert(calls.end(), {id, buffer != nullptr, size, mode});
    if (id == EndlessText) {
        if (mode == 0)
            return INT32_MAX;
        std::memset(buffer, 'x', static_cast<std::size_t>(size));
        return 0;
    }
    if (id == NegativeLength && mode == 0)
        return -5;
    return answerText(textOf(id), buffer, size, mode);
}
#endif

std::int32_t getLangID(char *buffer, std::int32_t size, std::int32_t mode)
{
    return answerText(LANGUAGE_TAG, buffer, size, mode);
}

std::int32_t getLangFull(char *buffer, std::int32_t size, std::int32_t mode)
{
    return answerText(std::string("Test language ") + LANGUAGE_TAG, buffer, size, mode);
}

// For the tests only: the getValue calls so far, four numbers each.
LUMAPROG_LANGUAGE_EXPORT const std::int32_t *recordedCalls(std::int32_t *count)
{
    *count = static_cast<std::int32_t>(calls.size() / 4);
    return calls.data();
}
}
