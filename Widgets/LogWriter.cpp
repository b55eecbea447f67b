#include "LogWriter.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

QColor ColourFromBgr(TColor colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

void AppendLog(QTextEdit &log, TFontStyles styles, TColor colour, const QString &text,
               bool newLine)
{
    QTextCharFormat format;
    format.setFontWeight((styles & fsBold) ? QFont::Bold : QFont::Normal);
    format.setFontItalic(styles & fsItalic);
    format.setFontUnderline(styles & fsUnderline);
    format.setFontStrikeOut(styles & fsStrikeOut);
    format.setForeground(ColourFromBgr(colour));

    // A cursor of our own leaves whatever the user has selected alone.
    QTextCursor cursor(log.document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text, format);
    if (newLine)
        cursor.insertBlock(QTextBlockFormat(), format);

    QScrollBar *bar = log.verticalScrollBar();
    bar->setValue(bar->maximum());
    QCoreApplication::processEvents();
}
