#pragma once

// The program's own dialogs, as a user meets them, in place of the scripted ones.
#include "UiServices.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

// Runs `ask` with the program's own dialogs and hands the first modal dialog
// it shows to `shown`; that dialog then ends as Cancel ends it.
inline void whileFirstDialogShown(const std::function<void()> &ask, const std::function<void(QDialog &)> &shown)
{
    constexpr int PollMs = 10;
    QTimer poll;
    poll.callOnTimeout([&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        shown(*dialog);
        dialog->reject();
    });
    poll.start(PollMs);
    UiServices *scripted = &uiServices();
    setUiServices(nullptr);
    ask();
    setUiServices(scripted);
}
