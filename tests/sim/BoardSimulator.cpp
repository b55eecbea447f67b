#include "BoardSimulator.h"

#include <algorithm>

namespace {
enum Command : std::uint16_t {
    GetInfo = 0x3001, ReadSignature = 0x30A0, WriteFlash = 0x30A2, WriteEeprom = 0x30A3, ReadFlash = 0x30A4,
    ReadEeprom = 0x30A5, WriteFuse = 0x30A6, ReadFuse = 0x30A8, LeaveProgramming = 0x30A9, EnterProgramming = 0x30AA,
    ChipErase = 0x30AB, ResetTarget = 0x30AC, TargetPower = 0x30B0, SetCurrentLimits = 0x30B7, SetOscillator = 0x30B8,
};
enum Status : std::uint8_t { StatusOk = 0, StatusCrcError = 1, StatusError = 255 };

constexpr int InfoSize = 256;
constexpr int RequestByteTimeoutMs = 2000;
constexpr int IdlePollMs = 5;
constexpr int MaxSpeedIndex = 10;
constexpr int MaxPageBytes = 519;

const std::map<std::uint16_t, int> PayloadLength = {
    {WriteFlash, 11}, {WriteEeprom, 6}, {ReadFlash, 10}, {ReadEeprom, 5},  {WriteFuse, 10},
    {ReadFuse, 4},    {EnterProgramming, 1}, {ChipErase, 1}, {TargetPower, 2},
    {SetCurrentLimits, 4}, {SetOscillator, 1},
};

// Read instruction, write instruction (first two bytes) of each fuse byte.
struct FuseInstructions {
    QByteArray read;
    QByteArray write;
};
const std::array<FuseInstructions, 4> Fuses = {{
    {QByteArray("\x50\x00\x00\x00", 4), QByteArray("\xAC\xA0\x00\x00", 4)},
    {QByteArray("\x58\x08\x00\x00", 4), QByteArray("\xAC\xA8\x00\x00", 4)},
    {QByteArray("\x50\x08\x00\x00", 4), QByteArray("\xAC\xA4\x00\x00", 4)},
    {QByteArray("\x58\x00\x00\x00", 4), QByteArray("\xAC\xE0\x00\x00", 4)},
}};

// The fuse byte these instructions address; -1 for none.
int fuseIndex(const QByteArray &read, const QByteArray &write = {})
{
    for (std::size_t i = 0; i < Fuses.size(); ++i) {
        if (Fuses[i].read == read && (write.isEmpty() || Fuses[i].write == write))
            return int(i);
    }
    return -1;
}

std::uint16_t word(const QByteArray &b, int at)
{
    return std::uint16_t((std::uint8_t(b[at]) << 8) | std::uint8_t(b[at + 1]));
}

std::uint32_t longAt(const QByteArray &b, int at)
{
    return (std::uint32_t(word(b, at)) << 16) | word(b, at + 2);
}

void appendCrc(QByteArray &bytes)
{
    const std::uint16_t crc = BoardSimulator::crc16(bytes);
    bytes.append(char(crc >> 8));
    bytes.append(char(crc & 0xFF));
}

bool crcFits(const QByteArray &block)
{
    return BoardSimulator::crc16(block.left(block.size() - 2)) == word(block, int(block.size()) - 2);
}

// The information block the board sends for these fields.
QByteArray infoBlock(const BoardSimulator::Info &info)
{
    QByteArray block(InfoSize - 2, '\0');
    const auto place = [&block](int at, const QByteArray &text, int room) {
        block.replace(at, std::min<int>(int(text.size()), room), text.left(room));
    };
    const auto placeWord = [&block](int at, std::uint16_t value) { block[at] = char(value >> 8); block[at + 1] = char(value); };
    block[0] = char(info.format);
    block[1] = char(info.state);
    place(2, info.identifier, 30);
    placeWord(33, info.revision);
    place(35, info.revisionText, 10);
    placeWord(61, info.currentWarn);
    placeWord(63, info.currentBreak);
    block[65] = char(info.oscillator);
    place(66, info.serial, 16);
    appendCrc(block);
    return block;
}
}

