#pragma once

#include <QFile>
#include <QString>
#include <functional>

// Opening a file that is to be read to its end. A name may stand for a FIFO
// or a device, whose open or read can wait for good, and it may be switched
// to one at any moment; so the open never waits, and what is checked is the
// descriptor that is then read, not what the name showed a moment before.
namespace RegularFile {

struct OpenResult {
    enum Outcome { Opened, NotRegular, Failed } outcome;
    QString reason;  // Failed: the system's text for the error
};

// Opens fileName into file (which must be closed) for unbuffered reading
// when it is a regular file; the file is left closed otherwise. A name that
// already shows something else is not opened at all: opening a serial port
// raises its control lines, which resets many boards.
OpenResult Open(QFile &file, const QString &fileName);

// Tests: runs after the name was looked at and before it is opened, to
// switch what the name stands for in between. Empty: nothing runs.
void setBeforeOpen(std::function<void()> hook);

}  // namespace RegularFile
