// The module page's flash job, programming and verifying a full 32 KiB flash,
// from opening the port to closing it, against the module simulator pacing a
// 250000-baud line. The line time of the same run (every byte at 10 bits, the
// handshake included, plus the 20 ms pause before each flash page's data) is
// the least the job can take.
#include "LinkBenchSupport.h"

#include "Bootloader.h"
#include "ModuleJobs.h"
#include "ModuleSimulator.h"
#include "Utils.h"

#include <QElapsedTimer>
#include <benchmark/benchmark.h>

namespace {
constexpr int Runs = 3;
constexpr unsigned ImageSeed = 644;

class DiscardingLog : public ModuleJobLog {
public:
    void addLog(TFontStyles, TColor, const QString &) override {}
    void addLogLine(TFontStyles, TColor, const QString &) override {}
};
}

static void BM_ModuleJobProgramVerifyFlash32K(benchmark::State &state)
{
    const BenchTexts texts;
    ModuleSimulator::Geometry geometry;
    geometry.flashSize = BenchModule::FlashSize;
    geometry.flashPageSize = BenchModule::FlashPageSize;
    ModuleSimulator module(geometry);
    module.setEntersBootloaderAfter(0);
    module.setLineRate(BenchModule::LineBaud);
    CurrentComPort = module.portPath();
    tKalworksBootloader link;
    const QByteArray flash = randomBytes(BenchModule::FlashSize, ImageSeed);
    THexContainer image = imageOf(flash);
    image.ImageMisfit = false;
    const TModul modul = BenchModule::definition();
    const ModuleJobSnapshot job = ModuleJobSnapshot::take(ModuleJob::ProgramFlash, &modul, image, THexContainer(),
                                                          true, false, [] { return false; });
    DiscardingLog log;
    double jobSeconds = 0;
    double lineSeconds = 0;
    for (auto _ : state) {
        module.clearRecords();
        QElapsedTimer clock;
        clock.start();
        const ModuleJobResult result = runModuleJob(job, link, log);
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        if (result != ModuleJobResult::Succeeded) {
            state.SkipWithError("the job failed");
            break;
        }
        state.SetIterationTime(seconds);
        jobSeconds += seconds;
        lineSeconds += moduleLineUse(module).seconds();
    }
    const std::string violations = module.violations().join(QLatin1Char('\n')).toStdString();
    if (!violations.empty())
        state.SkipWithError(violations.c_str());
    if (module.memory(ModuleSimulator::Memory::Flash) != flash)
        state.SkipWithError("the module does not hold the image");
    const double runs = double(state.iterations());
    state.counters["job_s"] = jobSeconds / runs;
    state.counters["line_s"] = lineSeconds / runs;
    state.counters["ratio_to_line"] = jobSeconds / lineSeconds;
}
BENCHMARK(BM_ModuleJobProgramVerifyFlash32K)->UseManualTime()->Iterations(Runs)->Unit(benchmark::kMillisecond);
