#include "HexFileReader.h"

#include "Exceptions.h"
#include "FileErrors.h"
#include "HexDigits.h"
#include "RecordLineReader.h"
#include "Utils.h"

#include <algorithm>
#include <new>

namespace {
// Text id of "the address lies beyond the image".
constexpr int ImageTooLargeTextId = 16;
// Text id of "none of the file's lines is a record".
constexpr int NotIntelHexTextId = 7308;

// The class library's text for memory that cannot be had.
constexpr char OutOfMemoryReason[] = "Zu wenig Arbeitsspeicher";

enum RecordType { DataRecord = 0, EndOfFileRecord = 1, SegmentAddressRecord = 2, LinearAddressRecord = 4 };

// Image addresses end at 0x40000F, so any larger value is as good as
// infinite. Values are held saturated there, so that no record can wrap
// around to a small address.
constexpr qint64 TooLarge = qint64(1) << 40;

// Value of a field; an empty field is 0. Every character is checked, even
// once the value has saturated.
qint64 FieldValue(const char *text, qsizetype length)
{
    qint64 value = 0;
    for (qsizetype i = 0; i < length; ++i) {
        const int digit = HexDigitValue(static_cast<unsigned char>(text[i]));
        if (digit < 0)
            throw EConvertError(QString::fromLatin1(NoHexNumberMessage));
        value = std::min(value * 16 + digit, TooLarge);
    }
    return value;
}

// The characters [first, first + count) of a line that may end before them.
struct Field {
    const char *text;
    qsizetype length;
};

Field FieldAt(const char *line, qsizetype lineLength, qsizetype first, qsizetype count)
{
    if (first >= lineLength)
        return {line + lineLength, 0};
    return {line + first, std::min(count, lineLength - first)};
}
}

std::vector<THexLine> HexFileReader::Read(QFile &file, const QString &fileName)
{
    std::vector<THexLine> lines;
    try {
        HexFileReader reader(lines);
        RecordLineReader records(file, fileName);
        std::optional<QByteArrayView> record = records.next();
        // Read as an empty image, a file of another kind (the compiler's ELF
        // output beside the HEX file, a text) would be programmed as an
        // erased chip and reported as a success.
        if (!record)
            throw FileReadError(fileName, Utility->Text(NotIntelHexTextId));
        while (record && reader.Record(record->data(), record->size()))
            record = records.next();
    } catch (const std::bad_alloc &) {
        std::vector<THexLine>().swap(lines);  // what memory there is goes to the message
        throw FileReadError(fileName, QString::fromLatin1(OutOfMemoryReason));
    }
    for (THexLine &line : lines)
        line.m_used = true;
    return lines;
}

bool HexFileReader::Record(const char *line, qsizetype length)
{
    // Character positions count from 1 at the colon: count 2-3, offset 4-7,
    // type 8-9, data from 10.
    const Field type = FieldAt(line, length, 7, 2);
    const qint64 recordType = FieldValue(type.text, type.length);
    switch (recordType) {
    case DataRecord: {
        const Field count = FieldAt(line, length, 1, 2);
        const Field offset = FieldAt(line, length, 3, 4);
        const qint64 byteCount = FieldValue(count.text, count.length);
        const qint64 address = FieldValue(offset.text, offset.length) + m_base;
        if (address / THexLine::Columns >= THexContainer::MaxLines)
            throw EListError(Utility->Text(ImageTooLargeTextId));
        const Field data = FieldAt(line, length, 9, 2 * byteCount);
        StoreData(address, data.text, data.length);
        return true;
    }
    case EndOfFileRecord:
        return false;
    case SegmentAddressRecord:
    case LinearAddressRecord: {
        const Field count = FieldAt(line, length, 1, 2);
        const Field data = FieldAt(line, length, 9, 2 * FieldValue(count.text, count.length));
        const qint64 value = FieldValue(data.text, data.length);
        m_base = value * (recordType == SegmentAddressRecord ? 16 : 65536);
        return true;
    }
    default:
        return true;
    }
}

void HexFileReader::StoreData(qint64 address, const char *data, qsizetype length)
{
    // A lone last character (a line cut in the middle of a byte) is no byte
    // and is left out, so that every stored byte keeps its two characters.
    for (qsizetype i = 0; i + 1 < length; i += 2, ++address) {
        const qint64 lineIndex = address / THexLine::Columns;
        if (lineIndex >= THexContainer::MaxLines)
            break;  // bytes running on past the image are dropped
        if (lineIndex >= qint64(m_lines.size()))
            m_lines.resize(size_t(lineIndex) + 1);
        m_lines[size_t(lineIndex)].SetPair(int(address % THexLine::Columns), data[i], data[i + 1]);
    }
}
