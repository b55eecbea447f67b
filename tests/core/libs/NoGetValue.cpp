// A library that looks like a language library but lacks getValue.
#include <cstdint>

extern "C" {
std::int32_t getLangID(char *, std::int32_t, std::int32_t)
{
    return 0;
}

std::int32_t getLangFull(char *, std::int32_t, std::int32_t)
{
    return 0;
}
}
