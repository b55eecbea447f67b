#include "DeviceInterface.h"

#include "DeviceInterfaceFrame.h"
#include "MainWindowLink.h"
#include "Modul.h"
#include "ProgUSB.h"
#include "Sleep.h"
#include "Utils.h"

using frame::logLine;
using frame::text;

namespace {
constexpr int StatusTimeout = 1000;
constexpr int EnterStatusTimeout = 1500;
constexpr int SignatureAnswerSize = 6;  // three signature bytes, CRC, status
constexpr int SignatureTimeout = 1000;
constexpr int SignatureDigits = 6;  // as the definitions write it
constexpr std::uint8_t DefaultSpeedByte = 5;  // 125 kHz
constexpr int PowerCycleOffMs = 500;

enum PowerOption { LeaveOn = 0, SwitchOff = 1, Cycle = 2 };

const QByteArray PowerOnPayload("\xAB\xCD", 2);
const QByteArray PowerOffPayload("\x08\x09", 2);

constexpr int TextEnterMode = 3010;
constexpr int TextLeaveMode = 3011;
constexpr int TextChipErase = 3012;
constexpr int TextSpiClock = 3013;
constexpr int TextEnterHintFirst = 3020;
constexpr int TextEnterHintLast = 3023;
constexpr int TextReset = 3030;
constexpr int TextResetFailed = 3031;
constexpr int TextSignatureOk = 3040;
constexpr int TextSignatureMismatch = 3041;
constexpr int TextSignatureRead = 3042;
constexpr int TextSignatureExpected = 3043;
constexpr int TextSignatureUnreadable = 3044;
constexpr int TextEraseFailed = 3078;
constexpr int TextPowerRefused = 3091;
constexpr int TextSwitchOff = 4002;
constexpr int TextCycle = 4003;

// A request followed by one status byte; true for STATUS_DB_OK.
bool requestWithStatus(std::uint16_t command, const QByteArray &payload, int timeoutMs, std::uint8_t &status)
{
    status = STATUS_DB_NO_ANSWER;
    if (!frame::sendRequest(command, payload))
        return false;
    status = ProgUSB->ReadStatus(timeoutMs);
    return status == STATUS_DB_OK;
}

bool commandWithStatus(std::uint16_t command, int timeoutMs)
{
    // The status is read even when the word did not go out: a closed port answers at once.
    ProgUSB->SendCommand(command);
    return ProgUSB->ReadStatus(timeoutMs) == STATUS_DB_OK;
}
}

std::uint8_t SpiSpeedByte()
{
    const MainWindowLink *window = mainWindowLink();
    const int index = window ? window->spiSpeedIndex() : -1;
    const int count = window ? window->spiSpeedCount() : 0;
    const auto speed = std::uint8_t(index & 0xFF);
    return speed > count - 1 ? DefaultSpeedByte : speed;
}

bool SetTargetPower(bool on, const TLogProc &log)
{
    std::uint8_t status = 0;
    if (requestWithStatus(CMD_TARGET_POWER, on ? PowerOnPayload : PowerOffPayload, StatusTimeout, status))
        return true;
    if (on && status == STATUS_DB_POWER_REFUSED) {
        logLine(log, 0, clGray, QString());
        logLine(log, 0, clRed, text(TextPowerRefused));
        logLine(log, 0, clGray, QString());
    }
    return false;
}

void ApplyPowerOption(const TLogProc &log)
{
    const MainWindowLink *window = mainWindowLink();
    switch (window ? window->powerOptionIndex() : -1) {
    case SwitchOff:
        logLine(log, 0, clBlack, text(TextSwitchOff));
        SetTargetPower(false, log);
        break;
    case Cycle:
        logLine(log, 0, clBlack, text(TextCycle));
        SetTargetPower(false, log);
        SleepMs(PowerCycleOffMs);
        SetTargetPower(true, log);
        break;
    default:
        break;
    }
}

bool EnterProgrammingMode(const TModul &, const TLogProc &log)
{
    const MainWindowLink *window = mainWindowLink();
    logLine(log, 0, clBlack, text(TextEnterMode));
    logLine(log, 0, clGray, text(TextSpiClock) + QLatin1Char(' ') + (window ? window->spiSpeedText() : QString()));
    std::uint8_t status = 0;
    if (requestWithStatus(CMD_ENTER_PROGRAMMING, QByteArray(1, char(SpiSpeedByte())), EnterStatusTimeout, status))
        return true;
    logLine(log, 0, clGray, QString());
    for (int id = TextEnterHintFirst; id <= TextEnterHintLast; ++id)
        logLine(log, 0, clGray, text(id));
    logLine(log, 0, clGray, QString());
    return false;
}

bool LeaveProgrammingMode(const TLogProc &log)
{
    logLine(log, 0, clBlack, text(TextLeaveMode));
    return commandWithStatus(CMD_LEAVE_PROGRAMMING, StatusTimeout);
}

bool ChipErase(const TModul &modul, const TLogProc &log)
{
    logLine(log, 0, clBlack, text(TextChipErase));
    std::uint8_t status = 0;
    if (requestWithStatus(CMD_CHIP_ERASE, QByteArray(1, char(modul.EraseDelay & 0xFF)), StatusTimeout, status))
        return true;
    logLine(log, 0, clRed, text(TextEraseFailed));
    return false;
}

bool ReadSignature(std::uint32_t &signature, const TLogProc &log)
{
    QByteArray answer;
    if (ProgUSB->SendCommand(CMD_READ_SIGNATURE))
        answer = frame::readBlock(SignatureAnswerSize, SignatureTimeout);
    const bool good = !answer.isEmpty() && std::uint8_t(answer[SignatureAnswerSize - 1]) == STATUS_DB_OK
        && frame::crcMatches(answer.left(SignatureAnswerSize - 1));
    if (!good) {
        logLine(log, 0, clRed, text(TextSignatureUnreadable));
        return false;
    }
    signature = (std::uint32_t(std::uint8_t(answer[0])) << 16) | (std::uint32_t(std::uint8_t(answer[1])) << 8)
        | std::uint8_t(answer[2]);
    return true;
}

bool CheckSignature(const TModul &modul, const TLogProc &log)
{
    std::uint32_t signature = 0;
    if (!ReadSignature(signature, log))
        return false;
    const QString digits = frame::hexText(signature, SignatureDigits);
    if (digits == modul.Signatur) {
        logLine(log, 0, clGreen, text(TextSignatureOk) + QStringLiteral(": ") + modul.Signatur);
        return true;
    }
    logLine(log, 0, clRed, text(TextSignatureMismatch));
    logLine(log, 0, clRed, text(TextSignatureRead) + QStringLiteral(": ") + digits);
    logLine(log, 0, clRed, text(TextSignatureExpected) + QStringLiteral(": ") + modul.Signatur);
    return false;
}

bool ResetTarget(const TLogProc &log)
{
    logLine(log, 0, clBlack, text(TextReset));
    if (commandWithStatus(CMD_RESET_TARGET, StatusTimeout))
        return true;
    logLine(log, 0, clRed, text(TextResetFailed));
    return false;
}
