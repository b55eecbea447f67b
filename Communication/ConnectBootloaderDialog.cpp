#include "ConnectBootloaderDialog.h"

#include "Utils.h"

#include <QBoxLayout>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <numbers>

TForm1 *Form1 = nullptr;

namespace {
ConnectDialogControl *installedControl = nullptr;

constexpr int CaptionTextId = 7150;
constexpr int ResetRequestTextId = 7151;
constexpr int AbortTextId = 7152;
constexpr int AnimationIntervalMs = 200;
constexpr int ClientWidth = 420;
constexpr int ClientHeight = 228;
constexpr double HeadingScale = 1.4;
constexpr int Margin = 12;
constexpr int TextIndent = 60;  // the request lines up with the heading text
constexpr int ButtonWidth = 101;
constexpr int ButtonHeight = 33;

// One picture of the busy animation: a ring of dots in which the bright dot
// moves on by one place per frame, followed by a fading tail.
QPixmap spinnerFrame(int frame)
{
    constexpr int Dots = TForm1::FrameCount;
    constexpr double Centre = TForm1::FrameSize / 2.0;
    constexpr double RingRadius = 10.5;
    constexpr double DotRadius = 3.0;
    QPixmap pixmap(TForm1::FrameSize, TForm1::FrameSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int dot = 0; dot < Dots; ++dot) {
        const int behind = (frame - dot + Dots) % Dots;  // 0 for the bright dot
        QColor colour(0x1F, 0x5F, 0xBF);
        colour.setAlpha(255 - behind * 28);
        painter.setBrush(colour);
        const double angle = 2 * std::numbers::pi * dot / Dots - std::numbers::pi / 2;
        painter.drawEllipse(QPointF(Centre + RingRadius * std::cos(angle), Centre + RingRadius * std::sin(angle)),
                            DotRadius, DotRadius);
    }
    return pixmap;
}
}

ConnectDialogControl *connectDialogControl()
{
    return installedControl ? installedControl : Form1;
}

void setConnectDialogControl(ConnectDialogControl *control)
{
    installedControl = control;
}

TForm1::TForm1(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("Connecting to bootloader ..."));

    // A white heading strip with the busy animation, the request below it and
    // Abort at the bottom right; layouts let longer translations fit.
    Panel1 = new QFrame(this);
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(white);

    Image_Process = new QLabel(Panel1);
    Image_Process->setFixedSize(FrameSize, FrameSize);

    Label2 = new QLabel(QStringLiteral("Connecting to bootloader ..."), Panel1);
    QFont heading = Label2->font();
    heading.setPointSizeF(heading.pointSizeF() * HeadingScale);
    Label2->setFont(heading);

    auto *headingRow = new QHBoxLayout(Panel1);
    headingRow->setContentsMargins(Margin, Margin / 2, Margin, Margin / 2);
    headingRow->setSpacing(Margin);
    headingRow->addWidget(Image_Process);
    headingRow->addWidget(Label2, 1);

    Label1 = new QLabel(QStringLiteral("Please reset the microcontroller module to activate the bootloader!"), this);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setText(QStringLiteral("Abort"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setMinimumSize(ButtonWidth, ButtonHeight);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(SpeedButton1);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(TextIndent, Margin, Margin, Margin);
    body->addWidget(Label1, 1);
    body->addLayout(buttonRow);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Panel1);
    column->addLayout(body, 1);

    fitTexts();

    buildFrames();
    Timer1 = new QTimer(this);
    Timer1->setInterval(AnimationIntervalMs);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    Timer1->start();
}

void TForm1::buildFrames()
{
    for (int frame = 0; frame < FrameCount; ++frame)
        ImageList1[frame] = spinnerFrame(frame);
}

void TForm1::showConnectDialog()
{
    show();
}

void TForm1::closeConnectDialog()
{
    // Hiding, not close(): a close request is the user's Abort.
    hide();
}

void TForm1::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TForm1::FormShow()
{
    const QString caption = Utility->Text(CaptionTextId);
    setWindowTitle(caption);
    Label2->setText(caption);
    Label1->setText(Utility->Text(ResetRequestTextId));
    SpeedButton1->setText(Utility->Text(AbortTextId));
    fitTexts();
    if (const QWidget *main = parentWidget()) {
        const QRect outer = main->frameGeometry();
        const QSize own = frameGeometry().size();
        // Integer division truncating toward zero; a dialog wider than the
        // main window overhangs it equally on both sides.
        move(outer.left() + (outer.width() - own.width()) / 2, outer.top() + (outer.height() - own.height()) / 2);
    }
}

void TForm1::fitTexts()
{
    // Hidden, the layouts would take in the new texts only once shown, after the
    // size is taken, and the dialog would keep the room of the texts it showed
    // last: the heading strip's layout first, then the dialog's, which asks it anew.
    Panel1->layout()->activate();
    layout()->activate();
    QSize size = QSize(ClientWidth, ClientHeight).expandedTo(layout()->totalMinimumSize());
    size.setHeight(std::max(size.height(), layout()->totalHeightForWidth(size.width())));
    setMinimumSize(size);
    resize(size);
}

void TForm1::SpeedButton1Click()
{
    BootloaderAbort = true;
    hide();
}

void TForm1::reject()
{
    // Escape and the window's close request (QDialog turns it into reject).
    SpeedButton1Click();
}

void TForm1::Timer1Timer()
{
    if (AnimationFrame > FrameCount - 1)
        AnimationFrame = 0;
    Image_Process->setPixmap(ImageList1[AnimationFrame]);
    Image_Process->repaint();
    ++AnimationFrame;
}
