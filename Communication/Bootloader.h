#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

class SerialPort;
class TModul;
class THexContainer;

// Read time-outs of the bootloader protocol, in milliseconds. The defaults are
// the protocol's; tests shorten the long ones to fail fast.
struct BootloaderTimeouts {
    int identification = 20;  // the 256-byte answer to "IS"
    int flashEraseCr = 500;   // each CR after "IN"
    int eepromEraseCr = 2000; // each CR after "IU"
    int address = 1000;       // the CR after "IA"
    int programBlock = 2000;  // the CR after "IB" and its data
    int readBlock = 2000;     // the whole block after "Ig"
    int start = 2000;         // the CR after "IE"
};

// The link to the serial bootloader of a plug-in microcontroller module:
// two-letter ASCII commands at 250000 baud, answered by a carriage return or
// by data. Every operation runs to its end on the calling (user-interface)
// thread, letting window messages through between steps.
class tKalworksBootloader {
public:
    static constexpr int BaudRate = 250000;
    static constexpr int AcceptedVersion = 0;
    static constexpr int IdentificationSize = 256;
    // The largest page one program or read block carries.
    static constexpr int PageBufferSize = 601;
    // A page must fit one block, and a flash page must be a whole number of
    // words, or the word addresses would drift away from the image's pages.
    static bool UsablePageSize(int pageSize, bool flash);

    enum HandshakeResult { NoAnswer = 0, OtherVersion = 1, Connected = 2 };

    tKalworksBootloader();
    virtual ~tKalworksBootloader();
    tKalworksBootloader(const tKalworksBootloader &) = delete;
    tKalworksBootloader &operator=(const tKalworksBootloader &) = delete;

    // The first difference the last verify found; empty when there was none.
    QString VerifyErrorText;

    // Opens CurrentComPort at 250000 baud 8N1 and discards stale input;
    // false when the port cannot be opened.
    bool Open();
    // Closes the port. When that fails, logs "COM PORT ERROR: Port removed!"
    // and starts over with a fresh port object.
    void Close();
    bool IsOpen() const;
    // True when all bytes went out; false when closed or on a device error.
    bool Write(const std::uint8_t *buffer, int count);
    // True when count bytes arrived within timeoutMs; false when closed, short
    // or on a device error.
    bool Read(std::uint8_t *buffer, int count, int timeoutMs);

    // One "IS" exchange: Connected, OtherVersion or NoAnswer.
    HandshakeResult Handshake(const QByteArray &expected, int acceptedVersion);
    // True when received begins with expected (byte by byte, case-sensitive).
    static bool IdentMatches(const QByteArray &expected, const QByteArray &received);
    // Repeats the handshake until the module named by the definition answers
    // or the user aborts through the connect dialog, which it shows after
    // the 20th failed attempt. Does not open the port. After a failed
    // attempt, a connection waits out and discards an answer still on its way.
    bool Connect(const TModul &modul);

    // Memory operations on a connected module (their own source file).
    bool EraseFlash(const TModul &modul);
    bool EraseEeprom(const TModul &modul);
    bool ProgramFlash(const TModul &modul, const THexContainer &image);
    bool VerifyFlash(const TModul &modul, const THexContainer &image);
    bool ProgramEeprom(const TModul &modul, const THexContainer &image);
    bool VerifyEeprom(const TModul &modul, const THexContainer &image);
    bool StartApplication();

    const SerialPort &port() const { return *ComPort; }
    const BootloaderTimeouts &timeouts() const { return m_timeouts; }
    void setTimeouts(const BootloaderTimeouts &timeouts) { m_timeouts = timeouts; }

protected:
    // Closes the port object, raising when that fails. Tests stand in a failing close.
    virtual void closePort(SerialPort &port);

private:
    struct PageWalk;
    void DiscardTrailingAnswer(int previousAttemptMs);
    bool WaitForCr(int timeoutMs);
    bool SendAddress(std::uint32_t address);
    bool SendBlockFrame(char command, int length, char memory);
    bool EraseMemory(char command, int answers, int timeoutMs);
    bool ProgramPages(const PageWalk &walk, const THexContainer &image);
    bool VerifyPages(const PageWalk &walk, const THexContainer &image);

    std::unique_ptr<SerialPort> ComPort;
    BootloaderTimeouts m_timeouts;
};

extern tKalworksBootloader *Bootloader;

// Module life cycle, called from main after the programmer link's initialization.
void InitBootloaderModule();
void FinalizeBootloaderModule();
