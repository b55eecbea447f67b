// A development board on a pseudo-terminal, so that the program can be tried
// without the hardware: prints the device path to open and serves until
// interrupted.
//
//   board_sim [SIGNATURE]
//   board_sim --help
#include "BoardSimulator.h"
#include "SimulatorDefaults.h"

#include <QTextStream>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <thread>

namespace {
std::atomic<bool> stopRequested {false};

void requestStop(int)
{
    stopRequested = true;
}

using SimulatorDefaults::BoardSignature;
// A signature is three bytes.
constexpr std::size_t MaxSignatureDigits = 6;
constexpr int BadArguments = 2;

const char *const Usage = "usage: board_sim [SIGNATURE]\n";

// The same words as the README's.
void printHelp()
{
    std::printf("%s\n"
                "Serves the development board on a pseudo-terminal, whose path it prints, until\n"
                "Ctrl+C.\n\n"
                "  SIGNATURE  the target's signature in hex, one to six digits (default %s,\n"
                "             the ATmega328P)\n",
                Usage, BoardSignature);
}

// The signature that text gives in hex digits, nothing when it is none.
std::optional<std::uint32_t> parseSignature(const char *text)
{
    const std::size_t length = std::strlen(text);
    if (length == 0 || length > MaxSignatureDigits || std::strspn(text, "0123456789abcdefABCDEF") != length)
        return std::nullopt;
    return std::uint32_t(std::strtoul(text, nullptr, 16));
}
}

int main(int argc, char **argv)
{
    if (argc > 1 && !std::strcmp(argv[1], "--help")) {
        printHelp();
        return 0;
    }
    if (argc > 2) {
        std::fprintf(stderr, "board_sim: one argument at most\n%s", Usage);
        return BadArguments;
    }
    const std::optional<std::uint32_t> signature = parseSignature(argc > 1 ? argv[1] : BoardSignature);
    if (!signature) {
        std::fprintf(stderr, "board_sim: '%s' is no signature: one to six hex digits, such as %s\n%s", argv[1],
                     BoardSignature, Usage);
        return BadArguments;
    }

    BoardSimulator board;
    board.setSignature(*signature);
    board.setAcceptAnySize(true);
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);

    QTextStream out(stdout);
    out << board.portPath() << Qt::endl;
    while (!stopRequested)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    board.stop();
    for (const QString &violation : board.violations())
        out << "protocol violation: " << violation << Qt::endl;
    return 0;
}
