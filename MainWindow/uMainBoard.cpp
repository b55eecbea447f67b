// The operations on the development board, from their buttons: each handler
// takes a snapshot of the window, runs the operation (which never lets an
// error out), and applies what came back to the widgets.
#include "uMain.h"

#include "AutoProgram.h"
#include "FuseOperations.h"
#include "LogWriter.h"
#include "UiServices.h"
#include "Utils.h"
#include "u_MyMessageDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {
// The window's answers to an operation's questions.
class WindowPrompts : public BoardPrompts {
public:
    explicit WindowPrompts(QWidget *window) : m_window(window) {}
    bool confirmWarning(const WarningDialogTexts &t) override
    {
        return TMyMessageDlgFrm::ShowWarningDialog(t.heading, t.subHeading, t.body, t.yesText, t.abortText)
            != TMyMessageDlgFrm::mrCancel;
    }
    QString saveFileName(const SaveFileRequest &r) override
    {
        // The dialog's own overwrite prompt comes first; the operation asks again.
        return uiServices().saveFileName(m_window, {.title = r.title,
                                                    .filter = QtFileFilter(r.filter),
                                                    .folder = r.folder,
                                                    .defaultSuffix = r.defaultSuffix,
                                                    .confirmOverwrite = true});
    }
    bool warnYesNo(const QString &text) override { return uiServices().warnYesNo(m_window, text); }
    void showError(const QString &text) override
    {
        uiServices().showError(m_window, QApplication::applicationDisplayName(), text);
    }

private:
    QWidget *m_window;
};

// The operation's report: the window's log, its progress bar and its prompts.
struct WindowReport {
    explicit WindowReport(TMainFrm &window)
        : prompts(&window),
          report {[&window](TFontStyles styles, TColor colour, const QString &text) {
                      window.AddLogLine(styles, colour, text);
                  },
                  window.progressBar(), prompts}
    {
    }
    WindowPrompts prompts;
    BoardReport report;
};

// The page's six groups and the clicked button are off while it lives, also
// when an error passes.
class ControlsOff {
public:
    enum Order { GroupsFirst, ButtonFirst };
    ControlsOff(TMainFrm &window, QWidget *button, Order onAgain = GroupsFirst)
        : m_window(window), m_button(button), m_order(onAgain)
    {
        m_window.SetControlsEnabled(false);
        if (m_button)
            m_button->setEnabled(false);
    }
    ~ControlsOff()
    {
        if (m_button && m_order == ButtonFirst)
            m_button->setEnabled(true);
        m_window.SetControlsEnabled(true);
        if (m_button && m_order == GroupsFirst)
            m_button->setEnabled(true);
    }
    ControlsOff(const ControlsOff &) = delete;
    ControlsOff &operator=(const ControlsOff &) = delete;

private:
    TMainFrm &m_window;
    QWidget *m_button;
    Order m_order;
};

// Further controls are off while it lives; afterwards each gets its own
// state back, so that nothing a missing microcontroller keeps off comes on.
class HeldOff {
public:
    HeldOff(std::initializer_list<QWidget *> controls)
    {
        for (QWidget *control : controls) {
            m_states.push_back({control, control->isEnabledTo(control->parentWidget())});
            control->setEnabled(false);
        }
    }
    ~HeldOff()
    {
        for (const auto &[control, enabled] : m_states)
            control->setEnabled(enabled);
    }
    HeldOff(const HeldOff &) = delete;
    HeldOff &operator=(const HeldOff &) = delete;

private:
    std::vector<std::pair<QWidget *, bool>> m_states;
};

bool ownTick(const QCheckBox *box)
{
    return box->isChecked() && box->isEnabledTo(box->parentWidget());
}
}

void TMainFrm::SetControlsEnabled(bool value)
{
    for (QGroupBox *group : {GroupBox_Auto, GroupBox_ProgFlash, GroupBox_ProgEeprom, GroupBox_ProgFuse,
                             GroupBox_ProgLock, GroupBox_ProgCommon})
        group->setEnabled(value);
}

BoardSnapshot TMainFrm::TakeBoardSnapshot() const
{
    BoardSnapshot snapshot;
    if (const TModul *device = boardDefinition())
        snapshot.modul = *device;
    snapshot.flashImage = FlashImage;
    snapshot.eepromImage = EepromImage;
    snapshot.eraseBeforeWrite = chk_EraseDeviceBefor->isChecked();
    snapshot.verifyFlashAfterWrite = chk_ManualVerifyFlash->isChecked();
    snapshot.verifyEepromAfterWrite = chk_ManualVerifyEeprom->isChecked();
    snapshot.autoSteps = {chk_CheckSignature->isChecked(), ownTick(chk_EraseChip),   ownTick(chk_ProgramFlash),
                          ownTick(chk_VerifyFlash),        ownTick(chk_ProgramEEProm), ownTick(chk_VerifyEEProm),
                          ownTick(chk_ProgramFuseBits),    ownTick(chk_ProgramLockBits)};
    snapshot.fuses = {edt_FuseBitsLow->text(), edt_FuseBitsHigh->text(), edt_FuseBitsExtendet->text(),
                      edt_LockBits->text()};
    return snapshot;
}

