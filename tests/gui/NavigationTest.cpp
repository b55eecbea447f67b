// The navigation list, the target system and the port chooser.
#include "GuiFixture.h"

#include "HintTiming.h"
#include "PageHost.h"
#include "ScreenCursor.h"
#include "TargetSystemCombo.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <limits>

namespace {
// The page in front, and whether the log lies over its lower part.
QWidget *frontPage(TMainFrm &window)
{
    QList<QWidget *> order = window.Panel1->stackingOrder();
    order.removeAll(window.pnl_RichEdit);
    return order.last();
}

bool logInFront(TMainFrm &window)
{
    return window.Panel1->stackingOrder().last() == window.pnl_RichEdit;
}

QRect rowRect(TMainFrm &window, int node)
{
    return window.vst_Auswahl->visualRect(window.vst_Auswahl->model()->index(node, 0));
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

TEST_F(GuiTest, WithoutTargetOnlyTheTargetEntryCanBeChosen)
{
    writeOptions({{"Targetsystem", "-1"}});
    auto window = showWindow();
    NavigationList &list = *window->vst_Auswahl;
    // The stored page 0 is restored at start.
    EXPECT_EQ(list.focusedNode(), TMainFrm::NodeTarget);
    EXPECT_EQ(frontPage(*window), window->pnl_Target);
    for (int node = TMainFrm::NodeDevice; node <= TMainFrm::NodeProgram; ++node)
        EXPECT_FALSE(list.isNodeEnabled(node));
    EXPECT_TRUE(list.isRowHidden(TMainFrm::NodeSeparator));

    writeOptions({{"LastShowedPage", "0"}});
    clickAt(*window, rowRect(*window, 3).center());
    clickAt(*window, belowTheEntries(*window));
    list.requestFocus(TMainFrm::NodeProgram);
    list.setFocus();
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_End})
        QTest::keyClick(&list, key);
    EXPECT_EQ(list.focusedNode(), TMainFrm::NodeTarget);
    EXPECT_TRUE(list.selectionModel()->isRowSelected(TMainFrm::NodeTarget, {}));
    EXPECT_EQ(frontPage(*window), window->pnl_Target);
    EXPECT_EQ(readSetting("ProgramOptions", "LastShowedPage"), QStringLiteral("0"));

