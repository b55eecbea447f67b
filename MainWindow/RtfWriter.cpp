#include "RtfWriter.h"

#include <QColor>
#include <QList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <cstdint>

namespace {
const QByteArray Header = QByteArrayLiteral(
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}}\r\n");
// Tahoma 11 px is 8 points, 16 half-points.
const QByteArray BodyStart = QByteArrayLiteral("\\viewkind4\\uc1\\pard\\f0\\fs16");
constexpr char16_t LastSingleByte = 0xFF;
constexpr char16_t FirstNonAscii = 0x80;

struct RunStyle {
    int colour = 0;  // 1-based index into the colour table; 0 before the first run
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
};

RunStyle styleOf(const QTextCharFormat &format, int colourIndex)
{
    return {colourIndex, format.fontWeight() >= QFont::Bold, format.fontItalic(),
            format.fontUnderline(), format.fontStrikeOut()};
}

template <typename Visit>
void forEachRun(const QTextDocument &document, Visit visit)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && !fragment.text().isEmpty())
                visit(fragment);
        }
    }
}

QList<QRgb> colourTable(const QTextDocument &document)
{
    QList<QRgb> colours;
    forEachRun(document, [&](const QTextFragment &fragment) {
        const QRgb colour = fragment.charFormat().foreground().color().rgb();
        if (!colours.contains(colour))
            colours << colour;
    });
    return colours;
}

QByteArray controlWords(const RunStyle &before, const RunStyle &now)
{
    QByteArray words;
    if (now.colour != before.colour)
        words += "\\cf" + QByteArray::number(now.colour);
    if (now.bold != before.bold)
        words += now.bold ? "\\b" : "\\b0";
    if (now.italic != before.italic)
        words += now.italic ? "\\i" : "\\i0";
    if (now.underline != before.underline)
        words += now.underline ? "\\ul" : "\\ulnone";
    if (now.strike != before.strike)
        words += now.strike ? "\\strike" : "\\strike0";
    if (!words.isEmpty())
        words += ' ';
    return words;
}

QByteArray escaped(const QString &text)
{
    QByteArray out;
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit == u'\\' || unit == u'{' || unit == u'}') {
            out += '\\';
            out += static_cast<char>(unit);
        } else if (unit == u'\t') {
            out += "\\tab ";
        } else if (unit < 0x20 || (unit >= FirstNonAscii && unit <= LastSingleByte)) {
            out += "\\'" + QByteArray::number(unit, 16).rightJustified(2, '0');
        } else if (unit > LastSingleByte) {
            // RTF wants the UTF-16 unit as a signed 16-bit number; surrogates go one by one.
            out += "\\u" + QByteArray::number(static_cast<std::int16_t>(unit)) + '?';
        } else {
            out += static_cast<char>(unit);
        }
    }
    return out;
}
}

QByteArray WriteRtf(const QTextDocument &document)
{
    const QList<QRgb> colours = colourTable(document);
    QByteArray rtf = Header;
    rtf += "{\\colortbl ;";
    for (const QRgb colour : colours) {
        rtf += "\\red" + QByteArray::number(qRed(colour)) + "\\green"
               + QByteArray::number(qGreen(colour)) + "\\blue" + QByteArray::number(qBlue(colour))
               + ';';
    }
    rtf += "}\r\n";
    rtf += BodyStart;

    RunStyle current;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || fragment.text().isEmpty())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            const int colourIndex =
                static_cast<int>(colours.indexOf(format.foreground().color().rgb())) + 1;
            const RunStyle next = styleOf(format, colourIndex);
            rtf += controlWords(current, next);
            rtf += escaped(fragment.text());
            current = next;
        }
        // The block after the last line end is empty and ends the text.
        if (block.next().isValid())
            rtf += "\\par\r\n";
    }
    rtf += "}\r\n";
    return rtf;
}
