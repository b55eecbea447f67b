#pragma once

#include <array>

// Which operations the programming pages offer, as a pure function of the
// state they depend on. The main window reads the state, asks the rule and
// sets each control's own enabled flag from the answer.

// The automatic-run steps in the order the run and the rule test them.
enum AutoStep {
    CheckSignatureStep, EraseChipStep, ProgramFlashStep, VerifyFlashStep,
    ProgramEepromStep, VerifyEepromStep, ProgramFuseStep, ProgramLockStep,
    AutoStepCount
};

struct ImageState {
    bool loaded = false;
    bool misfit = true;
};

struct ControlState {
    int targetMode = 0;         // 0 none, 1 development board, 2 module
    bool deviceChosen = false;  // an entry of the current mode's device list is chosen
    ImageState flash;
    ImageState eeprom;
    std::array<bool, AutoStepCount> autoTicked{};
};

struct ControlEnabling {
    // Which page's controls the rule sets; the other page keeps its state.
    enum class Page { None, Board, Module };
    Page page = Page::None;
    bool flash = false;   // write and verify the flash image
    bool eeprom = false;  // write and verify the EEPROM image
    bool device = false;  // read, erase, signature, fuses and lock: a device is enough
    std::array<bool, AutoStepCount> autoStep{};  // each automatic-run box
    bool startAuto = false;  // some box is both ticked and enabled

    bool operator==(const ControlEnabling &) const = default;
};

ControlEnabling EnableControls(const ControlState &state);
