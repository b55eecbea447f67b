#include "DeviceInterfaceFrame.h"

#include "ProgUSB.h"
#include "Utils.h"

namespace frame {

QByteArray withCrc(const QByteArray &payload)
{
    QByteArray block = payload;
    appendWord(block, Utility->Crc16(payload, int(payload.size())));
    return block;
}

bool crcMatches(const QByteArray &block)
{
    const int dataLength = int(block.size()) - 2;
    if (dataLength < 0)
        return false;
    return Utility->Crc16(block, dataLength) == wordAt(block, dataLength);
}

void appendWord(QByteArray &bytes, std::uint16_t value)
{
    bytes.append(char(value >> 8));
    bytes.append(char(value & 0xFF));
}

void appendLong(QByteArray &bytes, std::uint32_t value)
{
    appendWord(bytes, std::uint16_t(value >> 16));
    appendWord(bytes, std::uint16_t(value & 0xFFFF));
}

std::uint16_t wordAt(const QByteArray &bytes, int offset)
{
    return std::uint16_t((std::uint8_t(bytes[offset]) << 8) | std::uint8_t(bytes[offset + 1]));
}

bool sendRequest(std::uint16_t command, const QByteArray &payload)
{
    if (!ProgUSB->SendCommand(command) || !ProgUSB->WaitAck(AckTimeout))
        return false;
    const QByteArray block = withCrc(payload);
    return ProgUSB->Write(reinterpret_cast<const std::uint8_t *>(block.constData()), int(block.size()));
}

QByteArray readBlock(int count, int timeoutMs)
{
    QByteArray block(count, '\0');
    if (!ProgUSB->Read(reinterpret_cast<std::uint8_t *>(block.data()), count, timeoutMs))
        return {};
    return block;
}

QString hexText(std::uint32_t value, int digits)
{
    return QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

void logLine(const TLogProc &log, TFontStyles styles, TColor colour, const QString &line)
{
    if (log)
        log(styles, colour, line);
}

QString text(int id)
{
    return Utility->Text(id);
}

}
