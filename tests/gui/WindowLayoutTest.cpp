// The main window's geometry as a new user sees it, in the program's own languages.
#include "GuiFixture.h"

#include "NavigationList.h"
#include "PageHost.h"
#include "PortChooser.h"
#include "Utils.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenuBar>
#include <QScrollBar>
#include <QTextEdit>
#include <set>

namespace {
const QString ProgramOptions = QStringLiteral("ProgramOptions");
constexpr int LogLines = 12;
// Room the list leaves right of its longest caption, at the least.
constexpr int CaptionRoom = 8;
const QString LongPortName = QStringLiteral("/dev/serial/by-id/usb-Board_0123456789-if00");

struct WindowSize {
    const char *name;
    QSize size;
};

// The program's real folder (both language libraries, the pictures) for one test.
class RealProgramFolder {
public:
    RealProgramFolder()
    {
        TUtility::SetExeFolderOverride(qEnvironmentVariable("LUMAPROG_BIN_DIR"));
    }
    ~RealProgramFolder() { TUtility::SetExeFolderOverride(TestProgramFolder()); }
};

class WindowLayout : public GuiTest, public ::testing::WithParamInterface<WindowSize> {
protected:
    std::unique_ptr<TMainFrm> showWindow(const char *language, int target)
    {
        writeSetting(ProgramOptions, "LanguageID", language);
        writeSetting(ProgramOptions, "Targetsystem", QString::number(target));
        auto window = createWindow();
        window->resize(GetParam().size);
        window->show();
        QCoreApplication::processEvents();
        return window;
    }

    RealProgramFolder folder;
};

QWidget *frontPage(TMainFrm &window)
{
    QList<QWidget *> order = window.Panel1->stackingOrder();
    order.removeAll(window.pnl_RichEdit);
    return order.last();
}

// A short page shows whole at its own height, and the log below it takes the rest
// of the area, with room for its minimum of lines.
void expectPageAboveLog(TMainFrm &window, const QString &where)
{
    const QWidget *page = frontPage(window);
    const QWidget *log = window.pnl_RichEdit;
    EXPECT_EQ(page->height(), page->sizeHint().height()) << where.toStdString();
    EXPECT_EQ(log->y(), page->height()) << where.toStdString();
    EXPECT_EQ(log->geometry().bottom(), window.Panel1->height() - 1) << where.toStdString();
    window.redt_Status->clear();
    for (int line = 0; line < LogLines; ++line)
        window.AddLogLine(0, clBlack, QStringLiteral("line %1").arg(line));
    EXPECT_EQ(window.redt_Status->verticalScrollBar()->maximum(), 0) << where.toStdString();
}

// The chooser shows whole in the menu row: every menu to its left, its right
// edge the margin inside the window's, all its items fitting.
void expectPortChooserWhole(TMainFrm &window, const QString &where)
{
    const PortChooser &ports = *window.ComboBox1;
    const QMenuBar &bar = *window.menuBar();
    EXPECT_EQ(window.width() - ports.geometry().right() - 1, PortChooser::RightMargin)
        << where.toStdString();
    EXPECT_GE(ports.width(), ports.sizeHint().width()) << where.toStdString();
    EXPECT_GE(ports.y(), bar.y()) << where.toStdString();
    EXPECT_LE(ports.geometry().bottom(), bar.geometry().bottom()) << where.toStdString();
    EXPECT_LT(bar.actionGeometry(bar.actions().last()).right(), ports.x()) << where.toStdString();
}
}

TEST_P(WindowLayout, PagesLogChooserAndListKeepTheirPlaces)
{
    std::set<int> listWidths;
    for (const char *language : {"EN", "DE"}) {
        for (int target : {0, 1}) {
            auto window = showWindow(language, target);
            const QString where = QStringLiteral("%1 target %2 ").arg(language).arg(target);
            NavigationList &list = *window->vst_Auswahl;
            listWidths.insert(list.width());
            for (int node = 0; node < NavigationList::NodeCount; ++node) {
                const int caption = list.fontMetrics().horizontalAdvance(
                    window->vst_AuswahlGetText(node));
                EXPECT_LE(NavigationList::PictureWidth + caption + CaptionRoom, list.width())
                    << where.toStdString() << node;
            }
            for (int node : {TMainFrm::NodeDevice, TMainFrm::NodeProgram}) {
                list.requestFocus(node);
                expectPageAboveLog(*window, where + QString::number(node));
            }
            for (int node : {TMainFrm::NodeTarget, TMainFrm::NodeFlash}) {
                list.requestFocus(node);
                EXPECT_EQ(frontPage(*window)->geometry(), window->Panel1->rect())
                    << where.toStdString() << node;
            }
            expectPortChooserWhole(*window, where);
            window->ComboBox1->setPortLister([] { return QStringList{LongPortName}; });
            window->ComboBox1->refill();
            EXPECT_GT(window->ComboBox1->width(), window->ComboBox1->minimumWidth());
            expectPortChooserWhole(*window, where + LongPortName);
        }
    }
    EXPECT_EQ(listWidths.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, WindowLayout,
                         ::testing::Values(WindowSize{"Minimum", {TMainFrm::MinimumWidth,
                                                                  TMainFrm::MinimumHeight}},
                                           WindowSize{"Large", {1400, 1000}}),
                         [](const auto &info) { return std::string(info.param.name); });
