#pragma once

#include "ConnectDialogControl.h"

#include <QDialog>
#include <QPixmap>
#include <array>

class QFrame;
class QLabel;
class QTimer;
class QToolButton;

// Asks the user to reset the module while the bootloader connect loop waits,
// and offers Abort. One instance lives from start-up to the end; closing it
// only hides it. Escape and the window's close request count as Abort, so
// the loop can always be stopped.
class TForm1 : public QDialog, public ConnectDialogControl {
    Q_OBJECT
public:
    static constexpr int FrameCount = 8;
    static constexpr int FrameSize = 31;

    // parent: the main window, on which the dialog centres itself.
    explicit TForm1(QWidget *parent = nullptr);

    void showConnectDialog() override;
    void closeConnectDialog() override;

    // The next animation frame to show.
    int AnimationFrame = 0;

    QLabel *Label1 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QFrame *Panel1 = nullptr;
    QLabel *Image_Process = nullptr;
    QLabel *Label2 = nullptr;
    std::array<QPixmap, FrameCount> ImageList1;
    QTimer *Timer1 = nullptr;

public slots:
    void SpeedButton1Click();
    void Timer1Timer();
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Texts first, then the size they need, then the place from that size.
    void FormShow();
    // The design's size, or more where the current texts need it.
    void fitTexts();
    void buildFrames();
};

// The program's connect dialog, created by the main block.
extern TForm1 *Form1;
