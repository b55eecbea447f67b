#pragma once

// What a board operation works from, taken once when its button is clicked.
// The operation never looks at the main window's lists, images or edits
// again, so a change of the microcontroller, a reloaded image or an edited
// fuse value in the middle of a run cannot mix two devices. The SPI clock and
// the target-voltage option are not part of it: the link reads them through
// MainWindowLink at the step that sends them, while their controls are
// disabled or unchanged.

#include "HexContainer.h"
#include "Modul.h"

#include <QString>
#include <optional>

// The texts of the fuse and lock edits as they stand (hexadecimal digits;
// an empty text stands for 0).
struct FuseTexts {
    QString low;
    QString high;
    QString ext;
    QString lock;
};

// The automatic run's steps, in the order it runs them. Each is true when its
// box is checked and enabled; the signature step only asks for the tick.
struct AutoProgramSteps {
    bool checkSignature = false;
    bool eraseChip = false;
    bool programFlash = false;
    bool verifyFlash = false;
    bool programEeprom = false;
    bool verifyEeprom = false;
    bool programFuses = false;
    bool programLock = false;
};

struct BoardSnapshot {
    // A copy of the chosen microcontroller's definition; empty when none is chosen.
    std::optional<TModul> modul;
    // Copies of the two memory images, flags included.
    THexContainer flashImage;
    THexContainer eepromImage;
    // The manual operations' boxes: erase before writing the flash, verify
    // after writing the flash, verify after writing the EEPROM.
    bool eraseBeforeWrite = false;
    bool verifyFlashAfterWrite = false;
    bool verifyEepromAfterWrite = false;
    AutoProgramSteps autoSteps;
    FuseTexts fuses;

    // An image is usable when a file is loaded and it fits the chosen device.
    bool flashUsable() const { return flashImage.ImageLoaded && !flashImage.ImageMisfit; }
    bool eepromUsable() const { return eepromImage.ImageLoaded && !eepromImage.ImageMisfit; }
};
