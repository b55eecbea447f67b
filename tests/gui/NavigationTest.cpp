// The navigation list, the target system and the port chooser.
#include "GuiFixture.h"

#include "HintTiming.h"
#include "NavigationList.h"
#include "PageHost.h"
#include "PortChooser.h"
#include "ScreenCursor.h"
#include "TargetSystemCombo.h"
#include "Utils.h"

#include <QAction>
#include <QComboBox>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <limits>

namespace {
const QString ProgramOptions = QStringLiteral("ProgramOptions");

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

void chooseTarget(TMainFrm &window, int index)
{
    window.cbb_Targetsystem->setCurrentIndex(index);
    emit window.cbb_Targetsystem->activated(index);
}
}

TEST_F(GuiTest, WithoutTargetOnlyTheTargetEntryCanBeChosen)
{
    writeSetting(ProgramOptions, "Targetsystem", "-1");
    auto window = createWindow();
    window->resize(1014, 720);
    window->show();
    NavigationList &list = *window->vst_Auswahl;
    // The stored page 0 is restored at start.
    EXPECT_EQ(list.focusedNode(), TMainFrm::NodeTarget);
    EXPECT_EQ(frontPage(*window), window->pnl_Target);
    for (int node = TMainFrm::NodeDevice; node <= TMainFrm::NodeProgram; ++node)
        EXPECT_FALSE(list.isNodeEnabled(node));
    EXPECT_TRUE(list.isRowHidden(TMainFrm::NodeSeparator));

    writeSetting(ProgramOptions, "LastShowedPage", "0");
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rowRect(*window, 3).center());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      QPoint(5, list.viewport()->height() - 5));
    list.requestFocus(TMainFrm::NodeProgram);
    list.setFocus();
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_End})
        QTest::keyClick(&list, key);
    EXPECT_EQ(list.focusedNode(), TMainFrm::NodeTarget);
    EXPECT_TRUE(list.selectionModel()->isRowSelected(TMainFrm::NodeTarget, {}));
    EXPECT_EQ(frontPage(*window), window->pnl_Target);
    EXPECT_EQ(readSetting(ProgramOptions, "LastShowedPage"), QStringLiteral("0"));

    // With no entry focused, neither a click on a disabled entry nor the focus
    // arriving by the tab key or the window's activation focuses one.
    writeSetting(ProgramOptions, "LastShowedPage", "3");
    window = createWindow();
    window->show();
    NavigationList &none = *window->vst_Auswahl;
    QTest::mouseClick(none.viewport(), Qt::LeftButton, {}, rowRect(*window, 3).center());
    for (Qt::FocusReason reason : {Qt::TabFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent focusIn(QEvent::FocusIn, reason);
        QApplication::sendEvent(&none, &focusIn);
    }
    EXPECT_EQ(none.focusedNode(), -1);
    EXPECT_EQ(frontPage(*window), window->pnl_Start);
    EXPECT_EQ(readSetting(ProgramOptions, "LastShowedPage"), QStringLiteral("3"));
}

TEST_F(GuiTest, NoEntryCanBeChosenWhileAModuleOperationRuns)
{
    writeSetting(ProgramOptions, "LastShowedPage", "7");
    auto window = createWindow();
    EXPECT_EQ(window->vst_Auswahl->focusedNode(), -1);
    OperationIdle = false;
    window->vst_Auswahl->requestFocus(TMainFrm::NodeTarget);
    EXPECT_EQ(window->vst_Auswahl->focusedNode(), -1);
    OperationIdle = true;
    window->vst_Auswahl->requestFocus(TMainFrm::NodeTarget);
    EXPECT_EQ(window->vst_Auswahl->focusedNode(), TMainFrm::NodeTarget);
}

TEST_F(GuiTest, DeviceEntryShowsThePageOfTheModeWithTheLogBelow)
{
    writeSetting(ProgramOptions, "Targetsystem", "1");
    auto window = createWindow();
    window->resize(1014, 720);
    window->show();
    EXPECT_EQ(window->vst_AuswahlGetText(TMainFrm::NodeDevice), QStringLiteral("T206"));
    window->vst_Auswahl->requestFocus(TMainFrm::NodeDevice);
    EXPECT_EQ(frontPage(*window), window->pnl_MicrocontrollerModule);
    EXPECT_TRUE(logInFront(*window));
    EXPECT_EQ(readSetting(ProgramOptions, "LastShowedPage"), QStringLiteral("2"));

    chooseTarget(*window, 0);
    EXPECT_EQ(window->vst_AuswahlGetText(TMainFrm::NodeDevice), QStringLiteral("T200"));
    window->vst_Auswahl->requestFocus(TMainFrm::NodeFlash);
    EXPECT_EQ(frontPage(*window), window->pnl_Flash);
    EXPECT_FALSE(logInFront(*window));
    window->vst_Auswahl->requestFocus(TMainFrm::NodeProgram);
    EXPECT_EQ(frontPage(*window), window->pnl_StartProgramm_DevelopmentBoard);
    EXPECT_TRUE(logInFront(*window));
    EXPECT_EQ(readSetting(ProgramOptions, "LastShowedPage"), QStringLiteral("5"));
}

