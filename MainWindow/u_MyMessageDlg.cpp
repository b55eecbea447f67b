#include "u_MyMessageDlg.h"

#include "Utils.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {
constexpr int TextCaption = 5000;
constexpr int TextYes = 5009;
constexpr int TextAbort = 5011;

constexpr int IconSize = 41;
constexpr int TextWidth = 526;  // the sub-heading and the body wrap at this width
constexpr int BodyMinimumHeight = 72;
constexpr double HeadingScale = 13.0 / 11.0;  // the heading is larger than the dialog's font
const char *const HeadingColour = "color: #FF0000;";

QLabel *wrappedLabel(QWidget *parent, bool bold)
{
    auto *label = new QLabel(parent);
    label->setWordWrap(true);
    label->setFixedWidth(TextWidth);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    return label;
}
}

TMyMessageDlgFrm::TMyMessageDlgFrm(QWidget *parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(Utility->Text(TextCaption));

    img_1 = new QLabel(this);
    img_1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(IconSize, IconSize));
    Label1 = new QLabel(this);
    QFont headingFont = Label1->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * HeadingScale);
    Label1->setFont(headingFont);
    Label1->setStyleSheet(QString::fromLatin1(HeadingColour));
    Label3 = wrappedLabel(this, true);
    Label3->setMinimumHeight(Label3->fontMetrics().height());  // an empty sub-heading keeps its line
    Label2 = wrappedLabel(this, false);
    Label2->setMinimumHeight(BodyMinimumHeight);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    btn_Yes = new QPushButton(Utility->Text(TextYes), this);
    btn_Abort = new QPushButton(Utility->Text(TextAbort), this);
    connect(btn_Yes, &QPushButton::clicked, this, [this] { done(mrYes); });
    connect(btn_Abort, &QPushButton::clicked, this, [this] { done(mrCancel); });

    auto *top = new QHBoxLayout;
    top->addWidget(img_1, 0, Qt::AlignTop);
    top->addWidget(Label1, 1, Qt::AlignTop);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btn_Yes);
    buttons->addWidget(btn_Abort);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Label3);
    layout->addWidget(Label2, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    btn_Yes->setFocus();
}

int TMyMessageDlgFrm::ShowWarningDialog(const QString &heading, const QString &subHeading, const QString &body,
                                        const QString &yesText, const QString &abortText)
{
    TMyMessageDlgFrm dialog;  // no owner window: centred on the screen
    dialog.btn_Yes->setText(yesText);
    dialog.btn_Abort->setText(abortText);
    dialog.Label1->setText(heading);
    dialog.Label3->setText(subHeading);
    dialog.Label2->setText(body);
    return dialog.exec();
}

void TMyMessageDlgFrm::reject()
{
    // The close box: the same as Abort.
    done(mrCancel);
}

void TMyMessageDlgFrm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
