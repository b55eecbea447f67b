#pragma once

#include "PtyEndpoint.h"

#include <QList>

#include <chrono>
#include <cstdint>
#include <map>

// A plug-in module with its serial bootloader, on the far side of a
// pseudo-terminal. It starts in its application, where it ignores everything,
// and enters the bootloader after a number of "IS" handshakes or when the
// test presses reset. In the bootloader it answers the two-letter commands,
// keeps its flash and EEPROM, records the recent exchanges, and misbehaves on
// request.
class ModuleSimulator {
public:
    struct Geometry {
        int flashSize = 1024;
        int flashPageSize = 128;
        int eepromSize = 512;
        int eepromPageSize = 4;
    };

    // What the module does to one answer, from its byte `at` on (the bytes
    // before it go out at once): it waits delayMs, then
    enum class Action {
        Answer,    // sends the rest as it should
        Drop,      // sends nothing more
        Replace,   // sends `value` in place of byte `at`, then the rest
        Truncate,  // sends only the first `value` bytes of the whole answer
        HangUp,    // hangs up instead of answering and stops serving
    };

    // A fault for the occurrence-th command with this letter (1-based; 0 = every
    // one). `at` counts from 1 (the k-th carriage return of "IN" or "IU", the
    // k-th byte of a block); 0 means the start of the answer. A held answer
    // keeps its bytes from `at` on back, instead of waiting delayMs, until the
    // host sends its next byte or the test releases them: late by the host's
    // own steps, not by a clock that a busy machine would stretch.
    struct Fault {
        char command = 0;
        int occurrence = 0;
        Action action = Action::Answer;
        int value = 0;
        int delayMs = 0;
        int at = 0;
        bool held = false;
    };

    // One command as the module received and answered it.
    struct Exchange {
        QByteArray request;  // the letters and their arguments, as received
        QByteArray data;     // the page data that followed "IB"
        QByteArray answer;   // what the module sent back
        double pauseBeforeDataMs = 0;  // "IB": from the frame's last byte to the first data byte
    };

    enum class Memory { Flash, Eeprom };

    explicit ModuleSimulator(const Geometry &geometry);
    ~ModuleSimulator();
    ModuleSimulator(const ModuleSimulator &) = delete;
    ModuleSimulator &operator=(const ModuleSimulator &) = delete;

    // The device path the host opens.
    QString portPath() const { return m_pty.slavePath(); }

    // The module starts in its application; it enters the bootloader after it
    // has ignored this many handshakes (0: it starts in the bootloader).
    void setEntersBootloaderAfter(int handshakes);
    // The user resets the module: its bootloader listens from now on.
    void pressReset();
    bool inBootloader() const;

    // The identification block: header, version and the identifier from byte 3
    // on (padded with zeros to the 31 bytes the host reads; longer ones run on).
    void setIdentification(const QByteArray &identifier, std::uint8_t version = 0,
                           const QByteArray &header = "DT");

    // Bytes take the time a line of this rate (10 bits a byte) needs in each
    // direction: the module answers a request only once it would have arrived
    // whole, and the host sees an answer when its last byte would have. 0 (the
    // default) leaves the pseudo-terminal's own speed.
    void setLineRate(int baud);

    void addFault(const Fault &fault);
    // Reads of this address return `value` whatever was written there.
    void setStuckByte(Memory memory, int address, std::uint8_t value);
    void fill(Memory memory, int address, const QByteArray &bytes);
    QByteArray memory(Memory memory) const;

    // Bytes the host finds in its input before it has asked for anything.
    void sendStray(const QByteArray &bytes) { m_pty.write(bytes); }
    // The device goes away now.
    void hangUp() { m_pty.hangUp(); }
    // Sends what a held answer kept back, while the host sends nothing; the
    // host can read it on return.
    void releaseHeld();

    // Records. They keep only what came last, so that a module left serving
    // for an afternoon stays small: more than the largest module's flash and
    // EEPROM written and verified page by page take.
    static constexpr qsizetype RecordedExchanges = 8192;
    static constexpr qsizetype RecordedBytes = 512 * 1024;
    // The last RecordedExchanges exchanges, oldest first.
    QList<Exchange> exchanges() const;
    // The last RecordedBytes bytes the host sent, in order, in the bootloader and in the application.
    QByteArray received() const;
    // Waits until the host has sent this many bytes in all, recorded or not; false on time-out.
    bool waitForReceived(int bytes, int timeoutMs) const;
    // Waits until the module has read every byte the host has sent so far.
    bool waitUntilTakenIn(int timeoutMs) const { return m_pty.waitUntilTakenIn(timeoutMs); }
    int handshakesSeen() const;
    QStringList violations() const { return m_pty.violations(); }
    void clearRecords();

private:
    void serveOne();
    bool readExact(QByteArray &into, int count, int timeoutMs);
    // The same; what is missing is noted as a violation.
    bool readOrNote(QByteArray &into, int count, int timeoutMs, const char *missing);
    void sendNow(const QByteArray &bytes);
    std::chrono::microseconds lineTime(qsizetype bytes) const;
    void handleApplicationByte(char byte);
    void handleCommand(char letter);
    // "IB" or "Ig": false when the frame broke off (recorded as a violation; nothing to answer).
    bool handleBlock(Exchange &exchange, QByteArray &reply);
    void answer(char letter, Exchange exchange, QByteArray reply);
    QByteArray identificationBlock() const;
    void violation(const QString &text) { m_pty.violation(text); }

    const Geometry m_geometry;
    PtyEndpoint m_pty;
    mutable std::mutex m_mutex;
    bool m_bootloader = false;
    int m_handshakesToIgnore = 0;
    QByteArray m_header = "DT";
    std::uint8_t m_version = 0;
    QByteArray m_identifier = "MEGA328 MODULE";
    QList<Fault> m_faults;
    QList<QPair<int, std::uint8_t>> m_stuckFlash;
    QList<QPair<int, std::uint8_t>> m_stuckEeprom;
    QByteArray m_flash;
    QByteArray m_eeprom;
    std::uint32_t m_address = 0;
    QList<Exchange> m_exchanges;
    QByteArray m_received;  // up to twice RecordedBytes, cut back in one go
    qint64 m_receivedTotal = 0;
    QByteArray m_held;
    int m_handshakes = 0;
    std::map<char, int> m_commandCounts;
    char m_applicationPrevious = 0;

    std::atomic<int> m_lineRate {0};
    // When the bytes so far would have crossed the line; serving thread only.
    std::chrono::steady_clock::time_point m_hostLineFreeAt;
    std::chrono::steady_clock::time_point m_moduleLineFreeAt;
    // When the last byte the module read was taken from the terminal; serving thread only.
    std::chrono::steady_clock::time_point m_lastReadAt;
};
