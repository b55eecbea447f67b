#include "Utils.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

// CRC-16/AUG-CCITT bit by bit, written apart from the table-driven one so that
// a wrong table cannot hide.
std::uint16_t bitwiseCrc(const std::uint8_t *data, std::size_t count)
{
    std::uint16_t crc = 0x1D0F;
    for (std::size_t i = 0; i < count; ++i) {
        crc ^= static_cast<std::uint16_t>(data[i] << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return crc;
}

std::uint16_t crcOf(const QByteArray &data)
{
    return TUtility().Crc16(data, static_cast<int>(data.size()));
}

}  // namespace

// The initial value, the published check value, every byte value once, and
// only the first count bytes; random data against the bitwise form follows below.
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

TEST(Crc16, MatchesBitwiseCrcAndLeavesZeroResidue)
{
    TUtility utility;
    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(1, 600);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint8_t> data(static_cast<std::size_t>(length(random)));
        for (auto &b : data)
            b = static_cast<std::uint8_t>(byte(random));
        const std::uint16_t crc = utility.Crc16(data.data(), static_cast<int>(data.size()));
        ASSERT_EQ(crc, bitwiseCrc(data.data(), data.size())) << "round " << round;
        // The board checks a block by running the CRC over it and its CRC, high byte first.
        data.push_back(static_cast<std::uint8_t>(crc >> 8));
        data.push_back(static_cast<std::uint8_t>(crc & 0xFF));
        ASSERT_EQ(utility.Crc16(data.data(), static_cast<int>(data.size())), 0);
    }
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
