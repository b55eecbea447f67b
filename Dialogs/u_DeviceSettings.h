#pragma once

#include "LogTypes.h"

#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class TUpDownEx;

// The board settings dialog: shows which development board is connected and
// sends it new current limits and a new oscillator output. It drives the
// programmer link itself, for each read and each save, and writes every line
// of those operations into the main window's log. It keeps no data of its
// own: what it shows comes from DeviceInfo, what it sends from its controls.
class TDeviceSettingsForm : public QDialog {
    Q_OBJECT
public:
    // The oscillator choices; an entry's index is the byte the board takes.
    static constexpr int OscillatorCount = 9;
    static const char *const OscillatorEntries[OscillatorCount];

    // The whole life of one dialog, owned by the given window: the board is
    // read before the dialog shows, and the owner takes no input meanwhile.
    static void Execute(QWidget *owner);

    explicit TDeviceSettingsForm(QWidget *parent = nullptr);

    void SetTranslation();
    // Reads the board and shows it, or the no-board display.
    void ReadSettings();
    void Button_ConnectClick();
    // Sends the limits and the oscillator after reading and checking the board
    // again; any failure shows the no-board display.
    void Button_SaveClick();
    void ButtonEnable();
    void ButtonDisable();

    QLabel *Label2;
    QLabel *Label_Identifier;
    QLabel *Label_SoftwareRevision;
    QLabel *Label_SerialNumber;
    QPushButton *Button_Connect;
    QFrame *Panel1;
    QLabel *Label_WarnCurrentText;
    QLabel *StaticText_WarnCurrent;
    TUpDownEx *UpDownEx_WarnCurrent;
    QLabel *Label_BreakCurrentText;
    QLabel *StaticText_BreakCurrent;
    TUpDownEx *UpDownEx_BreakCurrent;
    QLabel *Label_Osc;
    QComboBox *ComboBox_Oscillator;
    QPushButton *Button_Save;
    QPushButton *Button_Abort;

private:
    void buildPanel();
    void ShowBoard();
    void ShowNoBoard();
    // Runs steps with the buttons disabled and closes the link afterwards, also
    // when an error passes through; the error then also shows the no-board display.
    template <typename Steps> void useLink(Steps steps);
    void endLinkUse();

    TLogProc m_log;
    // Save is offered only while the board display shows what it would send.
    bool m_boardShown = false;
};
