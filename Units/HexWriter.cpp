#include "HexContainer.h"
#include "HexDigits.h"
#include "MemoryStream.h"
#include "Utils.h"

#include <QByteArray>
#include <QSaveFile>

namespace {
constexpr int BytesPerRecord = 16;
constexpr std::uint32_t SegmentSize = 0x10000;
// Extended segment addresses reach 1 MiB; beyond, the upper address bits go
// in extended linear address records.
constexpr std::uint32_t SegmentReach = 0x100000;
// Intel HEX addresses are 32 bits wide.
constexpr qint64 AddressableSize = qint64(1) << 32;
constexpr std::uint8_t DataRecord = 0;
constexpr std::uint8_t SegmentAddressRecord = 2;
constexpr std::uint8_t LinearAddressRecord = 4;
const char *const lineEnd = "\r\n";

void appendHexByte(QByteArray &line, std::uint8_t value)
{
    line.append(HexDigitChar(value >> 4));
    line.append(HexDigitChar(value));
}

// ":" count, address, type, data, checksum, CR LF.
void appendRecord(QByteArray &out, std::uint8_t recordType, std::uint16_t address,
                  const std::uint8_t *data, std::uint8_t count)
{
    out.append(':');
    appendHexByte(out, count);
    appendHexByte(out, static_cast<std::uint8_t>(address >> 8));
    appendHexByte(out, static_cast<std::uint8_t>(address));
    appendHexByte(out, recordType);
    for (int i = 0; i < count; ++i)
        appendHexByte(out, data[i]);
    appendHexByte(out, HexChecksum(count, address, recordType, data));
    out.append(lineEnd);
}

// The record that announces the 64 KiB block starting at blockStart.
void appendBlockAddress(QByteArray &out, std::uint32_t blockStart)
{
    const bool segmented = blockStart < SegmentReach;
    const std::uint32_t value = segmented ? blockStart >> 4 : blockStart >> 16;
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value >> 8),
                                   static_cast<std::uint8_t>(value)};
    appendRecord(out, segmented ? SegmentAddressRecord : LinearAddressRecord, 0, bytes, 2);
}
}

bool THexContainer::SaveStreamToFile(TMemoryStream &stream, const QString &fileName)
{
    stream.setPosition(0);
    if (stream.size() > AddressableSize)
        return false;
    const qint64 records = stream.size() / BytesPerRecord;
    QByteArray out;
    // Each data record takes 45 characters with its line end.
    out.reserve(qsizetype(records) * 45 + 64);
    bool complete = true;
    appendBlockAddress(out, 0);
    std::uint8_t bytes[BytesPerRecord];
    for (qint64 k = 0; k < records; ++k) {
        if (stream.read(bytes, BytesPerRecord) != BytesPerRecord) {
            complete = false;
            break;
        }
        const std::uint32_t address = std::uint32_t(k * BytesPerRecord);
        appendRecord(out, DataRecord, static_cast<std::uint16_t>(address % SegmentSize), bytes,
                     BytesPerRecord);
        const std::uint32_t next = address + BytesPerRecord;
        if (next % SegmentSize == 0 && k != records - 1)
            appendBlockAddress(out, next);
    }
    out.append(":00000001FF");
    out.append(lineEnd);

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit())
        return false;
    return complete;
}
