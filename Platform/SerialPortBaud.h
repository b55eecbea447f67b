#pragma once

// Sets any baud rate on an open terminal through the Linux termios2 interface
// (rates such as 100 or 250000 that the classic Bxxx constants lack).
// Kept apart because <asm/termbits.h> clashes with <termios.h>.
bool setCustomBaudRate(int fd, int baud);
