// The automatic run writing and verifying a full ATmega2560 flash against the
// board simulator answering at once, beside the same bytes moved through a
// pseudo-terminal without any protocol, in the same turns. The run includes
// its whole frame: opening the port, the device information, programming
// mode, leaving it and closing the port.
#include "LinkBenchSupport.h"

#include "AutoProgram.h"
#include "BoardSimulator.h"
#include "ProgUSB.h"
#include "Utils.h"

#include <QElapsedTimer>
#include <benchmark/benchmark.h>

namespace {
constexpr int Pages = Atmega2560FlashSize / Atmega2560FlashPageSize;
constexpr int Runs = 5;
constexpr unsigned ImageSeed = 2561;
constexpr int InfoBlock = 256;

class NoQuestions : public BoardPrompts {
public:
    bool confirmWarning(const WarningDialogTexts &) override { return true; }
    QString saveFileName(const SaveFileRequest &) override { return {}; }
    bool warnYesNo(const QString &) override { return false; }
    void showError(const QString &) override {}
};

// The frame around the pages: the device information, entering programming
// mode (command word / acknowledgement, request / status), the pages, and
// leaving programming mode (command word / status).
Turns autoRunTurns()
{
    Turns turns = {{2, InfoBlock}, {2, 1}, {3, 1}};
    for (const bool write : {true, false}) {
        const Turns pages = programmerPagesTurns(write, Atmega2560FlashPageSize, Pages);
        turns.insert(turns.end(), pages.begin(), pages.end());
    }
    turns.push_back({2, 1});
    return turns;
}
}

static void BM_AutoRunWriteVerifyFlash256K(benchmark::State &state)
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
    snapshot.autoSteps.programFlash = snapshot.autoSteps.verifyFlash = true;
    NullProgressBar bar;
    NoQuestions prompts;
    const BoardReport report {[](TFontStyles, TColor, const QString &) {}, bar, prompts};
    const Turns turns = autoRunTurns();
    double run = 0;
    double inTurns = 0;
    for (auto _ : state) {
        board.setMemory(true, 0, QByteArray(Atmega2560FlashSize, char(0xFF)));  // erased, as after a chip erase
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
        inTurns += moveBytes(turns);
    }
    const std::string violations = board.violations().join(QLatin1Char('\n')).toStdString();
    if (!violations.empty())
        state.SkipWithError(violations.c_str());
    const double perRun = 1e3 / double(state.iterations());
    state.counters["run_ms"] = run * perRun;
    state.counters["pty_turns_ms"] = inTurns * perRun;
    state.counters["ratio_to_turns"] = run / inTurns;
}
BENCHMARK(BM_AutoRunWriteVerifyFlash256K)->UseManualTime()->Iterations(Runs)->Unit(benchmark::kMillisecond);
