// Which operations the programming pages offer, and the device operations'
// hold on the reload check.
#include "uMain.h"

#include "ExceptionGuard.h"

#include <QCheckBox>
#include <QPushButton>
#include <QToolButton>

namespace {
void enable(std::initializer_list<QWidget *> controls, bool enabled)
{
    for (QWidget *control : controls)
        control->setEnabled(enabled);
}
}

std::array<QCheckBox *, AutoStepCount> TMainFrm::AutoRunBoxes() const
{
    return {chk_CheckSignature, chk_EraseChip, chk_ProgramFlash, chk_VerifyFlash,
            chk_ProgramEEProm, chk_VerifyEEProm, chk_ProgramFuseBits, chk_ProgramLockBits};
}

void TMainFrm::UpdateControls()
{
    ControlState state;
    state.targetMode = TargetMode;
    state.deviceChosen = SelectedDefinition() != nullptr;
    state.flash = {FlashImage.ImageLoaded, FlashImage.ImageMisfit};
    state.eeprom = {EepromImage.ImageLoaded, EepromImage.ImageMisfit};
    const std::array<QCheckBox *, AutoStepCount> boxes = AutoRunBoxes();
    for (int step = 0; step < AutoStepCount; ++step)
        state.autoTicked[step] = boxes[step]->isChecked();

    const ControlEnabling enabling = EnableControls(state);
    if (enabling.page == ControlEnabling::Page::Board) {
        enable({btn_WriteFlash, btn_VerifyFlash}, enabling.flash);
        enable({btn_WriteEEprom, btn_VerifyEEprom}, enabling.eeprom);
        enable({btn_ReadFlash, btn_ReadEEprom, btn_WriteFuse, btn_ReadFuse, btn_WriteLock,
                btn_ReadLock, btn_ChipErase, btn_CheckSignature},
               enabling.device);
        for (int step = 0; step < AutoStepCount; ++step)
            boxes[step]->setEnabled(enabling.autoStep[step]);
        btn_StartAutoProgram->setEnabled(enabling.startAuto);
    } else if (enabling.page == ControlEnabling::Page::Module) {
        enable({btn_Module_ProgramFlash, btn_Module_VerifyFlash}, enabling.flash);
        enable({btn_Module_ProgramEeprom, btn_Module_VerifyEeprom}, enabling.eeprom);
        enable({btn_Module_FlashErase, btn_Module_EepromErase}, enabling.device);
    }
}

void TMainFrm::chk_CheckSignatureClick()
{
    UpdateControls();
}

void TMainFrm::BeginDeviceOperation()
{
    ++m_deviceOperations;
}

void TMainFrm::EndDeviceOperation()
{
    if (m_deviceOperations > 0)
        --m_deviceOperations;
    if (m_reloadCheckPending && !DeviceOperationRunning()) {
        m_reloadCheckPending = false;
        Guarded([this] { ApplicationActivated(); });
    }
}

bool TMainFrm::DeviceOperationRunning() const
{
    return m_deviceOperations > 0 || !OperationIdle;
}
