// The memory operations of the bootloader link: erase, program and verify
// the module's flash and EEPROM page by page, and start its application.
#include "Bootloader.h"

#include "Delays.h"
#include "HexContainer.h"
#include "MainWindowLink.h"
#include "Modul.h"
#include "ProgressBar.h"

#include <QCoreApplication>

#include <array>

namespace {
constexpr std::uint8_t CarriageReturn = 0x0D;
// The module needs a moment between a flash block frame and its data.
constexpr int FlashDataPauseMs = 20;

ProgressBar *mainProgressBar()
{
    MainWindowLink *window = mainWindowLink();
    return window ? &window->progressBar() : nullptr;
}
}

bool tKalworksBootloader::UsablePageSize(int pageSize, bool flash)
{
    return pageSize > 0 && pageSize <= PageBufferSize && !(flash && pageSize % 2 != 0);
}

// How an operation walks through one memory's pages.
struct tKalworksBootloader::PageWalk {
    char memory;             // 'F' or 'E' in the block frames
    int pages;
    int pageSize;
    std::uint32_t step;      // byte address from one page to the next
    bool skipsEmptyPages;    // pages all "FF" in the image get no block
    int pauseBeforeDataMs;   // window messages run in this pause, else after each page

    static PageWalk flash(const TModul &modul)
    {
        // The module counts flash in words; the byte address is twice the word address.
        const int wordsPerPage = modul.FlashPageSize / 2;
        return {'F', modul.FlashSize / modul.FlashPageSize, modul.FlashPageSize,
                std::uint32_t(2 * wordsPerPage), true, FlashDataPauseMs};
    }
    static PageWalk eeprom(const TModul &modul)
    {
        return {'E', modul.EEPromSize / modul.EEPromPageSize, modul.EEPromPageSize,
                std::uint32_t(modul.EEPromPageSize), false, 0};
    }
};

bool tKalworksBootloader::WaitForCr(int timeoutMs)
{
    std::uint8_t answer = 0;
    return Read(&answer, 1, timeoutMs) && answer == CarriageReturn;
}

// Inside the page loops a request that did not go out shows as a missing
// answer, so the results of the writes are not examined.
bool tKalworksBootloader::SendAddress(std::uint32_t address)
{
    const std::uint8_t frame[] = {'I', 'A', std::uint8_t(address >> 16), std::uint8_t(address >> 8),
                                  std::uint8_t(address)};
    Write(frame, sizeof frame);
    return WaitForCr(m_timeouts.address);
}

bool tKalworksBootloader::SendBlockFrame(char command, int length, char memory)
{
    const std::uint8_t frame[] = {'I', std::uint8_t(command), std::uint8_t(length >> 8), std::uint8_t(length),
                                  std::uint8_t(memory)};
    return Write(frame, sizeof frame);
}

bool tKalworksBootloader::EraseMemory(char command, int answers, int timeoutMs)
{
    ProgressRun bar(mainProgressBar(), answers);
    const std::uint8_t request[] = {'I', std::uint8_t(command)};
    Write(request, sizeof request);
    for (int i = 0; i < answers; ++i) {
        const bool answered = WaitForCr(timeoutMs);
        bar.done(i + 1);
        QCoreApplication::processEvents();
        if (!answered)
            return false;
    }
    return true;
}

bool tKalworksBootloader::EraseFlash(const TModul &modul)
{
    if (!UsablePageSize(modul.FlashPageSize, true))
        return false;
    return EraseMemory('N', modul.FlashSize / modul.FlashPageSize, m_timeouts.flashEraseCr);
}

bool tKalworksBootloader::EraseEeprom(const TModul &modul)
{
    // The module answers every erased EEPROM byte.
    return EraseMemory('U', modul.EEPromSize, m_timeouts.eepromEraseCr);
}

bool tKalworksBootloader::ProgramPages(const PageWalk &walk, const THexContainer &image)
{
    ProgressRun bar(mainProgressBar(), walk.pages);
    std::array<std::uint8_t, PageBufferSize> page {};
    std::uint32_t address = 0;
    for (int p = 0; p < walk.pages; ++p, address += walk.step) {
        bool ok = SendAddress(address);
        if (ok) {
            const bool hasData = image.GetBytes(page.data(), walk.pageSize, int(address));
            if (hasData || !walk.skipsEmptyPages) {
                SendBlockFrame('B', walk.pageSize, walk.memory);
                if (walk.pauseBeforeDataMs > 0)
                    Delay(walk.pauseBeforeDataMs);
                Write(page.data(), walk.pageSize);
                ok = WaitForCr(m_timeouts.programBlock);
            }
        }
        bar.done(p + 1);
        if (walk.pauseBeforeDataMs == 0)
            QCoreApplication::processEvents();
        if (!ok)
            return false;
    }
    return true;
}

bool tKalworksBootloader::VerifyPages(const PageWalk &walk, const THexContainer &image)
{
    ProgressRun bar(mainProgressBar(), walk.pages);
    std::array<std::uint8_t, PageBufferSize> expected {};
    std::array<std::uint8_t, PageBufferSize> actual {};
    std::uint32_t address = 0;
    for (int p = 0; p < walk.pages; ++p, address += walk.step) {
        bool ok = SendAddress(address);
        if (ok) {
            const bool hasData = image.GetBytes(expected.data(), walk.pageSize, int(address));
            if (hasData || !walk.skipsEmptyPages) {
                SendBlockFrame('g', walk.pageSize, walk.memory);
                ok = Read(actual.data(), walk.pageSize, m_timeouts.readBlock);
                for (int i = 0; ok && i < walk.pageSize; ++i) {
                    if (expected[i] != actual[i]) {
                        VerifyErrorText = QString::asprintf("Address %.5d: buffer value: 0x%.2X, read value: 0x%.2X",
                                                            int(address) + i, expected[i], actual[i]);
                        ok = false;
                    }
                }
            }
        }
        bar.done(p + 1);
        QCoreApplication::processEvents();
        if (!ok)
            return false;
    }
    return true;
}

bool tKalworksBootloader::ProgramFlash(const TModul &modul, const THexContainer &image)
{
    return UsablePageSize(modul.FlashPageSize, true) && ProgramPages(PageWalk::flash(modul), image);
}

bool tKalworksBootloader::VerifyFlash(const TModul &modul, const THexContainer &image)
{
    VerifyErrorText.clear();
    return UsablePageSize(modul.FlashPageSize, true) && VerifyPages(PageWalk::flash(modul), image);
}

bool tKalworksBootloader::ProgramEeprom(const TModul &modul, const THexContainer &image)
{
    return UsablePageSize(modul.EEPromPageSize, false) && ProgramPages(PageWalk::eeprom(modul), image);
}

bool tKalworksBootloader::VerifyEeprom(const TModul &modul, const THexContainer &image)
{
    VerifyErrorText.clear();
    return UsablePageSize(modul.EEPromPageSize, false) && VerifyPages(PageWalk::eeprom(modul), image);
}

bool tKalworksBootloader::StartApplication()
{
    static constexpr std::uint8_t Request[] = {'I', 'E'};
    const bool sent = Write(Request, sizeof Request);
    std::uint8_t answer = 0;
    const bool answered = Read(&answer, 1, m_timeouts.start);
    return sent && answered && answer == CarriageReturn;
}
