#pragma once

// One start of the program in the main block's order, inside the calling
// process: the module initializations, the caption's lookup and the
// instance's claim, the splash, the main window with its creation handler and
// the connect dialog, and the main window shown until its first paint. The
// caller provides the application object and a WindowEnvironment (program
// folder, settings, pauses taken out).
#include "SingleInstance.h"
#include "uMain.h"

#include <QString>

#include <chrono>
#include <memory>
#include <optional>

using StartClock = std::chrono::steady_clock;

// The moments one start passes, from the first module initialization on.
struct StartupTimes {
    StartClock::time_point start;
    StartClock::time_point instanceChecked;  // modules up, caption looked up, the instance claimed
    StartClock::time_point splashShown;
    StartClock::time_point windowsCreated;   // main window with its creation handler, connect dialog
    StartClock::time_point windowPainted;    // the main window's first paint, the splash freed
};

// The main window and the connect dialog of one start; destroying it ends the start.
struct StartedWindows {
    SingleInstanceServer instance;
    std::unique_ptr<TMainFrm> mainWindow;

    ~StartedWindows();
};

// An empty text when the start reached the painted main window, else why it
// did not (an error that escaped the start included).
QString startOnce(StartupTimes &times, std::optional<StartedWindows> &windows);
// Everything one start left behind goes, so that the next start begins afresh.
void endStart(std::optional<StartedWindows> &windows);

double secondsBetween(StartClock::time_point from, StartClock::time_point to);
