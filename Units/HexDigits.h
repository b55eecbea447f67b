#pragma once

#include <cstdint>

#include <array>

namespace HexDigitsDetail {
// A table, because random data makes the digit/letter branches unpredictable.
constexpr std::array<std::int8_t, 256> makeDigitTable()
{
    std::array<std::int8_t, 256> table{};
    for (int c = 0; c < 256; ++c) {
        if (c >= '0' && c <= '9')
            table[c] = std::int8_t(c - '0');
        else if (c >= 'A' && c <= 'F')
            table[c] = std::int8_t(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            table[c] = std::int8_t(c - 'a' + 10);
        else
            table[c] = -1;
    }
    return table;
}
inline constexpr std::array<std::int8_t, 256> digitTable = makeDigitTable();
}

// Value of one hexadecimal digit of either case, or -1 for any other character.
constexpr int HexDigitValue(unsigned char c)
{
    return HexDigitsDetail::digitTable[c];
}

// Upper-case hexadecimal digit of a value 0..15.
constexpr char HexDigitChar(unsigned value)
{
    return "0123456789ABCDEF"[value & 0xF];
}

// The message of the conversion error raised for text that is not hexadecimal.
inline constexpr const char *NoHexNumberMessage = "No Hex-Number";
