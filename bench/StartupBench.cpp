// The time from the program's start to its main window on screen: the main
// block's work from the module initializations to the main window's first
// paint, with the program's own language library, pictures and definition
// file, a settings folder of its own, and the start-up's deliberate pauses
// (splash texts held for the eye) taken out through the replaceable sleep.
#include "BenchWindow.h"
#include "Bootloader.h"
#include "ConnectBootloaderDialog.h"
#include "ProgUSB.h"
#include "ScreenCursor.h"
#include "SingleInstance.h"
#include "Utils.h"
#include "uMain.h"
#include "u_Splash.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>
#include <benchmark/benchmark.h>

#include <chrono>
#include <exception>
#include <memory>
#include <optional>

namespace {
using Clock = std::chrono::steady_clock;

double secondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

// The moments one start passes, from the first module initialization on.
struct StartupTimes {
    Clock::time_point start;
    Clock::time_point instanceChecked;  // modules up, caption looked up, no other instance
    Clock::time_point splashShown;
    Clock::time_point windowsCreated;   // main window with its creation handler, connect dialog
    Clock::time_point windowPainted;    // the main window's first paint, the splash freed
};

// The main window and the connect dialog of one start; destroying it ends the start.
struct StartedWindows {
    SingleInstanceServer instance;
    std::unique_ptr<TMainFrm> mainWindow;

    ~StartedWindows()
    {
        delete Form1;
        Form1 = nullptr;
        mainWindow.reset();
        delete SplashDlg;
        SplashDlg = nullptr;
    }
};

bool waitUntilPainted(const QWidget &window, const PaintWatch &paint)
{
    return waitUntil([&] {
        return paint.painted && window.windowHandle() && window.windowHandle()->isExposed();
    });
}

// One start in the main block's order; an empty text when it reached the
// painted main window, else why it did not.
QString startOnce(StartupTimes &times, std::optional<StartedWindows> &windows)
{
    times.start = Clock::now();
    InitUtilsModule();
    InitProgUSBModule();
    InitBootloaderModule();
    if (NotifyRunningInstance(Utility->Text(0)))
        return QStringLiteral("a running program answers under the main window's caption");
    times.instanceChecked = Clock::now();

    windows.emplace();
    ShowSplash();
    times.splashShown = Clock::now();

    windows->mainWindow = std::make_unique<TMainFrm>();
    Form1 = new TForm1(windows->mainWindow.get());
    windows->instance.listen(windows->mainWindow->windowTitle());
    times.windowsCreated = Clock::now();

    PaintWatch paint;
    windows->mainWindow->installEventFilter(&paint);
    windows->mainWindow->show();
    const bool painted = waitUntilPainted(*windows->mainWindow, paint);
    times.windowPainted = Clock::now();
    windows->mainWindow->removeEventFilter(&paint);
    if (!painted)
        return QStringLiteral("the main window was not painted in time");
    if (SplashDlg)
        return QStringLiteral("the splash outlived the main window's first show");
    return {};
}

// Everything one start left behind goes, so that the next start begins afresh.
void endStart(std::optional<StartedWindows> &windows)
{
    windows.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ScreenCursor::setDefault();
    FinalizeBootloaderModule();
    FinalizeProgUSBModule();
    FinalizeUtilsModule();
}

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
        QString failure;
        try {
            failure = startOnce(times, windows);
        } catch (const std::exception &error) {
            failure = QString::fromUtf8(error.what());
        }
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
