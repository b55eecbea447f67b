#include "ComponentStream.h"

#include "Exceptions.h"

#include <QStringList>
#include <bit>
#include <cstring>
#include <limits>

namespace {
const char signature[] = {'T', 'P', 'F', '0'};
const QString modulClassName = QStringLiteral("TModul");

// Value tags of the component stream.
enum Tag : quint8 {
    TagNull = 0x00,  // end of a list
    TagInt8 = 0x02,
    TagInt16 = 0x03,
    TagInt32 = 0x04,
    TagString = 0x06,
    TagFalse = 0x08,
    TagTrue = 0x09,
    TagLongString = 0x0C,
    TagWideString = 0x12,  // UTF-16, 4-byte count of characters
    TagUtf8String = 0x14,  // UTF-8, 4-byte count of bytes
};

// The filer-flags prefix: high nibble set; flag 0x02 brings a child position.
constexpr quint8 PrefixMask = 0xF0;
constexpr quint8 ChildPositionFlag = 0x02;
constexpr int ShortStringLimit = 255;

QStringList &registeredClasses()
{
    static QStringList classes;
    return classes;
}

bool isRegistered(const QString &className)
{
    return registeredClasses().contains(className, Qt::CaseInsensitive);
}

bool isIdentifier(const QString &name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        const bool digit = c >= '0' && c <= '9';
        if (!letter && !(digit && i > 0))
            return false;
    }
    return true;
}

EReadError streamReadError()
{
    return EReadError(QStringLiteral("Stream-Lesefehler"));
}

EReadError propertyValueError()
{
    return EReadError(QStringLiteral("Ungültiger Eigenschaftswert"));
}

EReadError streamFormatError()
{
    return EReadError(QStringLiteral("Ungültiges Stream-Format"));
}

template <typename T> T littleEndian(const QByteArray &bytes)
{
    T value;
    static_assert(std::endian::native == std::endian::little);
    std::memcpy(&value, bytes.constData(), sizeof value);
    return value;
}
}

void RegisterClass(const QString &className)
{
    if (!isRegistered(className))
        registeredClasses().append(className);
}

void UnRegisterClass(const QString &className)
{
    registeredClasses().removeIf(
        [&](const QString &name) { return name.compare(className, Qt::CaseInsensitive) == 0; });
}

TComponentReader::TComponentReader(const QByteArray &data, qsizetype position)
    : m_data(data), m_position(position)
{
}

std::unique_ptr<TModul> TComponentReader::ReadComponent()
{
    if (ReadBytes(sizeof signature) != QByteArray::fromRawData(signature, sizeof signature))
        throw streamFormatError();
    ReadPrefix();
    // The class is looked up before the component name is read, and the name
    // is checked as soon as the object has it, as the stream library does.
    const QString className = ReadShortString();
    if (!isRegistered(className))
        throw EReadError(QStringLiteral("Klasse %1 nicht gefunden").arg(className));
    auto modul = std::make_unique<TModul>();
    const QString componentName = ReadShortString();
    if (!isIdentifier(componentName))
        throw EReadError(QStringLiteral("''%1'' ist kein gültiger Komponentenname").arg(componentName));
    modul->ComponentName = componentName;
    for (QString name = ReadShortString(); !name.isEmpty(); name = ReadShortString()) {
        try {
            ReadProperty(*modul, name);
        } catch (const Exception &error) {
            throw EReadError(QStringLiteral("Fehler beim Lesen von %1.%2: %3")
                                 .arg(componentName, name, error.message()));
        }
    }
    // A definition has no child components: the list of children must be empty.
    if (ReadByte() != TagNull)
        throw streamFormatError();
    // The reader's caller takes the object as a TModul only once it is read.
    if (className.compare(modulClassName, Qt::CaseInsensitive) != 0)
        throw EReadError(QStringLiteral("Ungültige Typumwandlung"));
    return modul;
}

void TComponentReader::ReadPrefix()
{
    if (m_position >= m_data.size() || (quint8(m_data[m_position]) & PrefixMask) != PrefixMask)
        return;
    const quint8 flags = ReadByte() & ~PrefixMask;
    if (flags & ChildPositionFlag)
        ReadInteger(ReadByte());  // the position among siblings means nothing here
}

