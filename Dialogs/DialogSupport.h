#pragma once

#include <QDialog>
#include <QSize>
#include <functional>

class QWidget;

// What the board settings, options and about dialogs share.

// A fixed border with the close box only.
inline constexpr Qt::WindowFlags FixedDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// Fixes the dialog at its design size, or larger where its layout needs room
// for longer texts. Called again after the texts change.
void FitFixedSize(QDialog &dialog, QSize designSize);

// No push button reacts to Enter: the dialogs have no default button, and an
// accidental Enter must not start a board operation.
void ClearDefaultButtons(QDialog &dialog);

// Shows a dialog modally and returns its result. Tests replace the modal loop
// with a runner that works the dialog and returns a result; an empty runner
// restores the real loop.
int RunModal(QDialog &dialog);
void SetModalRunner(std::function<int(QDialog &)> runner);

// Keeps a window from taking input for its own lifetime, as a modal dialog
// would, while work that lets events through runs before the dialog shows.
class InputBlock {
public:
    explicit InputBlock(QWidget *window);
    ~InputBlock();
    InputBlock(const InputBlock &) = delete;
    InputBlock &operator=(const InputBlock &) = delete;

private:
    QWidget *m_window;
    bool m_wasEnabled;
};
