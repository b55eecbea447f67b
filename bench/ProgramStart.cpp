
#include "ProgramStart.h"

#include "BenchWindow.h"
#include "Bootloader.h"
#include "ConnectBootloaderDialog.h"
#include "ProgUSB.h"
#include "ScreenCursor.h"
#include "Utils.h"
#include "u_Splash.h"

#include <QCoreApplication>
#include <QEvent>

#include <exception>

StartedWindows::~StartedWindows()
{
    delete Form1;
    Form1 = nullptr;
    mainWindow.reset();
    delete SplashDlg;
    SplashDlg = nullptr;
}

namespace {
QString startSteps(StartupTimes &times, std::optional<StartedWindows> &windows)
{
    times.start = StartClock::now();
    InitUtilsModule();
    InitProgUSBModule();
    InitBootloaderModule();
    windows.emplace();
    Utility->Text(0);
    if (ClaimInstance(windows->instance) != StartTurn::OpenWindows)
        return QStringLiteral("a running program holds the instance on this desktop");
    times.instanceChecked = StartClock::now();

    ShowSplash();
    times.splashShown = StartClock::now();

    windows->mainWindow = std::make_unique<TMainFrm>();
    Form1 = new TForm1(windows->mainWindow.get());
    times.windowsCreated = StartClock::now();

    const bool painted = showUntilPainted(*windows->mainWindow);
    times.windowPainted = StartClock::now();
    if (!painted)
        return QStringLiteral("the main window was not painted in time");
    if (SplashDlg)
        return QStringLiteral("the splash outlived the main window's first show");
    return {};
}
}

QString startOnce(StartupTimes &times, std::optional<StartedWindows> &windows)
{
    try {
        return startSteps(times, windows);
    } catch (const std::exception &error) {
        return QString::fromUtf8(error.what());
    }
}

void endStart(std::optional<StartedWindows> &windows)
{
    windows.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ScreenCursor::setDefault();
    FinalizeBootloaderModule();
    FinalizeProgUSBModule();
    FinalizeUtilsModule();
}

double secondsBetween(StartClock::time_point from, StartClock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}
