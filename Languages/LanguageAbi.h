#pragma once

// The interface every language library offers: three plain C exports, looked up
// by name after the program loads "<language id>.lang.so". Texts are UTF-8.
//
// Each export follows the two-call rule. The caller first asks with no buffer,
// size 0 and mode 0 and gets the text's length in bytes (no terminator). It then
// passes a buffer of length + 1 bytes with mode 1 and receives the text and a
// zero byte; the result of that call has no meaning.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#define LUMAPROG_LANGUAGE_EXPORT __attribute__((visibility("default")))

extern "C" {
// The text with the given id; an id the library does not know gives the empty text.
LUMAPROG_LANGUAGE_EXPORT std::int32_t getValue(std::int32_t id, char *buffer, std::int32_t size,
                                               std::int32_t mode);
// The library's language id, which is also its file name without ".lang.so".
LUMAPROG_LANGUAGE_EXPORT std::int32_t getLangID(char *buffer, std::int32_t size, std::int32_t mode);
// The language's own name, as the options dialog lists it.
LUMAPROG_LANGUAGE_EXPORT std::int32_t getLangFull(char *buffer, std::int32_t size, std::int32_t mode);
}

namespace lumaprog::language {

inline constexpr std::int32_t ModeLength = 0;
inline constexpr std::int32_t ModeCopy = 1;

// Answers one call of the two-call rule for the given text. A copy never writes
// more than size bytes and always ends in a zero byte, even when the buffer is
// too short for the whole text; the library cannot know what the caller allocated.
inline std::int32_t answerText(std::string_view text, char *buffer, std::int32_t size, std::int32_t mode)
{
    const auto length = static_cast<std::int32_t>(
        std::min<std::size_t>(text.size(), std::numeric_limits<std::int32_t>::max()));
    if (mode == ModeLength)
        return length;
    if (mode == ModeCopy && buffer != nullptr && size > 0) {
        const std::int32_t copied = std::min(length, size - 1);
        std::memcpy(buffer, text.data(), static_cast<std::size_t>(copied));
        buffer[copied] = '\0';
    }
    return 0;
}

}  // namespace lumaprog::language
