// The target system and the port in use.
#include "uMain.h"

#include "HexView.h"
#include "LayoutHelpers.h"
#include "Modul.h"
#include "NavigationList.h"
#include "ScreenCursor.h"
#include "TargetSystemCombo.h"
#include "Utils.h"

#include <QAction>
#include <QComboBox>

namespace {
using SettingsSection::ProgramOptions;
}

void TMainFrm::setupTargetList()
{
    cbb_Targetsystem->addTarget(QStringLiteral("Zefa Development Board (Rev1)"),
                                ResourcePicture(QStringLiteral("Target_Board.png")));
    cbb_Targetsystem->addTarget(QStringLiteral("Mikrocontrollermodul"),
                                ResourcePicture(QStringLiteral("Target_Module.png")));
    cbb_Targetsystem->setCurrentIndex(-1);
}

void TMainFrm::SetTargetMode(int mode)
{
    if (mode != TargetMode) {
        TargetMode = mode;
        vst_Auswahl->setNodeVisible(NodeSeparator, false);
        for (int node = NodeDevice; node < NavigationList::NodeCount; ++node)
            vst_Auswahl->setNodeEnabled(node, mode == BoardTarget || mode == ModuleTarget);
    }
    vst_Auswahl->viewport()->update();
}

void TMainFrm::cbb_TargetsystemChange()
{
    {
        HourglassGuard hourglass;
        const int index = cbb_Targetsystem->currentIndex();
        Utility->IniWrite(ProgramOptions, QStringLiteral("Targetsystem"), index);
        SetTargetMode(index == 0 ? BoardTarget : ModuleTarget);
        // The device lists' change handlers reload loaded images against the new device.
        const bool imageLoaded = FlashImage.ImageLoaded || EepromImage.ImageLoaded;
        QComboBox *list = TargetMode == BoardTarget ? cbb_Microcontroller : cbb_MicrocontrollerModule;
        if (list->currentIndex() >= 0 && imageLoaded)
            emit list->activated(list->currentIndex());
        Action_BoardSettings->setEnabled(TargetMode == BoardTarget);
    }
    // Another list's device is the selected one now.
    vst_Flash->imageChanged();
    vst_EEprom->imageChanged();
    UpdateControls();
    vst_Auswahl->viewport()->update();
}

int TMainFrm::SelectedFlashSize() const
{
    const TModul *device = SelectedDefinition();
    return device ? device->FlashSize : 0;
}

int TMainFrm::SelectedEepromSize() const
{
    const TModul *device = SelectedDefinition();
    return device ? device->EEPromSize : 0;
}
