// The programmer's flash page transfer of a full ATmega2560 image against the
// board simulator answering at once, beside a bare replay of the very bytes
// it exchanged, against the same simulator: the same requests, the same
// answers, in the same turns, without any protocol work on the host's side.
// Both clocks include opening and closing the port. The same bytes also
// cross a pseudo-terminal as one stream each way, to a far end that only
// reads and answers. The counters give the host time per page and its ratio
// to both.
#include "LinkBenchSupport.h"

#include "BoardSimulator.h"
#include "DeviceInterface.h"
#include "ProgUSB.h"
#include "Utils.h"

#include <QElapsedTimer>
#include <benchmark/benchmark.h>

#include <exception>
#include <functional>

namespace {
constexpr int FlashSize = Atmega2560FlashSize;
constexpr int FlashPageSize = Atmega2560FlashPageSize;
constexpr int Pages = FlashSize / FlashPageSize;
constexpr int EepromSize = Atmega2560EepromSize;
constexpr int Runs = 5;
constexpr unsigned ImageSeed = 2560;

using PageRoutine = std::function<bool(const TModul &, const THexContainer &, ProgressBar &, const TLogProc &)>;

// Opens the link, runs the routine and closes the link again; true when all went well.
bool transferOnce(const PageRoutine &routine, const TModul &modul, const THexContainer &image, ProgressBar &bar)
{
    const TLogProc quiet = [](TFontStyles, TColor, const QString &) {};
    const bool ok = ProgUSB->Open() && routine(modul, image, bar, quiet);
    ProgUSB->Close();
    return ok;
}

// Runs the routine against a board in programming mode that already holds
// `boardFlash`, and the replay and the stream of its bytes after each run.
void pageTransfer(benchmark::State &state, const PageRoutine &routine, const QByteArray &boardFlash)
{
    const BenchTexts texts;
    BoardSimulator board(FlashSize, EepromSize);
    board.setProgrammingMode(true);
    board.setMemory(true, 0, boardFlash);
    CurrentComPort = board.portPath();
    const ProgrammerLink link;
    const QByteArray flash = randomBytes(FlashSize, ImageSeed);
    const THexContainer image = imageOf(flash);
    const TModul modul = atmega2560();
    NullProgressBar bar;
    double operation = 0;
    double replayed = 0;
    double inOneStream = 0;
    std::size_t turns = 0;
    for (auto _ : state) {
        const std::size_t before = board.exchanges().size();
        QElapsedTimer clock;
        clock.start();
        const bool ok = transferOnce(routine, modul, image, bar);
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        if (!ok) {
            state.SkipWithError("the page transfer failed");
            break;
        }
        state.SetIterationTime(seconds);
        operation += seconds;
        const Replay replay = replayOf(board, before);
        turns = replay.size();
        try {
            replayed += replayExchanges(board.portPath(), replay);
            inOneStream += moveBytes(asOneStream(replay));
        } catch (const std::exception &error) {
            state.SkipWithError(error.what());
            break;
        }
    }
    const std::string violations = board.violations().join(QLatin1Char('\n')).toStdString();
    if (!violations.empty())
        state.SkipWithError(violations.c_str());
    if (board.memory(true) != flash)
        state.SkipWithError("the board does not hold the image");
    const double perPage = 1e6 / double(state.iterations()) / Pages;
    state.counters["turns"] = double(turns);
    state.counters["us_per_page"] = operation * perPage;
    state.counters["replay_us_per_page"] = replayed * perPage;
    state.counters["stream_us_per_page"] = inOneStream * perPage;
    state.counters["ratio_to_replay"] = operation / replayed;
    state.counters["ratio_to_stream"] = operation / inOneStream;
}
}

static void BM_ProgrammerWriteFlash256K(benchmark::State &state)
{
    // An erased board, as after the chip erase before writing.
    pageTransfer(state, WriteFlash, QByteArray(FlashSize, char(0xFF)));
}
BENCHMARK(BM_ProgrammerWriteFlash256K)->UseManualTime()->Iterations(Runs)->Unit(benchmark::kMillisecond);

static void BM_ProgrammerVerifyFlash256K(benchmark::State &state)
{
    pageTransfer(state, VerifyFlash, randomBytes(FlashSize, ImageSeed));
}
BENCHMARK(BM_ProgrammerVerifyFlash256K)->UseManualTime()->Iterations(Runs)->Unit(benchmark::kMillisecond);
