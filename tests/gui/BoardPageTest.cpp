// The development board's pages through their buttons against the board
// simulator: each workflow once, its failures as rows. The SPIEN protection
// of the edits and the bit editor's conversions as tables.
#include "GuiFixture.h"

#include "BoardSimulator.h"
#include "DeviceInterface.h"
#include "FuseBitText.h"
#include "LogWriter.h"
#include "ProgUSB.h"
#include "u_MyMessageDlg.h"

#include <QApplication>
#include <QTextBlock>

namespace {
constexpr int ChipA = 0;  // SPIEN (high bit 5) and JTAGEN (extended bit 0) unprogrammed by default
constexpr int ChipB = 1;  // SPIEN programmed, no extended byte
constexpr int ImageSize = 192;  // three pages
using BS = BoardSimulator;

class BoardPageTest : public GuiTest {
public:
    void SetUp() override
    {
        GuiTest::SetUp();
        writeDefinitions(TestDefinitions);
        restart();
    }
    // A fresh board and window: the flash file loaded, "Chip B" chosen, erase and verify ticked.
    void restart()
    {
        window.reset();
        plugIn();
        window = createWindow();
        window->LoadFlashFile(writeHexFile("flash.hex", ImageSize));
        chooseEntry(window->cbb_Microcontroller, ChipB);
        window->chk_EraseDeviceBefor->setChecked(true);
        window->chk_ManualVerifyFlash->setChecked(true);
        window->redt_Status->clear();
    }
    // A new board on a port of its own, chosen in the settings and the window.
    void plugIn()
    {
        sim = std::make_unique<BoardSimulator>(1024, 64);
        sim->setSignature(0x1E9307);
        writeSetting("Interface", "ProgrammerCom", CurrentComPort = sim->portPath());
    }
    // The warning dialog, when it comes, is answered; its heading is kept.
    void answerWarning(bool yes)
    {
        QTimer::singleShot(0, [this, yes] {
            auto *dialog = qobject_cast<TMyMessageDlgFrm *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            warning = dialog->Label1->text();
            (yes ? dialog->btn_Yes : dialog->btn_Abort)->click();
        });
    }
    int redLines() const
    {
        int count = 0;
        for (QTextBlock line = window->redt_Status->document()->begin(); line.isValid(); line = line.next())
            count += !line.text().isEmpty() && line.charFormat().foreground().color() == ColourFromBgr(clRed);
        return count;
    }
    QString log() const { return window->redt_Status->toPlainText(); }
    // The page's six groups and the clicked button, "1" for each that is on.
    QString controls(QWidget *clicked) const
    {
        QString states;
        const TMainFrm &w = *window;
        for (const QWidget *control : std::initializer_list<const QWidget *> {w.GroupBox_Auto, w.GroupBox_ProgFlash,
                 w.GroupBox_ProgEeprom, w.GroupBox_ProgFuse, w.GroupBox_ProgLock, w.GroupBox_ProgCommon, clicked})
            states += control->isEnabledTo(control->parentWidget()) ? '1' : '0';
        return states;
    }

    // Each row on a fresh board and window: arrange, click, then the red lines
    // counted, the link closed, the page off at each log line and usable again, and the row's own check.
    using Step = std::function<void(BoardPageTest &)>;
    struct Row { const char *name; Step arrange; int redLines; Step check; };
    void runRows(QPushButton *TMainFrm::*button, std::initializer_list<Row> rows)
    {
        for (const Row &row : rows) {
            SCOPED_TRACE(row.name);
            restart();
            row.arrange(*this);
            QPushButton *clicked = window.get()->*button;
            QStringList during;  // at each log line of the click
            {
                const QObject watcher;
                QObject::connect(window->redt_Status, &QTextEdit::textChanged, &watcher,
                                 [&] { during << controls(clicked); });
                clicked->click();
            }
            EXPECT_EQ(redLines(), row.redLines) << log().toStdString();
            EXPECT_FALSE(ProgUSB->IsOpen());
            EXPECT_EQ(during.filter("1"), QStringList());
            EXPECT_EQ(controls(clicked), "1111111");
            row.check(*this);
        }
    }

