#include "AutoProgram.h"

#include "DeviceInterface.h"
#include "FuseOperations.h"

namespace {
// The ticked steps; the first that fails ends the run.
bool runSteps(const TModul &modul, const BoardSnapshot &snapshot, const BoardReport &report)
{
    const AutoProgramSteps &steps = snapshot.autoSteps;
    const TLogProc &log = report.log;
    ProgressBar &bar = report.progress;
    return (!steps.checkSignature || CheckSignature(modul, log))
        && (!steps.eraseChip || ChipErase(modul, log))
        && (!steps.programFlash || WriteFlash(modul, snapshot.flashImage, bar, log))
        && (!steps.verifyFlash || VerifyFlash(modul, snapshot.flashImage, bar, log))
        && (!steps.programEeprom || WriteEeprom(modul, snapshot.eepromImage, bar, log))
        && (!steps.verifyEeprom || VerifyEeprom(modul, snapshot.eepromImage, bar, log))
        && (!steps.programFuses || WriteFuseBytes(modul, snapshot.fuses, log))
        && (!steps.programLock || WriteLockByte(modul, snapshot.fuses, log));
}
}

BoardResult RunAutoProgram(const BoardSnapshot &snapshot, const BoardReport &report)
{
    BoardResult result;
    if (BoardOperationRunning() || !snapshot.modul)
        return result;
    const TModul &modul = *snapshot.modul;
    bool confirmed = true;
    if (snapshot.autoSteps.programFuses
        && !RunLoggingErrors(report.log, result.error,
                             [&] { confirmed = ConfirmFuseWarning(modul, snapshot.fuses, report.prompts); }))
        return result;
    if (!confirmed)
        return result;
    return RunBoardFrame(FrameKind::AutoProgram, modul, report.log,
                         [&] { return runSteps(modul, snapshot, report); });
}
