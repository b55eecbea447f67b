#include "ModuleSimulator.h"

#include <algorithm>

namespace {
using Clock = std::chrono::steady_clock;

constexpr char CarriageReturn = 0x0D;
constexpr int IdentificationSize = 256;
constexpr int IdentifierSize = 31;
constexpr int PollSliceMs = 5;
// How long the module waits for the rest of a command once its letter came.
constexpr int ArgumentTimeoutMs = 1000;
// The host sends page data after a short pause; allow a generous margin.
constexpr int PageDataTimeoutMs = 3000;
constexpr std::uint8_t Erased = 0xFF;
constexpr int BitsPerByte = 10;  // start bit, 8 data bits, stop bit
// Sleeps overshoot by tens of microseconds; the last stretch of a paced answer is waited out busily.
constexpr auto SpinMargin = std::chrono::microseconds(300);
}

ModuleSimulator::ModuleSimulator(const Geometry &geometry)
    : m_geometry(geometry),
      m_flash(geometry.flashSize, char(Erased)),
      m_eeprom(geometry.eepromSize, char(Erased))
{
    m_pty.serve([this] { serveOne(); });
}

ModuleSimulator::~ModuleSimulator() { m_pty.stop(); }

void ModuleSimulator::setEntersBootloaderAfter(int handshakes)
{
    std::lock_guard lock(m_mutex);
    m_handshakesToIgnore = handshakes;
    m_bootloader = handshakes <= 0;
}

void ModuleSimulator::pressReset() { std::lock_guard lock(m_mutex); m_bootloader = true; }

bool ModuleSimulator::inBootloader() const { std::lock_guard lock(m_mutex); return m_bootloader; }

void ModuleSimulator::setIdentification(const QByteArray &identifier, std::uint8_t version,
                                        const QByteArray &header)
{
    std::lock_guard lock(m_mutex);
    m_identifier = identifier;
    m_version = version;
    m_header = header;
}

void ModuleSimulator::setLineRate(int baud) { m_lineRate = baud; }

void ModuleSimulator::addFault(const Fault &fault) { std::lock_guard lock(m_mutex); m_faults.append(fault); }

void ModuleSimulator::setStuckByte(Memory memory, int address, std::uint8_t value)
{
    std::lock_guard lock(m_mutex);
    (memory == Memory::Flash ? m_stuckFlash : m_stuckEeprom).append({address, value});
}

void ModuleSimulator::fill(Memory memory, int address, const QByteArray &bytes)
{
    std::lock_guard lock(m_mutex);
    (memory == Memory::Flash ? m_flash : m_eeprom).replace(address, bytes.size(), bytes);
}

QByteArray ModuleSimulator::memory(Memory memory) const
{
    std::lock_guard lock(m_mutex);
    return memory == Memory::Flash ? m_flash : m_eeprom;
}

QList<ModuleSimulator::Exchange> ModuleSimulator::exchanges() const { std::lock_guard lock(m_mutex); return m_exchanges; }

QByteArray ModuleSimulator::received() const { std::lock_guard lock(m_mutex); return m_received.right(RecordedBytes); }

bool ModuleSimulator::waitForReceived(int bytes, int timeoutMs) const
{
    const auto total = [this] {
        std::lock_guard lock(m_mutex);
        return m_receivedTotal;
    };
    return PtyEndpoint::waitUntil([&] { return total() >= bytes; }, timeoutMs);
}

int ModuleSimulator::handshakesSeen() const { std::lock_guard lock(m_mutex); return m_handshakes; }

void ModuleSimulator::clearRecords()
{
    std::lock_guard lock(m_mutex);
    m_exchanges.clear();
    m_received.clear();
    m_receivedTotal = 0;
    m_handshakes = 0;
    m_commandCounts.clear();
}

void ModuleSimulator::serveOne()
{
    QByteArray byte;
    if (!readExact(byte, 1, PollSliceMs))
        return;
    releaseHeld();
    if (!inBootloader()) {
        handleApplicationByte(byte[0]);
    } else if (byte[0] != 'I') {
        violation(QStringLiteral("stray byte 0x%1 where a command should start")
                      .arg(quint8(byte[0]), 2, 16, QLatin1Char('0')));
    } else {
        QByteArray letter;
        if (readOrNote(letter, 1, ArgumentTimeoutMs, "\"I\" without a command letter"))
            handleCommand(letter[0]);
    }
}

