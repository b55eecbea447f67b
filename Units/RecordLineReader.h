#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <array>
#include <optional>

// Hands out the record lines of an Intel HEX file, the lines that start with
// ':', reading the file a block at a time. A line may be of any length: only
// the first MaxRecordLength characters of a record line are kept, and a line
// without the mark is passed over unkept, so memory stays at one block and
// one record whatever the file holds, and the holes of a sparse file, where
// their zero bytes would be dropped, are not read at all. The file ends where
// a read finds nothing more, whatever size it reports, and is never read
// backwards. A line ends at CR, LF or CR LF; a UTF-8 byte order mark before
// the first line is passed over.
class RecordLineReader {
public:
    // The longest record there can be: mark, count, offset, type, 255 data
    // bytes and the checksum. No field lies past it.
    static constexpr qsizetype MaxRecordLength = 1 + 2 + 4 + 2 + 2 * 255 + 2;
    // The file is read in blocks of this size: large enough that a file of
    // any size costs few reads, small enough to be nothing beside an image.
    static constexpr qsizetype BlockSize = 64 * 1024;

    // fileName names the file in errors (a file opened by its descriptor has no name).
    RecordLineReader(QFile &file, QString fileName);

    // The next record line without its line end, cut to MaxRecordLength and
    // valid until the next call; nothing at the end of the file. Throws
    // EReadError naming the file when it cannot be read.
    std::optional<QByteArrayView> next();

private:
    enum class Place { LineStart, InRecord, InOtherLine };

    // Reads the next block; false at the end of the file.
    bool fill();
    // Index in the block of the first CR or LF from m_position on, or m_end.
    qsizetype lineEnd();
    // Keeps the characters [from, to) of the block for the record, as far as it has room.
    void keep(qsizetype from, qsizetype to);

    QFile &m_file;
    QString m_fileName;
    QByteArray m_block;
    qsizetype m_position = 0;
    qsizetype m_end = 0;
    // Where the next LF lies, -1 before the block is searched.
    qsizetype m_nextLf = -1;
    bool m_atFileStart = true;
    Place m_place = Place::LineStart;
    // The record read so far of a line that runs on over the end of a block.
    std::array<char, MaxRecordLength> m_record;
    qsizetype m_recordLength = 0;
};
