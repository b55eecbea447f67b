// The programmer's flash page transfer of a full ATmega2560 image against the
// board simulator answering at once, beside the same bytes moved through a
// pseudo-terminal without any protocol: in the same turns (request, answer)
// and as one stream each way. The counters give the host time per page and
// its ratio to both.
#include "LinkBenchSupport.h"

#include "BoardSimulator.h"
#include "DeviceInterface.h"
#include "Modul.h"
#include "ProgUSB.h"
#include "SerialPort.h"
#include "Utils.h"

#include <QElapsedTimer>
#include <benchmark/benchmark.h>

#include <functional>
#include <stdexcept>

namespace {
constexpr int FlashSize = 256 * 1024;
constexpr int FlashPageSize = 256;
constexpr int Pages = FlashSize / FlashPageSize;
constexpr int EepromSize = 4096;
constexpr int Runs = 5;
constexpr unsigned ImageSeed = 2560;

// One page on the wire, as the frame carries it.
constexpr int CommandWord = 2;
constexpr int Crc = 2;
constexpr int WriteRequest = 11 + Crc;
constexpr int ReadRequest = 10 + Crc;
constexpr int PageBlock = FlashPageSize + Crc;
constexpr int OneByte = 1;  // an acknowledgement or a status

using Turns = std::vector<ScriptedFarEnd::Turn>;

// Write: command word / acknowledgement, request / status, page block / status.
// Read: command word / acknowledgement, request / status and page block.
Turns pageTurns(bool write)
{
    if (write)
        return {{CommandWord, OneByte}, {WriteRequest, OneByte}, {PageBlock, OneByte}};
    return {{CommandWord, OneByte}, {ReadRequest, OneByte + PageBlock}};
}

Turns allPages(bool write)
{
    Turns turns;
    for (int p = 0; p < Pages; ++p) {
        const Turns page = pageTurns(write);
        turns.insert(turns.end(), page.begin(), page.end());
    }
    return turns;
}

// The bytes of all pages as a single request and a single answer.
Turns asOneStream(const Turns &turns)
{
    ScriptedFarEnd::Turn stream {0, 0};
    for (const auto &turn : turns) {
        stream.receive += turn.receive;
        stream.send += turn.send;
    }
    return {stream};
}

// Seconds the host needs to move the script's bytes through a pseudo-terminal.
double moveBytes(const Turns &turns)
{
    ScriptedFarEnd farEnd(turns);
    SerialPort port;
    port.setPortName(farEnd.portPath());
    port.setBaudRate(TProgUSB::BaudRate);
    port.open();
    QByteArray out;
    QByteArray in;
    QElapsedTimer clock;
    clock.start();
    for (const auto &turn : turns) {
        out.resize(turn.receive);
        in.resize(turn.send);
        if (port.write(out.constData(), turn.receive) != turn.receive
            || port.read(in.data(), turn.send) != turn.send)
            throw std::runtime_error("pseudo-terminal baseline fell short");
    }
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    if (!farEnd.finish())
        throw std::runtime_error("pseudo-terminal baseline incomplete");
    return seconds;
}

TModul atmega2560()
{
    TModul modul;
    modul.Name = QStringLiteral("ATmega2560");
    modul.FlashSize = FlashSize;
    modul.FlashPageSize = FlashPageSize;
    modul.EEPromSize = EepromSize;
    modul.EEPromPageSize = 8;
    modul.FlashDelay = 10;
    modul.EEPromDelay = 10;
    return modul;
}

// The programmer link's module alive for one benchmark run.
struct ProgrammerLink {
    ProgrammerLink() { InitProgUSBModule(); }
    ~ProgrammerLink() { FinalizeProgUSBModule(); }
    ProgrammerLink(const ProgrammerLink &) = delete;
    ProgrammerLink &operator=(const ProgrammerLink &) = delete;
};

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
    const Turns turns = allPages(write);
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
