// The memory operations on a connected module: the exact frames of erase,
// program, verify and start, the page rules, the progress bar, and the ways
// a module can fail them.
#include "BootloaderFixture.h"

#include "Utils.h"

#include <functional>

using Fault = ModuleSimulator::Fault;
using Action = ModuleSimulator::Action;
using Memory = ModuleSimulator::Memory;

namespace {
constexpr char Cr = 0x0D;
}

class Memories : public BootloaderTest {
protected:
    void SetUp() override
    {
        BootloaderTest::SetUp();
        openModuleInBootloader();
    }

    // Flash data in pages 0 and 5 only; the other six pages stay empty.
    void makeTwoPageFlash(THexContainer &image)
    {
        makeImage(image, 1024, {{0x000, page0}, {0x280, page5}});
    }

    // What a walk over `pages` pages sends: each page's address, then what `after` gives for it.
    static QByteArray walkFrames(int pages, std::uint32_t step, const std::function<QByteArray(int)> &after)
    {
        QByteArray frames;
        for (int page = 0; page < pages; ++page)
            frames += addressFrame(std::uint32_t(page) * step) + after(page);
        return frames;
    }

    const QByteArray page0 = pattern(128, 1);
    const QByteArray page5 = pattern(128, 99);
};

TEST_F(Memories, ProgramFlashSendsEveryAddressButBlocksOnlyForPagesWithData)
{
    THexContainer image;
    makeTwoPageFlash(image);
    ASSERT_TRUE(Bootloader->ProgramFlash(module(), image));

    EXPECT_EQ(sim.received(), walkFrames(8, 128, [&](int page) {
                  return page == 0 || page == 5 ? blockFrame('B', 128, 'F') + (page == 0 ? page0 : page5) : QByteArray();
              }));
    EXPECT_EQ(sim.memory(Memory::Flash).mid(0, 128), page0);
    EXPECT_EQ(sim.memory(Memory::Flash).mid(0x280, 128), page5);
    EXPECT_EQ(sim.memory(Memory::Flash).mid(128, 0x280 - 128), QByteArray(0x280 - 128, '\xFF'));
    for (const auto &exchange : sim.exchanges()) {
        if (exchange.request.startsWith("IB")) {
            EXPECT_GE(exchange.pauseBeforeDataMs, 15.0);  // the module's 20 ms before the data
        }
    }
    EXPECT_EQ(mainWindow.bar.maximum(), 8);
    EXPECT_EQ(mainWindow.bar.positions, QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 0}));
    EXPECT_TRUE(sim.violations().isEmpty());
}

TEST_F(Memories, VerifyFlashReadsBackOnlyThePagesWithData)
{
    THexContainer image;
    makeTwoPageFlash(image);
    sim.fill(Memory::Flash, 0, page0);
    sim.fill(Memory::Flash, 0x280, page5);
    sim.fill(Memory::Flash, 0x100, "stale data on an empty page");
    Bootloader->VerifyErrorText = "earlier";
    ASSERT_TRUE(Bootloader->VerifyFlash(module(), image));
    EXPECT_EQ(Bootloader->VerifyErrorText, "");

    EXPECT_EQ(sim.received(),
              walkFrames(8, 128, [](int page) { return page == 0 || page == 5 ? blockFrame('g', 128, 'F') : QByteArray(); }));
    EXPECT_EQ(mainWindow.bar.positions.last(), 0);
}

TEST_F(Memories, VerifyMismatchNamesTheFirstDifferingByte)
{
    THexContainer image;
    QByteArray data = page5;
    data[5] = '\x0C';
    makeImage(image, 1024, {{0x280, data}});
    sim.fill(Memory::Flash, 0x280, data);
    sim.setStuckByte(Memory::Flash, 0x285, 0xFF);
    sim.setStuckByte(Memory::Flash, 0x290, 0x00);  // a later difference is not reported
    EXPECT_FALSE(Bootloader->VerifyFlash(module(), image));
    EXPECT_EQ(Bootloader->VerifyErrorText, "Address 00645: buffer value: 0x0C, read value: 0xFF");
    EXPECT_EQ(mainWindow.bar.positions, QList<int>({0, 1, 2, 3, 4, 5, 6, 0}));
}

TEST_F(Memories, EepromMismatchAtALowAddressIsPaddedToFiveDigits)
{
    THexContainer image;
    makeImage(image, 512, {{36, QByteArray("\x11\x0C\x22\x33", 4)}});
    sim.fill(Memory::Eeprom, 36, QByteArray("\x11\xFF\x22\x33", 4));
    EXPECT_FALSE(Bootloader->VerifyEeprom(module(), image));
    EXPECT_EQ(Bootloader->VerifyErrorText, "Address 00037: buffer value: 0x0C, read value: 0xFF");
}

