#pragma once

// Every bootloader test talks to a fresh module simulator through a real
// pseudo-terminal, with recorders in place of the main window and the connect
// dialog, texts from the test language ("T<id>") and the program's own read
// time-outs but one (see answeringTimeouts()). Every pause of the link begins
// once the module has read what the host sent before it, as it would have
// arrived over a real line by then, however late the scheduler runs the
// simulator.
#include "Bootloader.h"
#include "ConnectDialogControl.h"
#include "HexContainer.h"
#include "ModuleSimulator.h"
#include "Modul.h"
#include "Recorders.h"
#include "TestImages.h"

#include <gtest/gtest.h>

class RecordingConnectDialog : public ConnectDialogControl {
public:
    void showConnectDialog() override
    {
        ++shows;
        if (onShow)
            onShow();
    }
    void closeConnectDialog() override { ++closes; }

    int shows = 0;
    int closes = 0;
    std::function<void()> onShow;
};

// The program's time-outs with a wider identification window: a module that
// answers at once would miss the program's 20 ms whenever a busy machine keeps
// the simulator waiting that long.
BootloaderTimeouts answeringTimeouts();
// Gives the link the program's own identification window, for attempts that
// no module answers: a wide one would only make each of them longer.
void useProgramIdentificationWindow();

// The request frames the host should send, as raw bytes.
QByteArray addressFrame(std::uint32_t address);
QByteArray blockFrame(char command, int length, char memory);

class BootloaderTest : public ::testing::Test {
protected:
    // 8 flash pages of 128 bytes, 128 EEPROM pages of 4 bytes.
    static ModuleSimulator::Geometry geometry() { return {1024, 128, 512, 4}; }

    void SetUp() override;
    void TearDown() override;

    // The definition the main window would hand over, matching the simulator.
    static TModul module(const QString &name = QStringLiteral("Mega328 Module"));
    // Opens the link to a module that is already in its bootloader.
    void openModuleInBootloader();
    ModuleSimulator sim {geometry()};
    RecordingMainWindow mainWindow;
    RecordingConnectDialog dialog;
};
