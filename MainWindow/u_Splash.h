#pragma once

#include <QWidget>

class QLabel;

// The splash screen shown while the main window is created: a picture, the
// program's version and a status line that the creation handler rewrites.
class TSplashDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 480;
    static constexpr int ClientHeight = 140;

    explicit TSplashDlg(QWidget *parent = nullptr);
    // Shows the text at once, although the caller keeps the interface thread busy.
    void SetStatus(const QString &text);

    QLabel *Image1;
    QLabel *Label1;
    QLabel *lbl_Version;
    QLabel *lbl_Status;
};

// The one splash screen; nullptr before it is shown and after the main window's first show.
extern TSplashDlg *SplashDlg;

// Creates SplashDlg with its version line and first status, and shows it.
void ShowSplash();