TEST_F(Memories, VerifyThatFailsWithoutADifferenceLeavesNoErrorText)
{
    THexContainer image;
    makeTwoPageFlash(image);
    Bootloader->VerifyErrorText = "earlier";
    sim.addFault({'A', 1, Action::Drop});
    EXPECT_FALSE(Bootloader->VerifyFlash(module(), image));
    EXPECT_EQ(Bootloader->VerifyErrorText, "");
    EXPECT_EQ(mainWindow.bar.positions, QList<int>({0, 1, 0}));

    Bootloader->VerifyErrorText = "earlier";
    sim.fill(Memory::Flash, 0, page0);
    sim.addFault({'g', 1, Action::Truncate, 127});
    EXPECT_FALSE(Bootloader->VerifyFlash(module(), image));
    EXPECT_EQ(Bootloader->VerifyErrorText, "");
}

TEST_F(Memories, EmptyEepromIsStillProgrammedAndComparedPageByPage)
{
    THexContainer image;
    makeImage(image, 512, {});
    sim.fill(Memory::Eeprom, 0, QByteArray(512, '\0'));
    ASSERT_TRUE(Bootloader->ProgramEeprom(module(), image));
    EXPECT_EQ(sim.received(), walkFrames(128, 4, [](int) { return blockFrame('B', 4, 'E') + QByteArray(4, '\xFF'); }));
    EXPECT_EQ(sim.memory(Memory::Eeprom), QByteArray(512, '\xFF'));
    EXPECT_EQ(mainWindow.bar.maximum(), 128);

    sim.clearRecords();
    ASSERT_TRUE(Bootloader->VerifyEeprom(module(), image));
    EXPECT_EQ(sim.received(), walkFrames(128, 4, [](int) { return blockFrame('g', 4, 'E'); }));
}

TEST_F(Memories, ProgramFailsAtTheFirstMissingOrWrongAnswer)
{
    THexContainer image;
    makeTwoPageFlash(image);
    sim.addFault({'B', 2, Action::Replace, '?'});
    EXPECT_FALSE(Bootloader->ProgramFlash(module(), image));
    EXPECT_EQ(mainWindow.bar.positions, QList<int>({0, 1, 2, 3, 4, 5, 6, 0}));
    EXPECT_EQ(sim.memory(Memory::Flash).mid(0, 128), page0);  // pages before the failure stay written

    sim.clearRecords();
    sim.addFault({'A', 3, Action::Answer, 0, 300});  // late: the host has given up by then
    EXPECT_FALSE(Bootloader->ProgramFlash(module(), image));
}

TEST_F(Memories, EraseFlashWaitsForOneCarriageReturnPerPage)
{
    sim.fill(Memory::Flash, 0, page0);
    EXPECT_TRUE(Bootloader->EraseFlash(module()));
    EXPECT_EQ(sim.received(), "IN");
    EXPECT_EQ(sim.exchanges().last().answer, QByteArray(8, Cr));
    EXPECT_EQ(sim.memory(Memory::Flash), QByteArray(1024, '\xFF'));
    EXPECT_EQ(mainWindow.bar.maximum(), 8);
    EXPECT_EQ(mainWindow.bar.positions, QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 0}));

    sim.addFault({'N', 2, Action::Replace, 0x0A, 0, 3});
    EXPECT_FALSE(Bootloader->EraseFlash(module()));
    EXPECT_EQ(mainWindow.bar.positions.mid(10), QList<int>({0, 1, 2, 3, 0}));
}

TEST_F(Memories, EraseEepromWaitsForOneCarriageReturnPerByte)
{
    EXPECT_TRUE(Bootloader->EraseEeprom(module()));
    EXPECT_EQ(sim.received(), "IU");
    EXPECT_EQ(mainWindow.bar.maximum(), 512);
    EXPECT_EQ(mainWindow.bar.positions.size(), 514);

    mainWindow.bar.positions.clear();
    sim.addFault({'U', 2, Action::Drop, 0, 0, 301});  // the module stops after 300 answers
    EXPECT_FALSE(Bootloader->EraseEeprom(module()));
    EXPECT_EQ(mainWindow.bar.positions.mid(mainWindow.bar.positions.size() - 2), QList<int>({301, 0}));
}