TEST_F(GuiTest, KeysAndClicksChooseEnabledEntries)
{
    auto window = createWindow();
    window->show();
    NavigationList &list = *window->vst_Auswahl;
    ASSERT_EQ(list.focusedNode(), TMainFrm::NodeTarget);
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(list.focusedNode(), TMainFrm::NodeDevice);
    EXPECT_EQ(readSetting(ProgramOptions, "LastShowedPage"), QStringLiteral("2"));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      rowRect(*window, TMainFrm::NodeEeprom).center());
    EXPECT_EQ(list.focusedNode(), TMainFrm::NodeEeprom);
    EXPECT_TRUE(list.selectionModel()->isRowSelected(TMainFrm::NodeEeprom, {}));
    EXPECT_EQ(frontPage(*window), window->pnl_EEprom);
}

TEST_F(GuiTest, HintsFollowTheImagesAndTheDeviceChoice)
{
    auto window = createWindow();
    EXPECT_EQ(window->vst_AuswahlGetHint(TMainFrm::NodeFlash), QStringLiteral("T68"));
    EXPECT_EQ(window->vst_AuswahlGetHint(TMainFrm::NodeEeprom), QStringLiteral("T68"));
    EXPECT_EQ(window->vst_AuswahlGetHint(TMainFrm::NodeProgram), QStringLiteral("T38"));
    window->FlashImage.ImageLoaded = true;
    EXPECT_EQ(window->vst_AuswahlGetHint(TMainFrm::NodeProgram), QStringLiteral("T39"));
    window->EepromImage.ImageLoaded = true;
    EXPECT_EQ(window->vst_AuswahlGetHint(TMainFrm::NodeProgram), QStringLiteral("T39\r\nT40"));
    window->EepromImage.ImageLoaded = false;
    window->FlashImage.ImageMisfit = false;
    EXPECT_EQ(window->vst_AuswahlGetHint(TMainFrm::NodeProgram), QString());
    EXPECT_EQ(window->vst_Auswahl->model()->index(TMainFrm::NodeProgram, 0).data(Qt::ToolTipRole),
              QVariant());
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
    HintTiming::setShowFunction([&shown](const QPoint &, const QString &text, QWidget *widget,
                                         const QRect &rect, int msecShowTime) {
        shown.append({text, widget, rect, msecShowTime});
    });
    auto window = createWindow();
    window->resize(1014, 720);
    window->show();
    QWidget *viewport = window->vst_Auswahl->viewport();
    auto restAt = [&](QPoint point) {
        QHelpEvent help(QEvent::ToolTip, point, viewport->mapToGlobal(point));
        QApplication::sendEvent(viewport, &help);
    };
    const QRect entry = rowRect(*window, TMainFrm::NodeProgram);
    restAt(entry.center());
    restAt(QPoint(5, viewport->height() - 5));  // below the entries there is no hint
    HintTiming::setShowFunction({});
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, QStringLiteral("T38"));
    EXPECT_EQ(shown[0].widget, viewport);
    EXPECT_EQ(shown[0].rect, entry);
    EXPECT_EQ(shown[0].msecShowTime, std::numeric_limits<int>::max());
}

TEST_F(GuiTest, StoredPagesAreRestoredThroughTheFocusRule)
{
    for (const char *page : {"7", "1", "-1"}) {
        writeSetting(ProgramOptions, "LastShowedPage", page);
        auto window = createWindow();
        EXPECT_EQ(window->vst_Auswahl->focusedNode(), -1) << page;
        EXPECT_EQ(frontPage(*window), window->pnl_Start);
    }
    writeSetting(ProgramOptions, "LastShowedPage", "3");
    writeSetting(ProgramOptions, "Targetsystem", "-1");
    EXPECT_EQ(createWindow()->vst_Auswahl->focusedNode(), -1);

    writeSetting(ProgramOptions, "LastShowedPage", "5");
    writeSetting(ProgramOptions, "Targetsystem", "0");
    auto window = createWindow();
    window->resize(1014, 720);
    EXPECT_EQ(window->vst_Auswahl->focusedNode(), TMainFrm::NodeProgram);
    EXPECT_EQ(frontPage(*window), window->pnl_StartProgramm_DevelopmentBoard);
}

TEST_F(GuiTest, ChoosingATargetWritesItAndSetsTheMode)
{
    writeSetting(ProgramOptions, "Targetsystem", "-1");
    auto window = createWindow();
    ASSERT_EQ(window->targetMode(), 0);
    chooseTarget(*window, 1);
    EXPECT_EQ(readSetting(ProgramOptions, "Targetsystem"), QStringLiteral("1"));
    EXPECT_EQ(window->targetMode(), 2);
    EXPECT_FALSE(window->Action_BoardSettings->isEnabled());
    for (int node = TMainFrm::NodeDevice; node <= TMainFrm::NodeProgram; ++node)
        EXPECT_TRUE(window->vst_Auswahl->isNodeEnabled(node));
    EXPECT_FALSE(ScreenCursor::isOverridden());

    chooseTarget(*window, 0);
    EXPECT_EQ(readSetting(ProgramOptions, "Targetsystem"), QStringLiteral("0"));
    EXPECT_EQ(window->targetMode(), 1);
    EXPECT_TRUE(window->Action_BoardSettings->isEnabled());
}

