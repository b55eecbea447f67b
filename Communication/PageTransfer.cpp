#include "DeviceInterface.h"

#include "DeviceInterfaceFrame.h"
#include "HexContainer.h"
#include "MainWindowLink.h"
#include "MemoryStream.h"
#include "Modul.h"
#include "ProgressBar.h"
#include "ProgUSB.h"

#include <optional>
#include <vector>

using frame::logLine;
using frame::text;

namespace {
constexpr int RequestStatusTimeout = 1000;  // status after a write request
constexpr int PageBlockTimeout = 1000;      // page block of a read
constexpr int SlowestSpiIndex = 10;
constexpr int WaitPerSpiStepMs = 1000;
constexpr int UnknownSpiWaitMs = 12000;
// The board's page buffer holds 521 bytes: the page and its CRC.
constexpr int MaxPageSize = 519;
// An EEPROM request carries the page size in one byte and addresses in two.
constexpr int MaxEepromPageSize = 0xFF;
constexpr int MaxEepromSize = 0xFFFF;

// What differs between the flash and the EEPROM routines.
struct Memory {
    bool flash;
    int size;
    int pageSize;
    int delay;
    std::uint16_t readCommand;
    std::uint16_t writeCommand;
    int textRead, textWrite, textWritten, textWriteFailed, textVerify;
    TFontStyles verifyStyle;
};

constexpr int TextVerifyFlash = 3050;
constexpr int TextWriteFlash = 3051;
constexpr int TextReadFlash = 3052;
constexpr int TextVerifyEeprom = 3053;
constexpr int TextReadEeprom = 3054;
constexpr int TextWriteEeprom = 3055;
constexpr int TextEepromWritten = 3070;
constexpr int TextEepromWriteFailed = 3071;
constexpr int TextVerifyOk = 3072;
constexpr int TextVerifyFailed = 3073;
constexpr int TextReadOk = 3074;
constexpr int TextReadFailed = 3075;
constexpr int TextFlashWritten = 3076;
// A definition whose geometry the frame cannot carry.
constexpr int TextPageSizeOutOfRange = 7304;
constexpr int TextFlashPageSizeOdd = 7305;
constexpr int TextEepromPageSizeTooLarge = 7306;
constexpr int TextMemorySizeOutOfRange = 7307;

// Digits of the address and of the bytes in the verify failure line.
constexpr int AddressDigits = 6;
constexpr int ByteDigits = 2;

Memory flashOf(const TModul &m)
{
    // A failed flash write reports the board's refusal, not a text of its own.
    return {true, m.FlashSize, m.FlashPageSize, m.FlashDelay, CMD_READ_FLASH, CMD_WRITE_FLASH,
            TextReadFlash, TextWriteFlash, TextFlashWritten, frame::TextCommandFailed, TextVerifyFlash, 0};
}

Memory eepromOf(const TModul &m)
{
    return {false, m.EEPromSize, m.EEPromPageSize, m.EEPromDelay, CMD_READ_EEPROM, CMD_WRITE_EEPROM,
            TextReadEeprom, TextWriteEeprom, TextEepromWritten, TextEepromWriteFailed, TextVerifyEeprom, fsBold};
}

int pageCount(const Memory &memory)
{
    return memory.size / memory.pageSize;
}

// Refuses geometry that the frame cannot carry, before anything is sent:
// a page of 0 bytes would divide by zero, an odd flash page or an EEPROM
// page over one byte would make host and board disagree on the block length.
bool geometryUsable(const Memory &memory, const TLogProc &log)
{
    QString problem;
    if (memory.pageSize <= 0 || memory.pageSize > MaxPageSize)
        problem = text(TextPageSizeOutOfRange).arg(memory.pageSize);
    else if (memory.flash && memory.pageSize % 2 != 0)
        problem = text(TextFlashPageSizeOdd).arg(memory.pageSize);
    else if (!memory.flash && memory.pageSize > MaxEepromPageSize)
        problem = text(TextEepromPageSizeTooLarge).arg(memory.pageSize).arg(MaxEepromPageSize);
    else if (memory.size < 0 || (!memory.flash && memory.size > MaxEepromSize))
        problem = text(TextMemorySizeOutOfRange).arg(memory.size);
    if (problem.isEmpty())
        return true;
    logLine(log, 0, clRed, problem);
    return false;
}

QByteArray pageRequest(const Memory &memory, int address, bool write)
{
    QByteArray payload;
    if (memory.flash) {
        frame::appendWord(payload, std::uint16_t(memory.pageSize / 2));
        frame::appendLong(payload, std::uint32_t(address / 2));
        frame::appendLong(payload, std::uint32_t(memory.size / 2));
    } else {
        payload.append(char(memory.pageSize & 0xFF));
        frame::appendWord(payload, std::uint16_t(address & 0xFFFF));
        frame::appendWord(payload, std::uint16_t(memory.size & 0xFFFF));
    }
    if (write)
        payload.append(char(memory.delay & 0xFF));
    return payload;
}

bool writePage(const Memory &memory, int address, const std::vector<std::uint8_t> &page, int pageWait)
{
    if (!frame::sendRequest(memory.writeCommand, pageRequest(memory, address, true))
        || ProgUSB->ReadStatus(RequestStatusTimeout) != STATUS_DB_OK)
        return false;
    const QByteArray block = frame::withCrc(QByteArray(reinterpret_cast<const char *>(page.data()), qsizetype(page.size())));
    return ProgUSB->Write(reinterpret_cast<const std::uint8_t *>(block.constData()), int(block.size()))
        && ProgUSB->ReadStatus(pageWait) == STATUS_DB_OK;
}

bool readPage(const Memory &memory, int address, int pageWait, TMemoryStream &stream)
{
    if (!frame::sendRequest(memory.readCommand, pageRequest(memory, address, false))
        || ProgUSB->ReadStatus(pageWait) != STATUS_DB_OK)
        return false;
    const QByteArray block = frame::readBlock(memory.pageSize + 2, PageBlockTimeout);
    if (block.isEmpty() || !frame::crcMatches(block))
        return false;
    stream.write(block.constData(), memory.pageSize);
    return true;
}

bool writeMemory(const Memory &memory, const THexContainer &image, ProgressBar &progress, const TLogProc &log)
{
    logLine(log, 0, clBlack, text(memory.textWrite));
    bool ok = geometryUsable(memory, log);
    // Outlives the closing line, which still shows how far the run got.
    std::optional<ProgressRun> run;
    if (ok) {
        const int pageWait = PageWaitTime();
        const int pages = pageCount(memory);
        run.emplace(&progress, pages);
        std::vector<std::uint8_t> page(std::size_t(memory.pageSize));
        for (int p = 0, address = 0; p < pages && ok; ++p, address += memory.pageSize) {
            const bool hasData = image.GetBytes(page.data(), memory.pageSize, address);
            run->step();
            if (hasData)
                ok = writePage(memory, address, page, pageWait);
        }
    }
    if (ok)
        logLine(log, 0, clGreen, text(memory.textWritten));
    else
        logLine(log, 0, clRed, text(memory.textWriteFailed));
    return ok;
}

bool readMemory(const Memory &memory, TMemoryStream &stream, ProgressBar &progress, bool verbose,
                const TLogProc &log)
{
    if (verbose)
        logLine(log, 0, clBlack, text(memory.textRead));
    stream.clear();
    bool ok = geometryUsable(memory, log);
    std::optional<ProgressRun> run;  // reset after the closing line, as in a write
    if (ok) {
        const int pageWait = PageWaitTime();
        const int pages = pageCount(memory);
        run.emplace(&progress, pages);
        for (int p = 0, address = 0; p < pages && ok; ++p, address += memory.pageSize) {
            run->step();
            ok = readPage(memory, address, pageWait, stream);
        }
    }
    if (!ok)
        logLine(log, 0, clRed, text(TextReadFailed));
    else if (verbose)
        logLine(log, 0, clGreen, text(TextReadOk));
    return ok;
}

bool verifyMemory(const Memory &memory, const THexContainer &image, ProgressBar &progress, const TLogProc &log)
{
    logLine(log, 0, clBlack, text(memory.textVerify));
    TMemoryStream stream;
    if (!readMemory(memory, stream, progress, false, log))
        return false;
    const QByteArray &device = stream.data();
    std::vector<std::uint8_t> page(std::size_t(memory.pageSize));
    for (int p = 0, address = 0; p < pageCount(memory); ++p, address += memory.pageSize) {
        image.GetBytes(page.data(), memory.pageSize, address);
        for (int j = 0; j < memory.pageSize; ++j) {
            const auto read = std::uint8_t(device[address + j]);
            if (read == page[std::size_t(j)])
                continue;
            logLine(log, memory.verifyStyle, clRed, text(TextVerifyFailed));
            logLine(log, memory.verifyStyle, clGray,
                    QStringLiteral("Address: 0x%1  Page: %2  Read Data: 0x%3  Hex File Data: 0x%4")
                        .arg(frame::hexText(std::uint32_t(address + j), AddressDigits))
                        .arg(p)
                        .arg(frame::hexText(read, ByteDigits))
                        .arg(frame::hexText(page[std::size_t(j)], ByteDigits)));
            return false;
        }
    }
    logLine(log, 0, clGreen, text(TextVerifyOk));
    return true;
}
}

