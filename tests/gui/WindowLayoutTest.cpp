// The main window's geometry in the program's own languages, at the smallest and a larger size.
#include "GuiFixture.h"

#include "HexView.h"
#include "PageHost.h"

#include <QHeaderView>
#include <QScrollBar>
#include <set>

namespace {
constexpr int LogLines = 12;
constexpr int CaptionRoom = 8;  // at least this much room right of the longest caption
}

TEST_F(GuiTest, PagesLogChooserAndListKeepTheirPlacesInEveryLanguage)
{
    writeSetting("Interface", "ProgrammerCom", "/dev/serial/by-id/usb-Board_0123456789");
    std::set<int> listWidths;
    for (QSize size : {QSize(800, 560), QSize(1400, 1000)})  // the window keeps its smallest size
        for (const char *language : {"EN", "DE"})
            for (const char *target : {"0", "1"}) {
                SCOPED_TRACE(std::string(language) + " target " + target + " height "
                             + std::to_string(size.height()));
                writeSetting("ProgramOptions", "LanguageID", language);
                writeSetting("ProgramOptions", "Targetsystem", target);
                auto window = createWindow();
                window->resize(size);
                window->show();
                EXPECT_EQ(window->size(), size.expandedTo(QSize(TMainFrm::MinimumWidth, TMainFrm::MinimumHeight)));
                window->LoadFlashFile(writeHexFile("flash.hex", 4096));  // rows enough for a scroll bar
                NavigationList &list = *window->vst_Auswahl;
                listWidths.insert(list.width());
                for (int node = 0; node < NavigationList::NodeCount; ++node) {
                    const int caption = list.fontMetrics().horizontalAdvance(window->vst_AuswahlGetText(node));
                    EXPECT_LE(NavigationList::PictureWidth + caption + CaptionRoom, list.width()) << node;
                    list.requestFocus(node);
                    const QList<QWidget *> order = window->Panel1->stackingOrder();
                    const bool log = order.last() == window->pnl_RichEdit;
                    for (QWidget *page : order)  // only the page in front shows, with the log over a short one
                        EXPECT_EQ(page->isVisible(), order.indexOf(page) >= order.size() - 1 - log) << page;
                    const HexView &view = *window->vst_Flash;  // a whole row fits beside the scroll bar
                    EXPECT_TRUE(order.last() != window->pnl_Flash || (view.verticalScrollBar()->isVisible()
                                && view.horizontalHeader()->length() <= view.viewport()->width()));
                    if (!log) {  // a full page
                        EXPECT_EQ(order.last()->geometry(), window->Panel1->rect());
                        continue;
                    }
                    const QWidget *page = order[order.size() - 2];
                    EXPECT_EQ(page->height(), page->sizeHint().height());
                    EXPECT_EQ(window->pnl_RichEdit->geometry(),
                              window->Panel1->rect().adjusted(0, page->height(), 0, 0));
                    for (int line = 0; line < LogLines; ++line)
                        window->AddLogLine(0, clBlack, QString::number(line));
                    EXPECT_EQ(window->redt_Status->verticalScrollBar()->maximum(), 0);
                    window->redt_Status->clear();
                }
                // The chooser shows whole in the menu row, wide enough for its longest port.
                const PortChooser &ports = *window->ComboBox1;
                const QMenuBar &bar = *window->menuBar();
                EXPECT_EQ(window->width() - ports.geometry().right() - 1, PortChooser::RightMargin);
                EXPECT_GE(ports.width(), ports.sizeHint().width());
                EXPECT_TRUE(bar.geometry().contains(ports.geometry()));
                EXPECT_LT(bar.actionGeometry(bar.actions().last()).right(), ports.x());
            }
    EXPECT_EQ(listWidths.size(), 1u);
}
