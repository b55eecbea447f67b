#include "BoardFrame.h"

#include "DeviceInterface.h"
#include "DeviceInterfaceFrame.h"
#include "Exceptions.h"
#include "ProgUSB.h"
#include "SerialPort.h"

namespace {
bool frameRunning = false;

// The step flags of one frame.
struct FrameState {
    bool ok = false;
    bool entered = false;  // programming mode was entered
    bool powered = false;  // the target voltage came on (signature check only)
};

void openSteps(FrameKind kind, const TModul *modul, const TLogProc &log, FrameState &state)
{
    state.ok = ProgUSB->Open();
    state.ok = state.ok && ReadDeviceInfo(log);
    state.ok = state.ok && CheckDevice(log);
    if (kind == FrameKind::ResetTarget) {
        state.ok = state.ok && ResetTarget(log);
        return;
    }
    if (kind == FrameKind::SignatureCheck) {
        state.ok = state.ok && SetTargetPower(true, log);
        state.powered = state.ok;
    }
    state.ok = state.ok && EnterProgrammingMode(*modul, log);
    state.entered = state.ok;
    if (kind != FrameKind::AutoProgram)
        state.ok = state.ok && CheckSignature(*modul, log);
}

void closingStep(const TLogProc &log, const std::function<void()> &step)
{
    QString ignored;
    RunLoggingErrors(log, ignored, step);
}

void closeSteps(FrameKind kind, const TLogProc &log, const FrameState &state)
{
    const auto switchOff = [&] { closingStep(log, [&] { SetTargetPower(false, log); }); };
    if (kind != FrameKind::ResetTarget) {
        if (state.entered)
            closingStep(log, [&] { LeaveProgrammingMode(log); });
        else if (kind == FrameKind::AutoProgram)
            switchOff();
        if (state.ok)
            closingStep(log, [&] { ApplyPowerOption(log); });
        else if (kind != FrameKind::SignatureCheck || state.powered)
            switchOff();
    }
    ProgUSB->Close();
}

class RunningMark {
public:
    RunningMark() { frameRunning = true; }
    ~RunningMark() { frameRunning = false; }
    RunningMark(const RunningMark &) = delete;
    RunningMark &operator=(const RunningMark &) = delete;
};
}

bool RunLoggingErrors(const TLogProc &log, QString &error, const std::function<void()> &work)
{
    try {
        work();
        return true;
    } catch (const SerialIoError &e) {
        // The link has logged it and closed the port.
        error = QString::fromLocal8Bit(e.what());
        return false;
    } catch (const Exception &e) {
        error = e.message();
    } catch (const std::exception &e) {
        error = QString::fromLocal8Bit(e.what());
    }
    frame::logLine(log, 0, clRed, error);
    return false;
}

bool BoardOperationRunning()
{
    return frameRunning;
}

BoardResult RunBoardFrame(FrameKind kind, const TModul *modul, const TLogProc &log,
                          const std::function<bool()> &operation,
                          const std::function<void(bool ok)> &beforeClosing)
{
    BoardResult result;
    if (frameRunning)
        return result;
    const RunningMark mark;
    FrameState state;
    const bool finished = RunLoggingErrors(log, result.error, [&] {
        openSteps(kind, modul, log, state);
        if (state.ok && operation)
            state.ok = operation();
        if (beforeClosing)
            beforeClosing(state.ok);
    });
    state.ok = state.ok && finished;
    closeSteps(kind, log, state);
    result.ok = state.ok;
    return result;
}
