// The enabling rule of the programming pages, over its inputs.
#include "ControlRules.h"

#include <gtest/gtest.h>

namespace {
using Page = ControlEnabling::Page;
constexpr ImageState None{false, true}, Fits{true, false}, Misfit{true, true};
constexpr unsigned tick(AutoStep step) { return 1u << step; }

struct Row {
    const char *name;
    int mode;
    bool device;
    ImageState flash, eeprom;
    unsigned ticks;
    Page page;
    bool flashOps, eepromOps, deviceOps, start;
} const Rows[] = {
    {"no target changes nothing", 0, true, Fits, Fits, tick(ProgramFlashStep), Page::None, 0, 0, 0, 0},
    {"no device disables all", 1, false, Fits, Fits, tick(CheckSignatureStep), Page::Board, 0, 0, 0, 0},
    {"a flash step without image", 1, true, None, None, tick(ProgramFlashStep), Page::Board, 0, 0, 1, 0},
    {"and erasing too", 1, true, None, None, tick(ProgramFlashStep) | tick(EraseChipStep), Page::Board, 0, 0, 1, 1},
    {"a misfit counts as none", 1, true, Misfit, Fits, tick(VerifyFlashStep), Page::Board, 0, 1, 1, 0},
    {"the EEPROM with its image", 1, true, None, Fits, tick(ProgramEepromStep), Page::Board, 0, 1, 1, 1},
    {"fuse bits alone", 1, true, None, None, tick(ProgramFuseStep), Page::Board, 0, 0, 1, 1},
    {"nothing ticked", 1, true, Fits, Fits, 0, Page::Board, 1, 1, 1, 0},
    {"module: erase needs the module alone", 2, true, None, Misfit, 0, Page::Module, 0, 0, 1, 0},
    {"module: images that fit", 2, true, Fits, Fits, 0, Page::Module, 1, 1, 1, 0},
};
}

TEST(ControlRules, EnableOnlyWhatTheStateAllows)
{
    for (const Row &row : Rows) {
        ControlState state{row.mode, row.device, row.flash, row.eeprom, {}};
        for (int step = 0; step < AutoStepCount; ++step)
            state.autoTicked[step] = row.ticks & (1u << step);
        ControlEnabling expected{row.page, row.flashOps, row.eepromOps, row.deviceOps, {}, row.start};
        if (row.page == Page::Board)
            expected.autoStep = {row.deviceOps, row.deviceOps, row.flashOps, row.flashOps,
                                 row.eepromOps, row.eepromOps, row.deviceOps, row.deviceOps};
        EXPECT_EQ(EnableControls(state), expected) << row.name;
    }
}
