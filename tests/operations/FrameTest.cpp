// Every board operation end to end against the board simulator: the commands
// in order, the log as the user reads it, and the closing steps whichever
// step fails or raises (programming mode left when it was entered, the target
// switched off after a failure, the link closed, nothing left running).
#include "OperationsFixture.h"

#include "Utils.h"

namespace {
using Phase = BoardSimulator::Phase;
using Action = BoardSimulator::Action;

using Arrange = std::function<void(BoardSimulator &, BoardSnapshot &, ScriptedPrompts &)>;
using Act = std::function<BoardResult(const BoardSnapshot &, const BoardReport &)>;

// Quiet: nothing opened, nothing logged. Raises: an error with exactly one red line.
enum Ending { Fails, Succeeds, Raises, Quiet };

struct FrameCase {
    const char *name;
    Act act;
    Arrange arrange;
    std::string trace;
    Ending ending = Fails;
    QStringList lines = {};  // when given: the whole log between the opening and the closing lines
};

Act manual(BoardOperation operation)
{
    return [operation](const BoardSnapshot &s, const BoardReport &r) { return RunBoardOperation(operation, s, r); };
}
const Act chipErase = manual(BoardOperation::ChipErase);
const Act signature = manual(BoardOperation::CheckSignature);
const Act writeFuses = WriteFuses;
const Act autoRun = RunAutoProgram;  // every step ticked

const Arrange none = [](auto &...) {};
const Arrange noPort = [](auto &...) { CurrentComPort = "/nonexistent/tty"; };
const Arrange noModul = [](auto &, auto &snapshot, auto &) { snapshot.modul.reset(); };
const Arrange holdsImages = [](auto &sim, auto &...) {  // the fixture's images
    sim.setMemory(true, 0, pattern(256, 1));
    sim.setMemory(false, 0, pattern(8, 2));
};
const Arrange bootloader = [](auto &sim, auto &...) { sim.setInfo({.state = 2}); };
const Arrange otherChip = [](auto &sim, auto &...) { sim.setSignature(0x1E9801); };
const Arrange flashMismatch = [](auto &sim, auto &...) { sim.setCorruptOnRead(true, 5, 0); };
const Arrange eepromMismatch = [](auto &sim, auto &...) { sim.setCorruptOnRead(false, 6, 0); };
const Arrange lowStuck = [](auto &sim, auto &...) { sim.setFuseStuckBits(BoardSimulator::LowFuse, 0x80, 0); };
const Arrange lockStuck = [](auto &sim, auto &...) { sim.setFuseStuckBits(BoardSimulator::LockByte, 0x01, 1); };
const Arrange lockNotHex = [](auto &, auto &snapshot, auto &) { snapshot.fuses.lock = "XZ"; };
// Program the flash and the lock byte, verify the EEPROM: the boxes left empty are skipped.
const Arrange someSteps = [](auto &sim, auto &snapshot, auto &) {
    sim.setMemory(false, 0, pattern(8, 2));
    snapshot.autoSteps = {.checkSignature = true, .programFlash = true, .verifyEeprom = true, .programLock = true};
};
const Arrange spienOffAborted = [](auto &, auto &snapshot, auto &prompts) {
    snapshot.modul->FuseHigh5 = "SPIEN";
    snapshot.fuses.high = "FF";
    prompts.goOn = false;
};
Arrange fault(std::uint16_t command, Phase phase, Action action, int arg = 255, int occurrence = 0)
{
    return [=](auto &sim, auto &...) { sim.addFault({command, phase, action, arg, occurrence}); };
}
Arrange refuse(std::uint16_t command, int occurrence = 0)
{
    return fault(command, Phase::Status, Action::Value, 255, occurrence);
}

const QStringList Opening = {"", "T3001", "T3010", "T3013 4 MHz (250ns)", "T3040: 1E950F"};
const QStringList Closing = {"T3011", "T3003", ""};
const std::string images = "info enter sig erase wflash*2 rflash*256 weep*2 reep*256";

const FrameCase frameCases[] = {
    {"WriteFlash", manual(BoardOperation::WriteFlash), none, "info enter sig erase wflash*2 rflash*256 leave", Succeeds,
     {"T3012", "T3051", "T3076", "T3050", "T3072"}},
    {"VerifyFlash", manual(BoardOperation::VerifyFlash), holdsImages, "info enter sig rflash*256 leave", Succeeds,
     {"T3050", "T3072"}},
    {"ReadFlash", manual(BoardOperation::ReadFlash), none, "info enter sig rflash*256 leave", Succeeds, {"T3052", "T3074"}},
    {"WriteEeprom", manual(BoardOperation::WriteEeprom), none, "info enter sig weep*2 reep*256 leave", Succeeds,
     {"T3055", "T3070", "T3053", "T3072"}},
    {"VerifyEeprom", manual(BoardOperation::VerifyEeprom), holdsImages, "info enter sig reep*256 leave", Succeeds,
     {"T3053", "T3072"}},
    {"ReadEeprom", manual(BoardOperation::ReadEeprom), none, "info enter sig reep*256 leave", Succeeds, {"T3054", "T3074"}},
    {"EraseWithoutMicrocontroller", chipErase, noModul, "", Quiet},
    {"EraseBoardInBootloader", chipErase, bootloader, "info off"},
    {"EraseNoProgrammingMode", chipErase, refuse(CMD_ENTER_PROGRAMMING), "info enter off"},
    {"EraseSignatureMismatch", chipErase, otherChip, "info enter sig leave off"},
    {"EraseUnplugged", chipErase, fault(CMD_CHIP_ERASE, Phase::Status, Action::HangUp), "info enter sig erase", Raises},
    {"SignatureSucceeds", signature, none, "info on enter sig leave", Succeeds},
    {"SignaturePowerRefused", signature, refuse(CMD_TARGET_POWER, 1), "info on"},
    {"SignatureMismatch", signature, otherChip, "info on enter sig leave off"},
    {"ResetTarget", manual(BoardOperation::ResetTarget), noModul, "info reset", Succeeds},
    {"WriteFlashUnpluggedInAPage", manual(BoardOperation::WriteFlash),
     fault(CMD_WRITE_FLASH, Phase::PageData, Action::HangUp, 40, 2), "info enter sig erase wflash*2", Raises},
    {"WriteFusesReadBackDiffers", writeFuses, lowStuck, "info enter sig wfuse leave off"},
    {"WriteFusesWarningAborted", writeFuses, spienOffAborted, "", Quiet},
    {"AutoAllSteps", autoRun, none, images + " wfuse*4 leave", Succeeds},
    {"AutoSomeSteps", autoRun, someSteps, "info enter sig wflash*2 reep*256 wfuse leave", Succeeds},
    {"AutoWithoutPort", autoRun, noPort, ""},
    {"AutoBoardInBootloader", autoRun, bootloader, "info off*2"},
    {"AutoNoProgrammingMode", autoRun, refuse(CMD_ENTER_PROGRAMMING), "info enter off*2"},
    {"AutoSignatureMismatch", autoRun, otherChip, "info enter sig leave off"},
    {"AutoEraseRefused", autoRun, refuse(CMD_CHIP_ERASE), "info enter sig erase leave off"},
    {"AutoFlashPageRefused", autoRun, fault(CMD_WRITE_FLASH, Phase::PageStatus, Action::Value, 2),
     "info enter sig erase wflash leave off"},
    {"AutoFlashVerifyMismatch", autoRun, flashMismatch, "info enter sig erase wflash*2 rflash*256 leave off"},
    {"AutoEepromPageRefused", autoRun, fault(CMD_WRITE_EEPROM, Phase::PageStatus, Action::Value, 2),
     "info enter sig erase wflash*2 rflash*256 weep leave off"},
    {"AutoEepromVerifyMismatch", autoRun, eepromMismatch, images + " leave off"},
    {"AutoFuseReadBackDiffers", autoRun, lowStuck, images + " wfuse leave off"},
    {"AutoLockReadBackDiffers", autoRun, lockStuck, images + " wfuse*4 leave off"},
    {"AutoLockTextNotHexadecimal", autoRun, lockNotHex, images + " wfuse*3 leave off", Raises},
    {"AutoWarningAborted", autoRun, spienOffAborted, "", Quiet},
};
}

