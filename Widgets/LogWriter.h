#pragma once

#include "LogTypes.h"

#include <QColor>

class QTextEdit;

// The log view's writer: appends a run in exactly the given styles (bits 0-3)
// and colour at the end, keeps the end visible and lets pending events run
// so that the window stays painted and usable during long operations.
void AppendLog(QTextEdit &log, TFontStyles styles, TColor colour, const QString &text,
               bool newLine);

// A Windows colour value 0x00BBGGRR as a QColor.
QColor ColourFromBgr(TColor colour);
