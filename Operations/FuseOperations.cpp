#include "FuseOperations.h"

#include "DeviceInterface.h"
#include "DeviceInterfaceFrame.h"
#include "Utils.h"

#include <array>

using frame::logLine;

namespace {
constexpr int TextReadFuses = 3058;
constexpr int TextReadLock = 3061;
constexpr int TextReadValue = 3100;

constexpr int TextWarningJtagen = 5001;
constexpr int TextWarningSpien = 5002;
constexpr int TextWarningBoth = 5003;
constexpr int TextWarningBothDetail = 5004;
constexpr int TextWarningSpienDetail = 5005;
constexpr int TextWarningJtagenDetail = 5006;
constexpr int TextWarningYes = 5009;
constexpr int TextWarningAbort = 5011;
constexpr int TextWarningBody = 5012;
constexpr int TextWarningBodyEnd = 5014;

constexpr int ByteDigits = 2;

// One of the four bytes: its instructions, its line after reading, its texts
// after a write.
struct ByteSpec {
    std::uint32_t readInstr;
    std::uint32_t writeInstr;
    const char *label;
    int writtenText;
    int mismatchText;
    bool (TUtility::*exists)(const TModul &);
    QString FuseTexts::*text;
};

const std::array<ByteSpec, 3> FuseBytes = {{
    {ReadFuseLowInstr, WriteFuseLowInstr, " Fusebyte Low: 0x", 3102, 3101, &TUtility::HasFuseLowByte, &FuseTexts::low},
    {ReadFuseHighInstr, WriteFuseHighInstr, " Fusebyte High: 0x", 3104, 3103, &TUtility::HasFuseHighByte,
     &FuseTexts::high},
    {ReadFuseExtInstr, WriteFuseExtInstr, " Fusebyte Extended: 0x", 3106, 3105, &TUtility::HasFuseExtByte,
     &FuseTexts::ext},
}};
const ByteSpec LockSpec {ReadLockInstr, WriteLockInstr, " Lockbits: 0x", 3108, 3107, nullptr, &FuseTexts::lock};

QString hexByte(std::uint8_t value)
{
    return frame::hexText(value, ByteDigits);
}

bool exists(const ByteSpec &spec, const TModul &modul)
{
    return (Utility->*spec.exists)(modul);
}

void logValue(const ByteSpec &spec, std::uint8_t value, const TLogProc &log)
{
    logLine(log, 0, clSeaGreen, Utility->Text(TextReadValue) + QLatin1String(spec.label) + hexByte(value));
}

void logNotCarriedOut(const TLogProc &log)
{
    logLine(log, 0, clRed, Utility->Text(frame::TextCommandFailed));
}

// Writes the byte of the edit text and compares what the device reads back.
bool writeWithReadBack(const ByteSpec &spec, const FuseTexts &fuses, const TModul &modul, const TLogProc &log)
{
    const auto value = std::uint8_t(Utility->HexToInt(fuses.*spec.text) & 0xFF);
    const auto wait = std::uint8_t(modul.FuseDelay & 0xFF);
    std::uint8_t readBack = value;
    if (!WriteFuse(readBack, spec.writeInstr, spec.readInstr, wait, log))
        return false;
    if (readBack != value) {
        logLine(log, 0, clRed,
                Utility->Text(spec.mismatchText)
                    + QStringLiteral(" (write 0x%1, read 0x%2)").arg(hexByte(value), hexByte(readBack)));
        return false;
    }
    logLine(log, 0, clGreen, Utility->Text(spec.writtenText) + QStringLiteral(" (0x%1)").arg(hexByte(value)));
    return true;
}

bool mayStart(const BoardSnapshot &snapshot)
{
    return !BoardOperationRunning() && snapshot.modul;
}
}

bool ConfirmFuseWarning(const TModul &modul, const FuseTexts &fuses, BoardPrompts &prompts)
{
    bool flags[2] = {false, false};
    Utility->CheckSpienJtagen(modul, flags, fuses.low, fuses.high, fuses.ext);
    const bool spien = flags[0];
    const bool jtagen = flags[1];
    if (!spien && !jtagen)
        return true;
    const int heading = spien && jtagen ? TextWarningBoth : spien ? TextWarningSpien : TextWarningJtagen;
    const int detail = spien && jtagen ? TextWarningBothDetail : spien ? TextWarningSpienDetail : TextWarningJtagenDetail;
    return prompts.confirmWarning({Utility->Text(heading), Utility->Text(detail),
                                   Utility->Text(TextWarningBody) + QStringLiteral("\r\n")
                                       + Utility->Text(TextWarningBodyEnd),
                                   Utility->Text(TextWarningYes), Utility->Text(TextWarningAbort)});
}

