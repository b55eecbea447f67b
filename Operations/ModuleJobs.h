#pragma once

// The jobs of the module page: erase, program or verify a plug-in module's
// flash or EEPROM through its serial bootloader, and start its application
// afterwards. Each job opens and connects the link, runs its steps, closes
// the link and writes every step with its result into the log.
//
// How a button handler runs a job:
//
//     const ModuleJobBusy busy([this](bool enabled) {
//         SetModuleControlsEnabled(enabled);
//         btn_Module_ProgramFlash->setEnabled(enabled);
//     });
//     runModuleJob(ModuleJobSnapshot::take(ModuleJob::ProgramFlash, chosenModule, FlashImage,
//                                          EepromImage, verifyFlash, verifyEeprom, startBox),
//                  *Bootloader, log);
//
// runModuleJob never throws and always returns with the link closed, so the
// busy guard's end (OperationIdle back to True, the controls enabled) always
// comes. The job checks its own preconditions: without a chosen module, or
// with its image not loaded or not fitting, it writes nothing and returns
// NotStarted.
#include "HexContainer.h"
#include "LogTypes.h"
#include "Modul.h"

#include <functional>
#include <optional>

class tKalworksBootloader;

enum class ModuleJob { EraseFlash, ProgramFlash, VerifyFlash, EraseEeprom, ProgramEeprom, VerifyEeprom };

enum class ModuleJobResult {
    NotStarted,  // a precondition failed; nothing was written and the port not touched
    Succeeded,
    Failed,      // the log tells why
};

// Where a job writes. A step and its result share one line: addLog writes
// without a line end, addLogLine ends the line (an empty text gives an empty
// line). The main window forwards them to AddLog(..., false) and AddLogLine.
class ModuleJobLog {
public:
    virtual ~ModuleJobLog() = default;
    virtual void addLog(TFontStyles styles, TColor colour, const QString &text) = 0;
    virtual void addLogLine(TFontStyles styles, TColor colour, const QString &text) = 0;
};

// What a job works on, copied when its button is pressed, so that nothing
// the window does while the job lets messages through can change it.
struct ModuleJobSnapshot {
    ModuleJob job = ModuleJob::VerifyFlash;
    std::optional<TModul> modul;  // the chosen module; none when nothing is chosen
    THexContainer image;          // the job's image (flash or EEPROM) with its flags
    bool verifyAfterProgram = false;
    // Asked once, after the job's steps have succeeded: the start box stays
    // usable while a job runs, so the user may still change it.
    std::function<bool()> startApplication;

    // Copies the definition and the one image the job needs.
    static ModuleJobSnapshot take(ModuleJob job, const TModul *chosen, const THexContainer &flashImage,
                                  const THexContainer &eepromImage, bool verifyFlash, bool verifyEeprom,
                                  std::function<bool()> startApplication);

    // A module is chosen and the job's image is loaded and fits it.
    bool ready() const;
};

// Runs the job to its end on the calling thread. An error inside it (a byte
// of the image that is not hexadecimal, a broken line) ends the job as a
// failure with the error's message in the log; a definition whose page size
// the bootloader cannot take is refused before the port is opened.
ModuleJobResult runModuleJob(const ModuleJobSnapshot &snapshot, tKalworksBootloader &link,
                             ModuleJobLog &log) noexcept;

// Makes the module page busy for the guard's lifetime: setEnabled(false) at
// once, setEnabled(true) when the guard ends, however it ends.
class ModuleJobBusy {
public:
    explicit ModuleJobBusy(std::function<void(bool enabled)> setEnabled);
    ~ModuleJobBusy();
    ModuleJobBusy(const ModuleJobBusy &) = delete;
    ModuleJobBusy &operator=(const ModuleJobBusy &) = delete;

private:
    std::function<void(bool)> m_setEnabled;
};
