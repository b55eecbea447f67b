#pragma once

#include "LogTypes.h"

#include <QString>
#include <cstdint>
#include <exception>
#include <memory>

class SerialPort;

// Status bytes the board answers with; every value other than OK is failure.
constexpr std::uint8_t STATUS_DB_OK = 0;
constexpr std::uint8_t STATUS_DB_CRC_ERROR = 1;
constexpr std::uint8_t STATUS_DB_VERIFY_ERROR = 2;
constexpr std::uint8_t STATUS_DB_POWER_REFUSED = 3;  // the target voltage cannot be switched on
constexpr std::uint8_t STATUS_DB_ERROR = 255;
constexpr std::uint8_t STATUS_DB_NO_ANSWER = 254;  // host side: no byte, or the port is closed

// Command words of the programmer protocol.
constexpr std::uint16_t CMD_GET_INFO = 0x3001;
constexpr std::uint16_t CMD_READ_SIGNATURE = 0x30A0;
constexpr std::uint16_t CMD_WRITE_FLASH = 0x30A2;
constexpr std::uint16_t CMD_WRITE_EEPROM = 0x30A3;
constexpr std::uint16_t CMD_READ_FLASH = 0x30A4;
constexpr std::uint16_t CMD_READ_EEPROM = 0x30A5;
constexpr std::uint16_t CMD_WRITE_FUSE = 0x30A6;
constexpr std::uint16_t CMD_READ_FUSE = 0x30A8;
constexpr std::uint16_t CMD_LEAVE_PROGRAMMING = 0x30A9;
constexpr std::uint16_t CMD_ENTER_PROGRAMMING = 0x30AA;
constexpr std::uint16_t CMD_CHIP_ERASE = 0x30AB;
constexpr std::uint16_t CMD_RESET_TARGET = 0x30AC;
constexpr std::uint16_t CMD_TARGET_POWER = 0x30B0;
constexpr std::uint16_t CMD_SET_CURRENT_LIMITS = 0x30B7;
constexpr std::uint16_t CMD_SET_OSCILLATOR = 0x30B8;

// The link to the development board's in-system programmer over its USB
// virtual COM port. Each board operation opens it, runs its commands and
// closes it again.
//
// Device errors (unplugged, hung up) pass as SerialIoError from SendCommand,
// WaitAck, ReadStatus, Read and Write to the caller; before they do, the link
// writes a red line to the main window's log and closes the port, so that the
// caller's closing commands fail quickly instead of touching a dead device.
// Close is itself a closing step, so an error while closing goes to the log
// instead of interrupting the caller's other closing steps.
class TProgUSB {
public:
    static constexpr int BaudRate = 100;
    static constexpr int DefaultTimeout = 2000;  // read and write totals, ms

    TProgUSB();
    virtual ~TProgUSB();
    TProgUSB(const TProgUSB &) = delete;
    TProgUSB &operator=(const TProgUSB &) = delete;

    // Creates the port closed, named after CurrentComPort.
    void Init();
    // Opens CurrentComPort; false (with a red log line) when it cannot be opened.
    bool Open();
    // Closes the port and logs it, also when it was not open. Never throws:
    // when closing fails, the error gets a red line and the link starts over
    // with a fresh port object of the first settings, so that it ends closed
    // and the next Open works.
    void Close();
    bool IsOpen() const;

    // Sends the command word high byte first. Input that nobody asked for is
    // discarded first, so that a late answer to an earlier command cannot pass
    // for an answer to this one.
    bool SendCommand(std::uint16_t code);
    // Any byte within the time-out counts as the acknowledgement.
    bool WaitAck(int timeoutMs);
    // The status byte, or STATUS_DB_NO_ANSWER.
    std::uint8_t ReadStatus(int timeoutMs);
    // True only when all count bytes arrived within timeoutMs for the whole block.
    bool Read(std::uint8_t *buffer, int count, int timeoutMs);
    // True only when all count bytes went out within the write time-out.
    bool Write(const std::uint8_t *buffer, int count);

    // One line in the main window's log (nowhere when there is no main window).
    void Log(TFontStyles styles, TColor colour, const QString &text);

    std::unique_ptr<SerialPort> ComPort;

protected:
    // Closes the port object, raising when that fails. Tests stand in a failing close.
    virtual void closePort(SerialPort &port);

private:
    void logPortError(const std::exception &error);
    template <typename Operation>
    auto deviceCall(Operation operation);
};

extern TProgUSB *ProgUSB;

// Called from main after InitUtilsModule, and before FinalizeUtilsModule.
void InitProgUSBModule();
void FinalizeProgUSBModule();