TEST_F(Memories, StartApplicationNeedsACarriageReturn)
{
    EXPECT_TRUE(Bootloader->StartApplication());
    EXPECT_EQ(sim.received(), "IE");
    EXPECT_FALSE(sim.inBootloader());

    sim.pressReset();
    sim.addFault({'E', 2, Action::Replace, 0x0A});
    EXPECT_FALSE(Bootloader->StartApplication());
    sim.pressReset();
    sim.addFault({'E', 3, Action::Drop});
    EXPECT_FALSE(Bootloader->StartApplication());
}

TEST_F(Memories, MemorySmallerThanAPageSendsNoFrame)
{
    TModul tiny = module();
    tiny.FlashSize = 100;
    tiny.EEPromSize = 3;
    THexContainer image;
    makeImage(image, 128, {{0, pattern(100, 5)}});
    EXPECT_TRUE(Bootloader->ProgramFlash(tiny, image));
    EXPECT_TRUE(Bootloader->VerifyFlash(tiny, image));
    EXPECT_TRUE(Bootloader->ProgramEeprom(tiny, image));
    EXPECT_TRUE(Bootloader->VerifyEeprom(tiny, image));
    EXPECT_TRUE(sim.received().isEmpty());
    EXPECT_TRUE(Bootloader->EraseFlash(tiny));  // "IN" goes out; no answer is awaited
    EXPECT_TRUE(sim.waitForReceived(2, 1000));
    EXPECT_EQ(sim.received(), "IN");
}

TEST_F(Memories, UnusablePageSizesAreRefusedBeforeAnythingIsSent)
{
    THexContainer image;
    makeImage(image, 2048, {{0, page0}});
    for (const int flashPage : {0, -128, 1, 129, 602}) {
        TModul bad = module();
        bad.FlashPageSize = flashPage;
        bad.FlashSize = 2048;
        EXPECT_FALSE(Bootloader->EraseFlash(bad)) << flashPage;
        EXPECT_FALSE(Bootloader->ProgramFlash(bad, image)) << flashPage;
        EXPECT_FALSE(Bootloader->VerifyFlash(bad, image)) << flashPage;
    }
    for (const int eepromPage : {0, -4, 602}) {
        TModul bad = module();
        bad.EEPromPageSize = eepromPage;
        bad.EEPromSize = 2048;
        EXPECT_FALSE(Bootloader->ProgramEeprom(bad, image)) << eepromPage;
        EXPECT_FALSE(Bootloader->VerifyEeprom(bad, image)) << eepromPage;
    }
    EXPECT_TRUE(sim.received().isEmpty());
    EXPECT_TRUE(mainWindow.bar.positions.isEmpty());
}

TEST_F(Memories, LargestPageTheFrameCarriesIsAccepted)
{
    ModuleSimulator big({600 * 2, 600, 601 * 2, 601});
    Bootloader->Close();
    CurrentComPort = big.portPath();
    big.setEntersBootloaderAfter(0);
    ASSERT_TRUE(Bootloader->Open());
    TModul modul = module();
    modul.FlashSize = 1200;
    modul.FlashPageSize = 600;
    modul.EEPromSize = 1202;
    modul.EEPromPageSize = 601;
    THexContainer image;
    makeImage(image, 1202, {{0, pattern(1202, 8)}});
    EXPECT_TRUE(Bootloader->ProgramFlash(modul, image));
    EXPECT_TRUE(Bootloader->VerifyFlash(modul, image));
    EXPECT_TRUE(Bootloader->ProgramEeprom(modul, image));
    EXPECT_EQ(big.memory(Memory::Eeprom), pattern(1202, 8));
    EXPECT_TRUE(Bootloader->VerifyEeprom(modul, image));
    EXPECT_TRUE(big.violations().isEmpty());
}

TEST_F(Memories, HangUpInTheMiddleFailsTheOperationAndTheLinkStillCloses)
{
    THexContainer image;
    makeTwoPageFlash(image);
    sim.addFault({'A', 3, Action::HangUp});
    EXPECT_FALSE(Bootloader->ProgramFlash(module(), image));
    EXPECT_EQ(mainWindow.bar.positions.last(), 0);
    EXPECT_FALSE(Bootloader->VerifyFlash(module(), image));
    EXPECT_FALSE(Bootloader->StartApplication());
    Bootloader->Close();
    EXPECT_FALSE(Bootloader->IsOpen());
}

TEST_F(Memories, HangUpHalfWayThroughAReadBlock)
{
    THexContainer image;
    makeTwoPageFlash(image);
    sim.fill(Memory::Flash, 0, page0);
    sim.addFault({'g', 1, Action::HangUp, 0, 0, 60});
    EXPECT_FALSE(Bootloader->VerifyFlash(module(), image));
    EXPECT_EQ(Bootloader->VerifyErrorText, "");
    Bootloader->Close();
}
