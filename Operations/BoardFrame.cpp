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

// Open the link, read the device information, check the board.
void openLink(const TLogProc &log, FrameState &state)
{
    state.ok = ProgUSB->Open();
    state.ok = state.ok && ReadDeviceInfo(log);
    state.ok = state.ok && CheckDevice(log);
}

void openSteps(FrameKind kind, const TModul &modul, const TLogProc &log, FrameState &state)
{
    openLink(log, state);
    if (kind == FrameKind::SignatureCheck) {
        state.ok = state.ok && SetTargetPower(true, log);
        state.powered = state.ok;
    }
    state.ok = state.ok && EnterProgrammingMode(modul, log);
    state.entered = state.ok;
    if (kind != FrameKind::AutoProgram)
        state.ok = state.ok && CheckSignature(modul, log);
}

void closingStep(const TLogProc &log, const std::function<void()> &step)
{
    QString ignored;
    RunLoggingErrors(log, ignored, step);
}

void closeSteps(FrameKind kind, const TLogProc &log, const FrameState &state)
{
    const auto switchOff = [&] { closingStep(log, [&] { SetTargetPower(false, log); }); };
    if (state.entered)
        closingStep(log, [&] { LeaveProgrammingMode(log); });
    else if (kind == FrameKind::AutoProgram)
        switchOff();
    if (state.ok)
        closingStep(log, [&] { ApplyPowerOption(log); });
    else if (kind != FrameKind::SignatureCheck || state.powered)
        switchOff();
    ProgUSB->Close();
}

class RunningMark {
public:
    RunningMark() { frameRunning = true; }
    ~RunningMark() { frameRunning = false; }
    RunningMark(const RunningMark &) = delete;
    RunningMark &operator=(const RunningMark &) = delete;
};

// A frame's shape: its opening steps, the operation, and its closing steps,
// which run whatever happened.
BoardResult runFrame(const TLogProc &log, const std::function<void(FrameState &)> &open,
                     const std::function<bool()> &operation, const std::function<void(bool ok)> &beforeClosing,
                     const std::function<void(const FrameState &)> &close)
{
    BoardResult result;
    if (frameRunning)
        return result;
    const RunningMark mark;
    FrameState state;
    const bool finished = RunLoggingErrors(log, result.error, [&] {
        open(state);
        if (state.ok && operation)
            state.ok = operation();
        if (beforeClosing)
            beforeClosing(state.ok);
    });
    state.ok = state.ok && finished;
    close(state);
    result.ok = state.ok;
    return result;
}
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

BoardResult RunBoardFrame(FrameKind kind, const TModul &modul, const TLogProc &log,
                          const std::function<bool()> &operation,
                          const std::function<void(bool ok)> &beforeClosing)
{
    return runFrame(
        log, [&](FrameState &state) { openSteps(kind, modul, log, state); }, operation, beforeClosing,
        [&](const FrameState &state) { closeSteps(kind, log, state); });
}

BoardResult RunResetFrame(const TLogProc &log)
{
    return runFrame(
        log,
        [&](FrameState &state) {
            openLink(log, state);
            state.ok = state.ok && ResetTarget(log);
        },
        {}, {}, [](const FrameState &) { ProgUSB->Close(); });
}
