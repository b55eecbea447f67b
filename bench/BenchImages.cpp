#include "BenchImages.h"

#include "HexContainer.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <random>

TMemoryStream randomFlashStream()
{
    std::mt19937 generator(2560);
    QByteArray bytes(FullFlashSize, '\0');
    for (char &byte : bytes)
        byte = char(generator());
    TMemoryStream stream;
    stream.write(bytes.constData(), FullFlashSize);
    return stream;
}

const QString &fullFlashHexFile()
{
    struct File {
        QTemporaryDir folder;
        QString path = folder.filePath("flash.hex");
        File()
        {
            TMemoryStream stream = randomFlashStream();
            THexContainer::SaveStreamToFile(stream, path);
        }
    };
    static const File file;
    return file.path;
}
