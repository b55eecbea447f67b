// The exports of a language library, answered from the table it is built with.

#include "LanguageAbi.h"
#include "TextTable.h"

#include <algorithm>

namespace {

using lumaprog::language::Language;
using lumaprog::language::TextEntry;

std::string_view textOf(std::int32_t id)
{
    const auto texts = Language.texts;
    const auto found = std::lower_bound(texts.begin(), texts.end(), id,
                                        [](const TextEntry &entry, std::int32_t key) { return entry.id < key; });
    if (found == texts.end() || found->id != id)
        return {};
    return found->text;
}

}  // namespace

extern "C" {

std::int32_t getValue(std::int32_t id, char *buffer, std::int32_t size, std::int32_t mode)
{
    return lumaprog::language::answerText(textOf(id), buffer, size, mode);
}

std::int32_t getLangID(char *buffer, std::int32_t size, std::int32_t mode)
{
    return lumaprog::language::answerText(Language.id, buffer, size, mode);
}

std::int32_t getLangFull(char *buffer, std::int32_t size, std::int32_t mode)
{
    return lumaprog::language::answerText(Language.fullName, buffer, size, mode);
}

}
