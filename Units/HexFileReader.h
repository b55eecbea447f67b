#pragma once

#include "HexContainer.h"

#include <QByteArray>
#include <vector>

// Turns the text of an Intel HEX file into image lines. Fields are taken by
// character position; neither the record length nor the checksum is checked.
// Raises EConvertError for a bad digit in a field it converts and EListError
// (text 16) for a data record starting beyond the image.
class HexFileReader {
public:
    static std::vector<THexLine> Read(const QByteArray &text);

private:
    explicit HexFileReader(std::vector<THexLine> &lines) : m_lines(lines) {}
    // False at the end-of-file record.
    bool Record(const char *line, qsizetype length);
    void StoreData(qint64 address, const char *data, qsizetype length);

    std::vector<THexLine> &m_lines;
    qint64 m_base = 0;
};
