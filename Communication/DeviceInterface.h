#pragma once

// The programmer's command set: every routine is one or more commands over
// the open link ProgUSB, writes its user-visible lines through the log
// callback it is given, and returns whether the board did what was asked.
// Device errors pass through as SerialIoError (see TProgUSB).

#include "LogTypes.h"

#include <QString>
#include <cstdint>

class TModul;
class THexContainer;
class TMemoryStream;
class ProgressBar;

// The identifier an accepted board reports.
inline constexpr const char *BoardIdentifier = "Developmentboard ZEFA 1";

// Device information and board check.
bool ReadDeviceInfo(const TLogProc &log);
bool CheckDevice(const TLogProc &log);
// Equal after dropping characters below 33 at both ends; case-sensitive.
bool SameIdentifier(const QString &a, const QString &b);

// Target power, programming mode and target commands.
bool SetTargetPower(bool on, const TLogProc &log);
// Applies the main window's target-voltage option: leave on, off, or off and on again.
void ApplyPowerOption(const TLogProc &log);
bool EnterProgrammingMode(const TModul &modul, const TLogProc &log);
bool LeaveProgrammingMode(const TLogProc &log);
bool ChipErase(const TModul &modul, const TLogProc &log);
// On failure the signature is left untouched.
bool ReadSignature(std::uint32_t &signature, const TLogProc &log);
bool CheckSignature(const TModul &modul, const TLogProc &log);
bool ResetTarget(const TLogProc &log);
// The SPI speed byte sent when entering programming mode.
std::uint8_t SpiSpeedByte();

// Serial-programming instructions of the fuse and lock bytes.
constexpr std::uint32_t ReadFuseLowInstr = 0x50000000;
constexpr std::uint32_t ReadFuseHighInstr = 0x58080000;
constexpr std::uint32_t ReadFuseExtInstr = 0x50080000;
constexpr std::uint32_t ReadLockInstr = 0x58000000;
constexpr std::uint32_t WriteFuseLowInstr = 0xACA00000;
constexpr std::uint32_t WriteFuseHighInstr = 0xACA80000;
constexpr std::uint32_t WriteFuseExtInstr = 0xACA40000;
constexpr std::uint32_t WriteLockInstr = 0xACE00000;

// Reads one fuse or lock byte; the value is 0xFF when that fails.
bool ReadFuse(std::uint8_t &value, std::uint32_t readInstr, const TLogProc &log);
// Writes value and leaves the byte the board read back in it. The caller
// compares the two.
bool WriteFuse(std::uint8_t &value, std::uint32_t writeInstr, std::uint32_t readInstr,
               std::uint8_t wait, const TLogProc &log);

// The board's own settings.
bool WriteCurrentLimits(std::uint16_t warn, std::uint16_t cutOff, const TLogProc &log);
bool WriteOscillatorIndex(std::uint8_t index, const TLogProc &log);

// Whole memories, one device page per command. A definition whose page size
// the frame cannot carry is refused with a red line before anything is sent.
bool ReadFlash(const TModul &modul, TMemoryStream &stream, ProgressBar &progress, bool verbose,
               const TLogProc &log);
bool ReadEeprom(const TModul &modul, TMemoryStream &stream, ProgressBar &progress, bool verbose,
                const TLogProc &log);
bool WriteFlash(const TModul &modul, const THexContainer &image, ProgressBar &progress,
                const TLogProc &log);
bool WriteEeprom(const TModul &modul, const THexContainer &image, ProgressBar &progress,
                 const TLogProc &log);
bool VerifyFlash(const TModul &modul, const THexContainer &image, ProgressBar &progress,
                 const TLogProc &log);
bool VerifyEeprom(const TModul &modul, const THexContainer &image, ProgressBar &progress,
                  const TLogProc &log);
// How long the board may take for one page, from the chosen SPI clock (ms).
int PageWaitTime();