void TComponentReader::ReadProperty(TModul &modul, const QString &propertyName)
{
    const TModul::Property *property = TModul::FindProperty(propertyName);
    if (!property)
        throw EReadError(QStringLiteral("Eigenschaft %1 existiert nicht.").arg(propertyName));
    const quint8 tag = ReadByte();
    switch (property->kind) {
    case TModul::Property::Kind::Integer:
        modul.*(property->integer) = ReadInteger(tag);
        break;
    case TModul::Property::Kind::String:
        modul.*(property->text) = ReadString(tag);
        break;
    case TModul::Property::Kind::Boolean:
        if (tag != TagFalse && tag != TagTrue)
            throw propertyValueError();
        modul.*(property->flag) = tag == TagTrue;
        break;
    }
}

int TComponentReader::ReadInteger(quint8 tag)
{
    switch (tag) {
    case TagInt8:
        return littleEndian<qint8>(ReadBytes(1));
    case TagInt16:
        return littleEndian<qint16>(ReadBytes(2));
    case TagInt32:
        return littleEndian<qint32>(ReadBytes(4));
    default:
        throw propertyValueError();
    }
}

QString TComponentReader::ReadString(quint8 tag)
{
    switch (tag) {
    case TagString:
        return ReadShortString();
    case TagLongString:
    case TagUtf8String:
        return QString::fromUtf8(ReadBytes(littleEndian<qint32>(ReadBytes(4))));
    case TagWideString: {
        const qint64 characters = littleEndian<qint32>(ReadBytes(4));
        const QByteArray bytes = ReadBytes(characters < 0 ? characters : 2 * characters);
        return QString(reinterpret_cast<const QChar *>(bytes.constData()), characters);
    }
    default:
        throw propertyValueError();
    }
}

QString TComponentReader::ReadShortString()
{
    return QString::fromUtf8(ReadBytes(ReadByte()));
}

quint8 TComponentReader::ReadByte()
{
    return quint8(ReadBytes(1).at(0));
}

QByteArray TComponentReader::ReadBytes(qint64 count)
{
    // A length taken from the stream is checked before anything is allocated.
    if (count < 0 || count > m_data.size() - m_position)
        throw streamReadError();
    const QByteArray bytes = m_data.mid(m_position, qsizetype(count));
    m_position += qsizetype(count);
    return bytes;
}

namespace {
void writeShortString(QByteArray &out, const QByteArray &bytes)
{
    if (bytes.size() > ShortStringLimit)
        throw Exception(QStringLiteral("Name zu lang für den Komponenten-Stream: %1")
                            .arg(QString::fromUtf8(bytes)));
    out.append(char(bytes.size()));
    out.append(bytes);
}

template <typename T> void writeLittleEndian(QByteArray &out, T value)
{
    char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    out.append(bytes, sizeof value);
}

void writeInteger(QByteArray &out, int value)
{
    if (value >= std::numeric_limits<qint8>::min() && value <= std::numeric_limits<qint8>::max()) {
        out.append(char(TagInt8));
        writeLittleEndian(out, qint8(value));
    } else if (value >= std::numeric_limits<qint16>::min() && value <= std::numeric_limits<qint16>::max()) {
        out.append(char(TagInt16));
        writeLittleEndian(out, qint16(value));
    } else {
        out.append(char(TagInt32));
        writeLittleEndian(out, qint32(value));
    }
}

void writeString(QByteArray &out, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    if (bytes.size() <= ShortStringLimit) {
        out.append(char(TagString));
        writeShortString(out, bytes);
    } else {
        out.append(char(TagLongString));
        writeLittleEndian(out, qint32(bytes.size()));
        out.append(bytes);
    }
}
}

QByteArray WriteComponent(const TModul &modul)
{
    QByteArray out(signature, sizeof signature);
    writeShortString(out, modulClassName.toUtf8());
    writeShortString(out, modul.ComponentName.toUtf8());
    for (const TModul::Property &property : TModul::Properties()) {
        using Kind = TModul::Property::Kind;
        const bool skipped = (property.kind == Kind::String && (modul.*(property.text)).isEmpty())
                             || (property.integer == &TModul::Tag && modul.Tag == 0);
        if (skipped)
            continue;
        writeShortString(out, QByteArray(property.name));
        switch (property.kind) {
        case Kind::Integer:
            writeInteger(out, modul.*(property.integer));
            break;
        case Kind::String:
            writeString(out, modul.*(property.text));
            break;
        case Kind::Boolean:
            out.append(char(modul.*(property.flag) ? TagTrue : TagFalse));
            break;
        }
    }
    out.append(char(TagNull));  // end of properties
    out.append(char(TagNull));  // no children
    return out;
}
