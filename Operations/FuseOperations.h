#pragma once

// Reading and writing the fuse bytes and the lock byte of the target, each in
// the board frame (BoardFrame.h). Values travel as the edits hold them:
// hexadecimal texts, two upper-case digits when read from the device. Every
// byte written is read back and compared. Like the other board operations
// these always return, and without a chosen microcontroller (or while
// another board operation runs) they do nothing.

#include "BoardFrame.h"
#include "BoardPrompts.h"
#include "BoardSnapshot.h"

#include <optional>

struct FuseReadResult {
    BoardResult board;
    // After a successful read: the new texts of the fuse edits, for the bytes
    // the definition has; the others keep their texts.
    std::optional<QString> low;
    std::optional<QString> high;
    std::optional<QString> ext;
    // The fuse warnings of the edits as they are after the read: the SPIEN,
    // respectively JTAGEN, bit left unprogrammed.
    bool spienOff = false;
    bool jtagenOff = false;
};

struct LockReadResult {
    BoardResult board;
    QString lock;  // after a successful read: the new text of the lock edit
};

// Reads the fuse bytes the definition has, logging each value; on failure
// the red line "not carried out" follows.
FuseReadResult ReadFuses(const BoardSnapshot &snapshot, const BoardReport &report);
LockReadResult ReadLock(const BoardSnapshot &snapshot, const BoardReport &report);

// Writes the fuse bytes the definition has, low, high, extended, stopping at
// the first that fails or reads back differently. When the values would
// leave SPIEN or JTAGEN unprogrammed, the warning dialog asks first; its
// abort ends the operation before the link is opened.
BoardResult WriteFuses(const BoardSnapshot &snapshot, const BoardReport &report);
// Writes the lock byte, whatever the definition says about it; no warning.
BoardResult WriteLock(const BoardSnapshot &snapshot, const BoardReport &report);

// The steps the automatic run shares with these operations.
// The SPIEN/JTAGEN warning for these fuse texts: true to go on (no warning
// due, or its Yes). Raises the conversion error for a text that is not hexadecimal.
bool ConfirmFuseWarning(const TModul &modul, const FuseTexts &fuses, BoardPrompts &prompts);
// Inside an open frame in programming mode.
bool WriteFuseBytes(const TModul &modul, const FuseTexts &fuses, const TLogProc &log);
bool WriteLockByte(const TModul &modul, const FuseTexts &fuses, const TLogProc &log);
