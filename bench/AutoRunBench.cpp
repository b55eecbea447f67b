// The automatic run erasing, writing and verifying a full ATmega2560 flash
// against the board simulator answering at once, beside a bare replay of the
// very bytes it exchanged, against the same simulator: the same requests, the
// same answers, in the same turns, without any protocol work on the host's
// side. Both clocks include opening and closing the port; the run's also its
// whole frame (device information, programming mode in and out).
#include "LinkBenchSupport.h"

#include "AutoProgram.h"
#include "BoardSimulator.h"
#include "ProgUSB.h"
#include "SerialPort.h"
#include "Utils.h"

#include <QElapsedTimer>
#include <benchmark/benchmark.h>

#include <stdexcept>

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

// One request of the host and the whole answer it waits for before it sends again.
struct ReplayTurn {
    QByteArray request;
    QByteArray answer;
};
using Replay = std::vector<ReplayTurn>;

// The turns of recorded exchanges: the command word, then the request block
// and the page block where the command has them. A command with a request
// block is acknowledged by one byte; a page block is preceded by one status.
Replay replayOf(const std::vector<BoardSimulator::Exchange> &exchanges)
{
    Replay replay;
    for (const BoardSimulator::Exchange &e : exchanges) {
        const char commandWord[] = {char(e.command >> 8), char(e.command & 0xFF)};
        const QByteArray word(commandWord, sizeof commandWord);
        if (e.request.isEmpty()) {
            replay.push_back({word, e.answered});
            continue;
        }
        replay.push_back({word, e.answered.left(1)});
        if (e.pageBlock.isEmpty()) {
            replay.push_back({e.request, e.answered.mid(1)});
            continue;
        }
        replay.push_back({e.request, e.answered.mid(1, 1)});
        replay.push_back({e.pageBlock, e.answered.mid(2)});
    }
    return replay;
}

// Seconds to open the port as the programmer link opens it, send each turn's
// request and read an answer of its length, and close the port. Throws when
// the answers were not the recorded ones.
double replayExchanges(const QString &portPath, const Replay &replay)
{
    qsizetype answerBytes = 0;
    for (const ReplayTurn &turn : replay)
        answerBytes += turn.answer.size();
    QByteArray answers(answerBytes, '\0');
    char *in = answers.data();
    QElapsedTimer clock;
    clock.start();
    SerialPort port;
    port.setPortName(portPath);
    port.setBaudRate(TProgUSB::BaudRate);
    port.open();
    for (const ReplayTurn &turn : replay) {
        const int answerSize = int(turn.answer.size());
        if (port.write(turn.request.constData(), int(turn.request.size())) != turn.request.size()
            || port.read(in, answerSize) != answerSize)
            throw std::runtime_error("the replay fell short");
        in += answerSize;
    }
    port.close();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    QByteArray recorded;
    for (const ReplayTurn &turn : replay)
        recorded += turn.answer;
    if (answers != recorded)
        throw std::runtime_error("the replay was answered otherwise than the run");
    return seconds;
}

std::vector<BoardSimulator::Exchange> exchangesSince(const BoardSimulator &board, std::size_t first)
{
    const std::vector<BoardSimulator::Exchange> all = board.exchanges();
    return {all.begin() + qsizetype(first), all.end()};
}
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
        const Replay replay = replayOf(exchangesSince(board, before));
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
