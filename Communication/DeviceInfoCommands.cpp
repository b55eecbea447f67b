#include "DeviceInterface.h"

#include "AsciiText.h"
#include "DeviceInterfaceFrame.h"
#include "MainWindowLink.h"
#include "ProgUSB.h"
#include "Utils.h"

using frame::logLine;
using frame::text;
using frame::wordAt;

namespace {
constexpr int InfoBlockSize = 256;
constexpr int InfoTimeout = 1000;
constexpr std::uint8_t InfoFormat = 1;
constexpr std::uint8_t StateApplication = 1;
constexpr std::uint8_t StateBootloader = 2;
constexpr std::uint16_t SupportedRevision = 1;

// Block layout: [first, last] offsets of each field.
constexpr int OffsetFormat = 0;
constexpr int OffsetState = 1;
constexpr int IdentifierFirst = 1, IdentifierLast = 31;
constexpr int OffsetRevisionNumber = 33;
constexpr int RevisionTextFirst = 35, RevisionTextLast = 44;
constexpr int OffsetCurrentWarn = 61;
constexpr int OffsetCurrentBreak = 63;
constexpr int OffsetOscillator = 65;
constexpr int SerialFirst = 66, SerialLast = 81;
constexpr int CrcCovered = 254;

// Settings out of range are replaced by these, not clamped.
constexpr std::uint8_t MaxOscillatorIndex = 8;
constexpr std::uint16_t MaxCurrent = 800;
constexpr std::uint16_t FallbackCurrent = 50;

constexpr int TextFormatWrong = 3200;
constexpr int TextCrcWrong = 3201;
constexpr int TextNoAnswer = 3202;
constexpr int TextNoAnswerHint = 3203;
constexpr int TextNotSent = 3204;
constexpr int TextRevisionUnsupported = 3205;
constexpr int TextWrongBoard = 3206;
constexpr int TextRevisionLabel = 6002;
constexpr int TextSerialLabel = 6003;

const char *const UpdaterAddress = "https://updates.kal-works.example/zefa";

bool isSerialByte(std::uint8_t c)
{
    return c != ' ' && IsIdentifierCharacter(c);
}

QString filtered(const QByteArray &block, int first, int last, bool (*keep)(std::uint8_t),
                 bool stopAfterZero = false)
{
    QString result;
    for (int i = first; i <= last; ++i) {
        const auto c = std::uint8_t(block[i]);
        if (keep(c))
            result += QLatin1Char(char(c));
        if (stopAfterZero && c == 0)
            break;
    }
    return result;
}

// Trimmed as the class library's Trim does it: every character up to the
// space goes, not only what Qt counts as white space.
QString trimmedBelow33(const QString &s)
{
    constexpr char16_t FirstKept = 33;
    int first = 0;
    int last = int(s.size()) - 1;
    while (first <= last && s[first].unicode() < FirstKept)
        ++first;
    while (last >= first && s[last].unicode() < FirstKept)
        --last;
    return s.mid(first, last - first + 1);
}

void takeBlock(const QByteArray &block)
{
    TDeviceInfo &info = *DeviceInfo;
    info.State = std::uint8_t(block[OffsetState]);
    info.Identifier = filtered(block, IdentifierFirst, IdentifierLast, IsIdentifierCharacter);
    info.RevisionNumber = wordAt(block, OffsetRevisionNumber);
    info.RevisionString.clear();
    info.SerialNumber.clear();
    if (info.State == StateApplication) {
        info.RevisionString = filtered(block, RevisionTextFirst, RevisionTextLast, IsIdentifierCharacter, true);
        info.CurrentWarn = wordAt(block, OffsetCurrentWarn);
        info.CurrentBreak = wordAt(block, OffsetCurrentBreak);
        info.OscillatorIndex = std::uint8_t(block[OffsetOscillator]);
        info.SerialNumber = filtered(block, SerialFirst, SerialLast, isSerialByte);
        info.Valid = true;
    } else if (info.State == StateBootloader) {
        info.Valid = true;
    }
}

void logBootloaderActive(const TLogProc &log)
{
    logLine(log, fsBold, clBlue, QStringLiteral("Device found:"));
    logLine(log, 0, clBlue, QStringLiteral("Identifier: ") + DeviceInfo->Identifier);
    logLine(log, 0, clRed,
            QStringLiteral("Bootloader of device ist activated, there is no application installed!"));
    logLine(log, 0, clRed,
            QStringLiteral("Download latest verison of 'Developmentboard ZEFA Updater' at %1 and update application software.")
                .arg(QLatin1String(UpdaterAddress)));
}

void acceptBoard()
{
    TDeviceInfo &info = *DeviceInfo;
    if (info.OscillatorIndex > MaxOscillatorIndex)
        info.OscillatorIndex = 0;
    if (info.CurrentWarn > MaxCurrent)
        info.CurrentWarn = FallbackCurrent;
    if (info.CurrentBreak > MaxCurrent)
        info.CurrentBreak = FallbackCurrent;
    if (MainWindowLink *window = mainWindowLink()) {
        window->setSystemIdentifier(trimmedBelow33(info.Identifier));
        window->setSystemSoftwareRevision(text(TextRevisionLabel) + QLatin1Char(' ') + trimmedBelow33(info.RevisionString));
        window->setSystemSerialNumber(text(TextSerialLabel) + QLatin1Char(' ') + trimmedBelow33(info.SerialNumber));
    }
}
}

bool ReadDeviceInfo(const TLogProc &log)
{
    DeviceInfo->Valid = false;
    if (!ProgUSB->SendCommand(CMD_GET_INFO)) {
        logLine(log, 0, clRed, text(TextNotSent));
        return false;
    }
    const QByteArray block = frame::readBlock(InfoBlockSize, InfoTimeout);
    if (block.isEmpty()) {
        logLine(log, 0, clRed, text(TextNoAnswer));
        logLine(log, 0, clRed, text(TextNoAnswerHint));
        return false;
    }
    if (!frame::crcMatches(block.left(CrcCovered + 2))) {
        logLine(log, 0, clRed, text(TextCrcWrong));
        return false;
    }
    if (std::uint8_t(block[OffsetFormat]) != InfoFormat) {
        logLine(log, 0, clRed, text(TextFormatWrong));
        return false;
    }
    takeBlock(block);
    // A state this program does not know is as unusable as a wrong format;
    // say so rather than fail without a reason.
    if (!DeviceInfo->Valid)
        logLine(log, 0, clRed, text(TextFormatWrong));
    return DeviceInfo->Valid;
}

bool CheckDevice(const TLogProc &log)
{
    const TDeviceInfo &info = *DeviceInfo;
    if (!info.Valid)
        return false;
    if (!SameIdentifier(QLatin1String(BoardIdentifier), info.Identifier)) {
        logLine(log, 0, clRed, text(TextWrongBoard));
        return false;
    }
    if (info.RevisionNumber != SupportedRevision) {
        logLine(log, 0, clRed, text(TextRevisionUnsupported));
        return false;
    }
    if (info.State == StateApplication) {
        acceptBoard();
        return true;
    }
    logBootloaderActive(log);
    return false;
}

bool SameIdentifier(const QString &a, const QString &b)
{
    return trimmedBelow33(a) == trimmedBelow33(b);
}
