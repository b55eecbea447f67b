#pragma once

#include "Exceptions.h"

#include <QString>

// The language text "Not a regular file.": why a pipe, a device or a socket
// under a file's name is neither read nor written.
inline constexpr int NotARegularFileTextId = 7301;

// The file stream's error for a file that cannot be opened, with the system's reason.
inline EFOpenError FileOpenError(const QString &fileName, const QString &reason)
{
    return EFOpenError(QStringLiteral("Datei %1 kann nicht geöffnet werden. %2").arg(fileName, reason));
}

// The file stream's error for a file that was opened but cannot be read to its end.
inline EReadError FileReadError(const QString &fileName, const QString &reason)
{
    return EReadError(QStringLiteral("Datei %1 kann nicht gelesen werden. %2").arg(fileName, reason));
}
