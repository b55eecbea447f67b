#pragma once

// The frame every operation on the development board runs in: open the link,
// read the device information, check the board, (switch the target on,)
// enter programming mode, check the signature, run the operation, and close
// again: leave programming mode when it was entered, apply the target-voltage
// option after success or switch the target off after a failure, close the
// link. Each step runs only while all before it went well.
//
// The closing steps run whatever happened, also when an error (an unplugged
// board, a fuse text that is not hexadecimal) is raised inside the frame: the
// error is logged in red (the link logs device errors itself, and they are
// not logged twice), each closing step is guarded against further errors,
// and the frame returns normally with ok false. No error leaves a board
// operation.

#include "LogTypes.h"

#include <QString>
#include <functional>

class TModul;

// What a board operation came to.
struct BoardResult {
    bool ok = false;  // every step succeeded
    QString error;    // the message of an error that ended it, already logged in red
};

enum class FrameKind {
    // Programming mode and signature check, then the operation.
    Manual,
    // The target voltage is switched on before programming mode; after a
    // failure it is switched off only when it came on.
    SignatureCheck,
    // Programming mode, then the operation, which checks the signature itself
    // when asked to. Without programming mode the target is switched off
    // twice: once in its place, once for the failure.
    AutoProgram,
};

// Runs one frame on `modul` (the snapshot's definition). `operation` runs
// when everything before it went well; its result becomes the frame's.
// `beforeClosing` then runs with the result so far, before the closing steps
// (not after an error).
// While a frame runs, a second one (started from a nested event) does nothing
// and returns ok false.
BoardResult RunBoardFrame(FrameKind kind, const TModul &modul, const TLogProc &log,
                          const std::function<bool()> &operation = {},
                          const std::function<void(bool ok)> &beforeClosing = {});

// The target reset's frame, which needs no microcontroller: the board check
// and the reset only, with no programming mode and no voltage handling. It
// runs and closes as the other frames do.
BoardResult RunResetFrame(const TLogProc &log);

// True while a frame runs. A handler that starts a board operation, and the
// board settings command, do nothing while it is set: the port is in use.
bool BoardOperationRunning();

// Runs `work`; an error raised in it is logged in red (unless the link has
// logged it already) and its message left in `error`. False after an error.
bool RunLoggingErrors(const TLogProc &log, QString &error, const std::function<void()> &work);
