#pragma once

#include <QApplication>
#include <functional>

// Runs a handler that a user action started. An error that leaves it is shown
// in a message box, as the class library's default error report did, and the
// program goes on: no exception may cross the Qt event loop.
void Guarded(const std::function<void()> &handler);

// Shows the message of the exception being handled (call inside a catch block).
void ReportCurrentException();

// The program's name as it is spelled. The window system shows it where a
// window has no title of its own, and the message boxes carry it as theirs.
inline constexpr const char *ProgramName = "Lumaprog";

// The application object; its notify is the last line behind the handlers' guards.
// It names the application ProgramName, not after the executable's file. No
// display name is set: the X platform would append one to every window title.
class LumaprogApplication : public QApplication {
public:
    LumaprogApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
