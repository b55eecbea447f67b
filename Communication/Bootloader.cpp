#include "Bootloader.h"

#include "AsciiText.h"
#include "ConnectDialogControl.h"
#include "Delays.h"
#include "MainWindowLink.h"
#include "Modul.h"
#include "SerialPort.h"
#include "Utils.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <array>

tKalworksBootloader *Bootloader = nullptr;

namespace {
// The time-outs a port object starts with, before any read sets its own.
constexpr int CreationTimeoutMs = 2000;
// Failed handshakes before the connect dialog asks the user to reset the module.
constexpr int AttemptsBeforeDialog = 20;
// A failed handshake lasts at least this long, so that a port that fails at
// once does not spin the processor.
constexpr int MinimumAttemptMs = 20;
constexpr int IdentifierFirst = 3;
constexpr int IdentifierLast = 33;
const char *const PortRemovedText = "COM PORT ERROR: Port removed!";

std::unique_ptr<SerialPort> makePort()
{
    auto port = std::make_unique<SerialPort>();
    port->setPortName(CurrentComPort);
    port->setReadTimeout(CreationTimeoutMs);
    port->setWriteTimeout(CreationTimeoutMs);
    return port;
}

// The module reports its name in capitals; only a to z are raised.
QByteArray expectedIdentifier(const QString &name)
{
    return AsciiUpper(name).toUtf8();
}
}

tKalworksBootloader::tKalworksBootloader() : ComPort(makePort()) {}

tKalworksBootloader::~tKalworksBootloader() = default;

bool tKalworksBootloader::Open()
{
    try {
        ComPort->setPortName(CurrentComPort);
        ComPort->setBaudRate(BaudRate);
        // Opening also discards input left over from an earlier session, such
        // as a late answer, which would otherwise shift every later answer.
        ComPort->open();
    } catch (const std::exception &) {
        return false;
    }
    return ComPort->isOpen();
}

void tKalworksBootloader::Close()
{
    try {
        closePort(*ComPort);
    } catch (const std::exception &) {
        if (auto *link = mainWindowLink())
            link->addLogLine(0, clRed, QString::fromLatin1(PortRemovedText));
        ComPort = makePort();
    }
}

void tKalworksBootloader::closePort(SerialPort &port)
{
    port.close();
}

bool tKalworksBootloader::IsOpen() const
{
    return ComPort->isOpen();
}

bool tKalworksBootloader::Write(const std::uint8_t *buffer, int count)
{
    if (!ComPort->isOpen())
        return false;
    try {
        return ComPort->write(buffer, count) == count;
    } catch (const std::exception &) {
        return false;
    }
}

bool tKalworksBootloader::Read(std::uint8_t *buffer, int count, int timeoutMs)
{
    if (!ComPort->isOpen())
        return false;
    try {
        ComPort->setReadTimeout(timeoutMs);
        return ComPort->read(buffer, count) == count;
    } catch (const std::exception &) {
        return false;
    }
}

tKalworksBootloader::HandshakeResult tKalworksBootloader::Handshake(const QByteArray &expected,
                                                                    int acceptedVersion)
{
    // A late or partial answer to an earlier attempt must not be taken for
    // the start of this one.
    ComPort->flushInput();
    static constexpr std::uint8_t Request[] = {'I', 'S'};
    if (!Write(Request, sizeof Request))
        return NoAnswer;
    std::array<std::uint8_t, IdentificationSize> block {};
    if (!Read(block.data(), IdentificationSize, m_timeouts.identification))
        return NoAnswer;
    if (block[0] != 'D' || block[1] != 'T')
        return NoAnswer;
    const int version = block[2];
    QByteArray received;
    for (int i = IdentifierFirst; i <= IdentifierLast; ++i) {
        if (IsIdentifierCharacter(block[i]))
            received += char(block[i]);
    }
    if (!IdentMatches(expected, received))
        return NoAnswer;
    return version == acceptedVersion ? Connected : OtherVersion;
}

bool tKalworksBootloader::IdentMatches(const QByteArray &expected, const QByteArray &received)
{
    return received.startsWith(expected);
}

bool tKalworksBootloader::Connect(const TModul &modul)
{
    const QByteArray expected = expectedIdentifier(modul.Name);
    BootloaderAbort = false;
    int countdown = AttemptsBeforeDialog;
    bool connected = false;
    qint64 previousAttemptMs = -1;  // none failed yet
    for (;;) {
        QElapsedTimer attempt;
        attempt.start();
        if (Handshake(expected, AcceptedVersion) == Connected) {
            connected = true;
            break;
        }
        if (countdown > 0) {
            if (countdown == 1) {
                if (auto *dialog = connectDialogControl())
                    dialog->showConnectDialog();
            }
            --countdown;
        }
        const qint64 left = MinimumAttemptMs - attempt.elapsed();
        if (left > 0)
            Delay(int(left));
        QCoreApplication::processEvents();
        if (BootloaderAbort)
            break;
        previousAttemptMs = attempt.elapsed();
    }
    if (auto *dialog = connectDialogControl())
        dialog->closeConnectDialog();
    if (connected && previousAttemptMs >= 0)
        DiscardTrailingAnswer(int(previousAttemptMs));
    return connected;
}

void tKalworksBootloader::DiscardTrailingAnswer(int previousAttemptMs)
{
    // The answer just taken may have been the previous request's, come too
    // late for its own attempt. The module then answers this attempt's request
    // as late, about one attempt's length after it; the first memory command
    // would read that block in place of its carriage return. The module sends
    // nothing unasked, so whatever arrives until then can go.
    Delay(previousAttemptMs + m_timeouts.identification);
    ComPort->flushInput();
}

void InitBootloaderModule()
{
    if (!Bootloader)
        Bootloader = new tKalworksBootloader;
}

void FinalizeBootloaderModule()
{
    delete Bootloader;
    Bootloader = nullptr;
}
