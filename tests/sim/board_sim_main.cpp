// A development board on a pseudo-terminal, so that the program can be tried
// without the hardware: prints the device path to open and serves until
// interrupted.
#include "BoardSimulator.h"

#include <QTextStream>

#include <chrono>
#include <csignal>
#include <cstring>

namespace {
std::atomic<bool> stopRequested {false};

void requestStop(int)
{
    stopRequested = true;
}
}

int main(int argc, char **argv)
{
    // Optional first argument: the target's signature as six hex digits (default 1E950F).
    std::uint32_t signature = 0x1E950F;
    if (argc > 1)
        signature = std::uint32_t(QByteArray(argv[1]).toUInt(nullptr, 16));

    BoardSimulator board;
    board.setSignature(signature);
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
