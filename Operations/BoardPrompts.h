#pragma once

// The questions a board operation asks the user, and where it reports. The
// main window answers the questions with its dialogs; tests script them.
// No other part of the window reaches the operations.

#include "LogTypes.h"

#include <QString>

class ProgressBar;

// The texts of the two-button warning dialog.
struct WarningDialogTexts {
    QString heading;
    QString subHeading;
    QString body;
    QString yesText;
    QString abortText;
};

// A save dialog: the filter in the language texts' form ("Text|*.hex"), the
// default suffix without its dot ("hex").
struct SaveFileRequest {
    QString title;
    QString filter;
    QString folder;
    QString defaultSuffix;
};

class BoardPrompts {
public:
    virtual ~BoardPrompts() = default;
    // The two-button warning dialog; false only for its abort button or its close box.
    virtual bool confirmWarning(const WarningDialogTexts &texts) = 0;
    // The chosen file, or an empty text on Cancel. The operation asks its own
    // overwrite question afterwards.
    virtual QString saveFileName(const SaveFileRequest &request) = 0;
    // A warning with Yes and No; true for Yes.
    virtual bool warnYesNo(const QString &text) = 0;
    // An error message with one OK button.
    virtual void showError(const QString &text) = 0;
};

// Where a board operation reports: its log lines (the main window's log
// writer), the progress bar of the page transfers, and the questions.
struct BoardReport {
    TLogProc log;
    ProgressBar &progress;
    BoardPrompts &prompts;
};
