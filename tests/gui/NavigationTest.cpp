// The navigation list, the target system and the port chooser.
#include "GuiFixture.h"

#include "HintTiming.h"
#include "PageHost.h"
#include "ScreenCursor.h"
#include "TargetSystemCombo.h"

#include <QMouseEvent>
#include <QSignalSpy>
#include <QWheelEvent>
#include <limits>

namespace {
constexpr int MostTabs = 200;  // more than the window has controls
// The page in front.
QWidget *frontPage(TMainFrm &window)
{
    QList<QWidget *> order = window.Panel1->stackingOrder();
    order.removeAll(window.pnl_RichEdit);
    return order.last();
}

// The focused entry, the page in front, whether the log lies over its lower part, and the stored page.
QString where(TMainFrm &w)
{
    const QList<std::pair<QWidget *, const char *>> pages = {{w.pnl_Start, "start"}, {w.pnl_Target, "target"},
        {w.pnl_MicrocontrollerModule, "module"}, {w.pnl_DevelopmentBord, "board"}, {w.pnl_Flash, "flash"},
        {w.pnl_EEprom, "eeprom"}, {w.pnl_StartProgramm_DevelopmentBoard, "program"}};
    const auto page = std::ranges::find(pages, frontPage(w), &std::pair<QWidget *, const char *>::first);
    QString stored;
    Utility->IniRead(QStringLiteral("ProgramOptions"), QStringLiteral("LastShowedPage"), QString(), stored);
    return joined({w.vst_Auswahl->focusedNode(), page == pages.end() ? "other" : page->second,
                   w.Panel1->stackingOrder().last() == w.pnl_RichEdit, stored});
}

// Below the last entry of the list.
QPoint belowTheEntries(TMainFrm &window)
{
    return {5, window.vst_Auswahl->viewport()->height() - 5};
}

void clickAt(TMainFrm &window, QPoint point)
{
    QTest::mouseClick(window.vst_Auswahl->viewport(), Qt::LeftButton, {}, point);
}
}

TEST_F(GuiTest, WithoutTargetOnlyTheTargetEntryCanBeChosenUntilATargetIsChosen)
{
    writeOptions({{"Targetsystem", "-1"}});
    auto window = showWindow();
    NavigationList &list = *window->vst_Auswahl;
    QString enabled;
    for (int node = TMainFrm::NodeSeparator; node <= TMainFrm::NodeProgram; ++node)
        enabled += list.isRowHidden(node) ? "hidden " : list.isNodeEnabled(node) ? "on " : "off ";
    EXPECT_EQ(enabled, "hidden off off off off ");
    EXPECT_EQ(where(*window), "0|target|false|0");  // the stored page 0, restored at start

    writeOptions({{"LastShowedPage", "0"}});
    clickEntry(*window, 3);
    clickAt(*window, belowTheEntries(*window));
    list.requestFocus(TMainFrm::NodeProgram);
    list.setFocus();
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_End})
        QTest::keyClick(&list, key);
    EXPECT_TRUE(list.selectionModel()->isRowSelected(TMainFrm::NodeTarget, {}));
    EXPECT_EQ(where(*window), "0|target|false|0");

    // With no entry focused, neither a click on a disabled entry nor the focus
    // arriving by the tab key or the window's activation focuses one.
    writeOptions({{"LastShowedPage", "3"}});
    window = showWindow();
    clickEntry(*window, 3);
    for (Qt::FocusReason reason : {Qt::TabFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent focusIn(QEvent::FocusIn, reason);
        QApplication::sendEvent(window->vst_Auswahl, &focusIn);
    }
    EXPECT_EQ(where(*window), "-1|start|false|3");

    // Choosing a target writes it and sets the mode.
    ASSERT_EQ(window->targetMode(), 0);
    const auto state = [&] {
        QString nodes;
        for (int node = TMainFrm::NodeDevice; node <= TMainFrm::NodeProgram; ++node)
            nodes += QString::number(window->vst_Auswahl->isNodeEnabled(node));
        return joined({readSetting("ProgramOptions", "Targetsystem"), window->targetMode(),
                       window->Action_BoardSettings->isEnabled(), nodes, ScreenCursor::isOverridden()});
    };
    chooseEntry(window->cbb_Targetsystem, 1);
    EXPECT_EQ(state(), "1|2|false|1111|false");
    chooseEntry(window->cbb_Targetsystem, 0);
    EXPECT_EQ(state(), "0|1|true|1111|false");

    // The target items are tall, with their pictures.
    TargetSystemCombo &targets = *window->cbb_Targetsystem;
    EXPECT_EQ(joined({targets.count(), targets.itemText(1),
                      targets.itemDelegate()->sizeHint(QStyleOptionViewItem(), targets.model()->index(0, 0)).height(),
                      targets.itemIcon(0).isNull() || targets.itemIcon(1).isNull()}),
              "2|Mikrocontrollermodul|64|false");
}

