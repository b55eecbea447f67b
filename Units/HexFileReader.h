#pragma once

#include "HexContainer.h"

#include <QFile>
#include <vector>

// Turns an Intel HEX file into image lines, reading it as a stream, so that
// memory stays bounded by the image, not by the file. Fields are taken by
// character position; neither the record length nor the checksum is checked.
// Raises EConvertError for a bad digit in a field it converts, EListError
// (text 16) for a data record starting beyond the image, and EReadError
// naming the file when the file cannot be read, holds no record at all (no
// line that starts with ':', text 7308) or its image cannot be held. A file
// whose records hold no data gives an image of no lines.
class HexFileReader {
public:
    // Reads the open file from its current position; fileName names it in errors.
    static std::vector<THexLine> Read(QFile &file, const QString &fileName);

private:
    explicit HexFileReader(std::vector<THexLine> &lines) : m_lines(lines) {}
    // False at the end-of-file record.
    bool Record(const char *line, qsizetype length);
    void StoreData(qint64 address, const char *data, qsizetype length);

    std::vector<THexLine> &m_lines;
    qint64 m_base = 0;
};