class FrameTest : public OperationsTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(FrameTest, RunsInOrderAndClosesWhateverHappened)
{
    const FrameCase &c = GetParam();
    c.arrange(*sim, snapshot, prompts);
    const BoardResult result = c.act(snapshot, report());
    EXPECT_EQ(trace(), c.trace);
    EXPECT_EQ(result.ok, c.ending == Succeeds);
    EXPECT_EQ(result.error.isEmpty(), c.ending != Raises) << result.error.toStdString();
    // Quiet: nothing logged; otherwise the link's closing lines end the log.
    EXPECT_EQ(logTexts().mid(window.log.size() - 2), (c.ending == Quiet ? QStringList() : QStringList {T(3003), ""}));
    if (!c.lines.isEmpty()) {
        EXPECT_EQ(logTexts(), Opening + c.lines + Closing);
    }
    EXPECT_FALSE(ProgUSB->IsOpen());
    EXPECT_FALSE(BoardOperationRunning());
    expectNoViolations();
    if (c.ending == Raises) {
        EXPECT_EQ(std::count_if(window.log.begin(), window.log.end(), [](auto &l) { return l.colour == clRed; }), 1);
        useBoard(target().FlashSize, target().EEPromSize);  // plugged in again: the next run works
        EXPECT_TRUE(chipErase(snapshot, report()).ok);
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, FrameTest, ::testing::ValuesIn(frameCases),
                         [](const auto &info) { return std::string(info.param.name); });