TEST_F(GuiTest, TargetItemsAreTallWithTheirPictures)
{
    auto window = createWindow();
    TargetSystemCombo &list = *window->cbb_Targetsystem;
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.itemText(1), QStringLiteral("Mikrocontrollermodul"));
    QStyleOptionViewItem option;
    EXPECT_EQ(list.itemDelegate()->sizeHint(option, list.model()->index(0, 0)).height(), 64);
    EXPECT_FALSE(list.itemIcon(0).isNull());
    EXPECT_FALSE(list.itemIcon(1).isNull());
}

TEST_F(GuiTest, PortChooserListsThePortInUseAndTakesEveryChoice)
{
    auto window = createWindow();
    PortChooser &ports = *window->ComboBox1;
    ports.setPortLister([] { return QStringList{"/dev/ttyS1", "/dev/ttyS0"}; });
    CurrentComPort = QStringLiteral("/dev/pts/7");
    const QString before = readSetting("Interface", "ProgrammerCom");

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
    QWheelEvent wheel(QPointF(5, 5), ports.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&ports, &wheel);
    EXPECT_EQ(CurrentComPort, ports.currentText());
    EXPECT_EQ(CurrentComPort, QStringLiteral("/dev/pts/7"));

    // Port names are blue: the Windows colour 0xFF0000 turned the right way round.
    EXPECT_EQ(ports.itemData(0, Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
    // The port is written only when the window closes.
    EXPECT_EQ(readSetting("Interface", "ProgrammerCom"), before);
}

TEST_F(GuiTest, ConfiguredPortMissingFromTheSystemIsAddedAndSelected)
{
    writeSetting("Interface", "ProgrammerCom", "/dev/pts/77");
    auto window = createWindow();
    EXPECT_EQ(CurrentComPort, QStringLiteral("/dev/pts/77"));
    EXPECT_EQ(window->ComboBox1->currentText(), QStringLiteral("/dev/pts/77"));
}

TEST_F(GuiTest, NavigationPaintsWithTheListBitmaps)
{
    auto window = createWindow();
    window->resize(1014, 720);
    window->show();
    window->vst_Auswahl->requestFocus(TMainFrm::NodeDevice);
    const QImage image = window->vst_Auswahl->viewport()->grab().toImage();
    const QRect selected = rowRect(*window, TMainFrm::NodeDevice);
    const QRect other = rowRect(*window, TMainFrm::NodeFlash);
    // The selected entry lies on the picture's dark blue, the others on the button face.
    const QColor selectedBackground = image.pixelColor(selected.right() - 10, selected.center().y());
    const QColor plainBackground = image.pixelColor(other.right() - 10, other.center().y());
    EXPECT_LT(selectedBackground.lightness(), plainBackground.lightness());
}

TEST_F(GuiTest, TheHotEntryFollowsTheMouseAndEndsBelowTheEntries)
{
    writeSetting(ProgramOptions, "LastShowedPage", "7");
    auto window = createWindow();
    window->resize(1014, 720);
    window->show();
    NavigationList &list = *window->vst_Auswahl;
    auto moveTo = [&](QPoint point) {
        QMouseEvent move(QEvent::MouseMove, point, list.viewport()->mapToGlobal(point),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &move);
    };
    moveTo(rowRect(*window, TMainFrm::NodeFlash).center());
    EXPECT_EQ(list.hotNode(), TMainFrm::NodeFlash);
    const QImage hot = list.viewport()->grab().toImage();
    // Below the last entry no entry is under the mouse, and none is painted as one.
    moveTo(QPoint(5, list.viewport()->height() - 5));
    EXPECT_EQ(list.hotNode(), -1);
    const QImage plain = list.viewport()->grab().toImage();
    const QPoint inside(rowRect(*window, TMainFrm::NodeFlash).right() - 10,
                        rowRect(*window, TMainFrm::NodeFlash).center().y());
    EXPECT_NE(hot.pixelColor(inside), plain.pixelColor(inside));
}

TEST_F(GuiTest, EnteringAPanelOrLeavingTheListRestoresTheDefaultCursor)
{
    auto window = createWindow();
    for (QWidget *panel : {window->pnl_Top, window->pnl_Flash, window->pnl_Target}) {
        ScreenCursor::set(Qt::WaitCursor);
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(panel, &enter);
        EXPECT_FALSE(ScreenCursor::isOverridden());
    }
    ScreenCursor::set(Qt::WaitCursor);
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(window->vst_Auswahl, &focusOut);
    EXPECT_FALSE(ScreenCursor::isOverridden());
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
