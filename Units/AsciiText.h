#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>

// Editors on other systems may start a text file with the UTF-8 byte order mark.
inline constexpr QByteArrayView Utf8ByteOrderMark("\xEF\xBB\xBF");

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

// Letters, digits, space, "-" and ".": the characters that the board and the
// modules put into their identification texts.
inline bool IsIdentifierCharacter(std::uint8_t c)
{
    return c == ' ' || c == '-' || c == '.' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')
        || (c >= 'a' && c <= 'z');
}
