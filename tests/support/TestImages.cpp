#include "TestImages.h"

#include "HexContainer.h"
#include "Utils.h"

#include <QTemporaryFile>
#include <gtest/gtest.h>

namespace {
constexpr int RecordBytes = 16;
constexpr std::uint8_t DataRecord = 0;
constexpr std::uint8_t LinearAddressRecord = 4;

QByteArray record(std::uint8_t type, std::uint16_t address, const QByteArray &data)
{
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(data.constData());
    const auto count = std::uint16_t(data.size());
    return QStringLiteral(":%1%2%3%4%5\n")
        .arg(count, 2, 16, QLatin1Char('0'))
        .arg(address, 4, 16, QLatin1Char('0'))
        .arg(type, 2, 16, QLatin1Char('0'))
        .arg(QString::fromLatin1(data.toHex()))
        .arg(HexChecksum(count, address, type, bytes), 2, 16, QLatin1Char('0'))
        .toUpper()
        .toLatin1();
}
}

QByteArray pattern(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((seed + 7 * i) & 0xFF);
    return bytes;
}

void makeImage(THexContainer &image, int size, const QMap<int, QByteArray> &blocks)
{
    QByteArray text;
    std::uint32_t segment = 0;
    for (auto it = blocks.begin(); it != blocks.end(); ++it) {
        for (int offset = 0; offset < it.value().size(); offset += RecordBytes) {
            const auto address = std::uint32_t(it.key() + offset);
            if ((address >> 16) != segment) {
                segment = address >> 16;
                text += record(LinearAddressRecord, 0, QByteArray(1, char(segment >> 8)) + char(segment));
            }
            text += record(DataRecord, std::uint16_t(address), it.value().mid(offset, RecordBytes));
        }
    }
    text += ":00000001FF\n";
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write(text);
    file.close();
    image.LoadFromFile(file.fileName());
    image.Resize(size - 1);
}
