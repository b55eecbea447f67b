#include "DeviceInterface.h"

#include "DeviceInterfaceFrame.h"
#include "ProgUSB.h"

using frame::logLine;
using frame::text;
using frame::TextCommandFailed;

namespace {
constexpr int StatusTimeout = 1000;
constexpr int TextWritingLimits = 3230;
constexpr int TextWritingOscillator = 3231;

bool sendSetting(std::uint16_t command, const QByteArray &payload, const TLogProc &log)
{
    if (frame::sendRequest(command, payload) && ProgUSB->ReadStatus(StatusTimeout) == STATUS_DB_OK)
        return true;
    logLine(log, 0, clRed, text(TextCommandFailed));
    return false;
}
}

bool WriteCurrentLimits(std::uint16_t warn, std::uint16_t cutOff, const TLogProc &log)
{
    // The announcement is red like the failure: these settings change how the board protects the target.
    logLine(log, 0, clRed, text(TextWritingLimits));
    QByteArray payload;
    frame::appendWord(payload, warn);
    frame::appendWord(payload, cutOff);
    return sendSetting(CMD_SET_CURRENT_LIMITS, payload, log);
}

bool WriteOscillatorIndex(std::uint8_t index, const TLogProc &log)
{
    logLine(log, 0, clRed, text(TextWritingOscillator));
    return sendSetting(CMD_SET_OSCILLATOR, QByteArray(1, char(index)), log);
}
