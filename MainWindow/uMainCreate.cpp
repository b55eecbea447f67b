// The main window's creation, placement, settings and shut-down.
#include "uMain.h"

#include "ComponentStream.h"
#include "ExceptionGuard.h"
#include "HintTiming.h"
#include "Modul.h"
#include "NavigationList.h"
#include "PageHost.h"
#include "PortChooser.h"
#include "ProgUSB.h"
#include "ScreenCursor.h"
#include "SettingsValues.h"
#include "StartupPrefetch.h"
#include "Sleep.h"
#include "UiServices.h"
#include "Utils.h"
#include "VersionLine.h"
#include "u_Splash.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

TMainFrm *MainFrm = nullptr;
bool OperationIdle = true;

namespace {
constexpr int StartupPause = 500;
constexpr int DefinitionsPause = 1500;
constexpr int EmptyListPause = 10;
constexpr int HintsStayForever = 0x7FFFFFFF;
constexpr int CloseQuestionText = 3;
const QString PortableSwitch = QStringLiteral("-USB");
}

void StatusProgressBar::setMinimum(int value) { m_bar->setMinimum(value); }
void StatusProgressBar::setMaximum(int value) { m_bar->setMaximum(value); }
void StatusProgressBar::setPosition(int value) { m_bar->setValue(value); }
int StatusProgressBar::minimum() const { return m_bar->minimum(); }
int StatusProgressBar::maximum() const { return m_bar->maximum(); }
int StatusProgressBar::position() const { return m_bar->value(); }

TMainFrm::TMainFrm(QWidget *parent) : QMainWindow(parent), m_progress(nullptr)
{
    MainFrm = this;
    // Below this size the pages' controls overlap and the hex views lose columns.
    setMinimumSize(MinimumWidth, MinimumHeight);
    // The hint style goes in before the first widget, so that each widget is
    // polished once, in the style that stays.
    HintTiming::install();
    buildMenu();
    // The settings read takes the port list enumerated since the splash came up.
    ComboBox1->setPortLister(&StartupPrefetch::takePorts);
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildTitlePanel());
    auto *row = new QHBoxLayout;
    row->setSpacing(0);
    vst_Auswahl = new NavigationList(central);
    Panel1 = new PageHost(central);
    Panel1->addFullPage(buildTargetPage());
    Panel1->addShortPage(buildBoardPage());
    Panel1->addShortPage(buildModulePage());
    Panel1->addShortPage(buildBoardProgramPage());
    Panel1->addShortPage(buildModuleProgramPage());
    Panel1->addFullPage(buildImagePage(true));
    Panel1->addFullPage(buildImagePage(false));
    Panel1->setLogPanel(buildLogPanel());
    // Until a page is chosen the start page is in front.
    Panel1->addFullPage(buildStartPage());
    row->addWidget(vst_Auswahl);
    row->addWidget(Panel1, 1);
    column->addLayout(row, 1);
    setCentralWidget(central);
    buildStatusBar();
    buildBitsPanel();
    m_progress = StatusProgressBar(pb_steps);

    setupNavigation();
    setupTargetList();
    connectHandlers();
    installCursorResets();
    setMainWindowLink(this);
    Guarded([this] { FormCreate(); });
}

TMainFrm::~TMainFrm()
{
    if (mainWindowLink() == this)
        setMainWindowLink(nullptr);
    if (MainFrm == this)
        MainFrm = nullptr;
}

QString TMainFrm::ResourceFolder()
{
    QString folder;
    Utility->ExeFolder(folder);
    return folder + QStringLiteral("Ressourcen/");
}

void TMainFrm::installCursorResets()
{
    for (QWidget *panel : {pnl_Top, pnl_Start, pnl_Target, pnl_DevelopmentBord,
                           pnl_MicrocontrollerModule, pnl_StartProgramm_DevelopmentBoard,
                           pnl_StartProgramm_MicrocontrollerModule, pnl_Flash, pnl_EEprom})
        panel->installEventFilter(this);
}

bool TMainFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Enter)
        ScreenCursor::setDefault();
    return QMainWindow::eventFilter(watched, event);
}

