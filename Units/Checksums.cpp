// The CRC of the programmer protocol and the Intel HEX record checksum.
#include "Utils.h"

#include <array>

namespace {

constexpr std::uint16_t CrcPolynomial = 0x1021;
constexpr std::uint16_t CrcInitialValue = 0x1D0F;

constexpr std::array<std::uint16_t, 256> makeCrcTable()
{
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < table.size(); ++i) {
        std::uint16_t crc = static_cast<std::uint16_t>(i << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ CrcPolynomial : crc << 1);
        table[i] = crc;
    }
    return table;
}

}  // namespace

constexpr std::array<std::uint16_t, 256> Crc16Table = makeCrcTable();
static_assert(Crc16Table[1] == 0x1021 && Crc16Table[255] == 0x1EF0, "not the MSB-first table of 0x1021");

std::uint16_t TUtility::Crc16(const std::uint8_t *data, int count)
{
    std::uint16_t crc = CrcInitialValue;
    for (int i = 0; i < count; ++i)
        crc = static_cast<std::uint16_t>(Crc16Table[((crc >> 8) ^ data[i]) & 0xFF] ^ (crc << 8));
    return crc;
}

std::uint8_t HexChecksum(std::uint16_t count, std::uint32_t address, std::uint8_t recordType,
                         const std::uint8_t *data)
{
    unsigned sum = (count >> 8) + (count & 0xFF) + recordType;
    for (int shift = 0; shift < 32; shift += 8)
        sum += (address >> shift) & 0xFF;
    for (unsigned i = 0; i < count; ++i)
        sum += data[i];
    return static_cast<std::uint8_t>(((sum & 0xFF) ^ 0xFF) + 1);
}
