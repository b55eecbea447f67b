#include "DefinitionFile.h"

#include "ComponentStream.h"
#include "Exceptions.h"
#include "FileErrors.h"

#include <QFile>
#include <QSaveFile>

DefinitionFileResult ReadDefinitionFile(const QString &path,
                                        const std::function<void(std::unique_ptr<TModul>)> &take)
{
    QFile file(path);
    if (!file.exists())
        return DefinitionFileResult::Missing;
    if (!file.open(QIODevice::ReadOnly))
        throw FileOpenError(path, file.errorString());
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EReadError(QStringLiteral("Stream-Lesefehler"));
    return ReadDefinitionData(data, take);
}

DefinitionFileResult ReadDefinitionData(const QByteArray &data,
                                        const std::function<void(std::unique_ptr<TModul>)> &take)
{
    if (!data.startsWith(QByteArray(DefinitionFileHeader, DefinitionFileHeaderSize)))
        return DefinitionFileResult::WrongVersion;
    TComponentReader reader(data, DefinitionFileHeaderSize);
    while (!reader.atEnd())
        take(reader.ReadComponent());
    return DefinitionFileResult::Read;
}

QByteArray WriteDefinitionData(const std::vector<TModul> &definitions)
{
    QByteArray data(DefinitionFileHeader, DefinitionFileHeaderSize);
    for (const TModul &modul : definitions)
        data.append(WriteComponent(modul));
    return data;
}

bool WriteDefinitionFile(const QString &path, const std::vector<TModul> &definitions)
{
    const QByteArray data = WriteDefinitionData(definitions);
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}
