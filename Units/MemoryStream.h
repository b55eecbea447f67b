#pragma once

#include <QByteArray>

// A growable byte buffer with a read/write position: the board's read
// routines fill it and the Intel HEX writer reads it back.
class TMemoryStream {
public:
    // Drops the content; position 0.
    void clear();
    // Writes count bytes at the position (overwriting, growing as needed) and
    // moves the position past them; returns count.
    int write(const void *buffer, int count);
    // Reads up to count bytes from the position; returns how many were read.
    int read(void *buffer, int count);
    qint64 size() const { return m_data.size(); }
    qint64 position() const { return m_position; }
    // Any position from 0 on; beyond the end a read gives nothing and a
    // write fills the gap with zeros.
    void setPosition(qint64 position);
    const QByteArray &data() const { return m_data; }

private:
    QByteArray m_data;
    qint64 m_position = 0;
};