void TMainFrm::runBoardOperation(QPushButton *button, BoardOperation operation)
{
    if (BoardOperationRunning())
        return;
    DeviceOperationScope scope(*this);
    ControlsOff off(*this, button,
                    operation == BoardOperation::CheckSignature ? ControlsOff::ButtonFirst : ControlsOff::GroupsFirst);
    WindowReport report(*this);
    RunBoardOperation(operation, TakeBoardSnapshot(), report.report);
}

void TMainFrm::btn_ChipEraseClick() { runBoardOperation(btn_ChipErase, BoardOperation::ChipErase); }
void TMainFrm::btn_CheckSignatureClick() { runBoardOperation(btn_CheckSignature, BoardOperation::CheckSignature); }
void TMainFrm::btn_ResetTargetClick() { runBoardOperation(btn_ResetTarget, BoardOperation::ResetTarget); }
void TMainFrm::btn_ReadFlashClick() { runBoardOperation(btn_ReadFlash, BoardOperation::ReadFlash); }
void TMainFrm::btn_ReadEEpromClick() { runBoardOperation(btn_ReadEEprom, BoardOperation::ReadEeprom); }
void TMainFrm::btn_VerifyFlashClick() { runBoardOperation(btn_VerifyFlash, BoardOperation::VerifyFlash); }
void TMainFrm::btn_VerifyEEpromClick() { runBoardOperation(btn_VerifyEEprom, BoardOperation::VerifyEeprom); }
void TMainFrm::btn_WriteFlashClick() { runBoardOperation(btn_WriteFlash, BoardOperation::WriteFlash); }
void TMainFrm::btn_WriteEEpromClick() { runBoardOperation(btn_WriteEEprom, BoardOperation::WriteEeprom); }

void TMainFrm::btn_StartAutoProgramClick()
{
    // Without a microcontroller not even the controls are switched.
    if (BoardOperationRunning() || !boardDefinition())
        return;
    DeviceOperationScope scope(*this);
    ControlsOff off(*this, btn_StartAutoProgram);
    WindowReport report(*this);
    RunAutoProgram(TakeBoardSnapshot(), report.report);
}

void TMainFrm::btn_ReadFuseClick()
{
    if (BoardOperationRunning())
        return;
    DeviceOperationScope scope(*this);
    ControlsOff off(*this, nullptr);
    // Neither the choice nor the bit editor may change the bytes being read.
    HeldOff held({btn_FuseRead, btn_FuseDefault, grp_LockBits, grp_Controller, btn_ChangeLow, btn_ChangeHigh,
                  btn_ChangeExtended});
    WindowReport report(*this);
    const FuseReadResult result = ReadFuses(TakeBoardSnapshot(), report.report);
    if (result.board.ok)
        applyFuseRead(result);
}

void TMainFrm::applyFuseRead(const FuseReadResult &result)
{
    const std::pair<const std::optional<QString> &, QLineEdit *> bytes[] = {
        {result.low, edt_FuseBitsLow}, {result.high, edt_FuseBitsHigh}, {result.ext, edt_FuseBitsExtendet}};
    for (const auto &[value, edit] : bytes) {
        if (value)
            edit->setText(*value);
    }
    const bool flags[2] = {result.spienOff, result.jtagenOff};
    ShowFuseWarning(flags);
    showFuseNote(FuseNote::Read);
}

void TMainFrm::btn_ReadLockClick()
{
    if (BoardOperationRunning())
        return;
    DeviceOperationScope scope(*this);
    ControlsOff off(*this, nullptr);
    HeldOff held({btn_LockRead, btn_LockDefault, grp_Controller, grp_FuseBits});
    WindowReport report(*this);
    const LockReadResult result = ReadLock(TakeBoardSnapshot(), report.report);
    if (result.board.ok)
        edt_LockBits->setText(result.lock);
}

void TMainFrm::btn_WriteFuseClick()
{
    if (BoardOperationRunning())
        return;
    DeviceOperationScope scope(*this);
    ControlsOff off(*this, btn_WriteFuse);
    WindowReport report(*this);
    WriteFuses(TakeBoardSnapshot(), report.report);
}

void TMainFrm::btn_WriteLockClick()
{
    if (BoardOperationRunning())
        return;
    DeviceOperationScope scope(*this);
    ControlsOff off(*this, btn_WriteLock);
    WindowReport report(*this);
    WriteLock(TakeBoardSnapshot(), report.report);
}
