#pragma once

// The dialogs run as the program runs them, from a main window, in a program
// folder with the real English and German libraries beside the test language
// ("T<id>", chosen unless a test chooses another). Their modal loops are
// replaced by each test's runner; the main window's log goes to a recorder.
#include "DialogSupport.h"
#include "Recorders.h"
#include "UiServices.h"
#include "uMain.h"

#include <QDialog>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

class RecordingUi : public UiServices {
public:
    bool askYesNo(QWidget *, const QString &) override { return false; }
    bool warnYesNo(QWidget *, const QString &) override { return false; }
    void showError(QWidget *, const QString &, const QString &text) override { errors << text; }
    void showMessage(QWidget *, const QString &text) override { errors << text; }
    QString saveFileName(QWidget *, const FileDialogRequest &) override { return {}; }
    QString openFileName(QWidget *, const FileDialogRequest &) override { return {}; }
    QStringList errors;
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs `work` on the dialog in place of its modal loop and ends it with `result`.
    template <typename Dialog>
    void whenShown(std::function<void(Dialog &)> work, int result = QDialog::Rejected)
    {
        SetModalRunner([work, result](QDialog &dialog) { return work(static_cast<Dialog &>(dialog)), result; });
    }
    // Chooses the port in the main window, as the user does.
    void usePort(const QString &port);

    QTemporaryDir configHome;
    RecordingUi ui;
    std::unique_ptr<TMainFrm> window;
    RecordingMainWindow log;  // the main window's log, as the device routines reach it
};
