#pragma once

#include <QByteArray>
#include <QString>

// A file read whole only when it is a regular file of bounded size: a pipe
// without a writer would block its reader for good, and a device such as
// /dev/zero never ends. The file is opened without waiting and the opened
// file itself is checked, so nothing swapped in under its name between a
// check and the read gets through.
namespace RegularFile {

enum class Outcome {
    Read,        // bytes holds the whole file
    Missing,     // no file under that name (a dangling link included)
    NotRegular,  // a pipe, a device or a socket
    TooLarge,    // a regular file holding more than the bound
    Failed,      // the system refused, or a directory; systemError tells why
};

struct Content {
    Outcome outcome = Outcome::Failed;
    QByteArray bytes;
    QString systemError;
};

// Reads the file at path, following links, when it is a regular file of at
// most maxSize bytes; it never reads more than a small block past maxSize.
Content ReadWhole(const QString &path, qint64 maxSize);

}  // namespace RegularFile
