// Programming and verifying a module's full 32 KiB flash through the module
// simulator, which paces every byte at the speed of a 250000-baud line. The
// counters set the measured time against the least the line allows: every
// byte exchanged at 10 bits, plus the 20 ms pause before each flash page's data.
#include "LinkBenchSupport.h"

#include "Bootloader.h"
#include "ModuleSimulator.h"
#include "Utils.h"

#include <QElapsedTimer>
#include <benchmark/benchmark.h>

namespace {
constexpr int Runs = 3;
constexpr unsigned ImageSeed = 328;
}

static void BM_ModuleProgramVerifyFlash32K(benchmark::State &state)
{
    ModuleSimulator::Geometry geometry;
    geometry.flashSize = BenchModule::FlashSize;
    geometry.flashPageSize = BenchModule::FlashPageSize;
    ModuleSimulator module(geometry);
    module.setEntersBootloaderAfter(0);
    CurrentComPort = module.portPath();
    tKalworksBootloader link;
    if (!link.Open()
        || link.Handshake(BenchModule::Name, tKalworksBootloader::AcceptedVersion) != tKalworksBootloader::Connected) {
        state.SkipWithError("the module simulator does not answer");
        return;
    }
    module.setLineRate(BenchModule::LineBaud);
    const QByteArray flash = randomBytes(BenchModule::FlashSize, ImageSeed);
    const THexContainer image = imageOf(flash);
    const TModul modul = BenchModule::definition();
    double programSeconds = 0;
    double verifySeconds = 0;
    double lineSeconds = 0;
    double pausesMs = 0;
    int flashBlocks = 0;
    for (auto _ : state) {
        module.clearRecords();
        QElapsedTimer clock;
        clock.start();
        const bool programmed = link.ProgramFlash(modul, image);
        const double programmedAt = double(clock.nsecsElapsed()) / 1e9;
        const bool verified = programmed && link.VerifyFlash(modul, image);
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        if (!verified) {
            state.SkipWithError("programming or verifying failed");
            break;
        }
        state.SetIterationTime(seconds);
        programSeconds += programmedAt;
        verifySeconds += seconds - programmedAt;
        const ModuleLineUse use = moduleLineUse(module);
        lineSeconds += use.seconds();
        pausesMs += use.pausesMs;
        flashBlocks += use.flashBlocks;
    }
    link.Close();
    const std::string violations = module.violations().join(QLatin1Char('\n')).toStdString();
    if (!violations.empty())
        state.SkipWithError(violations.c_str());
    if (module.memory(ModuleSimulator::Memory::Flash) != flash)
        state.SkipWithError("the module does not hold the image");
    const double runs = double(state.iterations());
    state.counters["program_s"] = programSeconds / runs;
    state.counters["verify_s"] = verifySeconds / runs;
    state.counters["line_s"] = lineSeconds / runs;
    state.counters["ratio_to_line"] = (programSeconds + verifySeconds) / lineSeconds;
    state.counters["host_pause_ms"] = flashBlocks > 0 ? pausesMs / flashBlocks : 0;
}
BENCHMARK(BM_ModuleProgramVerifyFlash32K)->UseManualTime()->Iterations(Runs)->Unit(benchmark::kMillisecond);
