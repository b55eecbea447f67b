#pragma once

#include <QApplication>
#include <functional>

// Runs a handler that a user action started. An error that leaves it is shown
// in a message box, as the class library's default error report did, and the
// program goes on: no exception may cross the Qt event loop.
void Guarded(const std::function<void()> &handler);

// Shows the message of the exception being handled (call inside a catch block).
void ReportCurrentException();

// The application object; its notify is the last line behind the handlers' guards.
class LumaprogApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override;
};
