#include "LanguageList.h"

#include "LanguageLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
const QString EntrySeparator = QStringLiteral(" - ");

// ELF header: the magic, the byte order at byte 5 (1 little-endian), and at
// byte 16 the two-byte object type, 3 for a shared object.
const QByteArray ElfMagic("\x7F" "ELF", 4);
constexpr int ElfByteOrderOffset = 5;
constexpr char LittleEndian = 1;
constexpr int ElfTypeOffset = 16;
constexpr int SharedObjectType = 3;

bool hasLanguageFileName(const QString &fileName)
{
    static const QRegularExpression pattern(
        QStringLiteral("^[A-Za-z0-9_-]+") + QRegularExpression::escape(QLatin1String(LanguageLibrarySuffix))
        + QLatin1Char('$'));
    return pattern.match(fileName).hasMatch();
}

bool isSharedObject(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(ElfTypeOffset + 2);
    if (header.size() < ElfTypeOffset + 2 || !header.startsWith(ElfMagic))
        return false;
    const auto byte = [&header](int at) { return int(static_cast<unsigned char>(header[at])); };
    const bool little = header[ElfByteOrderOffset] == LittleEndian;
    const int type = little ? byte(ElfTypeOffset) | byte(ElfTypeOffset + 1) << 8
                            : byte(ElfTypeOffset) << 8 | byte(ElfTypeOffset + 1);
    return type == SharedObjectType;
}

QString infoText(void *library, const char *exportName, bool &found)
{
    int error = 0;
    const auto function = reinterpret_cast<LanguageInfoFunction>(
        LanguageLibrary::findExport(library, exportName, error));
    found = function != nullptr;
    if (!found)
        return {};
    return LanguageLibrary::fetchText(
        [function](char *buffer, std::int32_t size, std::int32_t mode) { return function(buffer, size, mode); });
}
}

bool IsLanguageLibraryCandidate(const QString &path)
{
    const QFileInfo file(path);
    return hasLanguageFileName(file.fileName()) && file.isFile() && isSharedObject(path);
}

QStringList ListLanguageEntries(const QString &folder)
{
    QStringList entries;
    const QDir dir(folder);
    const QStringList names = dir.entryList({QLatin1Char('*') + QLatin1String(LanguageLibrarySuffix)},
                                            QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &name : names) {
        const QString path = dir.filePath(name);
        if (!IsLanguageLibraryCandidate(path))
            continue;
        int error = 0;
        void *library = LanguageLibrary::load(path, error);
        if (!library)
            continue;
        bool hasId = false, hasName = false;
        const QString id = infoText(library, "getLangID", hasId);
        const QString fullName = infoText(library, "getLangFull", hasName);
        if (hasId && hasName)
            entries << id + EntrySeparator + fullName;
    }
    return entries;
}

QString LanguageIdOfEntry(const QString &entry)
{
    const qsizetype separator = entry.indexOf(EntrySeparator);
    if (separator < 0)
        return {};
    return entry.left(separator + 1).trimmed();
}
