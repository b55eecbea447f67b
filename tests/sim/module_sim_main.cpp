// The module simulator as a program of its own, for trying the real program
// against it: prints the path of its pseudo-terminal and serves until it gets
// SIGINT or SIGTERM. SIGUSR1 presses the module's reset button.
//
//   module_sim [--bootloader | --after N] [--ident TEXT] [--flash SIZE/PAGE] [--eeprom SIZE/PAGE]
//   module_sim --help
#include "ModuleSimulator.h"

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {
bool parseGeometry(const char *text, int &size, int &page)
{
    return std::sscanf(text, "%d/%d", &size, &page) == 2 && size >= 0 && page > 0;
}

// The smallest module of the program's list, so that the simulator alone is
// one the program knows: its application section below the bootloader, and
// the EEPROM of its microcontroller.
const ModuleSimulator::Geometry DefaultGeometry {28672, 128, 1024, 4};
const char *const DefaultIdentifier = "KW-M328";
constexpr int BadArguments = 2;

const char *const Usage =
    "usage: module_sim [--bootloader | --after N] [--ident TEXT] [--flash SIZE/PAGE] [--eeprom SIZE/PAGE]\n";

// The same words as the README's.
void printHelp()
{
    std::printf("%s\n"
                "Serves a microcontroller module with its bootloader on a pseudo-terminal, whose path it\n"
                "prints, until Ctrl+C. Without --after or --bootloader the module waits for its reset:\n"
                "kill -USR1 <pid> presses it, for instance while the program's connect dialog waits.\n\n"
                "  --after N           the module answers after N handshakes, as a module reset at that\n"
                "                      moment would; the program shows its connect dialog only after 20\n"
                "                      unanswered handshakes, so with fewer than 20 it never shows\n"
                "  --bootloader        the module answers at once (the same as --after 0)\n"
                "  --ident TEXT        the module's identifier (default %s)\n"
                "  --flash SIZE/PAGE   flash size and page size in bytes (default %d/%d)\n"
                "  --eeprom SIZE/PAGE  EEPROM size and page size in bytes (default %d/%d)\n",
                Usage, DefaultIdentifier, DefaultGeometry.flashSize, DefaultGeometry.flashPageSize,
                DefaultGeometry.eepromSize, DefaultGeometry.eepromPageSize);
}
}

int main(int argc, char **argv)
{
    ModuleSimulator::Geometry geometry = DefaultGeometry;
    int after = -1;
    QByteArray identifier = DefaultIdentifier;
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
    // only the sigwait below receives them.
    sigset_t handled;
    sigemptyset(&handled);
    sigaddset(&handled, SIGINT);
    sigaddset(&handled, SIGTERM);
    sigaddset(&handled, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &handled, nullptr);

    ModuleSimulator module(geometry);
    module.setIdentification(identifier);
    if (after >= 0)
        module.setEntersBootloaderAfter(after);
    std::printf("%s\n", module.portPath().toLocal8Bit().constData());
    std::fflush(stdout);

    int received = 0;
    while (sigwait(&handled, &received) == 0 && received == SIGUSR1)
        module.pressReset();
    return 0;
}