bool ModuleSimulator::readExact(QByteArray &into, int count, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    const int wanted = int(into.size()) + count;
    while (into.size() < wanted && !m_pty.stopping() && !m_pty.isHungUp()) {
        const QByteArray chunk = m_pty.readAvailable(wanted - int(into.size()), PollSliceMs, &m_lastReadAt);
        if (!chunk.isEmpty()) {
            into += chunk;
            m_hostLineFreeAt = std::max(m_lastReadAt, m_hostLineFreeAt) + lineTime(chunk.size());
            std::lock_guard lock(m_mutex);
            m_received += chunk;
            m_receivedTotal += chunk.size();
            if (m_received.size() > 2 * RecordedBytes)
                m_received.remove(0, m_received.size() - RecordedBytes);
        } else if (Clock::now() >= deadline) {
            break;
        }
    }
    return into.size() == wanted;
}

bool ModuleSimulator::readOrNote(QByteArray &into, int count, int timeoutMs, const char *missing)
{
    if (readExact(into, count, timeoutMs))
        return true;
    violation(QString::fromLatin1(missing));
    return false;
}

void ModuleSimulator::sendNow(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    if (m_lineRate > 0) {
        const auto arrival = std::max({Clock::now(), m_hostLineFreeAt, m_moduleLineFreeAt}) + lineTime(bytes.size());
        std::this_thread::sleep_until(arrival - SpinMargin);
        while (Clock::now() < arrival) {
        }
        m_moduleLineFreeAt = arrival;
    }
    m_pty.write(bytes);
}

void ModuleSimulator::releaseHeld()
{
    QByteArray held;
    {
        std::lock_guard lock(m_mutex);
        held.swap(m_held);
    }
    m_pty.write(held);
}

std::chrono::microseconds ModuleSimulator::lineTime(qsizetype bytes) const
{
    const int baud = m_lineRate;
    return std::chrono::microseconds(baud > 0 ? qint64(bytes) * BitsPerByte * 1'000'000 / baud : 0);
}

void ModuleSimulator::handleApplicationByte(char byte)
{
    // The application knows no commands; only the count of handshakes matters,
    // standing in for the moment the user resets the module.
    std::lock_guard lock(m_mutex);
    if (m_applicationPrevious == 'I' && byte == 'S') {
        ++m_handshakes;
        if (m_handshakes >= m_handshakesToIgnore && m_handshakesToIgnore > 0)
            m_bootloader = true;
    }
    m_applicationPrevious = byte;
}

void ModuleSimulator::handleCommand(char letter)
{
    Exchange exchange;
    exchange.request = QByteArray("I") + letter;
    QByteArray reply;
    switch (letter) {
    case 'S': {
        std::lock_guard lock(m_mutex);
        ++m_handshakes;
        reply = identificationBlock();
        break;
    }
    case 'N': {
        std::lock_guard lock(m_mutex);
        m_flash.fill(char(Erased));
        const int pages = m_geometry.flashPageSize > 0 ? m_geometry.flashSize / m_geometry.flashPageSize : 0;
        reply = QByteArray(pages, CarriageReturn);
        break;
    }
    case 'U': {
        std::lock_guard lock(m_mutex);
        m_eeprom.fill(char(Erased));
        reply = QByteArray(m_geometry.eepromSize, CarriageReturn);
        break;
    }
    case 'A': {
        if (!readOrNote(exchange.request, 3, ArgumentTimeoutMs, "\"IA\" without its three address bytes"))
            return;
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(exchange.request.constData());
        std::lock_guard lock(m_mutex);
        m_address = (std::uint32_t(bytes[2]) << 16) | (std::uint32_t(bytes[3]) << 8) | bytes[4];
        reply = QByteArray(1, CarriageReturn);
        break;
    }
    case 'B':
    case 'g':
        if (!handleBlock(exchange, reply))
            return;
        break;
    case 'E':
        reply = QByteArray(1, CarriageReturn);
        break;
    default:
        violation(QStringLiteral("unknown command \"I%1\"").arg(QLatin1Char(letter)));
        return;
    }
    answer(letter, exchange, reply);
    if (letter == 'E') {
        std::lock_guard lock(m_mutex);
        m_bootloader = false;
        m_applicationPrevious = 0;
    }
}

