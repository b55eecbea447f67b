#pragma once

// What the benchmarks that run the main window share: the program's folders
// and services as the main block finds them, questions answered without a
// dialog, and waiting for the first paint.
#include "GuiUiHooks.h"
#include "UiServices.h"

#include <QObject>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>

// Every question is answered No and the first message kept, so that a run
// that met one can report it instead of waiting for the user.
class RecordingUi : public UiServices {
public:
    bool askYesNo(QWidget *, const QString &text) override { return note(text); }
    bool warnYesNo(QWidget *, const QString &text) override { return note(text); }
    void showError(QWidget *, const QString &, const QString &text) override { note(text); }
    void showMessage(QWidget *, const QString &text) override { note(text); }
    QString saveFileName(QWidget *, const FileDialogRequest &request) override;
    QString openFileName(QWidget *, const FileDialogRequest &request) override;

    QString firstMessage;

private:
    bool note(const QString &text);
};

// For the lifetime of the object: the built program folder, fresh per-user
// settings, the deliberate pauses taken out, and the recording questions.
class WindowEnvironment {
public:
    WindowEnvironment();
    ~WindowEnvironment();
    WindowEnvironment(const WindowEnvironment &) = delete;
    WindowEnvironment &operator=(const WindowEnvironment &) = delete;

    bool valid() const { return m_configHome.isValid(); }
    QString filePath(const QString &name) const { return m_configHome.filePath(name); }
    RecordingUi ui;

private:
    QTemporaryDir m_configHome;
    GuiUiHooks m_hooks;
};

// Notes a paint of the widget it watches.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// Processes events until done answers true; false when that took more than ten seconds.
bool waitUntil(const std::function<bool()> &done);

// Shows the window and processes events until it is exposed and has painted
// itself; false when that took too long.
bool showUntilPainted(QWidget &window);
