#pragma once

#include <QString>

class QWidget;

// What a save or open dialog is asked for; the filter is a Qt filter string.
struct FileDialogRequest {
    QString title;
    QString filter;
    QString folder;
    QString defaultSuffix;
    // A save dialog asks before an existing file is chosen, unless its caller
    // asks the only overwrite question itself.
    bool confirmOverwrite = true;
};

// Every modal question the main window asks goes through here, so that tests
// script the answers instead of blocking on a dialog.
class UiServices {
public:
    virtual ~UiServices() = default;
    // A confirmation with Yes and No; true for Yes.
    virtual bool askYesNo(QWidget *parent, const QString &text) = 0;
    // A warning with Yes and No; true for Yes.
    virtual bool warnYesNo(QWidget *parent, const QString &text) = 0;
    // An error message with one OK button.
    virtual void showError(QWidget *parent, const QString &title, const QString &text) = 0;
    // A plain message with one OK button.
    virtual void showMessage(QWidget *parent, const QString &text) = 0;
    // A warning with a title and one OK button; CR LF in the text ends a line.
    virtual void showWarning(QWidget *parent, const QString &title, const QString &text);
    // The chosen file, or an empty text on Cancel. No to the save dialog's own
    // overwrite question keeps the dialog open for another name.
    virtual QString saveFileName(QWidget *parent, const FileDialogRequest &request) = 0;
    virtual QString openFileName(QWidget *parent, const FileDialogRequest &request) = 0;
};

// Installs services (nullptr restores the message-box default); the caller keeps ownership.
void setUiServices(UiServices *services);
UiServices &uiServices();

// "Text|*.ext|Other|*.x;*.y" (the language texts' form) as "Text (*.ext);;Other (*.x *.y)";
// a description that already ends with its patterns in parentheses keeps them once.
QString QtFileFilter(const QString &windowsFilter);
