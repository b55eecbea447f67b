// Peak memory of an Intel HEX load: the full 256 KiB flash image beside a
// file of 1 GiB of zero bytes (sparse, so it costs no disk) before its end
// record, which reads as the empty image. Memory is the process's resident
// set: the allocator first gives back the free memory it holds (so that every
// allocation of the load costs fresh pages), the high-water mark is reset
// (Linux's clear_refs), and its rise during the load above the level before
// is the figure.
#include "BenchImages.h"
#include "HexContainer.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <malloc.h>

namespace {
constexpr qint64 ZeroFileSize = qint64(1) << 30;
constexpr double KiBPerMiB = 1024;

// A line of /proc/self/status such as "VmHWM:  1234 kB", in KiB.
qint64 statusKiB(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

// Makes the peak resident memory the present one.
void resetPeakMemory()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

// How far a load of the file into a fresh image raises the resident memory, in MiB.
double loadPeakMiB(const QString &path)
{
    malloc_trim(0);
    resetPeakMemory();
    const qint64 before = statusKiB("VmRSS");
    {
        THexContainer image;
        image.LoadFromFile(path);
        benchmark::DoNotOptimize(image.count());
    }
    return double(statusKiB("VmHWM") - before) / KiBPerMiB;
}

// The largest rise over all iterations, as the counter peak_MiB.
void measureLoads(benchmark::State &state, const QString &path)
{
    double peak = 0;
    for (auto _ : state)
        peak = std::max(peak, loadPeakMiB(path));
    state.counters["peak_MiB"] = peak;
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
}

static void BM_HexLoadPeakMemory256K(benchmark::State &state)
{
    measureLoads(state, fullFlashHexFile());
}
BENCHMARK(BM_HexLoadPeakMemory256K)->Unit(benchmark::kMillisecond);

static void BM_HexLoadPeakMemory1GiBZeroFile(benchmark::State &state)
{
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("zero.hex")));
    if (!file.open(QIODevice::WriteOnly) || !file.seek(ZeroFileSize) || file.write("\n:00000001FF\n") <= 0) {
        state.SkipWithError("cannot make the sparse file");
        return;
    }
    file.close();
    measureLoads(state, file.fileName());
}
BENCHMARK(BM_HexLoadPeakMemory1GiBZeroFile)->Unit(benchmark::kMillisecond);