TEST_F(GuiTest, EntriesShowThePageOfTheModeWithTheLogBelow)
{
    writeOptions({{"Targetsystem", "1"}});
    auto window = showWindow();
    NavigationList &list = *window->vst_Auswahl;
    QStringList seen = {where(*window), window->vst_AuswahlGetText(TMainFrm::NodeDevice)};  // the first page at start
    list.requestFocus(TMainFrm::NodeDevice);
    seen << where(*window);
    chooseEntry(window->cbb_Targetsystem, 0);
    seen << window->vst_AuswahlGetText(TMainFrm::NodeDevice);
    for (int node : {TMainFrm::NodeFlash, TMainFrm::NodeProgram})
        list.requestFocus(node), seen << where(*window);
    // Keys and clicks choose the enabled entries.
    list.requestFocus(TMainFrm::NodeTarget);
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Down);
    seen << where(*window);
    clickEntry(*window, TMainFrm::NodeEeprom);
    seen << where(*window);
    EXPECT_EQ(seen, QStringList({"0|target|false|0", "T206", "2|module|true|2", "T200", "3|flash|false|3",
                                 "5|program|true|5", "2|board|true|2", "4|eeprom|false|4"}));
    EXPECT_TRUE(list.selectionModel()->isRowSelected(TMainFrm::NodeEeprom, {}));
}

TEST_F(GuiTest, TheTabKeyStaysOnThePageInFrontAndEntriesTakeANewLanguageAtOnce)
{
    auto window = showWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->vst_Auswahl->requestFocus(TMainFrm::NodeFlash);
    window->vst_Auswahl->setFocus();
    for (int tab = 0; tab < MostTabs && (tab == 0 || QApplication::focusWidget() != window->vst_Auswahl); ++tab) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // once round the window
        const QWidget *focus = QApplication::focusWidget();
        EXPECT_TRUE(!window->Panel1->isAncestorOf(focus) || window->pnl_Flash->isAncestorOf(focus)) << tab;
    }
    QSignalSpy repainted(window->vst_Auswahl->model(), &QAbstractItemModel::dataChanged);
    writeOptions({{"LanguageID", "EN"}});
    window->ac_Options->trigger();  // every entry is repainted at once with its caption in the new language
    ASSERT_FALSE(repainted.isEmpty());
    EXPECT_EQ(joined({repainted.last()[0].toModelIndex().row(), repainted.last()[1].toModelIndex().row(),
                      window->vst_Auswahl->model()->index(0, 0).data()}), "0|5|Target System");
}

TEST_F(GuiTest, EntryHintsFollowTheImagesAndStayWhileTheMouseRests)
{
    auto window = showWindow();
    QWidget *viewport = window->vst_Auswahl->viewport();
    const QRect entry = entryRect(*window, TMainFrm::NodeProgram);
    QStringList shown;
    HintTiming::setShowFunction([&](const QPoint &, const QString &text, QWidget *widget, const QRect &rect, int msec) {
        shown << joined({text, widget == viewport, rect == entry, msec == std::numeric_limits<int>::max()});
    });
    for (QPoint point : {entry.center(), belowTheEntries(*window)}) {  // below the entries there is no hint
        QHelpEvent help(QEvent::ToolTip, point, viewport->mapToGlobal(point));
        QApplication::sendEvent(viewport, &help);
    }
    HintTiming::setShowFunction({});
    EXPECT_EQ(shown, QStringList{"T38|true|true|true"});

    // The hints follow the images and the device choice.
    for (int node : {TMainFrm::NodeFlash, TMainFrm::NodeEeprom})
        EXPECT_EQ(window->vst_AuswahlGetHint(node), "T68");
    const struct { bool flashLoaded, flashMisfit, eepromLoaded; const char *hint; } rows[] = {
        {false, true, false, "T38"}, {true, true, false, "T39"}, {true, true, true, "T39\r\nT40"},
        {true, false, false, ""}};
    for (const auto &row : rows) {
        window->FlashImage.ImageLoaded = row.flashLoaded;
        window->FlashImage.ImageMisfit = row.flashMisfit;
        window->EepromImage.ImageLoaded = row.eepromLoaded;
        EXPECT_EQ(window->vst_AuswahlGetHint(TMainFrm::NodeProgram), QString(row.hint));
    }
    EXPECT_EQ(window->vst_Auswahl->model()->index(TMainFrm::NodeProgram, 0).data(Qt::ToolTipRole), QVariant());
}

