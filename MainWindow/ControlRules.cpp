#include "ControlRules.h"

namespace {
constexpr int BoardMode = 1;
constexpr int ModuleMode = 2;

bool usable(const ImageState &image, bool deviceChosen)
{
    return deviceChosen && image.loaded && !image.misfit;
}
}

ControlEnabling EnableControls(const ControlState &state)
{
    ControlEnabling enabling;
    if (state.targetMode == BoardMode)
        enabling.page = ControlEnabling::Page::Board;
    else if (state.targetMode == ModuleMode)
        enabling.page = ControlEnabling::Page::Module;
    else
        return enabling;

    enabling.flash = usable(state.flash, state.deviceChosen);
    enabling.eeprom = usable(state.eeprom, state.deviceChosen);
    enabling.device = state.deviceChosen;
    if (enabling.page == ControlEnabling::Page::Module)
        return enabling;

    enabling.autoStep = {enabling.device, enabling.device, enabling.flash, enabling.flash,
                         enabling.eeprom, enabling.eeprom, enabling.device, enabling.device};
    for (int step = 0; step < AutoStepCount; ++step)
        enabling.startAuto = enabling.startAuto || (state.autoTicked[step] && enabling.autoStep[step]);
    return enabling;
}
