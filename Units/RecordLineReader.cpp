#include "RecordLineReader.h"

#include "AsciiText.h"
#include "FileErrors.h"
#include "FileHoles.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {
// Index of the first c in block[from, end), or end.
qsizetype indexOf(const QByteArray &block, qsizetype from, qsizetype end, char c)
{
    const void *found = std::memchr(block.constData() + from, c, size_t(end - from));
    return found ? static_cast<const char *>(found) - block.constData() : end;
}
}

RecordLineReader::RecordLineReader(QFile &file, QString fileName)
    : m_file(file), m_fileName(std::move(fileName)), m_block(BlockSize, Qt::Uninitialized)
{
}

bool RecordLineReader::fill()
{
    // Zero bytes neither end a line nor start a record, so the holes of a
    // sparse file are passed over unread wherever such bytes are dropped.
    if (m_place == Place::InOtherLine || (m_place == Place::InRecord && m_recordLength == MaxRecordLength))
        FileHoles::SkipHole(m_file);
    const qint64 read = m_file.read(m_block.data(), m_block.size());
    if (read < 0)
        throw FileReadError(m_fileName, m_file.errorString());
    m_position = 0;
    m_end = qsizetype(read);
    m_nextLf = -1;
    if (m_atFileStart && QByteArrayView(m_block.constData(), m_end).startsWith(Utf8ByteOrderMark))
        m_position = Utf8ByteOrderMark.size();
    m_atFileStart = false;
    return m_end > 0;
}

qsizetype RecordLineReader::lineEnd()
{
    // The search for LF runs on from where the last one stopped, so that a
    // block with CR line ends alone is searched once, not once per line; the
    // search for CR stops at that LF.
    if (m_nextLf < m_position)
        m_nextLf = indexOf(m_block, m_position, m_end, '\n');
    return indexOf(m_block, m_position, m_nextLf, '\r');
}

void RecordLineReader::keep(qsizetype from, qsizetype to)
{
    const qsizetype count = std::min(to - from, MaxRecordLength - m_recordLength);
    std::memcpy(m_record.data() + m_recordLength, m_block.constData() + from, size_t(count));
    m_recordLength += count;
}

std::optional<QByteArrayView> RecordLineReader::next()
{
    for (;;) {
        while (m_position == m_end) {
            if (fill())
                continue;
            if (m_place != Place::InRecord)
                return std::nullopt;
            m_place = Place::LineStart;  // the last line has no line end
            return QByteArrayView(m_record.data(), m_recordLength);
        }
        const bool lineStart = m_place == Place::LineStart;
        if (lineStart) {
            m_place = m_block.at(m_position) == ':' ? Place::InRecord : Place::InOtherLine;
            m_recordLength = 0;
        }
        const qsizetype start = m_position;
        const qsizetype end = m_position = lineEnd();
        if (end == m_end) {  // the line goes on in the next block
            if (m_place == Place::InRecord)
                keep(start, end);
            continue;
        }
        ++m_position;  // past the CR or LF; the LF of a CR LF makes an empty line
        if (std::exchange(m_place, Place::LineStart) != Place::InRecord)
            continue;
        if (lineStart)  // the whole line lies in this block: no copy
            return QByteArrayView(m_block.constData() + start, std::min(end - start, MaxRecordLength));
        keep(start, end);
        return QByteArrayView(m_record.data(), m_recordLength);
    }
}
