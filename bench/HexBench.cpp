// A full ATmega2560 flash image (256 KiB): Intel HEX load and write, page
// reads as the page writers do them, line reads as the hex view does them,
// and the fit check.
#include "BenchImages.h"
#include "HexContainer.h"
#include "PageList.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int ImageSize = FullFlashSize;
constexpr int PageSize = 256;

THexContainer loadedImage()
{
    THexContainer image;
    image.LoadFromFile(fullFlashHexFile());
    return image;
}
}

static void BM_HexLoad256K(benchmark::State &state)
{
    const QString &path = fullFlashHexFile();
    THexContainer image;
    for (auto _ : state) {
        image.LoadFromFile(path);
        benchmark::DoNotOptimize(image.count());
    }
    state.SetBytesProcessed(state.iterations() * ImageSize);
}
BENCHMARK(BM_HexLoad256K)->Unit(benchmark::kMillisecond);

static void BM_HexWrite256K(benchmark::State &state)
{
    TMemoryStream stream = randomFlashStream();
    QTemporaryDir folder;
    const QString path = folder.filePath("written.hex");
    for (auto _ : state)
        benchmark::DoNotOptimize(THexContainer::SaveStreamToFile(stream, path));
    state.SetBytesProcessed(state.iterations() * ImageSize);
}
BENCHMARK(BM_HexWrite256K)->Unit(benchmark::kMillisecond);

static void BM_GetBytesPageByPage256K(benchmark::State &state)
{
    const THexContainer image = loadedImage();
    std::uint8_t page[PageSize];
    for (auto _ : state)
        for (int address = 0; address < ImageSize; address += PageSize)
            benchmark::DoNotOptimize(image.GetBytes(page, PageSize, address));
    state.SetBytesProcessed(state.iterations() * ImageSize);
}
BENCHMARK(BM_GetBytesPageByPage256K)->Unit(benchmark::kMillisecond);

static void BM_GetByteLineByLine256K(benchmark::State &state)
{
    const THexContainer image = loadedImage();
    for (auto _ : state)
        for (int line = 0; line < image.count(); ++line)
            for (int column = 1; column <= THexLine::Columns; ++column)
                benchmark::DoNotOptimize(image.Items(line).GetByte(column));
    state.SetBytesProcessed(state.iterations() * ImageSize);
}
BENCHMARK(BM_GetByteLineByLine256K)->Unit(benchmark::kMillisecond);

static void BM_FitCheck256K(benchmark::State &state)
{
    const THexContainer image = loadedImage();
    TPageList pages;
    for (auto _ : state) {
        pages.Build(ImageSize / PageSize, PageSize);
        benchmark::DoNotOptimize(pages.LoadFromImage(image));
    }
    state.SetBytesProcessed(state.iterations() * ImageSize);
}
BENCHMARK(BM_FitCheck256K)->Unit(benchmark::kMillisecond);
