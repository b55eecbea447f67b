// Creation, settings, placement, texts and the close query of the main window.
#include "GuiFixture.h"

#include "RadioGroup.h"
#include "TargetSystemCombo.h"
#include "Version.h"

#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>

using Placement = TMainFrm::Placement;

TEST(WindowPlacement, FirstStartCentresAndStoredValuesAreBroughtOntoTheScreen)
{
    const QSize full(1920, 1080);
    const struct { const char *name; bool first; Placement stored; QSize screen; Placement placed; } rows[] = {
        {"first start", true, {}, full, {453, 180, 1014, 720}},
        {"first start, smaller screen", true, {}, {1366, 768}, {176, 24, 1014, 720}},
        // Smaller screens give negative positions; integer division truncates toward zero.
        {"first start, narrower screen", true, {}, {800, 800}, {-107, 40, 1014, 720}},
        {"first start, smallest screen", true, {}, {800, 600}, {-107, -60, 1014, 720}},
        {"nothing stored", false, {-1, -1, -1, -1}, full, {0, 0, 1014, 720}},
        {"larger than the screen", false, {100, 50, 2000, 2000}, full, {906, 360, 1014, 720}},
        {"past the corner", false, {1000, 500, 1014, 720}, full, {906, 360, 1014, 720}},
        {"the whole screen", false, {0, 0, 1920, 1080}, full, {0, 0, 1920, 1080}},
        {"a maximised frame", false, {-8, -8, 1936, 1096}, full, {906, 360, 1014, 720}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(TMainFrm::PlaceWindow(row.first, row.stored, row.screen), row.placed) << row.name;
}

TEST_F(GuiTest, AFreshWindowHasItsDefaultsItsTextsAndItsLink)
{
    auto window = createWindow();
    const TMainFrm &w = *window;
    QString ticks;
    for (QCheckBox *box : {w.chk_CheckSignature, w.chk_VerifyEEProm, w.chk_ProgramEEProm, w.chk_ProgramFuseBits,
                           w.chk_ProgramLockBits, w.chk_Module_StartApplication})
        ticks += box->isChecked() ? '1' : '0';
    // The design preselects power option 0; the setting's default wins. No definitions:
    // both lists are disabled and their labels hidden.
    EXPECT_EQ(joined({ui.errors.join(',') + ui.messages.join(','), w.cbb_SPI->currentIndex(), w.cbb_SPI->currentText(),
                      w.RadioGroup_Power->itemIndex(), ticks, CurrentComPort, w.ComboBox1->currentText(),
                      w.targetMode(), w.Action_BoardSettings->isEnabled(), w.lbl_FuseNotRead->text(),
                      w.lbl_FuseNotRead->styleSheet().contains("#ff0000", Qt::CaseInsensitive),
                      w.Label_SystemIdentifier->text() + w.Label_SystemSerialNumber->text(),
                      w.cbb_Microcontroller->isEnabledTo(&w) || w.Label22->isVisibleTo(w.pnl_MicrocontrollerModule)
                          || w.Label_mc_signature->isVisibleTo(w.pnl_DevelopmentBord),
                      w.FlashImage.ImageLoaded, w.EepromImage.ImageMisfit, w.StaticText_ProgramVersion->text()}),
              joined({"", 5, "125  kHz (8µs)", 1, "110001", DefaultComPort, DefaultComPort, 1, true, "T724", true, "",
                      false, false, true, QStringLiteral("Version: %1.%2.%3 Build: %4").arg(BuildVersion::Major)
                          .arg(BuildVersion::Minor).arg(BuildVersion::Release).arg(BuildVersion::Build)}));
    // A first start is centred.
    const Placement first = TMainFrm::PlaceWindow(true, {}, QGuiApplication::primaryScreen()->geometry().size());
    EXPECT_EQ(w.size(), QSize(first.width, first.height));

    QStringList texts = {window->windowTitle()};
    for (QAction *action : window->menuBar()->actions())
        texts << action->text();
    texts << window->RadioGroup_Power->title() << window->RadioGroup_Power->itemText(2)
          << window->GroupBox_Auto->title() << window->btn_StartAutoProgram->text() << window->btn_ChipErase->text()
          << window->chk_Module_StartApplication->text() << window->dlgOpen_Flash.title
          << window->dlgOpen_EEprom.title << window->dlgOpen_EEprom.filter;
    // Controls without a text id keep their design text.
    const QList<QLabel *> labels = window->grp_FuseBits->findChildren<QLabel *>();
    texts << window->cbb_Targetsystem->itemText(0) << QString::number(window->cbb_SPI->count())
          << window->cbb_SPI->itemText(10);
    EXPECT_EQ(texts, QStringList({"T0", "T6500", "T6501", "T6503", "T6504", "T4000", "T4003", "T700", "T709", "T730",
                                  "T742", "T12", "T13", "T15", "Zefa Development Board (Rev1)", "11", "1  kHz (1ms)"}));
    EXPECT_TRUE(std::ranges::any_of(labels, [](QLabel *label) { return label->text() == "Low:"; }));

    // Re-texting keeps the target-voltage choice (the fuse note's state: LanguageSwitchTest).
    window->RadioGroup_Power->setItemIndex(2);
    window->ac_Options->trigger();
    EXPECT_EQ(joined({window->RadioGroup_Power->itemIndex(), window->RadioGroup_Power->itemText(0)}), "2|T4001");

    // The window's link to the device routines answers for its choices.
    MainWindowLink *link = mainWindowLink();
    ASSERT_EQ(link, window.get());
    window->cbb_SPI->setCurrentIndex(3);
    window->RadioGroup_Power->setItemIndex(-1);
    link->setSystemSerialNumber(QStringLiteral("SN 1"));
    link->progressBar().setMaximum(4);
    link->progressBar().setPosition(0);
    link->progressBar().stepIt();
    EXPECT_EQ(joined({link->spiSpeedIndex(), link->spiSpeedCount(), link->spiSpeedText(), link->powerOptionIndex(),
                      window->Label_SystemSerialNumber->text(), window->pb_steps->value()}),
              "3|11|500  kHz (2µs)|-1|SN 1|1");
    window.reset();
    EXPECT_EQ(mainWindowLink(), nullptr);
}

TEST_F(GuiTest, StoredChoicesAreMappedAsRead)
{
    const struct { const char *spi, *voltage, *target; int spiIndex, power, mode, targetIndex; } rows[] = {
        {"11", "3", "1", 10, 1, 2, 1}, {"-1", "2", "-1", -1, 2, 0, -1}, {"-1", "2", "5", -1, 2, 0, -1}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.target);
        writeOptions({{"SPI_Speed", row.spi}, {"TargetVoltage", row.voltage}, {"Targetsystem", row.target}});
        auto w = createWindow();
        EXPECT_EQ(joined({w->cbb_SPI->currentIndex(), w->RadioGroup_Power->itemIndex(), w->targetMode(),
                          w->cbb_Targetsystem->currentIndex(), w->Action_BoardSettings->isEnabled()}),
                  joined({row.spiIndex, row.power, row.mode, row.targetIndex, false}));
    }
}

TEST_F(GuiTest, SettingsReadAtCreationAreWrittenBackUnchanged)
{
    // Every box the other way round from its default, and unusual choices.
    const QStringList boxes = {"AutoProg_CheckSignature", "AutoProg_ChipErase", "AutoProg_ProgramFlash",
                               "AutoProg_VerifyFlash", "AutoProg_ProgramEeprom", "AutoProg_VerifyEeprom",
                               "AutoProg_ProgramFuseBits", "AutoProg_ProgramLockBits", "ManualProg_VerifyFlash",
                               "ManualProg_VerifyEeprom", "ManualProg_ChipEraseBeforeProg",
                               "ManualProg_VerifyFlashInModul", "ManualProg_VerifyEepromInModul",
                               "ManualProg_Modul_StartApplication"};
    const QSet<QString> onByDefault = {"AutoProg_ProgramEeprom", "AutoProg_ProgramFuseBits",
                                       "AutoProg_ProgramLockBits"};
    for (const QString &box : boxes)  // Booleans are written as 1 and 0
        writeSetting("ProgrammingOptions", box, onByDefault.contains(box) ? "1" : "0");
    writeSetting("Interface", "ProgrammerCom", "/dev/pts/42");
    writeSetting("Interface", "UartCom", "/dev/ttyUSB3");
    writeOptions({{"SPI_Speed", "2"}, {"TargetVoltage", "0"}, {"AskOnShutDown", "0"}});
    const Placement stored{10, 20, 1100, 750};
    const QStringList geometry = {"WindowLeft", "WindowTop", "WindowWidth", "WindowHeight"};
    const auto values = [](Placement p) { return QList<int>{p.left, p.top, p.width, p.height}; };
    for (int n = 0; n < 4; ++n)
        writeSetting("System", geometry[n], QString::number(values(stored)[n]));
    writeSetting("System", "FirstStart", "0");

    auto window = createWindow();
    EXPECT_EQ(joined({window->chk_CheckSignature->isChecked(), window->chk_ProgramEEProm->isChecked(),
                      window->chk_Module_StartApplication->isChecked()}), joined({false, true, false}));
    // A later start uses the stored geometry as placed on this screen, and writes it back in the convention read.
    const Placement placed = TMainFrm::PlaceWindow(false, stored, QGuiApplication::primaryScreen()->geometry().size());
    EXPECT_EQ(QRect(window->pos(), window->size()), QRect(placed.left, placed.top, placed.width, placed.height));
    // From here on every key stands only if the close query writes it.
    ASSERT_TRUE(QFile::remove(Utility->SettingsFile()));
    writeOptions({{"AskOnShutDown", "0"}});
    window->edt_FlashFile->addItems({"/tmp/a.hex", "/tmp/b.hex"});
    window->edt_EEProm->addItem("/tmp/c.eep");
    window->show();
    EXPECT_TRUE(window->close());

    for (const QString &box : boxes)
        EXPECT_EQ(readSetting("ProgrammingOptions", box), onByDefault.contains(box) ? "1" : "0") << box.toStdString();
    EXPECT_EQ(readSetting("Interface", "ProgrammerCom") + readSetting("Interface", "UartCom"), "/dev/pts/42/dev/ttyUSB3");
    for (const auto &[key, value] : {std::pair{"SPI_Speed", "2"}, {"TargetVoltage", "0"}, {"Microcontroller", "-1"},
                                     {"MicrocontrollerModul", "-1"}})
        EXPECT_EQ(readSetting("ProgramOptions", key), value) << key;
    EXPECT_EQ(readSetting("System", "FirstStart"), QStringLiteral("0"));
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(readSetting("System", geometry[n]), QString::number(values(placed)[n])) << n;
    EXPECT_EQ(readSetting("RescentFiles", "FlashFile_0") + readSetting("RescentFiles", "FlashFile_1")
                  + readSetting("RescentFiles", "FlashEEProm_0"), "/tmp/a.hex/tmp/b.hex/tmp/c.eep");
    // The target is written when it is chosen, never by the close query.
    EXPECT_EQ(readSetting("ProgramOptions", "Targetsystem"), QStringLiteral("<missing>"));
    EXPECT_TRUE(ui.questions.isEmpty());
}

TEST_F(GuiTest, TheCloseQueryAsksAndOnlyYesClosesTheProgrammerLink)
{
    auto window = createWindow();
    window->show();
    // While a module operation runs, closing is refused without a question or a write.
    const QByteArray before = readFile(Utility->SettingsFile());
    OperationIdle = false;
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(ui.questions.isEmpty() && readFile(Utility->SettingsFile()) == before);
    OperationIdle = true;

    ui.answers = {false, true};
    // Closing the link would log its closing line under a running board operation.
    // The settings are written whatever the answer.
    EXPECT_FALSE(window->close());
    EXPECT_EQ(joined({ui.questions.join(','), window->isVisible(), logText(*window).contains("T3003"),
                      readSetting("System", "FirstStart")}), "T3|true|false|0");
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(logText(*window).contains(QStringLiteral("T3003")));
}

TEST(FileDialogFilter, PatternsAreAddedOnlyWhereTheDescriptionLacksThem)
{
    EXPECT_EQ(QtFileFilter("Rich text files (*.rtf)|*.rtf|All files (*)|*"),
              "Rich text files (*.rtf);;All files (*)");
    EXPECT_EQ(QtFileFilter("Intel HEX files|*.hex|Images|*.hex;*.eep"),
              "Intel HEX files (*.hex);;Images (*.hex *.eep)");
    EXPECT_EQ(QtFileFilter("Images (*.hex;*.eep)|*.hex;*.eep|HEX (*.hex)|*.ihx"),
              "Images (*.hex;*.eep);;HEX (*.hex) (*.ihx)");
}