TEST_F(GuiTest, StoredPagesAreRestoredThroughTheFocusRule)
{
    const struct { const char *page, *target; int focused; } rows[] = {
        {"7", "0", -1}, {"1", "0", -1}, {"-1", "0", -1}, {"3", "-1", -1}, {"5", "0", TMainFrm::NodeProgram}};
    for (const auto &row : rows) {
        writeOptions({{"LastShowedPage", row.page}, {"Targetsystem", row.target}});
        auto window = createWindow();
        window->resize(TMainFrm::MinimumWidth, TMainFrm::MinimumHeight);
        EXPECT_EQ(where(*window).section('|', 0, 1), joined({row.focused, row.focused < 0 ? "start" : "program"}));
    }
    // No entry can be chosen while a module operation runs.
    writeOptions({{"LastShowedPage", "7"}});
    auto window = createWindow();
    OperationIdle = false;
    window->vst_Auswahl->requestFocus(TMainFrm::NodeTarget);
    EXPECT_EQ(window->vst_Auswahl->focusedNode(), -1);
    OperationIdle = true;
    window->vst_Auswahl->requestFocus(TMainFrm::NodeTarget);
    EXPECT_EQ(window->vst_Auswahl->focusedNode(), TMainFrm::NodeTarget);
}

TEST_F(GuiTest, PortChooserListsThePortInUseAndTakesEveryChoice)
{
    writeSetting("Interface", "ProgrammerCom", "/dev/pts/77");
    auto window = createWindow();
    PortChooser &ports = *window->ComboBox1;
    // The shown and the current port after each step.
    const auto chosen = [&] { return ports.currentText() + " " + CurrentComPort; };
    QStringList seen = {chosen()};  // a configured port missing from the system is added and selected
    ports.setPortLister([] { return QStringList{"/dev/ttyS1", "/dev/ttyS0"}; });
    CurrentComPort = QStringLiteral("/dev/pts/7");
    ports.showPopup();
    seen << joined({ports.count(), ports.itemText(0), ports.itemText(2), ports.currentIndex()});
    ports.hidePopup();
    seen << chosen();
    ports.showPopup();
    ports.setCurrentIndex(0);
    ports.hidePopup();
    seen << chosen();
    // Keys and the wheel on the closed box choose too.
    QTest::keyClick(&ports, Qt::Key_Down);
    seen << chosen();
    QWheelEvent wheel(QPointF(5, 5), ports.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&ports, &wheel);
    seen << chosen();
    EXPECT_EQ(seen, QStringList({"/dev/pts/77 /dev/pts/77", "3|/dev/ttyS0|/dev/pts/7|-1", "/dev/pts/7 /dev/pts/7",
                                 "/dev/ttyS0 /dev/ttyS0", "/dev/ttyS1 /dev/ttyS1", "/dev/pts/7 /dev/pts/7"}));

    // Port names are blue: the Windows colour 0xFF0000 turned the right way round.
    EXPECT_EQ(ports.itemData(0, Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
    // The port is written only when the window closes.
    EXPECT_EQ(readSetting("Interface", "ProgrammerCom"), QStringLiteral("/dev/pts/77"));
}

TEST_F(GuiTest, EntriesArePaintedAsSelectedOrHotAndLeavingRestoresTheCursor)
{
    auto window = showWindow();
    NavigationList &list = *window->vst_Auswahl;
    list.requestFocus(TMainFrm::NodeDevice);
    const auto colourAt = [&](int node) {
        const QRect row = entryRect(*window, node);
        return list.viewport()->grab().toImage().pixelColor(row.right() - 10, row.center().y());
    };
    // The selected entry lies on the picture's dark blue, the others on the button face.
    const QColor plain = colourAt(TMainFrm::NodeFlash);
    EXPECT_LT(colourAt(TMainFrm::NodeDevice).lightness(), plain.lightness());

    // The hot entry follows the mouse; below the last entry none is hot, and none is painted as one.
    auto moveTo = [&](QPoint point) {
        QMouseEvent move(QEvent::MouseMove, point, list.viewport()->mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &move);
    };
    moveTo(entryRect(*window, TMainFrm::NodeFlash).center());
    EXPECT_TRUE(list.hotNode() == TMainFrm::NodeFlash && colourAt(TMainFrm::NodeFlash) != plain);
    moveTo(belowTheEntries(*window));
    EXPECT_TRUE(list.hotNode() == -1 && colourAt(TMainFrm::NodeFlash) == plain);

    // Entering a panel or leaving the list restores the default cursor.
    QEvent enter(QEvent::Enter);
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    for (auto [widget, event] : {std::pair<QWidget *, QEvent *>{window->pnl_Top, &enter}, {window->pnl_Flash, &enter},
                                 {window->pnl_Target, &enter}, {window->vst_Auswahl, &focusOut}}) {
        ScreenCursor::set(Qt::WaitCursor);
        QApplication::sendEvent(widget, event);
        EXPECT_FALSE(ScreenCursor::isOverridden()) << widget->objectName().toStdString();
    }
}

TEST(ScreenCursorTest, KeepsAtMostOneOverride)
{
    ScreenCursor::set(Qt::WaitCursor);
    ScreenCursor::set(Qt::ForbiddenCursor);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);
    QGuiApplication::restoreOverrideCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
