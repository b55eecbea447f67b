#pragma once

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class TMemoryStream;

// One image line: the 16 byte positions of addresses 16*i .. 16*i + 15.
// A byte keeps the two characters it had in the file (case and all); columns
// past the stored pairs read as "FF".
class THexLine {
public:
    static constexpr int Columns = 16;

    // Text of the byte in column index (1..16): the stored two characters, or
    // "FF" when the line holds no byte there.
    QString GetByte(int index) const;
    // Hexadecimal text of the number of stored pairs ("0" when empty).
    QString ByteCount() const;
    // The stored pairs as one text, as they stood in the file.
    QString LineData() const;
    // The line lies within the loaded image (false for lines added to reach the device size).
    bool LineUsed() const { return m_used; }

    // The two stored characters of column index (1..16) without building a
    // string; columns that hold nothing give 'F','F'.
    std::array<char, 2> ByteChars(int index) const;

private:
    friend class THexContainer;
    friend class HexFileReader;
    // Stores the pair at column (0..15), padding earlier columns with "FF".
    void SetPair(int column, char high, char low);

    std::array<char, 2 * Columns> m_chars{};
    std::uint8_t m_pairs = 0;
    bool m_used = false;
};

// A memory image (flash or EEPROM): line i holds addresses 16*i .. 16*i + 15.
class THexContainer {
public:
    // Highest line index plus one: line starts 0 .. 0x400000, last address 0x40000F.
    static constexpr int MaxLines = 0x400000 / THexLine::Columns + 1;

    bool ImageLoaded = false;  // a file has been read in
    bool ImageMisfit = true;   // the image does not fit the selected device
    QString ImageFileName;
    QDateTime ImageFileDate;   // the file's modification time when it was read

    // Reads an Intel HEX file into the image, replacing its content. On any
    // error the image is left empty with ImageLoaded false and the error goes
    // to the caller (EFOpenError, EConvertError, EListError, and EReadError
    // for a file that cannot be read to its end or an image that cannot be
    // held, or a file without a single record). Only a regular file is
    // read, and it is checked once opened, not by its name: a pipe or a
    // device would block or never end. The file is read as a stream, so a
    // file of any size costs no more memory than its image. ImageFileDate is
    // the time of the file opened.
    void LoadFromFile(const QString &fileName);

    // The modification time of the file the name stands for now, on the
    // clock of ImageFileDate; a check for a newer file compares against
    // this, never another clock.
    static QDateTime FileTime(const QString &fileName);

    // Fills buffer[0..count-1] from addresses start.. and returns true when a
    // byte text differs from "FF" (case-sensitive). count <= 0: false, nothing
    // filled. Raises EListError for an address past the last line and
    // EConvertError for a stored text that is not hexadecimal.
    bool GetBytes(std::uint8_t *buffer, int count, int start) const;

    // Grows the image to reach the line of lastAddress with unused empty
    // lines, then drops unused lines past it from the end (all of them for a
    // lastAddress below 0).
    void Resize(int lastAddress);

    // Drops every line (ImageLoaded and the file fields stay as they are).
    void Clear();

    int count() const { return static_cast<int>(m_lines.size()); }
    // Line by index; EListError "Listenindex überschreitet das Maximum (%d)" when out of range.
    const THexLine &Items(int index) const;

    // Writes the stream from position 0 as Intel HEX, 16 bytes per record.
    // Returns false on any error, without a message.
    static bool SaveStreamToFile(TMemoryStream &stream, const QString &fileName);

private:
    std::vector<THexLine> m_lines;
};
