// The programmer's flash page transfer of a full ATmega2560 image against the
// board simulator answering at once, beside the same bytes moved through a
// pseudo-terminal without any protocol: in the same turns (request, answer)
// and as one stream each way. The counters give the host time per page and
// its ratio to both.
#include "LinkBenchSupport.h"

#include "BoardSimulator.h"
#include "DeviceInterface.h"
#include "ProgUSB.h"
#include "Utils.h"

#include <QElapsedTimer>
#include <benchmark/benchmark.h>

#include <functional>

namespace {
constexpr int FlashSize = Atmega2560FlashSize;
constexpr int FlashPageSize = Atmega2560FlashPageSize;
constexpr int Pages = FlashSize / FlashPageSize;
constexpr int EepromSize = Atmega2560EepromSize;
constexpr int Runs = 5;
constexpr unsigned ImageSeed = 2560;

using PageRoutine = std::function<bool(const TModul &, const THexContainer &, ProgressBar &, const TLogProc &)>;

// Runs the routine against a board that already holds `boardFlash`, and
// the matching baselines after each run.
void pageTransfer(benchmark::State &state, const PageRoutine &routine, bool write, const QByteArray &boardFlash)
{
    const BenchTexts texts;
    BoardSimulator board(FlashSize, EepromSize);
    board.setProgrammingMode(true);
    board.setMemory(true, 0, boardFlash);
    CurrentComPort = board.portPath();
    const ProgrammerLink link;
    if (!ProgUSB->Open()) {
        state.SkipWithError("cannot open the board simulator");
        return;
    }
    const QByteArray flash = randomBytes(FlashSize, ImageSeed);
    const THexContainer image = imageOf(flash);
    const TModul modul = atmega2560();
    NullProgressBar bar;
    const TLogProc quiet = [](TFontStyles, TColor, const QString &) {};
    const Turns turns = programmerPagesTurns(write, FlashPageSize, Pages);
    double protocol = 0;
    double inTurns = 0;
    double inOneStream = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const bool ok = routine(modul, image, bar, quiet);
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        if (!ok) {
            state.SkipWithError("the page transfer failed");
            break;
        }
        state.SetIterationTime(seconds);
        protocol += seconds;
        inTurns += moveBytes(turns);
        inOneStream += moveBytes(asOneStream(turns));
    }
    ProgUSB->Close();
    const std::string violations = board.violations().join(QLatin1Char('\n')).toStdString();
    if (!violations.empty())
        state.SkipWithError(violations.c_str());
    if (board.memory(true) != flash)
        state.SkipWithError("the board does not hold the image");
    const double perPage = 1e6 / double(state.iterations()) / Pages;
    state.counters["us_per_page"] = protocol * perPage;
    state.counters["pty_turns_us_per_page"] = inTurns * perPage;
    state.counters["pty_stream_us_per_page"] = inOneStream * perPage;
    state.counters["ratio_to_turns"] = protocol / inTurns;
    state.counters["ratio_to_stream"] = protocol / inOneStream;
}
}

static void BM_ProgrammerWriteFlash256K(benchmark::State &state)
{
    // An erased board, as after the chip erase before writing.
    pageTransfer(state, WriteFlash, true, QByteArray(FlashSize, char(0xFF)));
}
BENCHMARK(BM_ProgrammerWriteFlash256K)->UseManualTime()->Iterations(Runs)->Unit(benchmark::kMillisecond);

static void BM_ProgrammerVerifyFlash256K(benchmark::State &state)
{
    pageTransfer(state, VerifyFlash, false, randomBytes(FlashSize, ImageSeed));
}
BENCHMARK(BM_ProgrammerVerifyFlash256K)->UseManualTime()->Iterations(Runs)->Unit(benchmark::kMillisecond);
