// The time from choosing a 256 KiB flash file to its hex view painted again,
// beside the bare Intel HEX load of the same file in the same run: what the
// window adds to the reader (fit check, recent list, settings, enabling,
// the view's repaint).
#include "BenchImages.h"
#include "BenchWindow.h"
#include "HexContainer.h"
#include "HexView.h"
#include "NavigationList.h"
#include "ProgUSB.h"
#include "Utils.h"
#include "uMain.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QWindow>
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <memory>

namespace {
using Clock = std::chrono::steady_clock;
const QString FullFlashDevice = QStringLiteral("ATmega2560");

double secondsSince(Clock::time_point from)
{
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// The main window on the flash page with the full-flash device chosen.
class WindowSession {
public:
    WindowSession()
    {
        InitUtilsModule();
        InitProgUSBModule();
    }
    ~WindowSession()
    {
        window.reset();
        FinalizeProgUSBModule();
        FinalizeUtilsModule();
    }
    WindowSession(const WindowSession &) = delete;
    WindowSession &operator=(const WindowSession &) = delete;

    // An empty text when the window shows the flash page, else why it does not.
    QString open()
    {
        if (!m_environment.valid())
            return QStringLiteral("no temporary settings folder");
        window = std::make_unique<TMainFrm>();
        QComboBox *devices = window->cbb_Microcontroller;
        const int device = devices->findText(FullFlashDevice);
        if (device < 0)
            return QStringLiteral("no definition of ") + FullFlashDevice;
        devices->setCurrentIndex(device);
        emit devices->activated(device);
        // The flash page comes to the front as a click on its node brings it.
        window->vst_Auswahl->requestFocus(TMainFrm::NodeFlash);
        window->show();
        if (!waitUntil([this] { return window->windowHandle() && window->windowHandle()->isExposed(); }))
            return QStringLiteral("the window was not shown");
        if (!window->vst_Flash->isVisible())
            return QStringLiteral("the flash page is not in front");
        return message();
    }
    QString file() const { return fullFlashHexFile(); }
    QString message() const { return m_environment.ui.firstMessage; }

    std::unique_ptr<TMainFrm> window;

private:
    WindowEnvironment m_environment;
};
}

static void BM_ChooseFlashFileToViewShown256K(benchmark::State &state)
{
    WindowSession session;
    const QString failure = session.open();
    if (!failure.isEmpty()) {
        state.SkipWithError(failure.toStdString().c_str());
        return;
    }
    PaintWatch paint;
    session.window->vst_Flash->viewport()->installEventFilter(&paint);
    double bareLoad = 0;
    double chosenToShown = 0;
    double choiceCpu = 0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        THexContainer bare;
        bare.LoadFromFile(session.file());
        bareLoad += secondsSince(start);
        QCoreApplication::processEvents();
        paint.painted = false;

        start = Clock::now();
        const std::clock_t cpuStart = std::clock();
        session.window->edt_FlashFileChange(session.file());
        const bool shown = waitUntil([&] { return paint.painted; });
        const double seconds = secondsSince(start);
        choiceCpu += double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        if (!shown || !session.message().isEmpty()) {
            state.SkipWithError(shown ? session.message().toStdString().c_str() : "the view was not painted");
            break;
        }
        state.SetIterationTime(seconds);
        chosenToShown += seconds;
    }
    const auto average = [](double seconds) {
        return benchmark::Counter(seconds * 1e3, benchmark::Counter::kAvgIterations);
    };
    state.counters["bare_load_ms"] = average(bareLoad);
    state.counters["choice_cpu_ms"] = average(choiceCpu);
    state.counters["ratio"] = bareLoad > 0 ? chosenToShown / bareLoad : 0;
}
BENCHMARK(BM_ChooseFlashFileToViewShown256K)->UseManualTime()->Unit(benchmark::kMillisecond);
