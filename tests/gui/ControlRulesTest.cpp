// The enabling rule of the programming pages, over its inputs.
#include "ControlRules.h"

#include <gtest/gtest.h>

namespace {
using Page = ControlEnabling::Page;
constexpr ImageState None{false, true}, Fits{true, false}, Misfit{true, true};
constexpr ImageState Stale{false, false};  // unloaded after a fitting load

std::array<bool, AutoStepCount> ticked(std::initializer_list<AutoStep> steps)
{
    std::array<bool, AutoStepCount> boxes{};
    for (AutoStep step : steps)
        boxes[step] = true;
    return boxes;
}

struct Row {
    const char *name;
    ControlState state;
    Page page;
    bool flash, eeprom, device, start;
};

const Row Rows[] = {
    {"no target changes nothing", {0, true, Fits, Fits, ticked({ProgramFlashStep})}, Page::None, false, false, false, false},
    {"no device disables all", {1, false, Fits, Fits, ticked({CheckSignatureStep, ProgramFlashStep})}, Page::Board, false, false, false, false},
    {"device without images: flash step alone", {1, true, None, None, ticked({ProgramFlashStep})}, Page::Board, false, false, true, false},
    {"device without images: erase too", {1, true, None, None, ticked({ProgramFlashStep, EraseChipStep})}, Page::Board, false, false, true, true},
    {"a misfit is as good as none", {1, true, Misfit, Fits, ticked({ProgramFlashStep, VerifyFlashStep})}, Page::Board, false, true, true, false},
    {"an unloaded image is not usable", {1, true, Stale, Stale, ticked({VerifyEepromStep})}, Page::Board, false, false, true, false},
    {"the EEPROM step with its image", {1, true, None, Fits, ticked({ProgramEepromStep})}, Page::Board, false, true, true, true},
    {"fuse bits alone start", {1, true, None, None, ticked({ProgramFuseStep})}, Page::Board, false, false, true, true},
    {"lock bits alone start", {1, true, Misfit, Misfit, ticked({ProgramLockStep})}, Page::Board, false, false, true, true},
    {"nothing ticked", {1, true, Fits, Fits, ticked({})}, Page::Board, true, true, true, false},
    {"module: erase with a module alone", {2, true, None, Misfit, ticked({})}, Page::Module, false, false, true, false},
    {"module: images that fit", {2, true, Fits, Fits, ticked({})}, Page::Module, true, true, true, false},
    {"module: no module", {2, false, Fits, Fits, ticked({})}, Page::Module, false, false, false, false},
};
}

TEST(ControlRules, EnableOnlyWhatTheStateAllows)
{
    for (const Row &row : Rows) {
        const ControlEnabling got = EnableControls(row.state);
        EXPECT_EQ(got.page, row.page) << row.name;
        EXPECT_EQ(got.flash, row.flash) << row.name;
        EXPECT_EQ(got.eeprom, row.eeprom) << row.name;
        EXPECT_EQ(got.device, row.device) << row.name;
        EXPECT_EQ(got.startAuto, row.start) << row.name;
        if (row.page == Page::Board) {
            const std::array<bool, AutoStepCount> steps = {row.device, row.device, row.flash, row.flash,
                                                           row.eeprom, row.eeprom, row.device, row.device};
            EXPECT_EQ(got.autoStep, steps) << row.name;
        }
    }
}
