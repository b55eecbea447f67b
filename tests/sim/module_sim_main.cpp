// The module simulator as a program of its own, for trying the real program
// against it: prints the path of its pseudo-terminal and serves until it gets
// SIGINT or SIGTERM. SIGUSR1 or a line on its input (Enter in its terminal)
// presses the module's reset button.
//
//   module_sim [--bootloader | --after N] [--ident TEXT] [--flash SIZE/PAGE] [--eeprom SIZE/PAGE]
//   module_sim --help
#include "ModuleSimulator.h"
#include "SimulatorDefaults.h"

#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace {
bool parseGeometry(const char *text, int &size, int &page)
{
    return std::sscanf(text, "%d/%d", &size, &page) == 2 && size >= 0 && page > 0;
}

using SimulatorDefaults::ModuleGeometry;
using SimulatorDefaults::ModuleIdentifier;
constexpr int BadArguments = 2;
// How often a simulator in the background looks whether it has its terminal again.
constexpr int ForegroundCheckMs = 200;

const char *const Usage =
    "usage: module_sim [--bootloader | --after N] [--ident TEXT] [--flash SIZE/PAGE] [--eeprom SIZE/PAGE]\n";

// The same words as the README's.
void printHelp()
{
    std::printf("%s\n"
                "Serves a microcontroller module with its bootloader on a pseudo-terminal, whose path it\n"
                "prints, until Ctrl+C. Without --after or --bootloader the module waits for its reset:\n"
                "Enter in its terminal or kill -USR1 <pid> presses it (it prints the command with its\n"
                "pid), for instance while the program's connect dialog waits.\n\n"
                "  --after N           the module answers after N handshakes, as a module reset at that\n"
                "                      moment would; the program shows its connect dialog only after 20\n"
                "                      unanswered handshakes, so with fewer than 20 it never shows\n"
                "  --bootloader        the module answers at once (the same as --after 0)\n"
                "  --ident TEXT        the module's identifier (default %s)\n"
                "  --flash SIZE/PAGE   flash size and page size in bytes (default %d/%d)\n"
                "  --eeprom SIZE/PAGE  EEPROM size and page size in bytes (default %d/%d)\n",
                Usage, ModuleIdentifier, ModuleGeometry.flashSize, ModuleGeometry.flashPageSize,
                ModuleGeometry.eepromSize, ModuleGeometry.eepromPageSize);
}

void pressReset(ModuleSimulator &module)
{
    module.pressReset();
    std::puts("reset pressed: the module's bootloader answers");
    std::fflush(stdout);
}

// Whether a read of standard input would not stop the program: a terminal
// reads only for its foreground job, and a simulator started with & must go
// on serving.
bool inputReadable()
{
    return !::isatty(STDIN_FILENO) || ::tcgetpgrp(STDIN_FILENO) == ::getpgrp();
}

// Takes what came on standard input; false once it has ended. Each line is
// a press of the reset button.
bool takeInput(ModuleSimulator &module)
{
    char buffer[256];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (count < 0)  // EIO: the terminal has gone to another job since the poll
        return errno == EINTR || errno == EAGAIN || (errno == EIO && !inputReadable());
    for (ssize_t i = 0; i < count; ++i) {
        if (buffer[i] == '\n')
            pressReset(module);
    }
    return count > 0;
}

// Serves until SIGINT or SIGTERM arrives on signalFd; SIGUSR1 and lines on
// standard input press the reset button.
void serveUntilStopped(ModuleSimulator &module, int signalFd)
{
    bool inputOpen = true;
    for (;;) {
        const bool watchInput = inputOpen && inputReadable();
        pollfd watched[] = {{signalFd, POLLIN, 0}, {watchInput ? STDIN_FILENO : -1, POLLIN, 0}};
        if (::poll(watched, 2, watchInput ? -1 : ForegroundCheckMs) < 0 && errno != EINTR)
            return;
        if (watched[0].revents & POLLIN) {
            signalfd_siginfo received {};
            if (::read(signalFd, &received, sizeof received) == sizeof received) {
                if (received.ssi_signo != SIGUSR1)
                    return;
                pressReset(module);
            }
        }
        if (watched[1].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL))
            inputOpen = (watched[1].revents & POLLNVAL) == 0 && takeInput(module);
    }
}
}

int main(int argc, char **argv)
{
    ModuleSimulator::Geometry geometry = ModuleGeometry;
    int after = -1;
    QByteArray identifier = ModuleIdentifier;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--help")) {
            printHelp();
            return 0;
        }
        if (!std::strcmp(argv[i], "--bootloader"))
            after = 0;
        else if (!std::strcmp(argv[i], "--after") && hasValue)
            after = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--ident") && hasValue)
            identifier = argv[++i];
        else if (!std::strcmp(argv[i], "--flash") && hasValue && parseGeometry(argv[i + 1], geometry.flashSize, geometry.flashPageSize))
            ++i;
        else if (!std::strcmp(argv[i], "--eeprom") && hasValue && parseGeometry(argv[i + 1], geometry.eepromSize, geometry.eepromPageSize))
            ++i;
        else {
            std::fputs(Usage, stderr);
            return BadArguments;
        }
    }

    // Block the signals it answers before the serving thread starts, so that
    // only the descriptor below receives them. A read of the terminal from
    // the background fails instead of stopping the simulator.
    sigset_t handled;
    sigemptyset(&handled);
    sigaddset(&handled, SIGINT);
    sigaddset(&handled, SIGTERM);
    sigaddset(&handled, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &handled, nullptr);
    std::signal(SIGTTIN, SIG_IGN);
    const int signalFd = ::signalfd(-1, &handled, SFD_CLOEXEC);
    if (signalFd < 0) {
        std::perror("module_sim: signalfd");
        return 1;
    }

    ModuleSimulator module(geometry);
    module.setIdentification(identifier);
    if (after >= 0)
        module.setEntersBootloaderAfter(after);
    std::printf("%s\n", module.portPath().toLocal8Bit().constData());
    if (after != 0)
        std::printf("press the module's reset: Enter here, or kill -USR1 %ld\n", long(::getpid()));
    std::fflush(stdout);
    serveUntilStopped(module, signalFd);
    return 0;
}
