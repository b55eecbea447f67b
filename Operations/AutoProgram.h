#pragma once

// The automatic programming run: the steps ticked on the programming page,
// in a fixed order (signature, erase, flash write and verify, EEPROM write
// and verify, fuse bytes, lock byte), inside the board frame of its own kind
// (FrameKind::AutoProgram). Before the link is opened, when the fuse step is
// on and its values would leave SPIEN or JTAGEN unprogrammed, the warning
// dialog asks; its abort ends the run with nothing opened or logged.
// Without a chosen microcontroller (or while another board operation runs)
// it does nothing. It always returns.

#include "BoardFrame.h"
#include "BoardPrompts.h"
#include "BoardSnapshot.h"

BoardResult RunAutoProgram(const BoardSnapshot &snapshot, const BoardReport &report);
