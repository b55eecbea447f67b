#pragma once

// Turns a line edit into an edit for one byte in hexadecimal: typing admits
// hexadecimal digits only, at most two unless text is selected, lower case
// shown in upper case; pasted text must be the same (at most two digits).
// Text set by the program is taken as it is. Enter moves the focus on, and
// leaving the edit for another control of the window runs `onExit` (not the
// window losing the focus, nor a pop-up or message box taking it).

#include <QObject>
#include <functional>

class QLineEdit;

class HexByteEdit : public QObject {
    Q_OBJECT
public:
    HexByteEdit(QLineEdit *edit, std::function<void()> onEnter, std::function<void()> onExit);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_edit;
    std::function<void()> m_onEnter;
    std::function<void()> m_onExit;
};

// True when the focus moved because the user (or the program) chose another
// control, not because another window or a pop-up took it.
bool FocusMovedWithinWindow(Qt::FocusReason reason);
