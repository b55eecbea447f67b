// The benchmark program's entry: the program's own application object first,
// because the message-processing pauses of the links run its event loop and
// the start-up benchmark creates the main window. Without a display named
// by the caller the windows go to the offscreen platform.
#include "ExceptionGuard.h"

#include <QByteArray>
#include <benchmark/benchmark.h>

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    LumaprogApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
