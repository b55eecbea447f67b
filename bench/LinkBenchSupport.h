#pragma once

// What the link benchmarks share: the program's texts from the test
// language in folders of their own, a progress bar that goes nowhere, full
// memory images of random bytes, the replay of the bytes a board exchanged,
// a far end that only moves bytes, and the module of the bootloader
// benchmarks with the line time of its exchanges.
#include "BoardSimulator.h"
#include "HexContainer.h"
#include "Modul.h"
#include "ProgressBar.h"
#include "PtyEndpoint.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

class ModuleSimulator;

// Settings and executable folders in temporary places, the test language
// installed, and the core module alive for the object's lifetime.
class BenchTexts {
public:
    BenchTexts();
    ~BenchTexts();
    BenchTexts(const BenchTexts &) = delete;
    BenchTexts &operator=(const BenchTexts &) = delete;

private:
    QTemporaryDir m_configHome;
    QTemporaryDir m_exeFolder;
};

class NullProgressBar : public ProgressBar {
public:
    void setMinimum(int value) override { m_minimum = value; }
    void setMaximum(int value) override { m_maximum = value; }
    void setPosition(int value) override { m_position = value; }
    int minimum() const override { return m_minimum; }
    int maximum() const override { return m_maximum; }
    int position() const override { return m_position; }

private:
    int m_minimum = 0;
    int m_maximum = 0;
    int m_position = 0;
};

// The programmer link's module alive for one benchmark run.
struct ProgrammerLink {
    ProgrammerLink();
    ~ProgrammerLink();
    ProgrammerLink(const ProgrammerLink &) = delete;
    ProgrammerLink &operator=(const ProgrammerLink &) = delete;
};

// The largest device of the board's family: 256 KiB of flash in 256-byte pages.
inline constexpr int Atmega2560FlashSize = 256 * 1024;
inline constexpr int Atmega2560FlashPageSize = 256;
inline constexpr int Atmega2560EepromSize = 4096;
TModul atmega2560();

// Random bytes, so that no page of a memory filled with them is empty.
QByteArray randomBytes(int size, unsigned seed);
// The image of these bytes from address 0, loaded from an Intel HEX file as
// the program loads one.
THexContainer imageOf(const QByteArray &bytes);

// The far side of a pseudo-terminal that follows a script of turns and does
// nothing else: it takes the bytes of each request and answers with the given
// number of bytes. The host thereby moves the same bytes in the same turns as
// in a real exchange, without any protocol work on either side.
class ScriptedFarEnd {
public:
    struct Turn {
        int receive;
        int send;
    };

    explicit ScriptedFarEnd(std::vector<Turn> turns);
    ~ScriptedFarEnd();
    ScriptedFarEnd(const ScriptedFarEnd &) = delete;
    ScriptedFarEnd &operator=(const ScriptedFarEnd &) = delete;

    const QString &portPath() const { return m_pty.slavePath(); }
    // Waits for the script's end; false when a request did not arrive whole.
    bool finish();

private:
    void serve();

    PtyEndpoint m_pty;
    std::vector<Turn> m_turns;
    std::atomic<bool> m_complete {false};
    std::thread m_thread;
};

// The bootloader benchmarks' module: a full 32 KiB flash in pages of 128
// bytes, behind a line of 250000 baud.
namespace BenchModule {
constexpr int LineBaud = 250000;
constexpr int FlashSize = 32 * 1024;
constexpr int FlashPageSize = 128;
const QByteArray Name = "MEGA328 MODULE";
TModul definition();
}

// What one run sent over the module's line, from the module's records.
struct ModuleLineUse {
    qsizetype hostBytes = 0;
    qsizetype moduleBytes = 0;
    int flashBlocks = 0;
    double pausesMs = 0;  // the host's pauses before page data, as the module saw them

    // The least the run can take: every byte at 10 bits on the line, plus the
    // 20 ms pause the protocol asks for before each flash page's data.
    double seconds() const;
};
ModuleLineUse moduleLineUse(const ModuleSimulator &module);

// One request of the host and the whole answer it waits for before it sends again.
struct ReplayTurn {
    QByteArray request;
    QByteArray answer;
};
using Replay = std::vector<ReplayTurn>;

// The turns of the exchanges the board recorded, from the one at index
// `firstExchange` on: the command word, then the request block and the page
// block where the command has them, each with the bytes the board answered.
Replay replayOf(const BoardSimulator &board, std::size_t firstExchange);
// Seconds to open the port as the programmer link opens it, send each turn's
// request and read an answer of its length, and close the port. Throws when
// the answers were not the recorded ones.
double replayExchanges(const QString &portPath, const Replay &replay);

using Turns = std::vector<ScriptedFarEnd::Turn>;

// The bytes of all turns as a single request and a single answer.
Turns asOneStream(const Replay &replay);
// Seconds the host needs to move the script's bytes through a fresh
// pseudo-terminal opened as the programmer link opens its port.
double moveBytes(const Turns &turns);
