// The module page: its six jobs on a plug-in module's bootloader, and the
// busy state that keeps the window still while one runs.
#include "uMain.h"

#include "Bootloader.h"
#include "ModuleJobs.h"
#include "PortChooser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QMenuBar>
#include <QToolButton>

namespace {
// A job's step and its result share one line: its open writes end no line.
class WindowJobLog : public ModuleJobLog {
public:
    explicit WindowJobLog(TMainFrm &window) : m_window(window) {}
    void addLog(TFontStyles styles, TColor colour, const QString &text) override
    {
        m_window.AddLog(styles, colour, text, false);
    }
    void addLogLine(TFontStyles styles, TColor colour, const QString &text) override
    {
        m_window.AddLogLine(styles, colour, text);
    }

private:
    TMainFrm &m_window;
};

// Runs one job with the window busy and the pressed button disabled. The busy
// state ends before the device operation does, so that a reload check put off
// during the job sees the window idle and runs at once.
void runJob(TMainFrm &window, ModuleJob job, QToolButton *pressed)
{
    const DeviceOperationScope operation(window);
    const ModuleJobBusy busy([&window, pressed](bool enabled) {
        window.SetModuleControlsEnabled(enabled);
        pressed->setEnabled(enabled);
    });
    const QComboBox *modules = window.cbb_MicrocontrollerModule;
    const TModul *chosen = TMainFrm::DefinitionAt(modules, modules->currentIndex());
    QCheckBox *startBox = window.chk_Module_StartApplication;
    WindowJobLog log(window);
    runModuleJob(ModuleJobSnapshot::take(job, chosen, window.FlashImage, window.EepromImage,
                                         window.chk_Module_VerifyFlash->isChecked(),
                                         window.chk_Module_VerifyEeprom->isChecked(),
                                         [startBox] { return startBox->isChecked(); }),
                 *Bootloader, log);
}
}

void TMainFrm::SetModuleControlsEnabled(bool Value)
{
    grp_ProgFlash->setEnabled(Value);
    grp_ProgEEProm->setEnabled(Value);
    OperationIdle = Value;
    menuBar()->setEnabled(Value);
    ComboBox1->setEnabled(Value);
}

void TMainFrm::btn_Module_FlashEraseClick()
{
    runJob(*this, ModuleJob::EraseFlash, btn_Module_FlashErase);
}

void TMainFrm::btn_Module_ProgramFlashClick()
{
    runJob(*this, ModuleJob::ProgramFlash, btn_Module_ProgramFlash);
}

void TMainFrm::btn_Module_VerifyFlashClick()
{
    runJob(*this, ModuleJob::VerifyFlash, btn_Module_VerifyFlash);
}

void TMainFrm::btn_Module_EepromEraseClick()
{
    runJob(*this, ModuleJob::EraseEeprom, btn_Module_EepromErase);
}

void TMainFrm::btn_Module_ProgramEepromClick()
{
    runJob(*this, ModuleJob::ProgramEeprom, btn_Module_ProgramEeprom);
}

void TMainFrm::btn_Module_VerifyEepromClick()
{
    runJob(*this, ModuleJob::VerifyEeprom, btn_Module_VerifyEeprom);
}
