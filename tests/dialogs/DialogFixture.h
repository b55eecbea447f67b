#pragma once

// The dialogs run as the program runs them, from a main window, in the GUI
// tests' program folder. Their modal loops are replaced by each test's
// runner; the main window's log goes to a recorder.
#include "DialogSupport.h"
#include "GuiFixture.h"
#include "Recorders.h"

#include <QDialog>

class DialogTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        *DeviceInfo = TDeviceInfo();
        window = createWindow();
        setMainWindowLink(&log);
    }
    void TearDown() override
    {
        setMainWindowLink(nullptr);
        window.reset();
        GuiTest::TearDown();
    }
    // Runs `work` on the dialog in place of its modal loop and ends it with `result`.
    template <typename Dialog>
    void whenShown(std::function<void(Dialog &)> work, int result = QDialog::Rejected)
    {
        SetModalRunner([work, result](QDialog &dialog) { return work(static_cast<Dialog &>(dialog)), result; });
    }
    // Chooses the port in the main window, as the user does.
    void usePort(const QString &port)
    {
        CurrentComPort = port;
        window->ComboBox1->refill();
        window->ComboBox1->selectCurrentPort();
    }

    std::unique_ptr<TMainFrm> window;
    RecordingMainWindow log;  // the main window's log, as the device routines reach it
};
