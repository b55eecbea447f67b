// Whichever step fails or raises, a board operation runs its closing steps:
// programming mode left when it was entered, the target switched off after a
// failure, the link closed, and nothing left running.
#include "OperationsFixture.h"

#include "ProgUSB.h"
#include "Utils.h"

namespace {
using Phase = BoardSimulator::Phase;
using Action = BoardSimulator::Action;

struct Scene {
    BoardSimulator &sim;
    BoardSnapshot &snapshot;
    ScriptedPrompts &prompts;
};
using Arrange = std::function<void(Scene &)>;
using Act = std::function<BoardResult(const BoardSnapshot &, const BoardReport &)>;

// How the operation ends: Quiet ones open nothing and log nothing; Raises
// ones end in an error with exactly one red line.
enum Ending { Fails, Succeeds, Raises, Quiet };

struct FrameCase {
    const char *name;
    Act act;
    Arrange arrange;
    QString trace;
    Ending ending = Fails;
};

Act manual(BoardOperation operation)
{
    return [operation](const BoardSnapshot &s, const BoardReport &r) { return RunBoardOperation(operation, s, r); };
}
const Act autoRun = [](const BoardSnapshot &s, const BoardReport &r) {
    BoardSnapshot all = s;
    all.autoSteps = {true, true, true, true, true, true, true, true};
    return RunAutoProgram(all, r);
};
const Act writeFuses = WriteFuses;

const Arrange none = [](Scene &) {};
const Arrange noPort = [](Scene &) { CurrentComPort = QStringLiteral("/nonexistent/tty"); };
const Arrange noModul = [](Scene &s) { s.snapshot.modul.reset(); };
const Arrange badInfo = [](Scene &s) { s.sim.addFault({CMD_GET_INFO, Phase::Answer, Action::CorruptCrc}); };
const Arrange bootloader = [](Scene &s) { s.sim.setInfo({.state = 2}); };
const Arrange otherChip = [](Scene &s) { s.sim.setSignature(0x1E9801); };
const Arrange flashMismatch = [](Scene &s) { s.sim.setCorruptOnRead(true, 5, 0); };
const Arrange eepromMismatch = [](Scene &s) { s.sim.setCorruptOnRead(false, 6, 0); };
const Arrange lowStuck = [](Scene &s) { s.sim.setFuseStuckBits(BoardSimulator::LowFuse, 0x80, 0); };
const Arrange lockStuck = [](Scene &s) { s.sim.setFuseStuckBits(BoardSimulator::LockByte, 0x01, 1); };
const Arrange lockNotHex = [](Scene &s) { s.snapshot.fuses.lock = QStringLiteral("XZ"); };
const Arrange spienOff = [](Scene &s) {
    s.snapshot.modul->FuseHigh5 = QStringLiteral("SPIEN");
    s.snapshot.fuses.high = QStringLiteral("FF");
    s.prompts.goOn = false;
};
Arrange refuse(std::uint16_t command, int occurrence = 0)
{
    return [=](Scene &s) { s.sim.addFault({command, Phase::Status, Action::Value, 255, occurrence}); };
}
Arrange refusePage(std::uint16_t command)
{
    return [=](Scene &s) { s.sim.addFault({command, Phase::PageStatus, Action::Value, 2}); };
}
Arrange unplug(std::uint16_t command, Phase phase, int occurrence)
{
    return [=](Scene &s) { s.sim.addFault({command, phase, Action::HangUp, 40, occurrence}); };
}

const QString autoPrefix = QStringLiteral("info enter sig erase wflash*2 rflash*256 weep*2 reep*256");

const FrameCase frameCases[] = {
    {"EraseSucceeds", manual(BoardOperation::ChipErase), none, "info enter sig erase leave", Succeeds},
    {"EraseWithoutPort", manual(BoardOperation::ChipErase), noPort, ""},
    {"EraseWithoutMicrocontroller", manual(BoardOperation::ChipErase), noModul, "", Quiet},
    {"EraseUnreadableInfo", manual(BoardOperation::ChipErase), badInfo, "info off"},
    {"EraseBoardInBootloader", manual(BoardOperation::ChipErase), bootloader, "info off"},
    {"EraseNoProgrammingMode", manual(BoardOperation::ChipErase), refuse(CMD_ENTER_PROGRAMMING), "info enter off"},
    {"EraseSignatureMismatch", manual(BoardOperation::ChipErase), otherChip, "info enter sig leave off"},
    {"EraseRefused", manual(BoardOperation::ChipErase), refuse(CMD_CHIP_ERASE), "info enter sig erase leave off"},
    {"EraseUnplugged", manual(BoardOperation::ChipErase), unplug(CMD_CHIP_ERASE, Phase::Status, 1),
     "info enter sig erase", Raises},
    {"SignatureSucceeds", manual(BoardOperation::CheckSignature), none, "info on enter sig leave", Succeeds},
    {"SignatureBoardInBootloader", manual(BoardOperation::CheckSignature), bootloader, "info"},
    {"SignaturePowerRefused", manual(BoardOperation::CheckSignature), refuse(CMD_TARGET_POWER, 1), "info on"},
    {"SignatureNoProgrammingMode", manual(BoardOperation::CheckSignature), refuse(CMD_ENTER_PROGRAMMING),
     "info on enter off"},
    {"SignatureMismatch", manual(BoardOperation::CheckSignature), otherChip, "info on enter sig leave off"},
    {"ResetSucceeds", manual(BoardOperation::ResetTarget), noModul, "info reset", Succeeds},
    {"ResetBoardInBootloader", manual(BoardOperation::ResetTarget), bootloader, "info"},
    {"ResetRefused", manual(BoardOperation::ResetTarget), refuse(CMD_RESET_TARGET), "info reset"},
    {"WriteFlashPageRefused", manual(BoardOperation::WriteFlash), refusePage(CMD_WRITE_FLASH),
     "info enter sig wflash leave off"},
    {"WriteFlashUnpluggedInAPage", manual(BoardOperation::WriteFlash), unplug(CMD_WRITE_FLASH, Phase::PageData, 2),
     "info enter sig wflash*2", Raises},
    {"VerifyFlashMismatch", manual(BoardOperation::VerifyFlash), flashMismatch, "info enter sig rflash*256 leave off"},
    {"WriteFusesReadBackDiffers", writeFuses, lowStuck, "info enter sig wfuse leave off"},
    {"WriteFusesWarningAborted", writeFuses, spienOff, "", Quiet},
    {"AutoAllSteps", autoRun, none, autoPrefix + " wfuse*4 leave", Succeeds},
    {"AutoWithoutPort", autoRun, noPort, ""},
    {"AutoBoardInBootloader", autoRun, bootloader, "info off*2"},
    {"AutoNoProgrammingMode", autoRun, refuse(CMD_ENTER_PROGRAMMING), "info enter off*2"},
    {"AutoSignatureMismatch", autoRun, otherChip, "info enter sig leave off"},
    {"AutoEraseRefused", autoRun, refuse(CMD_CHIP_ERASE), "info enter sig erase leave off"},
    {"AutoFlashPageRefused", autoRun, refusePage(CMD_WRITE_FLASH), "info enter sig erase wflash leave off"},
    {"AutoFlashVerifyMismatch", autoRun, flashMismatch, "info enter sig erase wflash*2 rflash*256 leave off"},
    {"AutoEepromPageRefused", autoRun, refusePage(CMD_WRITE_EEPROM),
     "info enter sig erase wflash*2 rflash*256 weep leave off"},
    {"AutoEepromVerifyMismatch", autoRun, eepromMismatch,
     "info enter sig erase wflash*2 rflash*256 weep*2 reep*256 leave off"},
    {"AutoFuseReadBackDiffers", autoRun, lowStuck, autoPrefix + " wfuse leave off"},
    {"AutoLockReadBackDiffers", autoRun, lockStuck, autoPrefix + " wfuse*4 leave off"},
    {"AutoLockTextNotHexadecimal", autoRun, lockNotHex, autoPrefix + " wfuse*3 leave off", Raises},
    {"AutoWarningAborted", autoRun, spienOff, "", Quiet},
};
}

class FrameTest : public OperationsTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(FrameTest, ClosesWhateverHappened)
{
    const FrameCase &c = GetParam();
    Scene scene {*sim, snapshot, prompts};
    c.arrange(scene);
    const BoardResult result = c.act(snapshot, report());
    EXPECT_EQ(trace().toStdString(), c.trace.toStdString());
    EXPECT_EQ(result.ok, c.ending == Succeeds);
    EXPECT_EQ(result.error.isEmpty(), c.ending != Raises) << result.error.toStdString();
    if (c.ending == Raises) {
        EXPECT_EQ(redLines(), 1) << logTexts().join(u'|').toStdString();
    }
    // Quiet: nothing logged; otherwise the link's closing lines end the log.
    EXPECT_EQ(logTexts().mid(window.log.size() - 2), (c.ending == Quiet ? QStringList() : QStringList {T(3003), ""}));
    EXPECT_FALSE(ProgUSB->IsOpen());
    EXPECT_FALSE(BoardOperationRunning());
    expectNoViolations();
}

INSTANTIATE_TEST_SUITE_P(Operations, FrameTest, ::testing::ValuesIn(frameCases),
                         [](const auto &info) { return std::string(info.param.name); });
