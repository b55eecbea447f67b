#pragma once

#include <QCursor>

// One screen-wide cursor for the whole program, as the design knows it: Qt
// keeps a stack of override cursors, we keep at most one of them.
namespace ScreenCursor {
void set(const QCursor &cursor);
void setDefault();  // removes the override
bool isOverridden();

// The program's 'not allowed' cursor: Ressourcen/Stop.cur, or the system's
// one when the file cannot be read.
void loadNotAllowedCursor(const QString &fileName);
QCursor notAllowedCursor();
}

// The hourglass for the lifetime of the guard, also when an error passes.
class HourglassGuard {
public:
    HourglassGuard() { ScreenCursor::set(Qt::WaitCursor); }
    ~HourglassGuard() { ScreenCursor::setDefault(); }
    HourglassGuard(const HourglassGuard &) = delete;
    HourglassGuard &operator=(const HourglassGuard &) = delete;
};
