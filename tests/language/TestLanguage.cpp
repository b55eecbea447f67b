// The test language "TT": every text names its own id ("T0", "T-5", "T7152"), so
// that tests of the windows and dialogs can assert exactly which text they show.

#include "LanguageAbi.h"

#include <cstdio>

using lumaprog::language::answerText;

extern "C" {

std::int32_t getValue(std::int32_t id, char *buffer, std::int32_t size, std::int32_t mode)
{
    char text[sizeof "T-2147483648"];
    std::snprintf(text, sizeof text, "T%d", static_cast<int>(id));
    return answerText(text, buffer, size, mode);
}

std::int32_t getLangID(char *buffer, std::int32_t size, std::int32_t mode)
{
    return answerText("TT", buffer, size, mode);
}

std::int32_t getLangFull(char *buffer, std::int32_t size, std::int32_t mode)
{
    return answerText("Test", buffer, size, mode);
}

}
