// Every user action of the main window reaches its handler through the one error guard.
#include "uMain.h"

#include "ExceptionGuard.h"
#include "NavigationList.h"
#include "TargetSystemCombo.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
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
    // The development board's operations, the fuse and lock edits and the bit editor.
    using Handler = void (TMainFrm::*)();
    const std::pair<QPushButton *, Handler> boardButtons[] = {
        {btn_ChipErase, &TMainFrm::btn_ChipEraseClick},
        {btn_CheckSignature, &TMainFrm::btn_CheckSignatureClick},
        {btn_ResetTarget, &TMainFrm::btn_ResetTargetClick},
        {btn_ReadFlash, &TMainFrm::btn_ReadFlashClick},
        {btn_ReadEEprom, &TMainFrm::btn_ReadEEpromClick},
        {btn_VerifyFlash, &TMainFrm::btn_VerifyFlashClick},
        {btn_VerifyEEprom, &TMainFrm::btn_VerifyEEpromClick},
        {btn_WriteFlash, &TMainFrm::btn_WriteFlashClick},
        {btn_WriteEEprom, &TMainFrm::btn_WriteEEpromClick},
        {btn_StartAutoProgram, &TMainFrm::btn_StartAutoProgramClick},
        {btn_ReadFuse, &TMainFrm::btn_ReadFuseClick},
        {btn_FuseRead, &TMainFrm::btn_ReadFuseClick},
        {btn_ReadLock, &TMainFrm::btn_ReadLockClick},
        {btn_LockRead, &TMainFrm::btn_ReadLockClick},
        {btn_WriteFuse, &TMainFrm::btn_WriteFuseClick},
        {btn_WriteLock, &TMainFrm::btn_WriteLockClick},
        {btn_FuseDefault, &TMainFrm::btn_FuseDefaultClick},
        {btn_LockDefault, &TMainFrm::btn_LockDefaultClick},
        {btn_OK, &TMainFrm::btn_OKClick},
        {btn_Abort, &TMainFrm::btn_AbortClick},
    };
    for (const auto &[button, handler] : boardButtons)
        connectGuarded(button, &QPushButton::clicked, this, handler);
    const std::pair<QToolButton *, Handler> bitButtons[] = {
        {btn_ChangeLow, &TMainFrm::btn_ChangeLowClick},
        {btn_ChangeHigh, &TMainFrm::btn_ChangeHighClick},
        {btn_ChangeExtended, &TMainFrm::btn_ChangeExtendedClick},
        {btn_ChangeLock, &TMainFrm::btn_ChangeLockClick},
    };
    for (const auto &[button, handler] : bitButtons)
        connectGuarded(button, &QToolButton::clicked, this, handler);
    const std::pair<QLineEdit *, Handler> byteEdits[] = {
        {edt_FuseBitsLow, &TMainFrm::edt_FuseBitsLowChange},
        {edt_FuseBitsHigh, &TMainFrm::edt_FuseBitsHighChange},
        {edt_FuseBitsExtendet, &TMainFrm::edt_FuseBitsExtendetChange},
        {edt_LockBits, &TMainFrm::edt_LockBitsChange},
    };
    for (const auto &[edit, handler] : byteEdits)
        connectGuarded(edit, &QLineEdit::textChanged, this, handler);
    setupFuseEdits();

    // The programming page shows the enabling of the moment it comes to the front.
    connect(vst_Auswahl, &NavigationList::nodeFocused, this, [this](int node) {
        if (node == NodeProgram)
            Guarded([this] { UpdateControls(); });
    });
}