bool WriteFuseBytes(const TModul &modul, const FuseTexts &fuses, const TLogProc &log)
{
    for (const ByteSpec &spec : FuseBytes) {
        if (exists(spec, modul) && !writeWithReadBack(spec, fuses, modul, log))
            return false;
    }
    return true;
}

bool WriteLockByte(const TModul &modul, const FuseTexts &fuses, const TLogProc &log)
{
    return writeWithReadBack(LockSpec, fuses, modul, log);
}

FuseReadResult ReadFuses(const BoardSnapshot &snapshot, const BoardReport &report)
{
    FuseReadResult result;
    if (!mayStart(snapshot))
        return result;
    const TModul &modul = *snapshot.modul;
    const TLogProc &log = report.log;
    logLine(log, 0, clBlue, Utility->Text(TextReadFuses));
    std::array<std::optional<std::uint8_t>, FuseBytes.size()> values;
    const auto readAll = [&] {
        for (std::size_t i = 0; i < FuseBytes.size(); ++i) {
            if (!exists(FuseBytes[i], modul))
                continue;
            std::uint8_t value = 0;
            if (!ReadFuse(value, FuseBytes[i].readInstr, log))
                return false;
            values[i] = value;
        }
        return true;
    };
    const auto logAndKeepValues = [&](bool ok) {
        if (!ok) {
            logNotCarriedOut(log);
            return;
        }
        FuseTexts after = snapshot.fuses;
        std::optional<QString> *texts[] = {&result.low, &result.high, &result.ext};
        for (std::size_t i = 0; i < FuseBytes.size(); ++i) {
            if (!values[i])
                continue;
            logValue(FuseBytes[i], *values[i], log);
            *texts[i] = after.*FuseBytes[i].text = hexByte(*values[i]);
        }
        bool flags[2] = {false, false};
        Utility->CheckSpienJtagen(modul, flags, after.low, after.high, after.ext);
        result.spienOff = flags[0];
        result.jtagenOff = flags[1];
    };
    result.board = RunBoardFrame(FrameKind::Manual, modul, log, readAll, logAndKeepValues);
    return result;
}

LockReadResult ReadLock(const BoardSnapshot &snapshot, const BoardReport &report)
{
    LockReadResult result;
    if (!mayStart(snapshot))
        return result;
    const TLogProc &log = report.log;
    logLine(log, 0, clBlue, Utility->Text(TextReadLock));
    std::uint8_t value = 0;
    result.board = RunBoardFrame(
        FrameKind::Manual, *snapshot.modul, log, [&] { return ReadFuse(value, LockSpec.readInstr, log); },
        [&](bool ok) {
            if (!ok) {
                logNotCarriedOut(log);
                return;
            }
            result.lock = hexByte(value);
            logValue(LockSpec, value, log);
        });
    return result;
}

BoardResult WriteFuses(const BoardSnapshot &snapshot, const BoardReport &report)
{
    BoardResult result;
    if (!mayStart(snapshot))
        return result;
    const TModul &modul = *snapshot.modul;
    bool confirmed = false;
    if (!RunLoggingErrors(report.log, result.error,
                          [&] { confirmed = ConfirmFuseWarning(modul, snapshot.fuses, report.prompts); })
        || !confirmed)
        return result;
    return RunBoardFrame(FrameKind::Manual, modul, report.log,
                         [&] { return WriteFuseBytes(modul, snapshot.fuses, report.log); });
}

BoardResult WriteLock(const BoardSnapshot &snapshot, const BoardReport &report)
{
    if (!mayStart(snapshot))
        return {};
    const TModul &modul = *snapshot.modul;
    return RunBoardFrame(FrameKind::Manual, modul, report.log,
                         [&] { return WriteLockByte(modul, snapshot.fuses, report.log); });
}