    // With no entry focused, neither a click on a disabled entry nor the focus
    // arriving by the tab key or the window's activation focuses one.
    writeOptions({{"LastShowedPage", "3"}});
    window = showWindow();
    clickAt(*window, rowRect(*window, 3).center());
    for (Qt::FocusReason reason : {Qt::TabFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent focusIn(QEvent::FocusIn, reason);
        QApplication::sendEvent(window->vst_Auswahl, &focusIn);
    }
    EXPECT_EQ(window->vst_Auswahl->focusedNode(), -1);
    EXPECT_EQ(frontPage(*window), window->pnl_Start);
    EXPECT_EQ(readSetting("ProgramOptions", "LastShowedPage"), QStringLiteral("3"));
}

TEST_F(GuiTest, EntriesShowThePageOfTheModeWithTheLogBelow)
{
    writeOptions({{"Targetsystem", "1"}});
    auto window = showWindow();
    NavigationList &list = *window->vst_Auswahl;
    EXPECT_EQ(list.focusedNode(), TMainFrm::NodeTarget);  // the first page, restored at start
    EXPECT_EQ(window->vst_AuswahlGetText(TMainFrm::NodeDevice), QStringLiteral("T206"));
    list.requestFocus(TMainFrm::NodeDevice);
    EXPECT_EQ(frontPage(*window), window->pnl_MicrocontrollerModule);
    EXPECT_TRUE(logInFront(*window));
    EXPECT_EQ(readSetting("ProgramOptions", "LastShowedPage"), QStringLiteral("2"));

    chooseEntry(window->cbb_Targetsystem, 0);
    EXPECT_EQ(window->vst_AuswahlGetText(TMainFrm::NodeDevice), QStringLiteral("T200"));
    list.requestFocus(TMainFrm::NodeFlash);
    EXPECT_EQ(frontPage(*window), window->pnl_Flash);
    EXPECT_FALSE(logInFront(*window));
    list.requestFocus(TMainFrm::NodeProgram);
    EXPECT_EQ(frontPage(*window), window->pnl_StartProgramm_DevelopmentBoard);
    EXPECT_TRUE(logInFront(*window));
    EXPECT_EQ(readSetting("ProgramOptions", "LastShowedPage"), QStringLiteral("5"));

    // Keys and clicks choose the enabled entries.
    list.requestFocus(TMainFrm::NodeTarget);
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(list.focusedNode(), TMainFrm::NodeDevice);
    EXPECT_EQ(readSetting("ProgramOptions", "LastShowedPage"), QStringLiteral("2"));
    clickAt(*window, rowRect(*window, TMainFrm::NodeEeprom).center());
    EXPECT_EQ(list.focusedNode(), TMainFrm::NodeEeprom);
    EXPECT_TRUE(list.selectionModel()->isRowSelected(TMainFrm::NodeEeprom, {}));
    EXPECT_EQ(frontPage(*window), window->pnl_EEprom);
}

TEST_F(GuiTest, HintsFollowTheImagesAndTheDeviceChoice)
{
    auto window = createWindow();
    EXPECT_EQ(window->vst_AuswahlGetHint(TMainFrm::NodeFlash), QStringLiteral("T68"));
    EXPECT_EQ(window->vst_AuswahlGetHint(TMainFrm::NodeEeprom), QStringLiteral("T68"));
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

TEST_F(GuiTest, EntryHintsStayWhileTheMouseRestsAsTheWidgetsHintsDo)
{
    struct Shown {
        QString text;
        QWidget *widget;
        QRect rect;
        int msecShowTime;
    };
    QList<Shown> shown;
    HintTiming::setShowFunction([&shown](const QPoint &, const QString &text, QWidget *widget, const QRect &rect,
                                         int msecShowTime) { shown.append({text, widget, rect, msecShowTime}); });
    auto window = showWindow();
    QWidget *viewport = window->vst_Auswahl->viewport();
    const QRect entry = rowRect(*window, TMainFrm::NodeProgram);
    for (QPoint point : {entry.center(), belowTheEntries(*window)}) {  // below the entries there is no hint
        QHelpEvent help(QEvent::ToolTip, point, viewport->mapToGlobal(point));
        QApplication::sendEvent(viewport, &help);
    }
    HintTiming::setShowFunction({});
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, QStringLiteral("T38"));
    EXPECT_EQ(shown[0].widget, viewport);
    EXPECT_EQ(shown[0].rect, entry);
    EXPECT_EQ(shown[0].msecShowTime, std::numeric_limits<int>::max());
}

TEST_F(GuiTest, StoredPagesAreRestoredThroughTheFocusRule)
{
    const struct { const char *page, *target; int focused; } rows[] = {
        {"7", "0", -1}, {"1", "0", -1}, {"-1", "0", -1}, {"3", "-1", -1}, {"5", "0", TMainFrm::NodeProgram}};
    for (const auto &row : rows) {
        writeOptions({{"LastShowedPage", row.page}, {"Targetsystem", row.target}});
        auto window = createWindow();
        window->resize(TMainFrm::MinimumWidth, TMainFrm::MinimumHeight);
        EXPECT_EQ(window->vst_Auswahl->focusedNode(), row.focused) << row.page;
        EXPECT_EQ(frontPage(*window), row.focused < 0 ? window->pnl_Start : window->pnl_StartProgramm_DevelopmentBoard);
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

TEST_F(GuiTest, ChoosingATargetWritesItAndSetsTheMode)
{
    writeOptions({{"Targetsystem", "-1"}});
    auto window = createWindow();
    ASSERT_EQ(window->targetMode(), 0);
    chooseEntry(window->cbb_Targetsystem, 1);
    EXPECT_EQ(readSetting("ProgramOptions", "Targetsystem"), QStringLiteral("1"));
    EXPECT_EQ(window->targetMode(), 2);
    EXPECT_FALSE(window->Action_BoardSettings->isEnabled());
    for (int node = TMainFrm::NodeDevice; node <= TMainFrm::NodeProgram; ++node)
        EXPECT_TRUE(window->vst_Auswahl->isNodeEnabled(node));
    EXPECT_FALSE(ScreenCursor::isOverridden());

    chooseEntry(window->cbb_Targetsystem, 0);
    EXPECT_EQ(readSetting("ProgramOptions", "Targetsystem"), QStringLiteral("0"));
    EXPECT_EQ(window->targetMode(), 1);
    EXPECT_TRUE(window->Action_BoardSettings->isEnabled());

    // The target items are tall, with their pictures.
    TargetSystemCombo &list = *window->cbb_Targetsystem;
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.itemText(1), QStringLiteral("Mikrocontrollermodul"));
    EXPECT_EQ(list.itemDelegate()->sizeHint(QStyleOptionViewItem(), list.model()->index(0, 0)).height(), 64);
    EXPECT_FALSE(list.itemIcon(0).isNull() || list.itemIcon(1).isNull());
}

TEST_F(GuiTest, PortChooserListsThePortInUseAndTakesEveryChoice)
{
    writeSetting("Interface", "ProgrammerCom", "/dev/pts/77");
    auto window = createWindow();
    // A configured port missing from the system is added and selected.
    EXPECT_EQ(CurrentComPort, QStringLiteral("/dev/pts/77"));
    PortChooser &ports = *window->ComboBox1;
    EXPECT_EQ(ports.currentText(), QStringLiteral("/dev/pts/77"));
    ports.setPortLister([] { return QStringList{"/dev/ttyS1", "/dev/ttyS0"}; });
    CurrentComPort = QStringLiteral("/dev/pts/7");

    ports.showPopup();
    EXPECT_EQ(ports.count(), 3);
    EXPECT_EQ(ports.itemText(0), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(ports.itemText(2), QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(ports.currentIndex(), -1);
    ports.hidePopup();
    EXPECT_EQ(ports.currentText(), QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(CurrentComPort, QStringLiteral("/dev/pts/7"));

    ports.showPopup();
    ports.setCurrentIndex(0);
    ports.hidePopup();
    EXPECT_EQ(CurrentComPort, QStringLiteral("/dev/ttyS0"));

    // Keys and the wheel on the closed box choose too.
    QTest::keyClick(&ports, Qt::Key_Down);
    EXPECT_EQ(ports.currentText(), QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(CurrentComPort, QStringLiteral("/dev/ttyS1"));
    QWheelEvent wheel(QPointF(5, 5), ports.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&ports, &wheel);
    EXPECT_EQ(CurrentComPort, ports.currentText());
    EXPECT_EQ(CurrentComPort, QStringLiteral("/dev/pts/7"));

    // Port names are blue: the Windows colour 0xFF0000 turned the right way round.
    EXPECT_EQ(ports.itemData(0, Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
    // The port is written only when the window closes.
    EXPECT_EQ(readSetting("Interface", "ProgrammerCom"), QStringLiteral("/dev/pts/77"));
}

TEST_F(GuiTest, TheSelectedAndTheHotEntryArePaintedAsSuch)
{
    auto window = showWindow();
    NavigationList &list = *window->vst_Auswahl;
    list.requestFocus(TMainFrm::NodeDevice);
    const auto colourAt = [&](int node) {
        const QRect row = rowRect(*window, node);
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
    moveTo(rowRect(*window, TMainFrm::NodeFlash).center());
    EXPECT_EQ(list.hotNode(), TMainFrm::NodeFlash);
    EXPECT_NE(colourAt(TMainFrm::NodeFlash), plain);
    moveTo(belowTheEntries(*window));
    EXPECT_EQ(list.hotNode(), -1);
    EXPECT_EQ(colourAt(TMainFrm::NodeFlash), plain);
}

TEST_F(GuiTest, EnteringAPanelOrLeavingTheListRestoresTheDefaultCursor)
{
    auto window = createWindow();
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