int PageWaitTime()
{
    const MainWindowLink *window = mainWindowLink();
    const int index = window ? window->spiSpeedIndex() : -1;
    if (index < 0 || index > SlowestSpiIndex)
        return UnknownSpiWaitMs;
    return (index + 2) * WaitPerSpiStepMs;
}

bool ReadFlash(const TModul &modul, TMemoryStream &stream, ProgressBar &progress, bool verbose, const TLogProc &log)
{
    return readMemory(flashOf(modul), stream, progress, verbose, log);
}

bool ReadEeprom(const TModul &modul, TMemoryStream &stream, ProgressBar &progress, bool verbose, const TLogProc &log)
{
    return readMemory(eepromOf(modul), stream, progress, verbose, log);
}

bool WriteFlash(const TModul &modul, const THexContainer &image, ProgressBar &progress, const TLogProc &log)
{
    return writeMemory(flashOf(modul), image, progress, log);
}

bool WriteEeprom(const TModul &modul, const THexContainer &image, ProgressBar &progress, const TLogProc &log)
{
    return writeMemory(eepromOf(modul), image, progress, log);
}

bool VerifyFlash(const TModul &modul, const THexContainer &image, ProgressBar &progress, const TLogProc &log)
{
    return verifyMemory(flashOf(modul), image, progress, log);
}

bool VerifyEeprom(const TModul &modul, const THexContainer &image, ProgressBar &progress, const TLogProc &log)
{
    return verifyMemory(eepromOf(modul), image, progress, log);
}
