// The program's main block.
#include "Bootloader.h"
#include "ConnectBootloaderDialog.h"
#include "ExceptionGuard.h"
#include "GuiUiHooks.h"
#include "ProgUSB.h"
#include "ShutdownSignals.h"
#include "SingleInstance.h"
#include "UiHooks.h"
#include "Utils.h"
#include "uMain.h"
#include "u_Splash.h"

#include <memory>

namespace {
constexpr int StartFailed = 1;
// Another program is the instance but never answered its raise request.
constexpr int RunningProgramSilent = 2;

// Module initialization order: the core, then the programmer link, then the bootloader link.
void initModules()
{
    InitUtilsModule();
    InitProgUSBModule();
    InitBootloaderModule();
}

void finalizeModules()
{
    FinalizeBootloaderModule();
    FinalizeProgUSBModule();
    FinalizeUtilsModule();
}

int runWindows(SingleInstanceServer &instance)
{
    // The system's shut-down request is an attempt to close the main window, made once it shows.
    ShutdownSignals shutdown;
    ShowSplash();
    auto mainWindow = std::make_unique<TMainFrm>();
    Form1 = new TForm1(mainWindow.get());
    QObject::connect(&instance, &SingleInstanceServer::raiseRequested, mainWindow.get(), [&] {
        mainWindow->raise();
        mainWindow->activateWindow();
    });
    QObject::connect(&shutdown, &ShutdownSignals::shutdownRequested, mainWindow.get(),
                     &QWidget::close);
    mainWindow->show();
    shutdown.deliver();
    instance.deliverRaiseRequests();
    const int result = Application::terminated() ? 0 : QApplication::exec();
    delete Form1;
    Form1 = nullptr;
    return result;
}
}

int main(int argc, char **argv)
{
    // The application object comes first: the first text lookup may have to show a message.
    LumaprogApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    GuiUiHooks hooks;
    setUiHooks(&hooks);
    initModules();

    // Held until the program ends, so that no second copy writes the settings or takes the port.
    SingleInstanceServer instance;
    int result = 0;
    try {
        // Portable mode is not known yet: this first lookup reads the language
        // id from the per-user settings and makes their folder when missing.
        Utility->Text(0);
        // Claimed before the splash, so that a start a moment later finds this one.
        switch (ClaimInstance(instance)) {
        case StartTurn::OpenWindows:
            result = runWindows(instance);
            break;
        case StartTurn::RaisedRunningProgram:
            break;
        case StartTurn::RunningProgramSilent:
            ReportSilentRunningProgram();
            result = RunningProgramSilent;
            break;
        }
    } catch (...) {
        ReportCurrentException();
        result = StartFailed;
    }
    finalizeModules();
    setUiHooks(nullptr);
    return result;
}
