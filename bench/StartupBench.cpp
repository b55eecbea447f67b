// The time from the program's start to its main window on screen, inside
// the benchmark's own process: the main block's work from the module
// initializations to the main window's first paint, with the program's own
// language library, pictures and definition file, a settings folder of its
// own, and the start-up's deliberate pauses (splash texts held for the eye)
// taken out through the replaceable sleep. The counters split a start into
// its phases; StartupExecBench measures whole starts from exec.
#include "BenchWindow.h"
#include "ProgramStart.h"

#include <benchmark/benchmark.h>

namespace {
struct PhaseTotals {
    double instanceCheck = 0;
    double splash = 0;
    double creation = 0;
    double show = 0;

    void add(const StartupTimes &times)
    {
        instanceCheck += secondsBetween(times.start, times.instanceChecked);
        splash += secondsBetween(times.instanceChecked, times.splashShown);
        creation += secondsBetween(times.splashShown, times.windowsCreated);
        show += secondsBetween(times.windowsCreated, times.windowPainted);
    }
};

benchmark::Counter averageMs(double seconds)
{
    return benchmark::Counter(seconds * 1e3, benchmark::Counter::kAvgIterations);
}

// The process's first start pays what later ones find done (fonts, style,
// platform set-up, the language library's loading); it is reported apart.
std::optional<double> firstStartSeconds;
}

static void BM_StartupToMainWindowShown(benchmark::State &state)
{
    WindowEnvironment environment;
    if (!environment.valid()) {
        state.SkipWithError("no temporary settings folder");
        return;
    }
    PhaseTotals totals;
    for (auto _ : state) {
        StartupTimes times;
        std::optional<StartedWindows> windows;
        const QString failure = startOnce(times, windows);
        endStart(windows);
        if (!failure.isEmpty() || !environment.ui.firstMessage.isEmpty()) {
            const QString reason = failure.isEmpty() ? environment.ui.firstMessage : failure;
            state.SkipWithError(reason.toStdString().c_str());
            break;
        }
        const double seconds = secondsBetween(times.start, times.windowPainted);
        if (!firstStartSeconds)
            firstStartSeconds = seconds;
        state.SetIterationTime(seconds);
        totals.add(times);
    }
    state.counters["modules_instance_ms"] = averageMs(totals.instanceCheck);
    state.counters["splash_ms"] = averageMs(totals.splash);
    state.counters["create_ms"] = averageMs(totals.creation);
    state.counters["show_ms"] = averageMs(totals.show);
    state.counters["first_start_ms"] = firstStartSeconds.value_or(0) * 1e3;
}
BENCHMARK(BM_StartupToMainWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond);
