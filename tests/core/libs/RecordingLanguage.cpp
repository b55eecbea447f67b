// A language library with known answers for the text lookup tests. It answers
// "<tag> <id>" for every id except a few that probe the caller's handling, and
// records every getValue call so that tests can check the two-call rule.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#ifndef LANGUAGE_TAG
#error "LANGUAGE_TAG names the library's language"
#endif

namespace {

enum ProbeId : std::int32_t {
    NonAsciiText = 5,   // UTF-8 beyond ASCII
    EmptyText = 7,      // length 0
    EndlessText = 8,    // claims the largest length and never writes a terminator
    NegativeLength = 9, // answers a negative length
};

struct Call {
    std::int32_t id;
    bool bufferGiven;
    std::int32_t size;
    std::int32_t mode;
};
std::vector<Call> calls;

std::string textOf(std::int32_t id)
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

std::int32_t answer(const std::string &text, char *buffer, std::int32_t size, std::int32_t mode)
{
    if (mode == 0)
        return static_cast<std::int32_t>(text.size());
    if (buffer && size > 0) {
        const std::size_t count = std::min(text.size(), static_cast<std::size_t>(size - 1));
        std::memcpy(buffer, text.data(), count);
        buffer[count] = '\0';
    }
    return 0;
}

}  // namespace

extern "C" {

std::int32_t getValue(std::int32_t id, char *buffer, std::int32_t size, std::int32_t mode)
{
    calls.push_back({id, buffer != nullptr, size, mode});
    if (id == EndlessText) {
        if (mode == 0)
            return INT32_MAX;
        std::memset(buffer, 'x', static_cast<std::size_t>(size));
        return 0;
    }
    if (id == NegativeLength && mode == 0)
        return -5;
    return answer(textOf(id), buffer, size, mode);
}

std::int32_t getLangID(char *buffer, std::int32_t size, std::int32_t mode)
{
    return answer(LANGUAGE_TAG, buffer, size, mode);
}

std::int32_t getLangFull(char *buffer, std::int32_t size, std::int32_t mode)
{
    return answer(std::string("Test language ") + LANGUAGE_TAG, buffer, size, mode);
}

// For the tests only: the getValue calls so far.
std::int32_t recordedCallCount()
{
    return static_cast<std::int32_t>(calls.size());
}

void recordedCall(std::int32_t index, std::int32_t *id, std::int32_t *bufferGiven, std::int32_t *size,
                  std::int32_t *mode)
{
    const Call &call = calls.at(static_cast<std::size_t>(index));
    *id = call.id;
    *bufferGiven = call.bufferGiven ? 1 : 0;
    *size = call.size;
    *mode = call.mode;
}
}
