// Every user action of the main window reaches its handler through the one error guard.
#include "uMain.h"

#include "ExceptionGuard.h"
#include "TargetSystemCombo.h"

#include <QAction>
#include <QToolButton>

namespace {
template <typename Sender, typename Signal>
void connectGuarded(Sender *sender, Signal signal, TMainFrm *window, void (TMainFrm::*handler)())
{
    QObject::connect(sender, signal, window, [window, handler] { Guarded([&] { (window->*handler)(); }); });
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
}
