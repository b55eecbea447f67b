// The automatic run erasing, writing and verifying a full ATmega2560 flash
// against the board simulator answering at once, beside a bare replay of the
// very bytes it exchanged, against the same simulator: the same requests, the
// same answers, in the same turns, without any protocol work on the host's
// side. Both clocks include opening and closing the port; the run's also its
// whole frame (device information, programming mode in and out).
#include "LinkBenchSupport.h"

#include "AutoProgram.h"
#include "BoardSimulator.h"
#include "Utils.h"

#include <QElapsedTimer>
#include <benchmark/benchmark.h>

#include <exception>

namespace {
constexpr int Runs = 5;
constexpr unsigned ImageSeed = 2561;

class NoQuestions : public BoardPrompts {
public:
    bool confirmWarning(const WarningDialogTexts &) override { return true; }
    QString saveFileName(const SaveFileRequest &) override { return {}; }
    bool warnYesNo(const QString &) override { return false; }
    void showError(const QString &) override {}
};
}

static void BM_AutoRunEraseWriteVerifyFlash256K(benchmark::State &state)
{
    const BenchTexts texts;
    BoardSimulator board(Atmega2560FlashSize, Atmega2560EepromSize);
    CurrentComPort = board.portPath();
    const ProgrammerLink link;
    const QByteArray flash = randomBytes(Atmega2560FlashSize, ImageSeed);
    BoardSnapshot snapshot;
    snapshot.modul = atmega2560();
    snapshot.flashImage = imageOf(flash);
    snapshot.flashImage.ImageMisfit = false;
    snapshot.autoSteps.eraseChip = snapshot.autoSteps.programFlash = snapshot.autoSteps.verifyFlash = true;
    NullProgressBar bar;
    NoQuestions prompts;
    const BoardReport report {[](TFontStyles, TColor, const QString &) {}, bar, prompts};
    double run = 0;
    double replayed = 0;
    std::size_t turns = 0;
    for (auto _ : state) {
        const std::size_t before = board.exchanges().size();
        QElapsedTimer clock;
        clock.start();
        const bool ok = RunAutoProgram(snapshot, report).ok;
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        if (!ok || board.memory(true) != flash) {
            state.SkipWithError("the automatic run failed");
            break;
        }
        state.SetIterationTime(seconds);
        run += seconds;
        const Replay replay = replayOf(board, before);
        turns = replay.size();
        try {
            replayed += replayExchanges(board.portPath(), replay);
        } catch (const std::exception &error) {
            state.SkipWithError(error.what());
            break;
        }
    }
    const std::string violations = board.violations().join(QLatin1Char('\n')).toStdString();
    if (!violations.empty())
        state.SkipWithError(violations.c_str());
    const double perRun = 1e3 / double(state.iterations());
    state.counters["turns"] = double(turns);
    state.counters["run_ms"] = run * perRun;
    state.counters["replay_ms"] = replayed * perRun;
    state.counters["ratio_to_replay"] = run / replayed;
}
BENCHMARK(BM_AutoRunEraseWriteVerifyFlash256K)->UseManualTime()->Iterations(Runs)->Unit(benchmark::kMillisecond);
