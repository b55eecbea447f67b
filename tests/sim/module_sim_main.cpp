// The module simulator as a program of its own, for trying the real program
// against it: prints the path of its pseudo-terminal and serves until it gets
// SIGINT or SIGTERM. SIGUSR1 presses the module's reset button.
//
//   module_sim [--bootloader | --after N] [--ident TEXT] [--flash SIZE/PAGE] [--eeprom SIZE/PAGE]
#include "ModuleSimulator.h"

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {
bool parseGeometry(const char *text, int &size, int &page)
{
    return std::sscanf(text, "%d/%d", &size, &page) == 2 && size >= 0 && page > 0;
}

int usage()
{
    std::fprintf(stderr, "usage: module_sim [--bootloader | --after N] [--ident TEXT] "
                         "[--flash SIZE/PAGE] [--eeprom SIZE/PAGE]\n");
    return 2;
}
}

int main(int argc, char **argv)
{
    ModuleSimulator::Geometry geometry {32768, 128, 1024, 4};
    int after = -1;
    QByteArray identifier = "MEGA328 MODULE";
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
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
        else
            return usage();
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
