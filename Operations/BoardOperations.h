#pragma once

// The manual operations of the development board's programming page, each in
// the board frame (BoardFrame.h). The handler takes the snapshot, switches
// its controls off, runs the operation, and switches them on again; the
// operation always returns (no error leaves it) and writes every log line
// itself.

#include "BoardFrame.h"
#include "BoardPrompts.h"
#include "BoardSnapshot.h"

enum class BoardOperation {
    ChipErase,
    CheckSignature,
    ResetTarget,
    ReadFlash,     // then offers to save what was read as Intel HEX (".hex")
    ReadEeprom,    // likewise (".eep")
    VerifyFlash,
    VerifyEeprom,
    WriteFlash,    // erase first and verify after as the snapshot's boxes say
    WriteEeprom,   // verify after as the snapshot's box says
};

// Runs the operation. Every operation but the reset needs a chosen
// microcontroller, and writing or verifying an image needs that image usable;
// without them nothing is opened, logged or asked.
//
// Reading: a failed read is reported with an error box; otherwise the save
// dialog is shown (folder from the settings), an existing file needs a Yes,
// and a file that cannot be written gets an error box. Cancel or No end it
// quietly. `ok` tells whether the read succeeded, whatever became of the file.
BoardResult RunBoardOperation(BoardOperation operation, const BoardSnapshot &snapshot, const BoardReport &report);
