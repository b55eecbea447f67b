#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "Modul.h"

// The class library's binary component stream, as far as definitions use it:
// "TPF0", an optional filer-flags byte, class name, component name, the
// published properties with their value tags, and two closing 0x00 bytes.
// Errors raise EReadError with the stream library's (German) messages.

// The classes the reader may create by name. "TModul" is registered by the
// main window at start-up; until then a record of it is refused as an
// unknown class. Names compare without regard to case.
void RegisterClass(const QString &className);
void UnRegisterClass(const QString &className);

// Reads component records one after another from a byte buffer.
class TComponentReader {
public:
    explicit TComponentReader(const QByteArray &data, qsizetype position = 0);

    // Reads the record at the position and leaves the position just past it.
    std::unique_ptr<TModul> ReadComponent();

    qsizetype position() const { return m_position; }
    qsizetype size() const { return m_data.size(); }
    bool atEnd() const { return m_position >= m_data.size(); }

private:
    void ReadPrefix();
    void ReadProperty(TModul &modul, const QString &propertyName);
    int ReadInteger(quint8 tag);
    QString ReadString(quint8 tag);
    QString ReadShortString();
    quint8 ReadByte();
    QByteArray ReadBytes(qint64 count);

    QByteArray m_data;
    qsizetype m_position;
};

// One record of the definition, properties in the writer's order: integers
// and Booleans always (Tag only when not 0), strings only when not empty,
// integers with the smallest tag that holds them.
QByteArray WriteComponent(const TModul &modul);
