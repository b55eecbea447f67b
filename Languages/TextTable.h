#pragma once

// One language's texts. Each library compiles LanguageExports.cpp together with
// exactly one table (its <ID>/Texts.cpp), which defines `Language`.

#include <cstdint>
#include <span>

namespace lumaprog::language {

struct TextEntry {
    std::int32_t id;
    const char *text;  // UTF-8
};

struct LanguageTable {
    const char *id;        // "EN": the library's file name without ".lang.so"
    const char *fullName;  // "English", in the language itself
    std::span<const TextEntry> texts;  // sorted by id, each id once
};

extern const LanguageTable Language;

// Lookups search the table by id, so each table checks this at compile time.
constexpr bool idsStrictlyAscending(std::span<const TextEntry> texts)
{
    for (std::size_t i = 1; i < texts.size(); ++i) {
        if (texts[i - 1].id >= texts[i].id)
            return false;
    }
    return true;
}

}  // namespace lumaprog::language
