#pragma once

#include <QString>

// Upper-cases the ASCII letters a to z only, as the class library's
// UpperCase does; every other character stays as it is.
inline QString AsciiUpper(const QString &text)
{
    QString result = text;
    for (QChar &c : result)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 'a' + 'A');
    return result;
}
