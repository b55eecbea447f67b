#include "DeviceInterface.h"

#include "DeviceInterfaceFrame.h"
#include "ProgUSB.h"

using frame::logLine;
using frame::text;
using frame::TextCommandFailed;

namespace {
constexpr int ReadStatusTimeout = 500;
constexpr int ReadAnswerSize = 3;  // value, CRC
constexpr int ReadAnswerTimeout = 1000;
constexpr int WriteAnswerSize = 2;  // status, read-back value; no CRC
constexpr int WriteAnswerTimeout = 1000;
constexpr std::uint8_t UnreadValue = 0xFF;

bool readFuseValue(std::uint32_t readInstr, std::uint8_t &value)
{
    QByteArray request;
    frame::appendLong(request, readInstr);
    if (!frame::sendRequest(CMD_READ_FUSE, request) || ProgUSB->ReadStatus(ReadStatusTimeout) != STATUS_DB_OK)
        return false;
    const QByteArray answer = frame::readBlock(ReadAnswerSize, ReadAnswerTimeout);
    if (answer.isEmpty() || !frame::crcMatches(answer))
        return false;
    value = std::uint8_t(answer[0]);
    return true;
}
}

bool ReadFuse(std::uint8_t &value, std::uint32_t readInstr, const TLogProc &log)
{
    value = UnreadValue;
    if (readFuseValue(readInstr, value))
        return true;
    logLine(log, 0, clRed, text(TextCommandFailed));
    return false;
}

bool WriteFuse(std::uint8_t &value, std::uint32_t writeInstr, std::uint32_t readInstr, std::uint8_t wait,
               const TLogProc &log)
{
    QByteArray request;
    frame::appendLong(request, writeInstr);
    frame::appendLong(request, readInstr);
    request.append(char(value));
    request.append(char(wait));
    QByteArray answer;
    if (frame::sendRequest(CMD_WRITE_FUSE, request))
        answer = frame::readBlock(WriteAnswerSize, WriteAnswerTimeout);
    if (answer.isEmpty() || std::uint8_t(answer[0]) != STATUS_DB_OK) {
        logLine(log, 0, clRed, text(TextCommandFailed));
        return false;
    }
    value = std::uint8_t(answer[1]);
    return true;
}
