#include "u_Splash.h"

#include "LayoutHelpers.h"
#include "StartupPrefetch.h"
#include "Utils.h"
#include "VersionLine.h"
#include "uMain.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

TSplashDlg *SplashDlg = nullptr;

namespace {
constexpr int TitlePixelSize = 21;
constexpr int TextPixelSize = 13;
constexpr int TextLeft = 32;
constexpr int VersionTop = 80;
constexpr int StatusTop = 107;

QLabel *whiteLabel(QWidget *parent, const QString &text, int top)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPixelSize(TextPixelSize);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: white;"));
    label->move(TextLeft, top);
    label->resize(TSplashDlg::ClientWidth - 2 * TextLeft, label->sizeHint().height());
    return label;
}
}

TSplashDlg::TSplashDlg(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setFixedSize(ClientWidth, ClientHeight);

    Image1 = new QLabel(this);
    Image1->setGeometry(rect());
    Image1->setScaledContents(true);

    Label1 = new QLabel(this);
    QFont titleFont = Label1->font();
    titleFont.setPixelSize(TitlePixelSize);
    Label1->setFont(titleFont);
    Label1->setForegroundRole(QPalette::Highlight);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setGeometry(0, 0, ClientWidth, Label1->sizeHint().height());

    lbl_Version = whiteLabel(this, QStringLiteral("Version"), VersionTop);
    lbl_Status = whiteLabel(this, QStringLiteral("lbl_Status"), StatusTop);
    // Set last: the picture decodes ahead while the labels take the program's first fonts.
    Image1->setPixmap(ResourcePicture(QStringLiteral("Splash.png")));

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - ClientWidth) / 2,
             area.y() + (area.height() - ClientHeight) / 2);
    }
}

void TSplashDlg::SetStatus(const QString &text)
{
    lbl_Status->setText(text);
    lbl_Status->repaint();
    QCoreApplication::processEvents();
}

void ShowSplash()
{
    StartupPrefetch::begin(TMainFrm::ResourceFolder());
    std::uint16_t major = 0, minor = 0, release = 0, build = 0;
    ReadVersionNumbers(QCoreApplication::applicationFilePath(), major, minor, release, build);
    SplashDlg = new TSplashDlg;
    SplashDlg->lbl_Version->setText(
        VersionLine(SplashDlg->lbl_Version->text(), major, minor, release, build));
    SplashDlg->SetStatus(QStringLiteral("Status: Initializing ..."));
    SplashDlg->show();
}
