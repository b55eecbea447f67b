#pragma once

// What the bootloader's connect loop needs of its dialog: show it modeless
// while the loop waits for the user to reset the module, and put it away when
// the loop ends. The connect dialog implements it; tests install a recorder.
class ConnectDialogControl {
public:
    virtual ~ConnectDialogControl() = default;
    virtual void showConnectDialog() = 0;
    // Hides the dialog without counting as the user's Abort.
    virtual void closeConnectDialog() = 0;
};

// The dialog the connect loop uses: the one installed, else the program's
// connect dialog Form1 (nullptr before it exists).
ConnectDialogControl *connectDialogControl();
// Tests put a recorder in place; nullptr goes back to Form1. The caller keeps ownership.
void setConnectDialogControl(ConnectDialogControl *control);