    std::unique_ptr<BoardSimulator> sim;
    std::unique_ptr<TMainFrm> window;
    QString warning;
};

using Step = BoardPageTest::Step;
// The link's opening and closing lines and the board's record reach the window through its link.
const Step flashWritten = [](BoardPageTest &t) {
    EXPECT_EQ(t.sim->memory(true).left(ImageSize), pattern(ImageSize, 1));
    EXPECT_TRUE(t.log().startsWith("\nT3001") && t.log().trimmed().endsWith("T3003")) << t.log().toStdString();
    EXPECT_EQ(t.window->Label_SystemIdentifier->text() + "|" + t.window->Label_SystemSerialNumber->text().right(10),
              QString(BoardIdentifier) + "|ZDB-000123");
};
const Step noMicrocontroller = [](BoardPageTest &t) { t.window->cbb_Microcontroller->setCurrentIndex(-1); };
const Step nothingHappened = [](BoardPageTest &t) { EXPECT_TRUE(t.sim->commands().empty() && t.log().isEmpty()); };
}

TEST_F(BoardPageTest, FlashIsWrittenAndVerifiedFromItsButton)
{
    runRows(&TMainFrm::btn_WriteFlash, {
        {"Written", [](auto &) {}, 0, flashWritten},
        {"NoMicrocontroller", [](BoardPageTest &t) { noMicrocontroller(t), t.window->btn_ChipEraseClick(); }, 0,
         nothingHappened},
        // One red line for the unplugged board; plugged in again, the next click writes.
        {"UnpluggedInAPage",
         [](BoardPageTest &t) { t.sim->addFault({CMD_WRITE_FLASH, BS::Phase::PageData, BS::Action::HangUp, 40, 2}); },
         1, [](BoardPageTest &t) {
             t.plugIn(), t.window->redt_Status->clear(), t.window->btn_WriteFlash->click(), flashWritten(t);
         }},
    });
}

TEST_F(BoardPageTest, FuseBytesTravelBetweenTheEditsAndTheBoard)
{
    const Step chipA = [](BoardPageTest &t) { chooseEntry(t.window->cbb_Microcontroller, ChipA); };
    const auto answered = [chipA](bool yes) { return [=](BoardPageTest &t) { chipA(t), t.answerWarning(yes); }; };
    runRows(&TMainFrm::btn_WriteFuse, {
        {"AbortedAtTheWarning", answered(false), 0,
         [](BoardPageTest &t) { EXPECT_EQ(t.warning, "T5003"); nothingHappened(t); }},
        {"WrittenAfterYes", answered(true), 0,
         [](BoardPageTest &t) { EXPECT_TRUE(t.log().contains("T3104 (0xFF)") && t.sim->fuse(BS::ExtFuse) == 0xFF); }},
        {"ReadBackDiffers", [](BoardPageTest &t) { t.sim->setFuseStuckBits(BS::LowFuse, 0x80, 0); }, 1,
         [](BoardPageTest &t) { EXPECT_TRUE(t.log().contains("T3101 (write 0xE1, read 0x61)")); }},
    });
    runRows(&TMainFrm::btn_FuseRead, {
        {"ReadIntoTheEdits", chipA, 0, [](BoardPageTest &t) {
             const TMainFrm &w = *t.window;
             EXPECT_EQ(w.edt_FuseBitsLow->text() + w.edt_FuseBitsHigh->text() + w.edt_FuseBitsExtendet->text() + "|"
                           + w.lbl_FuseNotRead->text() + "|" + w.img_HighWarning->toolTip().left(9),
                       "62D9FF|T725|No JTAGEN");
         }},
    });
    // Without a microcontroller the fuse group, off by design, stays off.
    runRows(&TMainFrm::btn_LockRead, {
        {"NoMicrocontroller", [](BoardPageTest &t) { noMicrocontroller(t), t.window->grp_FuseBits->setEnabled(false); },
         0, [](BoardPageTest &t) { EXPECT_FALSE(t.window->grp_FuseBits->isEnabledTo(t.window.get())); }},
    });
}

