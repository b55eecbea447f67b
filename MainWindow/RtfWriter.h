#pragma once

#include <QByteArray>

class QTextDocument;

// The log as a rich-text file: one paragraph per line, a colour table of the
// colours in use, bold, italic, underline and strikeout. Pure ASCII: characters
// above 127 are written as \'hh (up to U+00FF) or \uN? escapes.
QByteArray WriteRtf(const QTextDocument &document);
