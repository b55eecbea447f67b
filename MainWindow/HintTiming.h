#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <functional>

class QWidget;

// The application's tool-tip delays: how long the mouse must rest before a
// tip shows, and how long it stays. Installed once; values in milliseconds.
// Both widgets' own tips and the entries' tips of item views follow them.
namespace HintTiming {
void install();
int pause();
int hidePause();
void setPause(int milliseconds);
void setHidePause(int milliseconds);  // 0 leaves Qt's own display time

// Puts a tip on screen as QToolTip::showText does: text at globalPos for
// widget, kept while the mouse stays in rect (widget coordinates, empty: the
// whole widget), for msecShowTime. Tests watch the tips through it.
using ShowFunction = std::function<void(const QPoint &globalPos, const QString &text,
                                        QWidget *widget, const QRect &rect, int msecShowTime)>;
void setShowFunction(ShowFunction show);  // empty: QToolTip::showText
}