TEST_F(BoardPageTest, TheAutomaticRunProgramsTheTickedSteps)
{
    const Step everyBox = [](BoardPageTest &t) {
        for (QCheckBox *box : t.window->AutoRunBoxes())
            box->setChecked(true);
    };
    runRows(&TMainFrm::btn_StartAutoProgram, {
        {"EveryStep", everyBox, 0,
         [](BoardPageTest &t) { flashWritten(t); EXPECT_EQ(t.sim->fuse(BoardSimulator::LowFuse), 0xE1); }},
        {"VerifyFails", [everyBox](BoardPageTest &t) { everyBox(t), t.sim->setCorruptOnRead(true, 5, 0); }, 1,
         [](BoardPageTest &t) { EXPECT_EQ(t.sim->fuse(BoardSimulator::LowFuse), 0x62); }},
        {"NoMicrocontroller", [everyBox](BoardPageTest &t) { everyBox(t), noMicrocontroller(t); }, 0, nothingHappened},
    });
}

TEST_F(BoardPageTest, LeavingAnEditKeepsSpienProgrammed)
{
    // boxes: how many SPIEN warning boxes the exit shows.
    struct Case { bool spienAllowed; QString high, leftText, highAfter, leftAfter; QLineEdit *TMainFrm::*left;
                  int boxes; };
    const Case cases[] = {
        {false, "FF", "A", "DF", "0A", &TMainFrm::edt_FuseBitsLow, 1},
        {false, "0F", "A", "F", "0A", &TMainFrm::edt_FuseBitsLow, 0},
        {true, "FF", "A", "FF", "0A", &TMainFrm::edt_FuseBitsLow, 0},
        {false, "1FF", "1FF", "1DF", "1DF", &TMainFrm::edt_FuseBitsHigh, 1},
        {false, "", "3", "", "03", &TMainFrm::edt_LockBits, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.high.toStdString());
        restart();
        chooseEntry(window->cbb_Microcontroller, ChipA);
        writeSetting("ProgramOptions", "Spien", c.spienAllowed ? "1" : "0");
        window->edt_FuseBitsHigh->setText(c.high);
        QLineEdit *left = window.get()->*c.left;
        left->setText(c.leftText);
        ui.warnings.clear();
        window->edt_FuseBitsLowExit(left);
        EXPECT_EQ(window->edt_FuseBitsHigh->text() + "|" + left->text(), c.highAfter + "|" + c.leftAfter);
        EXPECT_EQ(ui.warnings, QStringList(c.boxes, "T75: T73\r\nT74"));
    }
}

TEST_F(BoardPageTest, TheEditsAndTheBitEditorTakeTheUsersBits)
{
    chooseEntry(window->cbb_Microcontroller, ChipA);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QLineEdit *low = window->edt_FuseBitsLow;
    low->clear();
    low->setFocus();
    QTest::keyClicks(low, "3fg1");
    low->insert("ZZ9");  // as a paste
    EXPECT_EQ(low->text(), "3F");
    low->setText("a");
    QTest::keyClick(low, Qt::Key_Return);  // on to the next control: the edit is left
    EXPECT_EQ(low->text() + window->edt_FuseBitsHigh->text(), "0ADF");
    // The high byte's SPIEN box stays ticked; Tab past the last button closes without writing.
    window->edt_FuseBitsHigh->setText("FF");
    QTest::mouseClick(window->btn_ChangeHigh, Qt::LeftButton);
    ASSERT_TRUE(window->pnl_Bits->isVisible());
    QCheckBox *spien = window->chk_Bit[5];
    EXPECT_TRUE(spien->text() == "5 SPIEN" && spien->isChecked() && !spien->isEnabled());
    window->btn_Abort->setFocus();
    QTest::keyClick(window->btn_Abort, Qt::Key_Tab);
    EXPECT_FALSE(window->pnl_Bits->isVisible());
    EXPECT_EQ(window->edt_FuseBitsHigh->text(), "FF");
    QTest::mouseClick(window->btn_ChangeHigh, Qt::LeftButton);
    window->btn_OK->click();
    EXPECT_EQ(window->edt_FuseBitsHigh->text() + window->img_Warnung2->toolTip().left(9), "DFNo JTAGEN");
}

