// A whole board operation as the main window strings the routines together:
// the frames reach the board in order and the log reads as the user sees it.
#include "ProgLinkFixture.h"

#include "DeviceInterface.h"
#include "HexContainer.h"
#include "ProgUSB.h"

TEST_F(ProgLinkTest, WritingTheFlashWithEraseAndVerifyRunsTheWholeFrame)
{
    window.powerOption = 1;
    const TModul modul = target();
    THexContainer image;
    makeImage(image, modul.FlashSize, {{0, QByteArray(256, char(0x12))}});
    const TLogProc log = window.logProc();

    ASSERT_TRUE(ProgUSB->Open());
    ASSERT_TRUE(ReadDeviceInfo(log) && CheckDevice(log));
    ASSERT_TRUE(EnterProgrammingMode(modul, log));
    ASSERT_TRUE(CheckSignature(modul, log));
    ASSERT_TRUE(ChipErase(modul, log));
    ASSERT_TRUE(WriteFlash(modul, image, window.bar, log));
    ASSERT_TRUE(VerifyFlash(modul, image, window.bar, log));
    ASSERT_TRUE(LeaveProgrammingMode(log));
    ApplyPowerOption(log);
    ProgUSB->Close();

    QStringList texts;
    for (const LogLine &entry : window.log)
        texts << entry.text;
    EXPECT_EQ(texts, (QStringList {"", "T3001", "T3010", "T3013 4 MHz (250ns)", "T3040: 1E950F", "T3012", "T3051",
                                   "T3076", "T3050", "T3072", "T3011", "T4002", "T3003", ""}));
    std::vector<std::uint16_t> expected = {CMD_GET_INFO, CMD_ENTER_PROGRAMMING, CMD_READ_SIGNATURE, CMD_CHIP_ERASE,
                                           CMD_WRITE_FLASH, CMD_WRITE_FLASH};
    expected.insert(expected.end(), 256, CMD_READ_FLASH);
    expected.insert(expected.end(), {CMD_LEAVE_PROGRAMMING, CMD_TARGET_POWER});
    EXPECT_EQ(sim->commands(), expected);
    EXPECT_FALSE(sim->powered());
    expectNoViolations();
}
