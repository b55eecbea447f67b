#pragma once

// The fuse and lock bytes as the edits and the bit editor show them: a
// hexadecimal text (an empty text stands for 0), its bit string (base 2, at
// least eight digits, most significant first, so that bit n is the character
// at position 8 - n counting from 1), and the eight boxes of the bit editor,
// where a ticked box is a 0 bit: programmed. Conversions of a text that is
// not hexadecimal raise the conversion error.

#include "Modul.h"

#include <QString>
#include <array>

inline constexpr int BitsPerByte = 8;

// A byte's bit names, bit 0 first; "1" marks a bit the device does not have.
using BitNames = std::array<QString, BitsPerByte>;
BitNames BitNamesOf(const TModul &modul, TModul::BitByte byte);

// The name "1": the bit is not assigned on the device.
bool IsUnassignedBit(const QString &name);

QString BitString(const QString &hexText);

// An edit's tooltip: "name: digit" for each assigned bit, bit 0 first, each
// line but bit 7's ended by CR LF.
QString BitTooltip(const QString &hexText, const BitNames &names);

// The text with bit `bit` programmed (0), written as the number conversion
// writes numbers: upper-case, no leading zeros, empty for 0. The bit is
// cleared in the value, so that a text of more than two digits keeps its
// other bits where they are.
QString ProgrammedBitText(const QString &hexText, int bit);

// What the eight boxes show when the editor opens for a byte (index = bit).
struct BitBoxes {
    std::array<QString, BitsPerByte> captions;
    std::array<bool, BitsPerByte> enabled {};
    std::array<bool, BitsPerByte> checked {};
};

// A box stands for its bit's digit (of the first eight of a longer bit
// string); an unassigned bit's box shows only its number and is disabled.
// In a fuse byte, a bit named SPIEN (in any case) can be changed only when
// `spienAllowed`; it opens ticked, except in the high byte with SPIEN
// allowed, where it shows the edit's digit. The lock byte has no SPIEN bit.
BitBoxes OpenBitBoxes(const QString &hexText, const BitNames &names, TModul::BitByte byte, bool spienAllowed);

// The edit text for the boxes: two upper-case digits.
QString BitBoxesValue(const std::array<bool, BitsPerByte> &checked);
