#pragma once

#include <QString>

// What the core needs of the user interface. The GUI installs its own
// implementation at start-up; without one, messages go to standard error.
// Tests install a recorder.
class UiHooks {
public:
    virtual ~UiHooks() = default;
    // A message box with an error icon, a title and one OK button.
    virtual void showError(const QString &title, const QString &text) = 0;
    // A plain message box with the error's message (settings errors).
    virtual void showMessage(const QString &text) = 0;
    // The hourglass while a long core operation runs.
    virtual void setBusyCursor(bool busy) = 0;
};

// Installs hooks (nullptr restores the standard-error default); the caller keeps ownership.
void setUiHooks(UiHooks *hooks);
UiHooks &uiHooks();

// Sets the busy cursor for the lifetime of the guard, also when an error passes.
class BusyCursorGuard {
public:
    BusyCursorGuard() { uiHooks().setBusyCursor(true); }
    ~BusyCursorGuard() { uiHooks().setBusyCursor(false); }
    BusyCursorGuard(const BusyCursorGuard &) = delete;
    BusyCursorGuard &operator=(const BusyCursorGuard &) = delete;
};

// The application's termination request. A request made before the message
// loop runs is kept and ends the loop as soon as it starts.
namespace Application {
void terminate();
bool terminated();
// Tests start over with a fresh flag.
void resetTerminated();
}