BoardSimulator::BoardSimulator(int flashSize, int eepromSize)
{
    m_flash.bytes = QByteArray(flashSize, char(0xFF));
    m_eeprom.bytes = QByteArray(eepromSize, char(0xFF));
    m_pty.serve([this] { serveOne(); });
}

BoardSimulator::~BoardSimulator()
{
    stop();
}

std::uint16_t BoardSimulator::crc16(const QByteArray &bytes)
{
    std::uint16_t crc = 0x1D0F;
    for (const char byte : bytes) {
        crc ^= std::uint16_t(std::uint8_t(byte) << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? std::uint16_t((crc << 1) ^ 0x1021) : std::uint16_t(crc << 1);
    }
    return crc;
}

// ---- settings and queries ----------------------------------------------------

void BoardSimulator::setInfo(const Info &info) { std::lock_guard lock(m_mutex); m_info = info; }
void BoardSimulator::setAckByte(std::uint8_t value) { std::lock_guard lock(m_mutex); m_ackByte = value; }
void BoardSimulator::setProgrammingMode(bool on) { std::lock_guard lock(m_mutex); m_programmingMode = on; }
void BoardSimulator::setAcceptAnySize(bool accept) { std::lock_guard lock(m_mutex); m_acceptAnySize = accept; }
void BoardSimulator::setFuse(FuseIndex index, std::uint8_t value) { std::lock_guard lock(m_mutex); m_fuses[index] = value; }
void BoardSimulator::addFault(const Fault &fault) { std::lock_guard lock(m_mutex); m_faults.push_back(fault); }

void BoardSimulator::setSignature(std::uint32_t signature)
{
    std::lock_guard lock(m_mutex);
    m_signature = {std::uint8_t(signature >> 16), std::uint8_t(signature >> 8), std::uint8_t(signature)};
}

void BoardSimulator::setFuseStuckBits(FuseIndex index, std::uint8_t mask, std::uint8_t value)
{
    std::lock_guard lock(m_mutex);
    m_stuckMask[index] = mask;
    m_stuckValue[index] = value;
}

void BoardSimulator::setMemory(bool flash, int address, const QByteArray &bytes)
{
    std::lock_guard lock(m_mutex);
    (flash ? m_flash : m_eeprom).bytes.replace(address, bytes.size(), bytes);
}

void BoardSimulator::setCorruptOnRead(bool flash, int address, std::uint8_t value)
{
    std::lock_guard lock(m_mutex);
    (flash ? m_flash : m_eeprom).corruptOnRead[address] = value;
}

std::uint8_t BoardSimulator::fuse(FuseIndex index) const { std::lock_guard lock(m_mutex); return m_fuses[index]; }
QByteArray BoardSimulator::memory(bool flash) const { std::lock_guard lock(m_mutex); return (flash ? m_flash : m_eeprom).bytes; }
std::vector<BoardSimulator::Exchange> BoardSimulator::exchanges() const
{
    std::lock_guard lock(m_mutex);
    return {m_exchanges.begin(), m_exchanges.end()};
}

std::vector<std::uint16_t> BoardSimulator::commands() const
{
    std::vector<std::uint16_t> result;
    for (const Exchange &e : exchanges())
        result.push_back(e.command);
    return result;
}

bool BoardSimulator::waitForExchanges(int count, int timeoutMs) const
{
    const auto served = [this] {
        std::lock_guard lock(m_mutex);
        return m_served;
    };
    return PtyEndpoint::waitUntil([&] { return served() >= count && !m_busy; }, timeoutMs);
}

// ---- the serving thread --------------------------------------------------------

template <typename Change>
void BoardSimulator::record(Change change)
{
    std::lock_guard lock(m_mutex);
    change(m_exchanges.back());
}

void BoardSimulator::violation(const QString &what)
{
    m_pty.violation(what);
}

void BoardSimulator::serveOne()
{
    QByteArray command = m_pty.readAvailable(2, IdlePollMs);
    if (command.isEmpty() || (command += m_pty.read(2 - int(command.size()), RequestByteTimeoutMs)).size() < 2)
        return;
    m_busy = true;
    const std::uint16_t code = word(command, 0);
    {
        std::lock_guard lock(m_mutex);
        if (m_exchanges.size() == RecordedExchanges)
            m_exchanges.pop_front();
        m_exchanges.push_back({code, {}, {}, {}});
        ++m_served;
        ++m_occurrences[code];
    }
    handle(code);
    m_busy = false;
}

std::optional<BoardSimulator::Fault> BoardSimulator::faultFor(Phase phase) const
{
    std::lock_guard lock(m_mutex);
    const std::uint16_t command = m_exchanges.back().command;
    const int occurrence = m_occurrences.at(command);
    for (const Fault &fault : m_faults) {
        if (fault.command == command && fault.phase == phase
            && (fault.occurrence == 0 || fault.occurrence == occurrence))
            return fault;
    }
    return std::nullopt;
}

bool BoardSimulator::sendPhase(Phase phase, QByteArray bytes, int statusIndex, int crcIndex)
{
    const std::optional<Fault> fault = faultFor(phase);
    bool carryOn = true;
    if (fault) {
        switch (fault->action) {
        case Action::Drop:
            return false;
        case Action::HangUp:
            m_pty.hangUp();
            return false;
        case Action::Value:
            if (bytes.size() == 1 || statusIndex >= 0)
                bytes[bytes.size() == 1 ? 0 : statusIndex] = char(fault->arg);
            break;
        case Action::Delay:
            m_pty.pause(fault->arg);
            break;
        case Action::Late:
            m_pty.pause(fault->arg);
            carryOn = false;
            break;
        case Action::Truncate:
            bytes.truncate(fault->arg);
            carryOn = false;
            break;
        case Action::CorruptCrc:
            bytes[crcIndex + 1] = char(bytes[crcIndex + 1] ^ 0x01);
            break;
        }
    }
    if (carryOn || fault->action != Action::Late)  // after a late byte the host has moved on, rightly
        checkHostWaited(phase);
    // Recorded before it leaves, so that the record is complete once the host has the bytes.
    record([&](Exchange &e) { e.answered += bytes; });
    m_pty.write(bytes);
    return carryOn;
}

int BoardSimulator::sendStatus(Phase phase, std::uint8_t status)
{
    const std::optional<Fault> fault = faultFor(phase);
    if (fault && fault->action == Action::Value)
        status = std::uint8_t(fault->arg);
    if (!sendPhase(phase, QByteArray(1, char(status))))
        return -1;
    return status;
}

void BoardSimulator::checkHostWaited(Phase phase)
{
    // Looked at as the byte leaves, after any delay, since the host must wait for this very byte.
    const std::uint16_t command = m_exchanges.back().command;
    if (phase == Phase::Ack && m_pty.inputPending())
        violation(QStringLiteral("%1: request block before the acknowledgement").arg(command, 4, 16));
    if (phase == Phase::Status && (command == WriteFlash || command == WriteEeprom) && m_pty.inputPending())
        violation(QStringLiteral("page data before the status"));
}

bool BoardSimulator::receiveRequest(int payloadLength, QByteArray &payload, int crcErrorStatusSize)
{
    std::uint8_t ack = 0;
    {
        std::lock_guard lock(m_mutex);
        ack = m_ackByte;
    }
    if (!sendPhase(Phase::Ack, QByteArray(1, char(ack))))
        return false;
    const QByteArray block = m_pty.read(payloadLength + 2, RequestByteTimeoutMs);
    record([&](Exchange &e) { e.request = block; });
    if (block.size() < payloadLength + 2) {
        violation(QStringLiteral("%1: request block incomplete (%2 bytes)").arg(m_exchanges.back().command, 4, 16).arg(block.size()));
        return false;
    }
    if (!crcFits(block)) {
        violation(QStringLiteral("%1: request CRC wrong").arg(m_exchanges.back().command, 4, 16));
        QByteArray answer(crcErrorStatusSize, char(0xFF));
        answer[0] = char(StatusCrcError);
        sendPhase(Phase::Status, answer, 0);
        return false;
    }
    payload = block.left(payloadLength);
    return true;
}

void BoardSimulator::handle(std::uint16_t command)
{
    using B = BoardSimulator;
    static const std::map<std::uint16_t, void (B::*)(std::uint16_t)> handlers = {
        {GetInfo, &B::handleInfo}, {ReadSignature, &B::handleSignature}, {LeaveProgramming, &B::handleSimpleStatus},
        {ResetTarget, &B::handleSimpleStatus}, {EnterProgramming, &B::handleRequestWithStatus},
        {ChipErase, &B::handleRequestWithStatus}, {TargetPower, &B::handleRequestWithStatus},
        {SetCurrentLimits, &B::handleRequestWithStatus}, {SetOscillator, &B::handleRequestWithStatus},
        {ReadFuse, &B::handleReadFuse}, {WriteFuse, &B::handleWriteFuse}, {WriteFlash, &B::handlePageWrite},
        {WriteEeprom, &B::handlePageWrite}, {ReadFlash, &B::handlePageRead}, {ReadEeprom, &B::handlePageRead}};
    const auto handler = handlers.find(command);
    if (handler == handlers.end())
        violation(QStringLiteral("unknown command %1").arg(command, 4, 16, QLatin1Char('0')));
    else
        (this->*handler->second)(command);
}

bool BoardSimulator::refusedOutsideProgramming(const char *what)
{
    std::lock_guard lock(m_mutex);
    if (!m_programmingMode)
        violation(QStringLiteral("%1 outside programming mode").arg(QLatin1String(what)));
    return !m_programmingMode;
}

void BoardSimulator::handleInfo(std::uint16_t)
{
    QByteArray block;
    {
        std::lock_guard lock(m_mutex);
        block = infoBlock(m_info);
    }
    sendPhase(Phase::Answer, block, -1, InfoSize - 2);
}

void BoardSimulator::handleSignature(std::uint16_t)
{
    QByteArray answer;
    {
        std::lock_guard lock(m_mutex);
        answer = QByteArray(reinterpret_cast<const char *>(m_signature.data()), 3);
    }
    appendCrc(answer);
    answer.append(char(refusedOutsideProgramming("signature read") ? StatusError : StatusOk));
    sendPhase(Phase::Answer, answer, 5, 3);
}

void BoardSimulator::handleSimpleStatus(std::uint16_t)
{
    {
        // Leaving programming mode and a reset pulse both end programming mode.
        std::lock_guard lock(m_mutex);
        m_programmingMode = false;
    }
    sendStatus(Phase::Status, StatusOk);
}

void BoardSimulator::handleRequestWithStatus(std::uint16_t command)
{
    QByteArray p;
    if (!receiveRequest(PayloadLength.at(command), p))
        return;
    std::uint8_t status = StatusOk;
    if (command == ChipErase && refusedOutsideProgramming("chip erase"))
        status = StatusError;
    {
        std::lock_guard lock(m_mutex);
        switch (command) {
        case EnterProgramming:
            if (std::uint8_t(p[0]) > MaxSpeedIndex) {
                status = StatusError;
                break;
            }
            m_programmingMode = true;
            break;
        case ChipErase:
            if (status != StatusOk)
                break;
            m_flash.bytes.fill(char(0xFF));
            m_eeprom.bytes.fill(char(0xFF));
            m_fuses[LockByte] = 0xFF;
            break;
        case TargetPower:
            if (p != QByteArray("\xAB\xCD", 2) && p != QByteArray("\x08\x09", 2))
                status = StatusError;
            break;
        case SetCurrentLimits:
            m_info.currentWarn = word(p, 0);
            m_info.currentBreak = word(p, 2);
            break;
        case SetOscillator:
            m_info.oscillator = std::uint8_t(p[0]);
            break;
        }
    }
    sendStatus(Phase::Status, status);
}

void BoardSimulator::handleReadFuse(std::uint16_t command)
{
    QByteArray p;
    if (!receiveRequest(PayloadLength.at(command), p))
        return;
    const int index = fuseIndex(p);
    const bool refused = refusedOutsideProgramming("fuse read") || index < 0;
    // A status forced to 0 for an unknown instruction still has no fuse to answer with.
    if (sendStatus(Phase::Status, refused ? StatusError : StatusOk) != StatusOk || index < 0)
        return;
    QByteArray answer(1, char(fuse(FuseIndex(index))));
    appendCrc(answer);
    sendPhase(Phase::Answer, answer, -1, 1);
}

void BoardSimulator::handleWriteFuse(std::uint16_t command)
{
    QByteArray p;
    if (!receiveRequest(PayloadLength.at(command), p, 2))
        return;
    const int index = fuseIndex(p.mid(4, 4), p.left(4));
    QByteArray answer("\xFF\xFF", 2);
    const bool refused = refusedOutsideProgramming("fuse write");
    {
        std::lock_guard lock(m_mutex);
        if (!refused && index >= 0) {
            const auto i = std::size_t(index);
            m_fuses[i] = std::uint8_t((std::uint8_t(p[8]) & ~m_stuckMask[i]) | (m_stuckValue[i] & m_stuckMask[i]));
            answer[0] = char(StatusOk);
            answer[1] = char(m_fuses[i]);
        }
    }
    sendPhase(Phase::Answer, answer, 0);
}

bool BoardSimulator::decodePage(bool flash, const QByteArray &p, int &address, int &bytes)
{
    std::lock_guard lock(m_mutex);
    Memory &memory = flash ? m_flash : m_eeprom;
    const int size = flash ? int(longAt(p, 6) * 2) : word(p, 3);
    bytes = flash ? word(p, 0) * 2 : std::uint8_t(p[0]);
    address = flash ? int(longAt(p, 2) * 2) : word(p, 1);
    if (m_acceptAnySize && size != memory.bytes.size())
        memory.bytes = QByteArray(size, char(0xFF));
    QString problem;
    if (size != memory.bytes.size())
        problem = QStringLiteral("memory size %1 where the device has %2").arg(size).arg(memory.bytes.size());
    else if (bytes <= 0 || bytes > MaxPageBytes || address % bytes != 0 || address + bytes > size)
        problem = QStringLiteral("page of %1 bytes at %2").arg(bytes).arg(address);
    else if (!m_programmingMode)
        problem = QStringLiteral("page command outside programming mode");
    if (problem.isEmpty())
        return true;
    violation(QStringLiteral("%1: %2").arg(m_exchanges.back().command, 4, 16).arg(problem));
    return false;
}

bool BoardSimulator::acceptPageRequest(std::uint16_t command, int &address, int &bytes)
{
    QByteArray p;
    if (!receiveRequest(PayloadLength.at(command), p))
        return false;
    const bool usable = decodePage(command == WriteFlash || command == ReadFlash, p, address, bytes);
    return sendStatus(Phase::Status, usable ? StatusOk : StatusError) == StatusOk;
}

void BoardSimulator::handlePageWrite(std::uint16_t command)
{
    const bool flash = command == WriteFlash;
    int address = 0;
    int bytes = 0;
    if (!acceptPageRequest(command, address, bytes))
        return;
    const std::optional<Fault> unplug = faultFor(Phase::PageData);
    const int expected = bytes + 2;
    const QByteArray block = m_pty.read(unplug ? std::min(unplug->arg, expected) : expected, RequestByteTimeoutMs);
    record([&](Exchange &e) { e.pageBlock = block; });
    if (unplug) {
        m_pty.hangUp();
        return;
    }
    if (block.size() < expected) {
        violation(QStringLiteral("page block incomplete (%1 of %2 bytes)").arg(block.size()).arg(expected));
        return;
    }
    if (!crcFits(block)) {
        violation(QStringLiteral("page CRC wrong at %1").arg(address));
        sendStatus(Phase::PageStatus, StatusCrcError);
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        (flash ? m_flash : m_eeprom).bytes.replace(address, bytes, block.left(bytes));
    }
    sendStatus(Phase::PageStatus, StatusOk);
}

void BoardSimulator::handlePageRead(std::uint16_t command)
{
    const bool flash = command == ReadFlash;
    int address = 0;
    int bytes = 0;
    if (!acceptPageRequest(command, address, bytes))
        return;
    QByteArray block;
    {
        std::lock_guard lock(m_mutex);
        const Memory &memory = flash ? m_flash : m_eeprom;
        block = memory.bytes.mid(address, bytes);
        for (const auto &[at, value] : memory.corruptOnRead) {
            if (at >= address && at < address + bytes)
                block[at - address] = char(value);
        }
    }
    appendCrc(block);
    sendPhase(Phase::Answer, block, -1, bytes);
}
