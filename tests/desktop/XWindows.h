#pragma once

// The test desktop's windows as the X server and the window manager see
// them, whichever program made them.
#include <QList>
#include <QString>
#include <QWindow>

// The window that has the X server's input focus: where the user's keys go.
// Qt may call a window active before the window manager has given it the focus.
WId inputFocus();
// The process that made a window, as its toolkit records it (_NET_WM_PID); 0 when unknown.
qint64 windowProcess(WId window);
// A window's title (_NET_WM_NAME).
QString windowTitle(WId window);
// The top-level windows of a process that the window manager shows (_NET_CLIENT_LIST).
QList<WId> windowsOf(qint64 process);
// Asks the window manager to close a window, as the user's click on its close button does.
void closeWindow(WId window);
