#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>

// Opening and reading files that must be regular files. A name may stand for
// a FIFO or a device, whose open or read can wait for good or never end, and
// it may be switched to one at any moment; so the open never waits, and what
// is checked is the descriptor that is then read, not what the name showed a
// moment before.
namespace RegularFile {

enum class Outcome {
    Opened,      // a regular file (Open: file is open; ReadWhole: bytes holds it whole)
    Missing,     // no file under that name (a dangling link included)
    NotRegular,  // a directory, a FIFO, a device or a socket
    TooLarge,    // ReadWhole: a regular file holding more than the bound
    Failed,      // the system refused; reason tells why
};

struct OpenResult {
    Outcome outcome;
    QString reason;  // Missing, Failed: the system's text for the error
};

// Opens fileName into file (which must be closed) for unbuffered reading
// when it is a regular file, following links; the file is left closed
// otherwise. A name that already shows something else is not opened at all:
// opening a serial port raises its control lines, which resets many boards.
OpenResult Open(QFile &file, const QString &fileName);

struct Content {
    Outcome outcome;
    QString reason;
    QByteArray bytes;
};

// Reads fileName whole when it is a regular file of at most maxSize bytes.
// It never reads more than a small block past maxSize, so a file that grows
// while it is read, or tells no size (one of /proc), is stopped there too.
Content ReadWhole(const QString &fileName, qint64 maxSize);

// Tests: the moments at which a test changes the file under the name, as
// someone else may at any time.
enum class Moment {
    BeforeOpen,     // the name was looked at and is not opened yet
    BeforeReading,  // ReadWhole: the file is open and told a size within the bound, nothing is read yet
};
// Runs hook at that moment from now on. Empty: nothing runs.
void setTestHook(Moment moment, std::function<void()> hook);

}  // namespace RegularFile
