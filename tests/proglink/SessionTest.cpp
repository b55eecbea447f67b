// A whole board operation as the main window strings the routines together:
// the frames reach the board in order and the log reads as the user sees it.
#include "ProgLinkFixture.h"

#include "DeviceInterface.h"
#include "HexContainer.h"
#include "ProgUSB.h"
#include "SerialPort.h"

TEST_F(ProgLinkTest, WritingTheFlashWithEraseAndVerifyRunsTheWholeFrame)
{
    window.powerOption = 1;
    const TModul modul = target();
    THexContainer image;
    makeImage(image, modul.FlashSize, {{0, QByteArray(256, char(0x12))}});
    const TLogProc log = [this](TFontStyles styles, TColor colour, const QString &text) {
        window.addLogLine(styles, colour, text);
    };

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
    EXPECT_TRUE(sim->violations().isEmpty()) << sim->violations().join('\n').toStdString();
}

TEST_F(ProgLinkTest, AnUnpluggedBoardLeavesTheClosingStepsHarmless)
{
    sim->addFault({CMD_READ_SIGNATURE, BoardSimulator::Phase::Answer, BoardSimulator::Action::HangUp});
    const TModul modul = target();
    ASSERT_TRUE(ProgUSB->Open());
    ASSERT_TRUE(EnterProgrammingMode(modul, logger()));
    bool failed = false;
    try {
        CheckSignature(modul, logger());
    } catch (const SerialIoError &) {
        failed = true;
    }
    EXPECT_TRUE(failed);
    EXPECT_FALSE(LeaveProgrammingMode(logger()));
    EXPECT_FALSE(SetTargetPower(false, logger()));
    ProgUSB->Close();
    EXPECT_EQ(window.log.mid(window.log.size() - 2),
              (QList<LogLine> {line(clGray, 3003), line(clBlack, QString())}));
    // The board comes back: the next operation opens it afresh.
    useBoard(32768, 1024);
    ASSERT_TRUE(ProgUSB->Open());
    EXPECT_TRUE(ReadDeviceInfo(logger()));
}
