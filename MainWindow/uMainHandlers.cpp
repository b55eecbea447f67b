// Every user action of the main window reaches its handler through the one error guard.
#include "uMain.h"

#include "ExceptionGuard.h"
#include "NavigationList.h"
#include "TargetSystemCombo.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QToolButton>

namespace {
template <typename Sender, typename Signal>
void connectGuarded(Sender *sender, Signal signal, TMainFrm *window, void (TMainFrm::*handler)())
{
    QObject::connect(sender, signal, window, [window, handler] { Guarded([&] { (window->*handler)(); }); });
}

// A recent-file chooser's user choice runs its handler with the chosen entry.
void connectChooser(QComboBox *chooser, TMainFrm *window,
                    void (TMainFrm::*handler)(const QString &))
{
    QObject::connect(chooser, &QComboBox::activated, window, [chooser, window, handler](int index) {
        Guarded([&] { (window->*handler)(chooser->itemText(index)); });
    });
}
}

void TMainFrm::connectHandlers()
{
    connectGuarded(ac_Close, &QAction::triggered, this, &TMainFrm::ac_CloseExecute);
    connectGuarded(ac_Options, &QAction::triggered, this, &TMainFrm::ac_OptionsExecute);
    connectGuarded(Action_BoardSettings, &QAction::triggered, this,
                   &TMainFrm::Action_BoardSettingsExecute);
    connectGuarded(ac_About, &QAction::triggered, this, &TMainFrm::ac_AboutExecute);
    connectGuarded(cbb_Targetsystem, &QComboBox::activated, this,
                   &TMainFrm::cbb_TargetsystemChange);
    connectGuarded(btn_ClearLog, &QToolButton::clicked, this, &TMainFrm::btn_ClearLogClick);
    connectGuarded(btn_SaveLog, &QToolButton::clicked, this, &TMainFrm::btn_SaveLogClick);

    connectGuarded(cbb_Microcontroller, &QComboBox::activated, this,
                   &TMainFrm::cbb_MicrocontrollerChange);
    connectGuarded(cbb_MicrocontrollerModule, &QComboBox::activated, this,
                   &TMainFrm::cbb_MicrocontrollerModuleChange);

    connectGuarded(btn_OpenFlashFile, &QPushButton::clicked, this, &TMainFrm::btn_OpenFlashFileClick);
    connectGuarded(btn_OpenEEprom, &QPushButton::clicked, this, &TMainFrm::btn_OpenEEpromClick);
    connectChooser(edt_FlashFile, this, &TMainFrm::edt_FlashFileChange);
    connectChooser(edt_EEProm, this, &TMainFrm::edt_EEPromChange);
    connectGuarded(btn_unloadFlash, &QPushButton::clicked, this, &TMainFrm::btn_unloadFlashClick);
    connectGuarded(btn_unloadEEProm, &QPushButton::clicked, this, &TMainFrm::btn_unloadEEPromClick);

    // The module page's jobs.
    connectGuarded(btn_Module_FlashErase, &QToolButton::clicked, this,
                   &TMainFrm::btn_Module_FlashEraseClick);
    connectGuarded(btn_Module_ProgramFlash, &QToolButton::clicked, this,
                   &TMainFrm::btn_Module_ProgramFlashClick);
    connectGuarded(btn_Module_VerifyFlash, &QToolButton::clicked, this,
                   &TMainFrm::btn_Module_VerifyFlashClick);
    connectGuarded(btn_Module_EepromErase, &QToolButton::clicked, this,
                   &TMainFrm::btn_Module_EepromEraseClick);
    connectGuarded(btn_Module_ProgramEeprom, &QToolButton::clicked, this,
                   &TMainFrm::btn_Module_ProgramEepromClick);
    connectGuarded(btn_Module_VerifyEeprom, &QToolButton::clicked, this,
                   &TMainFrm::btn_Module_VerifyEepromClick);

    // A box follows its tick at once, whoever set it.
    for (QCheckBox *box : AutoRunBoxes())
        connectGuarded(box, &QCheckBox::toggled, this, &TMainFrm::chk_CheckSignatureClick);
    // The programming page shows the enabling of the moment it comes to the front.
    connect(vst_Auswahl, &NavigationList::nodeFocused, this, [this](int node) {
        if (node == NodeProgram)
            Guarded([this] { UpdateControls(); });
    });
}
