// The fuse-bit helpers of the utility object and the number conversions.
#include "AsciiText.h"
#include "Exceptions.h"
#include "HexDigits.h"
#include "Modul.h"
#include "Utils.h"

#include <cmath>
#include <source_location>

namespace {
constexpr int BitsPerByte = 8;
const QString NotPresentBit = QStringLiteral("1");
const QString DigitAlphabet = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");
constexpr int LowestBase = 2;
constexpr qint64 ExactLimit = qint64(1) << 53;
const int HighestBase = int(DigitAlphabet.size());

bool HasByte(const TModul &modul, TModul::BitByte byte)
{
    for (int bit = 0; bit < BitsPerByte; ++bit)
        if (modul.BitName(byte, bit) != NotPresentBit)
            return true;
    return false;
}

// The module the error box names, as the design's assertions name their
// unit: where the build kept the source is nobody's business there.
const QString SourceModule = QStringLiteral("Units/Utils");

// An assertion that stays active in every build, with the message format of
// the class library's assertion error.
void Check(bool condition, const char *text,
           std::source_location where = std::source_location::current())
{
    if (!condition)
        throw EAssertionFailed(QStringLiteral("%1 (%2, Zeile %3)")
                                   .arg(QString::fromUtf8(text), SourceModule)
                                   .arg(where.line()));
}

// base^power computed in floating point and rounded, as the conversion prescribes.
qint64 Power(int base, int power)
{
    return std::llround(std::pow(double(base), double(power)));
}
}

int TUtility::HexToInt(const QString &text)
{
    quint32 result = 0;  // more than eight digits wrap around
    for (const QChar c : text) {
        const int digit = c.unicode() < 0x80 ? HexDigitValue(static_cast<unsigned char>(c.unicode())) : -1;
        if (digit < 0)
            throw EConvertError(QString::fromLatin1(NoHexNumberMessage));
        result = result * 16 + quint32(digit);
    }
    return static_cast<int>(result);
}

bool TUtility::HasFuseLowByte(const TModul &modul)
{
    return HasByte(modul, TModul::LowFuse);
}

bool TUtility::HasFuseHighByte(const TModul &modul)
{
    return HasByte(modul, TModul::HighFuse);
}

bool TUtility::HasFuseExtByte(const TModul &modul)
{
    return HasByte(modul, TModul::ExtFuse);
}

bool TUtility::HasLockByte(const TModul &modul)
{
    return HasByte(modul, TModul::LockByte);
}

int TUtility::FuseByteValue(const TModul &, const QString &hexText)
{
    return HexToInt(hexText);
}

bool TUtility::IsFuseBitProgrammed(const TModul &modul, const QString &bitName, const QString &lowHex,
                                   const QString &highHex, const QString &extHex, bool &found)
{
    const QString *const values[] = {&lowHex, &highHex, &extHex};
    found = false;
    for (int byte = TModul::LowFuse; byte <= TModul::ExtFuse; ++byte) {
        // A byte's text is converted only when that byte is searched.
        const int value = HexToInt(*values[byte]);
        for (int bit = BitsPerByte - 1; bit >= 0; --bit) {
            if (modul.BitName(TModul::BitByte(byte), bit) == bitName) {
                found = true;
                return (value & (1 << bit)) == 0;
            }
        }
    }
    return false;
}

bool TUtility::CheckSpienJtagen(const TModul &modul, bool (&flags)[2], const QString &lowHex,
                                const QString &highHex, const QString &extHex)
{
    flags[0] = false;
    flags[1] = false;
    const QString names[] = {QStringLiteral("SPIEN"), QStringLiteral("JTAGEN")};
    for (int i = 0; i < 2; ++i) {
        bool found = false;
        const bool programmed = IsFuseBitProgrammed(modul, names[i], lowHex, highHex, extHex, found);
        flags[i] = found && !programmed;
    }
    return false;
}

QString BaseConvert(std::uint8_t fromBase, std::uint8_t toBase, const QString &value)
{
    Check(fromBase <= HighestBase && toBase <= HighestBase, "Basis ist größer 36");
    // Below base 2 no digit count can be found: refused like a base above 36.
    Check(fromBase >= LowestBase && toBase >= LowestBase, "Basis ist kleiner 2");
    const QString digits = AsciiUpper(value);
    const QStringView allowed = QStringView(DigitAlphabet).left(fromBase);
    qint64 number = 0;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        const qsizetype digit = allowed.indexOf(digits[i]);
        Check(digit >= 0, "BaseXZahl enhällt ungültige Ziffern");
        if (digit == 0)
            continue;
        // Beyond the exact range of the floating-point powers the digits
        // would come out wrong; no caller converts numbers that large.
        const double term = double(digit) * std::pow(double(fromBase), double(digits.size() - 1 - i));
        Check(term + double(number) < double(ExactLimit), "BaseXZahl ist zu groß");
        number += std::llround(term);
    }
    int digitCount = 0;
    while (Power(toBase, digitCount) <= number)
        ++digitCount;
    QString result;
    for (int d = digitCount; d >= 1; --d) {
        const qint64 weight = Power(toBase, d - 1);
        result.append(DigitAlphabet[qsizetype(number / weight)]);
        number %= weight;
    }
    return result;
}
