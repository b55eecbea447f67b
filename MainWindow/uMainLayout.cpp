// Building the main window's frame: menu row, title panel, start and target pages, log, status bar.
#include "uMain.h"

#include "LayoutHelpers.h"
#include "NavigationList.h"
#include "PageHost.h"
#include "PortChooser.h"
#include "TargetSystemCombo.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int TitleHeight = 59;
constexpr int TitleWidth = 661;
constexpr int VersionPanelWidth = 200;
constexpr int LogButtonWidth = 148;
constexpr int TargetListWidth = 405;
// The log shows at least this many lines, however tall the page above it.
constexpr int LogMinimumLines = 12;
}

void TMainFrm::buildMenu()
{
    QMenuBar *bar = menuBar();
    ac_Close = tagged(bar->addAction(QStringLiteral("Close")), 1);
    ac_Options = tagged(bar->addAction(QStringLiteral("Options")), 2);
    Action_BoardSettings = bar->addAction(QStringLiteral("Board Settings"));
    ac_About = tagged(bar->addAction(QStringLiteral("About")), 2001);

    // The port chooser lies on the window in the menu bar's row, not in the bar.
    ComboBox1 = new PortChooser(this);
    ComboBox1->anchorTo(bar);
}

QWidget *TMainFrm::buildTitlePanel()
{
    pnl_Top = new QWidget(this);
    pnl_Top->setFixedHeight(TitleHeight);
    pnl_Top->setAutoFillBackground(true);
    auto *row = new QHBoxLayout(pnl_Top);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    img_Titel = PictureLabel(pnl_Top, QStringLiteral("Titel.png"), QSize(TitleWidth, TitleHeight));
    row->addWidget(img_Titel);

    // The right picture stretches to the window's edge; the system labels lie on it.
    img_TitelRechts = new QLabel(pnl_Top);
    img_TitelRechts->setPixmap(ResourcePicture(QStringLiteral("TitelRechts.png")));
    img_TitelRechts->setScaledContents(true);
    img_TitelRechts->setMinimumWidth(0);
    img_TitelRechts->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    row->addWidget(img_TitelRechts, 1);
    auto *labels = new QVBoxLayout(img_TitelRechts);
    labels->setContentsMargins(8, 2, 8, 2);
    labels->setSpacing(0);
    Label_SystemIdentifier = new QLabel(img_TitelRechts);
    Label_SystemSoftwareRevision = new QLabel(img_TitelRechts);
    Label_SystemSerialNumber = new QLabel(img_TitelRechts);
    labels->addStretch();
    for (QLabel *label : {Label_SystemIdentifier, Label_SystemSoftwareRevision,
                          Label_SystemSerialNumber}) {
        label->setStyleSheet(QStringLiteral("color: white;"));
        labels->addWidget(label);
    }
    labels->addStretch();
    return pnl_Top;
}

void TMainFrm::buildStatusBar()
{
    StaticText_ProgramVersion = new QLabel(this);
    StaticText_ProgramVersion->setFixedWidth(VersionPanelWidth);
    pb_steps = new QProgressBar(this);
    pb_steps->setFixedHeight(ProgressBarHeight);
    pb_steps->setTextVisible(false);
    statusBar()->addWidget(StaticText_ProgramVersion);
    statusBar()->addWidget(pb_steps, 1);
}

QWidget *TMainFrm::buildStartPage()
{
    pnl_Start = new QWidget;
    auto *layout = new QVBoxLayout(pnl_Start);
    layout->setContentsMargins(0, 0, 0, 0);
    Image1 = new QLabel(pnl_Start);
    Image1->setScaledContents(true);
    Image1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    // A picture that cannot be decoded leaves the start page empty; it carries no information.
    const QPixmap picture = ResourcePicture(QStringLiteral("Start.jpg"));
    if (!picture.isNull())
        Image1->setPixmap(picture);
    layout->addWidget(Image1);
    return pnl_Start;
}

QWidget *TMainFrm::buildTargetPage()
{
    pnl_Target = new QWidget;
    QVBoxLayout *layout = new QVBoxLayout(pnl_Target);
    lbl_TargetSystem = tagged(new QLabel(QStringLiteral("Target system"), pnl_Target), 79);
    cbb_Targetsystem = new TargetSystemCombo(pnl_Target);
    cbb_Targetsystem->setFixedWidth(TargetListWidth);
    layout->addWidget(lbl_TargetSystem);
    layout->addWidget(cbb_Targetsystem);
    layout->addStretch();
    return pnl_Target;
}

QWidget *TMainFrm::buildLogPanel()
{
    pnl_RichEdit = new QWidget;
    auto *layout = new QVBoxLayout(pnl_RichEdit);
    redt_Status = new QTextEdit(pnl_RichEdit);
    redt_Status->setReadOnly(true);
    redt_Status->setUndoRedoEnabled(false);
    redt_Status->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    redt_Status->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const int documentMargin = static_cast<int>(redt_Status->document()->documentMargin());
    // Every line ends in a line break: below the last one lies the empty line of the next.
    const int lines = LogMinimumLines + 1;
    redt_Status->setMinimumHeight(lines * redt_Status->fontMetrics().lineSpacing()
                                  + 2 * (documentMargin + redt_Status->frameWidth()));
    layout->addWidget(redt_Status, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    btn_ClearLog = tagged(SpeedButton(pnl_RichEdit, QStringLiteral("ClearLog.png")), 7180);
    btn_SaveLog = tagged(SpeedButton(pnl_RichEdit, QStringLiteral("SaveLog.png")), 7181);
    for (QToolButton *button : {btn_ClearLog, btn_SaveLog}) {
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        button->setMinimumWidth(LogButtonWidth);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    return pnl_RichEdit;
}

QWidget *TMainFrm::buildBitsPanel()
{
    pnl_Bits = new QWidget(this);
    pnl_Bits->setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(pnl_Bits);
    for (int bit = 7; bit >= 0; --bit) {
        chk_Bit[bit] = new QCheckBox(pnl_Bits);
        chk_Bit[bit]->setLayoutDirection(Qt::RightToLeft);
        layout->addWidget(chk_Bit[bit]);
    }
    auto *line = new QFrame(pnl_Bits);
    line->setFrameShape(QFrame::HLine);
    layout->addWidget(line);
    auto *buttons = new QHBoxLayout;
    btn_Abort = tagged(new QPushButton(QStringLiteral("Abbrechen"), pnl_Bits), 6600);
    btn_OK = tagged(new QPushButton(QStringLiteral("OK"), pnl_Bits), 6601);
    buttons->addWidget(btn_Abort);
    buttons->addStretch();
    buttons->addWidget(btn_OK);
    layout->addLayout(buttons);
    pnl_Bits->adjustSize();
    pnl_Bits->hide();
    return pnl_Bits;
}
