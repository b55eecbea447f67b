#include "Utils.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <vector>

namespace {

std::uint16_t crcOf(const QByteArray &data)
{
    return TUtility().Crc16(data, static_cast<int>(data.size()));
}

}  // namespace

// The initial value, the published check value, every byte value once, and
// only the first count bytes.
TEST(Crc16, PublishedCheckValuesOverTheFirstCountBytes)
{
    EXPECT_EQ(crcOf(""), 0x1D0F);
    EXPECT_EQ(crcOf("123456789"), 0xE5CC);
    QByteArray ramp;
    for (int i = 0; i < 256; ++i)
        ramp.append(static_cast<char>(i));
    EXPECT_EQ(crcOf(ramp), 0x3C8E);
    for (const auto &[count, crc] : {std::pair{3, 0x865E}, {0, 0x1D0F}, {-4, 0x1D0F}})
        EXPECT_EQ(TUtility().Crc16(QByteArray("123456789"), count), crc) << count;
}

TEST(HexChecksum, RecordChecksums)
{
    const std::uint8_t segment[] = {0x10, 0x00};
    EXPECT_EQ(HexChecksum(2, 0, 2, segment), 0xEC);
    const std::vector<std::uint8_t> empty(16, 0xFF);
    EXPECT_EQ(HexChecksum(16, 0, 0, empty.data()), 0x00);
    // ":10010000214601360121470136007EFE09D2190140"
    const std::uint8_t data[] = {0x21, 0x46, 0x01, 0x36, 0x01, 0x21, 0x47, 0x01,
                                 0x36, 0x00, 0x7E, 0xFE, 0x09, 0xD2, 0x19, 0x01};
    EXPECT_EQ(HexChecksum(16, 0x0100, 0, data), 0x40);
    // Only the first Count bytes count, and every byte of the address does.
    EXPECT_EQ(HexChecksum(1, 0x01020304, 0, data), static_cast<std::uint8_t>(-(1 + 1 + 2 + 3 + 4 + 0x21)));
}
