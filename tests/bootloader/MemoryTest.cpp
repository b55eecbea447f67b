// The memory operations on a connected module below what the module jobs
// show: the progress bar, the page sizes a frame can carry, and a read block
// that breaks off. The jobs' tests check every byte each operation sends and
// the first difference of a verify.
#include "BootloaderFixture.h"

#include "Utils.h"

using Action = ModuleSimulator::Action;
using Memory = ModuleSimulator::Memory;

namespace {
constexpr int BriefReadBlockMs = 100;

// The bar's positions through one run: 0, each page done, and 0 again.
QList<int> counted(int last)
{
    QList<int> positions;
    for (int position = 0; position <= last; ++position)
        positions << position;
    return positions << 0;
}
}

class Memories : public BootloaderTest {
protected:
    void SetUp() override
    {
        BootloaderTest::SetUp();
        openModuleInBootloader();
        // Flash data in pages 0 and 5 only; the other six pages stay empty.
        makeImage(image, 1024, {{0x000, page0}, {0x280, page5}});
    }

    const QByteArray page0 = pattern(128, 1);
    const QByteArray page5 = pattern(128, 99);
    THexContainer image;
};

TEST_F(Memories, ProgressCountsEveryPageAndStopsAtTheFirstFailure)
{
    sim.addFault({'B', 2, Action::Replace, '?'});
    EXPECT_FALSE(Bootloader->ProgramFlash(module(), image));
    ASSERT_TRUE(Bootloader->ProgramFlash(module(), image));
    EXPECT_EQ(mainWindow.bar.maximum(), 8);
    EXPECT_EQ(sim.memory(Memory::Flash), page0 + QByteArray(0x280 - 128, '\xFF') + page5 + QByteArray(256, '\xFF'));
    EXPECT_TRUE(Bootloader->EraseFlash(module()));
    sim.addFault({'N', 2, Action::Replace, 0x0A, 0, 3});
    EXPECT_FALSE(Bootloader->EraseFlash(module()));
    EXPECT_EQ(mainWindow.bar.positions, counted(6) + counted(8) + counted(8) + counted(3));
}

TEST_F(Memories, UnusablePageSizesAreRefusedBeforeAnythingIsSent)
{
    makeImage(image, 2048, {{0, page0}});
    for (const auto &[pageSize, flash] : {std::pair{0, true}, {-128, true}, {1, true}, {129, true}, {602, true},
                                          {0, false}, {-4, false}, {602, false}}) {
        TModul bad = module();
        (flash ? bad.FlashPageSize : bad.EEPromPageSize) = pageSize;
        bad.FlashSize = bad.EEPromSize = 2048;
        EXPECT_FALSE(flash ? Bootloader->EraseFlash(bad) || Bootloader->ProgramFlash(bad, image)
                                 || Bootloader->VerifyFlash(bad, image)
                           : Bootloader->ProgramEeprom(bad, image) || Bootloader->VerifyEeprom(bad, image))
            << pageSize;
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
    makeImage(image, 1202, {{0, pattern(1202, 8)}});
    EXPECT_TRUE(Bootloader->ProgramFlash(modul, image));
    EXPECT_TRUE(Bootloader->VerifyFlash(modul, image));
    EXPECT_TRUE(Bootloader->ProgramEeprom(modul, image));
    EXPECT_EQ(big.memory(Memory::Eeprom), pattern(1202, 8));
    EXPECT_TRUE(Bootloader->VerifyEeprom(modul, image));
    EXPECT_TRUE(big.violations().isEmpty());
}

TEST_F(Memories, ReadBlockThatBreaksOffFailsTheVerifyWithoutAText)
{
    // Only the broken block is waited out, briefly: an answer that a busy
    // machine makes late fails the verify all the same.
    BootloaderTimeouts brief = Bootloader->timeouts();
    brief.readBlock = BriefReadBlockMs;
    Bootloader->setTimeouts(brief);
    sim.fill(Memory::Flash, 0, page0);
    sim.addFault({'g', 1, Action::Truncate, 127});
    EXPECT_FALSE(Bootloader->VerifyFlash(module(), image));
    sim.addFault({'g', 2, Action::HangUp, 0, 0, 60});
    EXPECT_FALSE(Bootloader->VerifyFlash(module(), image));
    EXPECT_EQ(Bootloader->VerifyErrorText, "");
}