TEST(BitEditor, BoxesFollowTheBitsAndTheSpienRule)
{
    // The boxes' ticks and enabled states one bit each, and what OK writes without a change.
    const auto names = [](const char *bit7First) {
        BitNames result;
        std::ranges::reverse_copy(QString(bit7First).split(' '), result.begin());
        return result;
    };
    const BitNames plain = names("B7 B6 B5 B4 B3 B2 B1 B0"), spien = names("B7 B6 SPIEN B4 B3 B2 B1 B0");
    const BitNames ext = names("1 1 1 1 1 B2 B1 B0");
    struct Case { QString text; BitNames names; TModul::BitByte byte; bool spienAllowed;
                  int checked, enabled; QString value; };
    const Case cases[] = {
        {"", plain, TModul::LowFuse, false, 0xFF, 0xFF, "00"},
        {"F", plain, TModul::LowFuse, false, 0xF0, 0xFF, "0F"},
        {"FF", spien, TModul::HighFuse, false, 0x20, 0xDF, "DF"},
        {"FF", spien, TModul::HighFuse, true, 0x00, 0xFF, "FF"},
        {"FF", names("B7 B6 spien B4 B3 B2 B1 B0"), TModul::LowFuse, true, 0x20, 0xFF, "DF"},
        {"FD", ext, TModul::ExtFuse, false, 0x02, 0x07, "FD"},
        {"1FF", plain, TModul::LowFuse, false, 0x00, 0xFF, "FF"},  // the first eight digits
        {"FF", spien, TModul::LockByte, false, 0x00, 0xFF, "FF"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " " + c.names[5].toStdString());
        const BitBoxes boxes = OpenBitBoxes(c.text, c.names, c.byte, c.spienAllowed);
        int checked = 0, enabled = 0;
        for (int bit = 0; bit < BitsPerByte; ++bit) {
            checked |= boxes.checked[bit] << bit;
            enabled |= boxes.enabled[bit] << bit;
        }
        EXPECT_EQ(std::tuple(checked, enabled, BitBoxesValue(boxes.checked)),
                  std::tuple(c.checked, c.enabled, c.value));
    }
    EXPECT_EQ(OpenBitBoxes("FD", ext, TModul::ExtFuse, false).captions[7] + "|" + BitTooltip("FD", ext),
              "7|B0: 1\r\nB1: 0\r\nB2: 1\r\n");
}

TEST_F(BoardPageTest, NothingMovesWhenAWarningPictureOrTheFuseNoteChanges)
{
    // Where each control stands in the window, once the layouts have settled.
    const auto places = [this](const QList<QWidget *> &controls) {
        QCoreApplication::processEvents();
        QList<QRect> rects;
        for (const QWidget *control : controls)
            rects << QRect(control->mapTo(window.get(), QPoint()), control->size());
        return rects;
    };
    const bool none[2] = {}, both[2] = {true, true};
    for (const char *language : {"EN", "DE"}) {
        writeSetting("ProgramOptions", "LanguageID", language);
        restart();
        window->resize(TMainFrm::MinimumWidth, TMainFrm::MinimumHeight);
        window->show();
        // Pages behind the front one are never laid out: each is brought to the
        // front through its entry, as a user brings it, and measured there.
        const std::pair<int, QList<QWidget *>> pages[] = {
            {TMainFrm::NodeDevice, {window->edt_FuseBitsLow, window->btn_ChangeLow}},
            {TMainFrm::NodeProgram, {window->btn_WriteFuse, window->GroupBox_ProgCommon}},
        };
        for (const auto &[node, controls] : pages) {
            SCOPED_TRACE(std::string(language) + " entry " + std::to_string(node));
            clickEntry(*window, node);
            window->ShowFuseWarning(none);
            window->lbl_FuseNotRead->setText(Utility->Text(724));  // as a device change sets it
            const QList<QRect> before = places(controls);
            // Shown and laid out: a control never laid out stands at 0,0 of its parent.
            for (const QWidget *control : controls) {
                ASSERT_TRUE(control->isVisible()) << control->metaObject()->className();
                EXPECT_TRUE(control->x() > 0 && control->y() > 0) << control->metaObject()->className();
            }
            window->ShowFuseWarning(both);
            window->lbl_FuseNotRead->setText(Utility->Text(725));  // as a successful read sets it
            EXPECT_EQ(places(controls), before);
        }
    }
}
