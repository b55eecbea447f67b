#include "ConnectBootloaderDialog.h"

#include "Utils.h"

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
constexpr int TextPixelSize = 11;
constexpr int HeadingPixelSize = 16;

QFont dialogFont(int pixelSize)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelSize);
    return font;
}

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
    setFont(dialogFont(TextPixelSize));
    setFixedSize(ClientWidth, ClientHeight);
    setWindowTitle(QStringLiteral("Connecting to bootloader ..."));

    Panel1 = new QFrame(this);
    Panel1->setGeometry(0, 0, 421, 45);
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(white);

    Image_Process = new QLabel(Panel1);
    Image_Process->setGeometry(12, 5, 32, 32);

    Label2 = new QLabel(QStringLiteral("Connecting to bootloader ..."), Panel1);
    Label2->setFont(dialogFont(HeadingPixelSize));
    Label2->move(60, 11);
    Label2->resize(ClientWidth - 60, Label2->sizeHint().height());

    Label1 = new QLabel(QStringLiteral("Please reset the microcontroller module to activate the bootloader!"), this);
    Label1->setGeometry(60, 57, 293, 88);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setText(QStringLiteral("Abort"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setGeometry(300, 180, 101, 33);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);

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
    if (const QWidget *main = parentWidget()) {
        const QRect outer = main->frameGeometry();
        const QSize own = frameGeometry().size();
        // Integer division truncating toward zero; a dialog wider than the
        // main window overhangs it equally on both sides.
        move(outer.left() + (outer.width() - own.width()) / 2, outer.top() + (outer.height() - own.height()) / 2);
    }
    const QString caption = Utility->Text(CaptionTextId);
    setWindowTitle(caption);
    Label2->setText(caption);
    Label2->adjustSize();
    Label1->setText(Utility->Text(ResetRequestTextId));
    SpeedButton1->setText(Utility->Text(AbortTextId));
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
