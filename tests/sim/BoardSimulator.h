#pragma once

#include "PtyEndpoint.h"

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <vector>

// Stands in for the development board's programmer firmware on a
// pseudo-terminal: the host opens portPath() as it would open the board.
// Served from a thread of its own; every query and setting is safe to call
// while it runs. It records the recent exchanges, notes every way the host
// breaks the protocol, and fails on request in each way a real board can.
class BoardSimulator {
public:
    // Where in an exchange a fault strikes.
    enum class Phase {
        Ack,         // the acknowledgement of a request block
        Status,      // the (first) status byte
        Answer,      // the answer block: information, signature, fuse value, page read
        PageData,    // receiving the page block of a page write
        PageStatus,  // the status after the page block of a page write
    };
    enum class Action {
        Drop,        // send nothing; the board forgets the command
        Value,       // send arg instead (a block's own status byte for Answer)
        Delay,       // send arg ms late, then carry on
        Late,        // send arg ms late, then forget the command (the host has given up)
        Truncate,    // send only the first arg bytes of the block
        CorruptCrc,  // flip a bit of the block's CRC
        HangUp,      // unplug: for PageData after receiving arg bytes of the page
    };
    struct Fault {
        std::uint16_t command;
        Phase phase;
        Action action;
        int arg = 0;
        int occurrence = 0;  // 1 for the command's first exchange, 2 for its second...; 0 every time
    };

    // The fields of the device-information block.
    struct Info {
        std::uint8_t format = 1;
        std::uint8_t state = 1;
        QByteArray identifier = "Developmentboard ZEFA 1";  // at offsets 2..31
        std::uint16_t revision = 1;
        QByteArray revisionText = "1.0.3";
        std::uint16_t currentWarn = 100;
        std::uint16_t currentBreak = 500;
        std::uint8_t oscillator = 3;
        QByteArray serial = "ZDB-000123";
    };

    // One command as the board saw it.
    struct Exchange {
        std::uint16_t command = 0;
        QByteArray request;    // request block as received, CRC included
        QByteArray pageBlock;  // page data and CRC of a page write
        QByteArray answered;   // every byte sent back, in order
    };

    enum FuseIndex { LowFuse = 0, HighFuse = 1, ExtFuse = 2, LockByte = 3 };

    // The record keeps only the most recent exchanges, so that a board left
    // serving for an afternoon stays small: as many as a whole automatic run
    // of the largest microcontroller takes (1024 flash pages written and read,
    // 512 EEPROM pages each way, and the steps around them).
    static constexpr std::size_t RecordedExchanges = 4096;

    explicit BoardSimulator(int flashSize = 0x40000, int eepromSize = 4096);
    ~BoardSimulator();
    BoardSimulator(const BoardSimulator &) = delete;
    BoardSimulator &operator=(const BoardSimulator &) = delete;

    const QString &portPath() const { return m_pty.slavePath(); }
    void stop() { m_pty.stop(); }

    // How the board behaves.
    void setInfo(const Info &info);
    void setAckByte(std::uint8_t value);
    void setSignature(std::uint32_t signature);
    // Target commands (signature, erase, fuses, pages) are refused outside programming mode.
    void setProgrammingMode(bool on);
    // Take the memory size a page request names instead of insisting on its own.
    void setAcceptAnySize(bool accept);
    void setFuse(FuseIndex index, std::uint8_t value);
    void setFuseStuckBits(FuseIndex index, std::uint8_t mask, std::uint8_t value);
    void setMemory(bool flash, int address, const QByteArray &bytes);
    // The byte reads back altered, with a CRC that fits: only a verify notices.
    void setCorruptOnRead(bool flash, int address, std::uint8_t value);
    void addFault(const Fault &fault);
    // Bytes nobody asked for, as a late answer would leave them.
    void injectBytes(const QByteArray &bytes) { m_pty.write(bytes); }

    // What the board went through.
    std::uint8_t fuse(FuseIndex index) const;
    QByteArray memory(bool flash) const;
    // The recorded exchanges, oldest first: the last RecordedExchanges.
    std::vector<Exchange> exchanges() const;
    std::vector<std::uint16_t> commands() const;
    QStringList violations() const { return m_pty.violations(); }
    // Waits until the board is idle again after `count` exchanges in all, recorded or not.
    bool waitForExchanges(int count, int timeoutMs) const;

    // CRC-16 of the protocol, computed bit by bit so that it checks the host's table.
    static std::uint16_t crc16(const QByteArray &bytes);

private:
    struct Memory {
        QByteArray bytes;
        std::map<int, std::uint8_t> corruptOnRead;
    };

    void serveOne();
    void handle(std::uint16_t command);
    bool receiveRequest(int payloadLength, QByteArray &payload, int crcErrorStatusSize = 1);
    // Sends bytes in the given phase, applying a fault; false when the command ends here.
    bool sendPhase(Phase phase, QByteArray bytes, int statusIndex = -1, int crcIndex = -1);
    // Sends a status byte; returns the value sent, or -1 when the command ends here.
    int sendStatus(Phase phase, std::uint8_t status);
    // Notes a host that sent on without waiting for the byte about to go out.
    void checkHostWaited(Phase phase);
    std::optional<Fault> faultFor(Phase phase) const;
    // Notes a violation of the protocol by the command being served.
    void violation(const QString &what);
    template <typename Change>
    void record(Change change);

    // One handler a command, each given the command's code.
    void handleInfo(std::uint16_t);
    void handleSignature(std::uint16_t);
    void handleSimpleStatus(std::uint16_t);
    void handleRequestWithStatus(std::uint16_t command);
    void handleReadFuse(std::uint16_t command);
    void handleWriteFuse(std::uint16_t command);
    // Takes a page command's request and answers its first status; false when the command ends there.
    bool acceptPageRequest(std::uint16_t command, int &address, int &bytes);
    void handlePageWrite(std::uint16_t command);
    void handlePageRead(std::uint16_t command);
    bool decodePage(bool flash, const QByteArray &payload, int &address, int &bytes);
    // Notes a target command outside programming mode; true when it is refused.
    bool refusedOutsideProgramming(const char *what);

    PtyEndpoint m_pty;
    mutable std::mutex m_mutex;
    std::atomic<bool> m_busy {false};

    Info m_info;
    std::uint8_t m_ackByte = 0x06;
    std::array<std::uint8_t, 3> m_signature {0x1E, 0x95, 0x0F};
    bool m_programmingMode = false;
    bool m_acceptAnySize = false;
    std::array<std::uint8_t, 4> m_fuses {0x62, 0xD9, 0xFF, 0xFF};
    std::array<std::uint8_t, 4> m_stuckMask {};
    std::array<std::uint8_t, 4> m_stuckValue {};
    Memory m_flash;
    Memory m_eeprom;
    std::vector<Fault> m_faults;
    std::map<std::uint16_t, int> m_occurrences;
    std::deque<Exchange> m_exchanges;  // the one being served at the back
    int m_served = 0;
};