bool ModuleSimulator::handleBlock(Exchange &exchange, QByteArray &reply)
{
    const bool program = exchange.request[1] == 'B';
    if (!readOrNote(exchange.request, 3, ArgumentTimeoutMs, program ? "\"IB\" frame broke off" : "\"Ig\" frame broke off"))
        return false;
    // Measured between the moments the bytes were read, which a pause of the
    // host's that waits until the module has read the frame keeps apart.
    const auto frameEnd = m_lastReadAt;
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(exchange.request.constData());
    const int length = (int(bytes[2]) << 8) | bytes[3];
    const char which = char(bytes[4]);
    if (program && length > 0) {
        if (!readOrNote(exchange.data, 1, PageDataTimeoutMs, "\"IB\" without its page data"))
            return false;
        exchange.pauseBeforeDataMs = std::chrono::duration<double, std::milli>(m_lastReadAt - frameEnd).count();
        if (!readOrNote(exchange.data, length - 1, PageDataTimeoutMs, "\"IB\" page data broke off"))
            return false;
    }
    std::unique_lock lock(m_mutex);
    QByteArray &memory = which == 'F' ? m_flash : m_eeprom;
    if (which != 'F' && which != 'E') {
        lock.unlock();
        violation(QStringLiteral("block frame names memory 0x%1").arg(quint8(which), 2, 16, QLatin1Char('0')));
    } else if (qsizetype(m_address) + length > memory.size()) {
        lock.unlock();
        violation(QStringLiteral("block of %1 bytes at %2 lies outside the memory").arg(length).arg(m_address));
    } else if (program) {
        memory.replace(qsizetype(m_address), length, exchange.data);
        reply = QByteArray(1, CarriageReturn);
    } else {
        reply = memory.mid(qsizetype(m_address), length);
        for (const auto &[address, value] : which == 'F' ? m_stuckFlash : m_stuckEeprom) {
            const qint64 offset = qint64(address) - qint64(m_address);
            if (offset >= 0 && offset < length)
                reply[offset] = char(value);
        }
    }
    return true;  // a frame that points nowhere gets no answer: the host times out
}

void ModuleSimulator::answer(char letter, Exchange exchange, QByteArray reply)
{
    Fault fault;
    {
        std::lock_guard lock(m_mutex);
        const int occurrence = ++m_commandCounts[letter];
        for (const Fault &candidate : m_faults) {
            if (candidate.command == letter && (candidate.occurrence == 0 || candidate.occurrence == occurrence)) {
                fault = candidate;
                break;
            }
        }
    }
    qsizetype at = qMin(qsizetype(qMax(fault.at - 1, 0)), reply.size());
    switch (fault.action) {
    case Action::Answer:
    case Action::HangUp:
        break;
    case Action::Drop:
        reply.truncate(at);
        break;
    case Action::Replace:
        if (at < reply.size())
            reply[at] = char(fault.value);
        break;
    case Action::Truncate:
        reply.truncate(fault.value);
        at = 0;
        break;
    }
    exchange.answer = fault.action == Action::HangUp ? reply.left(at) : reply;
    {
        std::lock_guard lock(m_mutex);
        if (m_exchanges.size() == RecordedExchanges)
            m_exchanges.removeFirst();
        m_exchanges.append(exchange);
    }
    sendNow(reply.left(at));
    if (fault.held) {
        std::lock_guard lock(m_mutex);
        m_held = reply.mid(at);
        return;
    }
    m_pty.pause(fault.delayMs);
    if (fault.action == Action::HangUp)
        hangUp();
    else
        sendNow(reply.mid(at));
}

QByteArray ModuleSimulator::identificationBlock() const
{
    QByteArray block = m_header.left(2);
    block += char(m_version);
    // A longer identifier runs on past the 31 bytes the host looks at.
    block += m_identifier.leftJustified(IdentifierSize, '\0');
    return block.leftJustified(IdentificationSize, '\0').left(IdentificationSize);
}