void TMainFrm::FormCreate()
{
    SpienWarningShown = false;
    PortableMode = false;
    for (const QString &argument : QCoreApplication::arguments()) {
        if (argument == PortableSwitch)
            PortableMode = true;
    }

    QCoreApplication::processEvents();
    SleepMs(StartupPause);
    if (SplashDlg)
        SplashDlg->SetStatus(QStringLiteral("Status: Initializing System ..."));
    SleepMs(StartupPause);

    ApplyLanguageTexts();

    RegisterClass(QStringLiteral("TModul"));
    LoadMicrocontrollerDefinitions();
    showDefinitionsOnSplash();

    FlashImage.ImageLoaded = false;
    EepromImage.ImageLoaded = false;
    FlashImage.ImageMisfit = true;
    EepromImage.ImageMisfit = true;

    ScreenCursor::loadNotAllowedCursor(ResourceFolder() + QStringLiteral("Stop.cur"));

    // Hints appear at once and stay while the mouse rests.
    SavedHintPause = HintTiming::pause();
    SavedHintHidePause = HintTiming::hidePause();
    HintTiming::setPause(0);
    HintTiming::setHidePause(HintsStayForever);

    vst_Auswahl->setNodeVisible(NodeSeparator, false);
    for (int node = NodeDevice; node < NavigationList::NodeCount; ++node)
        vst_Auswahl->setNodeEnabled(node, false);
    SetTargetMode(NoTarget);

    readPlacement();
    readSettings();

    showFuseNote(FuseNote::NotRead);

    LoadRecentFiles();
    if (auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        // Queued, so that the check runs once Qt has finished activating the
        // application: a question shown from within that step throws Qt's focus
        // state off, and the question's closing then counts as a new activation.
        connect(application, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state == Qt::ApplicationActive)
                        Guarded([this] { ApplicationActivated(); });
                }, Qt::QueuedConnection);
    }
    UpdateControls();

    std::uint16_t major = 0, minor = 0, release = 0, build = 0;
    ReadVersionNumbers(QCoreApplication::applicationFilePath(), major, minor, release, build);
    StaticText_ProgramVersion->setText(
        VersionLine(QStringLiteral("Version:"), major, minor, release, build));

    Label_SystemIdentifier->clear();
    Label_SystemSoftwareRevision->clear();
    Label_SystemSerialNumber->clear();

    RestoreLastPage();
}

void TMainFrm::showDefinitionsOnSplash()
{
    const int definitions = cbb_Microcontroller->count();
    const int pause = definitions > 0 ? DefinitionsPause / definitions : EmptyListPause;
    for (int i = 0; i < definitions; ++i) {
        if (SplashDlg)
            SplashDlg->SetStatus(QStringLiteral("Status: Loading microcontroller definition ")
                                 + cbb_Microcontroller->itemText(i));
        SleepMs(pause);
    }
}

bool TMainFrm::FormCloseQuery()
{
    if (!OperationIdle)
        return false;
    const bool ask = ReadBoolSetting(SettingsSection::ProgramOptions, QStringLiteral("AskOnShutDown"), true);
    const bool canClose = !ask || uiServices().askYesNo(this, Utility->Text(CloseQuestionText));
    // Only an accepted close ends the link: a board operation may still be running on it.
    if (canClose)
        ProgUSB->Close();
    writeSettings();
    return canClose;
}

void TMainFrm::FormClose()
{
    HintTiming::setPause(SavedHintPause);
    HintTiming::setHidePause(SavedHintHidePause);
    const QString section = QStringLiteral("RescentFiles");
    for (int n = 0; n < edt_FlashFile->count(); ++n)
        Utility->IniWrite(section, QStringLiteral("FlashFile_%1").arg(n), edt_FlashFile->itemText(n));
    for (int n = 0; n < edt_EEProm->count(); ++n)
        Utility->IniWrite(section, QStringLiteral("FlashEEProm_%1").arg(n), edt_EEProm->itemText(n));
}

void TMainFrm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (SplashDlg) {
        delete SplashDlg;
        SplashDlg = nullptr;
    }
}

void TMainFrm::closeEvent(QCloseEvent *event)
{
    bool canClose = false;
    Guarded([&] {
        canClose = FormCloseQuery();
        if (canClose)
            FormClose();
    });
    if (!canClose) {
        event->ignore();
        return;
    }
    event->accept();
    // The program ends with its main window, whatever other windows are open.
    QCoreApplication::quit();
}
