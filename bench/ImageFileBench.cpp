// The time from choosing a 256 KiB flash file to its hex view painted again,
// beside the bare Intel HEX load of the same file in the same run: what the
// window adds to the reader (fit check, recent list, settings, enabling,
// the view's repaint).
#include "GuiUiHooks.h"
#include "HexContainer.h"
#include "HexView.h"
#include "MemoryStream.h"
#include "ProgUSB.h"
#include "Sleep.h"
#include "UiServices.h"
#include "Utils.h"
#include "uMain.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTemporaryDir>
#include <QWindow>
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <functional>
#include <memory>
#include <random>

namespace {
using Clock = std::chrono::steady_clock;
constexpr int FullFlash = 256 * 1024;
constexpr int PaintTimeoutMs = 10000;
const QString FullFlashDevice = QStringLiteral("ATmega2560");

double secondsSince(Clock::time_point from)
{
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// Every message is kept, so that a run that met one can say so.
class QuietUi : public UiServices {
public:
    bool askYesNo(QWidget *, const QString &text) override { return note(text); }
    bool warnYesNo(QWidget *, const QString &text) override { return note(text); }
    void showError(QWidget *, const QString &, const QString &text) override { note(text); }
    void showMessage(QWidget *, const QString &text) override { note(text); }
    QString saveFileName(QWidget *, const FileDialogRequest &) override { return {}; }
    QString openFileName(QWidget *, const FileDialogRequest &) override { return {}; }
    QString message;

private:
    bool note(const QString &text)
    {
        message = text;
        return false;
    }
};

class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

bool waitFor(const std::function<bool()> &done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.hasExpired(PaintTimeoutMs))
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return true;
}

// A full flash of random bytes, written by the program's own HEX writer.
bool writeFullFlash(const QString &path)
{
    std::mt19937 random(1);
    QByteArray bytes(FullFlash, '\0');
    for (char &byte : bytes)
        byte = char(random());
    TMemoryStream stream;
    stream.write(bytes.constData(), FullFlash);
    return THexContainer::SaveStreamToFile(stream, path);
}

// The built program folder, fresh settings, no pauses, no dialogs.
class WindowSession {
public:
    WindowSession()
    {
        qputenv("XDG_CONFIG_HOME", m_folder.path().toLocal8Bit());
        TUtility::SetExeFolderOverride(QStringLiteral(LUMAPROG_BIN_DIR));
        setSleepFunction([](int) {});
        setUiHooks(&m_hooks);
        setUiServices(&ui);
        InitUtilsModule();
        InitProgUSBModule();
    }
    ~WindowSession()
    {
        window.reset();
        FinalizeProgUSBModule();
        FinalizeUtilsModule();
        setUiServices(nullptr);
        setUiHooks(nullptr);
        setSleepFunction({});
        TUtility::SetExeFolderOverride(QString());
    }
    WindowSession(const WindowSession &) = delete;
    WindowSession &operator=(const WindowSession &) = delete;

    // The main window on the flash page with the full-flash device chosen.
    QString open()
    {
        if (!m_folder.isValid() || !writeFullFlash(file()))
            return QStringLiteral("cannot write the HEX file");
        window = std::make_unique<TMainFrm>();
        QComboBox *devices = window->cbb_Microcontroller;
        const int device = devices->findText(FullFlashDevice);
        if (device < 0)
            return QStringLiteral("no definition of ") + FullFlashDevice;
        devices->setCurrentIndex(device);
        emit devices->activated(device);
        window->pnl_Flash->raise();
        window->show();
        if (!waitFor([this] { return window->windowHandle() && window->windowHandle()->isExposed(); }))
            return QStringLiteral("the window was not shown");
        return ui.message;
    }
    QString file() const { return m_folder.filePath(QStringLiteral("flash256k.hex")); }

    QuietUi ui;
    std::unique_ptr<TMainFrm> window;

private:
    QTemporaryDir m_folder;
    GuiUiHooks m_hooks;
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
        const bool shown = waitFor([&] { return paint.painted; });
        const double seconds = secondsSince(start);
        choiceCpu += double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        if (!shown || !session.ui.message.isEmpty()) {
            state.SkipWithError(shown ? session.ui.message.toStdString().c_str() : "the view was not painted");
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
