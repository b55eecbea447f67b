#include "FuseBitText.h"

#include "Utils.h"

namespace {
const QString Unassigned = QStringLiteral("1");
const QString SpienName = QStringLiteral("SPIEN");
const QString LineEnd = QStringLiteral("\r\n");
constexpr int ByteDigits = 2;

// The bit string's digit of bit n.
QChar bitDigit(const QString &bits, int bit)
{
    return bits[BitsPerByte - 1 - bit];
}
}

BitNames BitNamesOf(const TModul &modul, TModul::BitByte byte)
{
    BitNames names;
    for (int bit = 0; bit < BitsPerByte; ++bit)
        names[bit] = modul.BitName(byte, bit);
    return names;
}

bool IsUnassignedBit(const QString &name)
{
    return name == Unassigned;
}

QString BitString(const QString &hexText)
{
    return BaseConvert(16, 2, hexText).rightJustified(BitsPerByte, QLatin1Char('0'));
}

QString BitTooltip(const QString &hexText, const BitNames &names)
{
    const QString bits = BitString(hexText);
    QString tooltip;
    for (int bit = 0; bit < BitsPerByte; ++bit) {
        if (IsUnassignedBit(names[bit]))
            continue;
        tooltip += names[bit] + QStringLiteral(": ") + bitDigit(bits, bit);
        if (bit < BitsPerByte - 1)
            tooltip += LineEnd;
    }
    return tooltip;
}

QString ProgrammedBitText(const QString &hexText, int bit)
{
    const auto value = quint32(Utility->HexToInt(hexText)) & ~(quint32(1) << bit);
    return value == 0 ? QString() : QString::number(value, 16).toUpper();
}

BitBoxes OpenBitBoxes(const QString &hexText, const BitNames &names, TModul::BitByte byte, bool spienAllowed)
{
    const QString bits = BitString(hexText);
    BitBoxes boxes;
    for (int bit = 0; bit < BitsPerByte; ++bit) {
        const bool assigned = !IsUnassignedBit(names[bit]);
        boxes.captions[bit] = QString::number(bit) + (assigned ? QLatin1Char(' ') + names[bit] : QString());
        boxes.enabled[bit] = assigned;
        boxes.checked[bit] = bitDigit(bits, bit) == QLatin1Char('0');
        const bool spien = names[bit].compare(SpienName, Qt::CaseInsensitive) == 0;
        if (byte == TModul::LockByte || !spien)
            continue;
        boxes.enabled[bit] = spienAllowed;
        if (byte != TModul::HighFuse || !spienAllowed)
            boxes.checked[bit] = true;
    }
    return boxes;
}

QString BitBoxesValue(const std::array<bool, BitsPerByte> &checked)
{
    QString bits;
    for (int bit = BitsPerByte - 1; bit >= 0; --bit)
        bits += checked[bit] ? QLatin1Char('0') : QLatin1Char('1');
    return BaseConvert(2, 16, bits).rightJustified(ByteDigits, QLatin1Char('0'));
}
