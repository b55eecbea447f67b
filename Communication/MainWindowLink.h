#pragma once

#include "LogTypes.h"

#include <QString>

class ProgressBar;

// What the device routines read from and write to the main window. The main
// window implements it; without one installed, the routines see no choice
// and write nowhere. Tests install a recorder.
class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;

    // The main window's log view (the programmer link writes its open and close lines here).
    virtual void addLogLine(TFontStyles styles, TColor colour, const QString &text) = 0;

    // The SPI clock choice: selected index (-1 for none), item count, selected item's text.
    virtual int spiSpeedIndex() const = 0;
    virtual int spiSpeedCount() const = 0;
    virtual QString spiSpeedText() const = 0;

    // The target-voltage option: 0 leave on, 1 switch off, 2 cycle; -1 for none.
    virtual int powerOptionIndex() const = 0;

    // The system labels in the title panel.
    virtual void setSystemIdentifier(const QString &text) = 0;
    virtual void setSystemSoftwareRevision(const QString &text) = 0;
    virtual void setSystemSerialNumber(const QString &text) = 0;

    // The progress bar of the device operations.
    virtual ProgressBar &progressBar() = 0;
};

void setMainWindowLink(MainWindowLink *link);  // the caller keeps ownership
MainWindowLink *mainWindowLink();
