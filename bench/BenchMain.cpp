// The benchmark program's entry: the program's own application object first,
// because the message-processing pauses of the links run its event loop and
// the start-up benchmarks create the main window. Without a display named
// by the caller the windows go to the offscreen platform. Started again by
// the start-up benchmark, the program runs one start instead.
#include "ExceptionGuard.h"
#include "StartChild.h"

#include <QByteArray>
#include <benchmark/benchmark.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    if (const std::optional<int> child = RunStartChild(argc, argv))
        return *child;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    LumaprogApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
