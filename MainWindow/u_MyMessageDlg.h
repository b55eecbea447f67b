#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The modal two-button warning dialog that confirms a risky step: the
// system's warning symbol, a red heading, a bold sub-heading, a body text,
// and Yes and Abort. The focus starts on Yes, so Enter confirms; Escape does
// nothing; the close box counts as Abort.
class TMyMessageDlgFrm : public QDialog {
    Q_OBJECT
public:
    // The dialog's results, as the callers test them.
    static constexpr int mrYes = 6;
    static constexpr int mrCancel = 2;

    // Builds, shows and frees the dialog; mrYes after Yes, mrCancel after
    // Abort or the close box.
    static int ShowWarningDialog(const QString &heading, const QString &subHeading, const QString &body,
                                 const QString &yesText, const QString &abortText);

    explicit TMyMessageDlgFrm(QWidget *parent = nullptr);

    QLabel *img_1;
    QLabel *Label1;  // heading
    QLabel *Label3;  // sub-heading
    QLabel *Label2;  // body
    QPushButton *btn_Yes;
    QPushButton *btn_Abort;

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
