// Programming and verifying a module's full 32 KiB flash through the module
// simulator, which paces every byte at the speed of a 250000-baud line. The
// counters set the measured time against the least the line allows: every
// byte exchanged at 10 bits, plus the 20 ms pause before each flash page's data.
#include "LinkBenchSupport.h"

#include "Bootloader.h"
#include "ModuleSimulator.h"
#include "Modul.h"
#include "Utils.h"

#include <QElapsedTimer>
#include <benchmark/benchmark.h>

namespace {
constexpr int LineBaud = 250000;
constexpr int BitsPerByte = 10;  // start bit, 8 data bits, stop bit
constexpr double FlashDataPauseSeconds = 0.020;
constexpr int FlashSize = 32 * 1024;
constexpr int FlashPageSize = 128;
constexpr int Runs = 3;
constexpr unsigned ImageSeed = 328;
const QByteArray ModuleName = "MEGA328 MODULE";

TModul mega328Module()
{
    TModul modul;
    modul.Name = QString::fromLatin1(ModuleName);
    modul.Categorie = 1;
    modul.FlashSize = FlashSize;
    modul.FlashPageSize = FlashPageSize;
    modul.EEPromSize = 1024;
    modul.EEPromPageSize = 4;
    return modul;
}

// What one run sent over the line, from the module's records.
struct LineUse {
    qsizetype hostBytes = 0;
    qsizetype moduleBytes = 0;
    int flashBlocks = 0;
    double pausesMs = 0;  // the host's pauses before page data, as the module saw them

    double seconds() const
    {
        return double(hostBytes + moduleBytes) * BitsPerByte / LineBaud + flashBlocks * FlashDataPauseSeconds;
    }
};

LineUse lineUse(const ModuleSimulator &module)
{
    LineUse use;
    use.hostBytes = module.received().size();
    for (const auto &exchange : module.exchanges()) {
        use.moduleBytes += exchange.answer.size();
        if (exchange.request.startsWith("IB") && exchange.request.endsWith('F')) {
            ++use.flashBlocks;
            use.pausesMs += exchange.pauseBeforeDataMs;
        }
    }
    return use;
}
}

static void BM_ModuleProgramVerifyFlash32K(benchmark::State &state)
{
    ModuleSimulator::Geometry geometry;
    geometry.flashSize = FlashSize;
    geometry.flashPageSize = FlashPageSize;
    ModuleSimulator module(geometry);
    module.setEntersBootloaderAfter(0);
    CurrentComPort = module.portPath();
    tKalworksBootloader link;
    if (!link.Open() || link.Handshake(ModuleName, tKalworksBootloader::AcceptedVersion) != tKalworksBootloader::Connected) {
        state.SkipWithError("the module simulator does not answer");
        return;
    }
    module.setLineRate(LineBaud);
    const QByteArray flash = randomBytes(FlashSize, ImageSeed);
    const THexContainer image = imageOf(flash);
    const TModul modul = mega328Module();
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
        const LineUse use = lineUse(module);
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
