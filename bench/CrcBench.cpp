// The CRC over a 256 KiB block: the largest amount the programmer link protects
// in one run of page transfers is far smaller, so this shows the headroom.
#include "Utils.h"

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {

constexpr int BlockSize = 256 * 1024;

void Crc16Block(benchmark::State &state)
{
    std::vector<std::uint8_t> block(BlockSize);
    std::mt19937 random(1);
    for (auto &byte : block)
        byte = static_cast<std::uint8_t>(random());
    TUtility utility;
    for (auto _ : state)
        benchmark::DoNotOptimize(utility.Crc16(block.data(), BlockSize));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * BlockSize);
}

}  // namespace

BENCHMARK(Crc16Block);
