// Creation, settings, placement, texts and the close query of the main window.
#include "GuiFixture.h"

#include "PortChooser.h"
#include "RadioGroup.h"
#include "TargetSystemCombo.h"
#include "Utils.h"
#include "Version.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QGuiApplication>
#include <QTextEdit>

using Placement = TMainFrm::Placement;

namespace {
const QString ProgramOptions = QStringLiteral("ProgramOptions");
const QString ProgrammingOptions = QStringLiteral("ProgrammingOptions");

// Every key the close query writes, as (section, key).
const QList<QPair<QString, QString>> ClosingKeys = {
    {"System", "WindowLeft"}, {"System", "WindowTop"}, {"System", "WindowWidth"},
    {"System", "WindowHeight"}, {"System", "FirstStart"}, {"Interface", "ProgrammerCom"},
    {"Interface", "UartCom"}, {"ProgrammingOptions", "AutoProg_CheckSignature"},
    {"ProgrammingOptions", "AutoProg_ChipErase"}, {"ProgrammingOptions", "AutoProg_ProgramFlash"},
    {"ProgrammingOptions", "AutoProg_VerifyFlash"}, {"ProgrammingOptions", "AutoProg_ProgramEeprom"},
    {"ProgrammingOptions", "AutoProg_VerifyEeprom"},
    {"ProgrammingOptions", "AutoProg_ProgramFuseBits"},
    {"ProgrammingOptions", "AutoProg_ProgramLockBits"},
    {"ProgrammingOptions", "ManualProg_VerifyFlash"},
    {"ProgrammingOptions", "ManualProg_VerifyEeprom"},
    {"ProgrammingOptions", "ManualProg_ChipEraseBeforeProg"}, {"ProgramOptions", "SPI_Speed"},
    {"ProgramOptions", "Microcontroller"}, {"ProgramOptions", "TargetVoltage"},
    {"ProgramOptions", "MicrocontrollerModul"},
    {"ProgrammingOptions", "ManualProg_VerifyFlashInModul"},
    {"ProgrammingOptions", "ManualProg_VerifyEepromInModul"},
    {"ProgrammingOptions", "ManualProg_Modul_StartApplication"},
};

QStringList menuTexts(TMainFrm &window)
{
    QStringList texts;
    for (QAction *action : window.menuBar()->actions())
        texts << action->text();
    return texts;
}
}

TEST(WindowPlacement, FirstStartCentresTheMinimumSize)
{
    EXPECT_EQ(TMainFrm::PlaceWindow(true, {}, {1920, 1080}), (Placement{453, 180, 1014, 720}));
    EXPECT_EQ(TMainFrm::PlaceWindow(true, {}, {1366, 768}), (Placement{176, 24, 1014, 720}));
    // Smaller screens give negative positions; integer division truncates toward zero.
    EXPECT_EQ(TMainFrm::PlaceWindow(true, {}, {800, 800}), (Placement{-107, 40, 1014, 720}));
    EXPECT_EQ(TMainFrm::PlaceWindow(true, {}, {800, 600}), (Placement{-107, -60, 1014, 720}));
}

TEST(WindowPlacement, StoredValuesAreBroughtBackOntoTheScreen)
{
    const QSize screen(1920, 1080);
    EXPECT_EQ(TMainFrm::PlaceWindow(false, {-1, -1, -1, -1}, screen), (Placement{0, 0, 1014, 720}));
    EXPECT_EQ(TMainFrm::PlaceWindow(false, {100, 50, 2000, 2000}, screen),
              (Placement{906, 360, 1014, 720}));
    EXPECT_EQ(TMainFrm::PlaceWindow(false, {1000, 500, 1014, 720}, screen),
              (Placement{906, 360, 1014, 720}));
    EXPECT_EQ(TMainFrm::PlaceWindow(false, {0, 0, 1920, 1080}, screen),
              (Placement{0, 0, 1920, 1080}));
    EXPECT_EQ(TMainFrm::PlaceWindow(false, {-8, -8, 1936, 1096}, screen),
              (Placement{906, 360, 1014, 720}));
}

TEST_F(GuiTest, EmptySettingsGiveTheDefaults)
{
    auto window = createWindow();
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(window->cbb_SPI->currentIndex(), 5);
    EXPECT_EQ(window->cbb_SPI->currentText(), QStringLiteral("125  kHz (8µs)"));
    // The design preselects option 0; the setting's default wins.
    EXPECT_EQ(window->RadioGroup_Power->itemIndex(), 1);
    EXPECT_TRUE(window->chk_CheckSignature->isChecked());
    EXPECT_TRUE(window->chk_VerifyEEProm->isChecked());
    EXPECT_FALSE(window->chk_ProgramEEProm->isChecked());
    EXPECT_FALSE(window->chk_ProgramFuseBits->isChecked());
    EXPECT_FALSE(window->chk_ProgramLockBits->isChecked());
    EXPECT_TRUE(window->chk_Module_StartApplication->isChecked());
    EXPECT_EQ(CurrentComPort, QString::fromLatin1(DefaultComPort));
    EXPECT_EQ(window->ComboBox1->currentText(), CurrentComPort);
    EXPECT_EQ(window->targetMode(), 1);
    EXPECT_TRUE(window->Action_BoardSettings->isEnabled());
    EXPECT_EQ(window->lbl_FuseNotRead->text(), QStringLiteral("T724"));
    EXPECT_TRUE(window->lbl_FuseNotRead->styleSheet().contains(QStringLiteral("#ff0000"), Qt::CaseInsensitive));
    EXPECT_EQ(window->StaticText_ProgramVersion->text(),
              QStringLiteral("Version: %1.%2.%3 Build: %4")
                  .arg(BuildVersion::Major)
                  .arg(BuildVersion::Minor)
                  .arg(BuildVersion::Release)
                  .arg(BuildVersion::Build));
    EXPECT_TRUE(window->Label_SystemIdentifier->text().isEmpty());
    EXPECT_TRUE(window->Label_SystemSerialNumber->text().isEmpty());
    // No definitions: both lists are disabled and their labels hidden.
    EXPECT_FALSE(window->cbb_Microcontroller->isEnabledTo(window.get()));
    EXPECT_FALSE(window->Label_mc_signature->isVisibleTo(window.get()));
    EXPECT_FALSE(window->Label22->isVisibleTo(window.get()));
    EXPECT_EQ(window->FlashImage.ImageLoaded, false);
    EXPECT_EQ(window->EepromImage.ImageMisfit, true);
}

TEST_F(GuiTest, StoredChoicesAreMappedAsRead)
{
    writeSetting(ProgramOptions, "SPI_Speed", "11");
    writeSetting(ProgramOptions, "TargetVoltage", "3");
    writeSetting(ProgramOptions, "Targetsystem", "1");
    auto window = createWindow();
    EXPECT_EQ(window->cbb_SPI->currentIndex(), 10);
    EXPECT_EQ(window->RadioGroup_Power->itemIndex(), 1);
    EXPECT_EQ(window->targetMode(), 2);
    EXPECT_FALSE(window->Action_BoardSettings->isEnabled());
    window.reset();

    writeSetting(ProgramOptions, "SPI_Speed", "-1");
    writeSetting(ProgramOptions, "TargetVoltage", "2");
    for (const char *target : {"-1", "5"}) {
        writeSetting(ProgramOptions, "Targetsystem", target);
        window = createWindow();
        EXPECT_EQ(window->cbb_SPI->currentIndex(), -1);
        EXPECT_EQ(window->RadioGroup_Power->itemIndex(), 2);
        EXPECT_EQ(window->targetMode(), 0) << target;
        EXPECT_EQ(window->cbb_Targetsystem->currentIndex(), -1);
        EXPECT_FALSE(window->Action_BoardSettings->isEnabled());
        window.reset();
    }
}

TEST_F(GuiTest, SettingsReadAtCreationAreWrittenBackUnchanged)
{
    // Every box the other way round from its default, and unusual choices.
    const QStringList boxes = {"AutoProg_CheckSignature", "AutoProg_ChipErase",
                               "AutoProg_ProgramFlash", "AutoProg_VerifyFlash",
                               "AutoProg_ProgramEeprom", "AutoProg_VerifyEeprom",
                               "AutoProg_ProgramFuseBits", "AutoProg_ProgramLockBits",
                               "ManualProg_VerifyFlash", "ManualProg_VerifyEeprom",
                               "ManualProg_ChipEraseBeforeProg", "ManualProg_VerifyFlashInModul",
                               "ManualProg_VerifyEepromInModul", "ManualProg_Modul_StartApplication"};
    const QSet<QString> onByDefault = {"AutoProg_ProgramEeprom", "AutoProg_ProgramFuseBits",
                                       "AutoProg_ProgramLockBits"};
    for (const QString &box : boxes)
        writeSetting(ProgrammingOptions, box, onByDefault.contains(box) ? "1" : "0");
    writeSetting("Interface", "ProgrammerCom", "/dev/pts/42");
    writeSetting("Interface", "UartCom", "/dev/ttyUSB3");
    writeSetting(ProgramOptions, "SPI_Speed", "2");
    writeSetting(ProgramOptions, "TargetVoltage", "0");
    writeSetting(ProgramOptions, "AskOnShutDown", "0");
    writeSetting("System", "FirstStart", "0");
    writeSetting("System", "WindowLeft", "10");
    writeSetting("System", "WindowTop", "20");
    writeSetting("System", "WindowWidth", "1100");
    writeSetting("System", "WindowHeight", "750");
    QMap<QString, QString> before;
    for (const QString &box : boxes)
        before[box] = readSetting(ProgrammingOptions, box);

    auto window = createWindow();
    EXPECT_FALSE(window->chk_CheckSignature->isChecked());
    EXPECT_TRUE(window->chk_ProgramEEProm->isChecked());
    EXPECT_FALSE(window->chk_Module_StartApplication->isChecked());
    window->show();
    EXPECT_TRUE(window->close());

    for (const QString &box : boxes)
        EXPECT_EQ(readSetting(ProgrammingOptions, box), before[box]) << box.toStdString();
    EXPECT_EQ(readSetting("Interface", "ProgrammerCom"), QStringLiteral("/dev/pts/42"));
    EXPECT_EQ(readSetting("Interface", "UartCom"), QStringLiteral("/dev/ttyUSB3"));
    EXPECT_EQ(readSetting(ProgramOptions, "SPI_Speed"), QStringLiteral("2"));
    EXPECT_EQ(readSetting(ProgramOptions, "TargetVoltage"), QStringLiteral("0"));
    EXPECT_EQ(readSetting(ProgramOptions, "Microcontroller"), QStringLiteral("-1"));
    EXPECT_EQ(readSetting(ProgramOptions, "MicrocontrollerModul"), QStringLiteral("-1"));
    EXPECT_EQ(readSetting("System", "FirstStart"), QStringLiteral("0"));
    // The geometry comes back as placed on this screen, in the convention it was read.
    const TMainFrm::Placement placed = TMainFrm::PlaceWindow(
        false, {10, 20, 1100, 750}, QGuiApplication::primaryScreen()->geometry().size());
    EXPECT_EQ(readSetting("System", "WindowLeft"), QString::number(placed.left));
    EXPECT_EQ(readSetting("System", "WindowWidth"), QString::number(placed.width));
    EXPECT_EQ(readSetting("System", "WindowHeight"), QString::number(placed.height));
    // The target is written when it is chosen, never by the close query.
    EXPECT_EQ(readSetting(ProgramOptions, "Targetsystem"), QStringLiteral("<missing>"));
    EXPECT_TRUE(ui.questions.isEmpty());
}

TEST_F(GuiTest, CloseQueryWritesEveryKeyAndTheRecentFiles)
{
    writeSetting(ProgramOptions, "AskOnShutDown", "0");
    auto window = createWindow();
    window->edt_FlashFile->addItems({"/tmp/a.hex", "/tmp/b.hex"});
    window->edt_EEProm->addItem("/tmp/c.eep");
    window->show();
    ASSERT_TRUE(window->close());
    for (const auto &[section, key] : ClosingKeys)
        EXPECT_NE(readSetting(section, key), QStringLiteral("<missing>")) << key.toStdString();
    EXPECT_EQ(readSetting("RescentFiles", "FlashFile_0"), QStringLiteral("/tmp/a.hex"));
    EXPECT_EQ(readSetting("RescentFiles", "FlashFile_1"), QStringLiteral("/tmp/b.hex"));
    EXPECT_EQ(readSetting("RescentFiles", "FlashEEProm_0"), QStringLiteral("/tmp/c.eep"));
    // Booleans are written as 1 and 0.
    EXPECT_EQ(readSetting(ProgrammingOptions, "AutoProg_ChipErase"), QStringLiteral("1"));
    EXPECT_EQ(readSetting(ProgrammingOptions, "AutoProg_ProgramEeprom"), QStringLiteral("0"));
}

TEST_F(GuiTest, AnsweringNoKeepsTheWindowAndTheProgrammerLinkOpen)
{
    auto window = createWindow();
    window->show();
    ui.answers = {false};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(ui.questions, QStringList{QStringLiteral("T3")});
    EXPECT_TRUE(window->isVisible());
    // Closing the link would log its closing line under a running board operation.
    EXPECT_FALSE(window->redt_Status->toPlainText().contains(QStringLiteral("T3003")));
    // The settings are written whatever the answer.
    EXPECT_EQ(readSetting("System", "FirstStart"), QStringLiteral("0"));

    ui.answers = {true};
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(window->redt_Status->toPlainText().contains(QStringLiteral("T3003")));
}

TEST_F(GuiTest, ClosingIsRefusedSilentlyWhileAModuleOperationRuns)
{
    auto window = createWindow();
    window->show();
    const QString before = settingsText();
    OperationIdle = false;
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_EQ(settingsText(), before);
    OperationIdle = true;
}

TEST_F(GuiTest, FirstStartIsCentredAndLaterStartsUseTheStoredGeometry)
{
    writeSetting(ProgramOptions, "AskOnShutDown", "0");
    auto window = createWindow();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const Placement first = TMainFrm::PlaceWindow(true, {}, screen);
    EXPECT_EQ(window->size(), QSize(first.width, first.height));
    window->show();
    ASSERT_TRUE(window->close());
    EXPECT_EQ(readSetting("System", "FirstStart"), QStringLiteral("0"));

    writeSetting("System", "WindowLeft", "3");
    writeSetting("System", "WindowTop", "4");
    writeSetting("System", "WindowWidth", "1014");
    writeSetting("System", "WindowHeight", "720");
    window = createWindow();
    const Placement later = TMainFrm::PlaceWindow(false, {3, 4, 1014, 720}, screen);
    EXPECT_EQ(window->size(), QSize(later.width, later.height));
    EXPECT_EQ(window->pos(), QPoint(later.left, later.top));
}

TEST_F(GuiTest, TextsComeFromTheControlsTextIds)
{
    auto window = createWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("T0"));
    EXPECT_EQ(menuTexts(*window),
              (QStringList{"T6500", "T6501", "T6503", "T6504"}));
    EXPECT_EQ(window->RadioGroup_Power->title(), QStringLiteral("T4000"));
    EXPECT_EQ(window->RadioGroup_Power->itemText(2), QStringLiteral("T4003"));
    EXPECT_EQ(window->GroupBox_Auto->title(), QStringLiteral("T700"));
    EXPECT_EQ(window->btn_StartAutoProgram->text(), QStringLiteral("T709"));
    EXPECT_EQ(window->btn_ChipErase->text(), QStringLiteral("T730"));
    EXPECT_EQ(window->chk_Module_StartApplication->text(), QStringLiteral("T742"));
    EXPECT_EQ(window->dlgOpen_Flash.title, QStringLiteral("T12"));
    EXPECT_EQ(window->dlgOpen_EEprom.title, QStringLiteral("T13"));
    EXPECT_EQ(window->dlgOpen_EEprom.filter, QStringLiteral("T15"));
    // Controls without a text id keep their design text.
    EXPECT_EQ(window->cbb_Targetsystem->itemText(0), QStringLiteral("Zefa Development Board (Rev1)"));
    bool lowLabelFound = false;
    for (QLabel *label : window->grp_FuseBits->findChildren<QLabel *>())
        lowLabelFound |= label->text() == QStringLiteral("Low:");
    EXPECT_TRUE(lowLabelFound);
    EXPECT_EQ(window->cbb_SPI->count(), 11);
    EXPECT_EQ(window->cbb_SPI->itemText(10), QStringLiteral("1  kHz (1ms)"));

    // Re-texting keeps the target-voltage choice and leaves the fuse label alone.
    window->RadioGroup_Power->setItemIndex(2);
    window->lbl_FuseNotRead->setText(QStringLiteral("read"));
    window->ac_Options->trigger();
    EXPECT_EQ(window->RadioGroup_Power->itemIndex(), 2);
    EXPECT_EQ(window->RadioGroup_Power->itemText(0), QStringLiteral("T4001"));
    EXPECT_EQ(window->lbl_FuseNotRead->text(), QStringLiteral("read"));
}

TEST_F(GuiTest, TheCloseCommandRunsTheCloseQuery)
{
    auto window = createWindow();
    window->show();
    ui.answers = {false};
    window->ac_Close->trigger();
    EXPECT_EQ(ui.questions.size(), 1);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(GuiTest, WindowLinkAnswersForTheChoices)
{
    auto window = createWindow();
    MainWindowLink *link = mainWindowLink();
    ASSERT_EQ(link, window.get());
    window->cbb_SPI->setCurrentIndex(3);
    EXPECT_EQ(link->spiSpeedIndex(), 3);
    EXPECT_EQ(link->spiSpeedCount(), 11);
    EXPECT_EQ(link->spiSpeedText(), QStringLiteral("500  kHz (2µs)"));
    window->RadioGroup_Power->setItemIndex(-1);
    EXPECT_EQ(link->powerOptionIndex(), -1);
    link->setSystemSerialNumber(QStringLiteral("SN 1"));
    EXPECT_EQ(window->Label_SystemSerialNumber->text(), QStringLiteral("SN 1"));
    link->progressBar().setMaximum(4);
    link->progressBar().setPosition(0);
    link->progressBar().stepIt();
    EXPECT_EQ(window->pb_steps->value(), 1);
    window.reset();
    EXPECT_EQ(mainWindowLink(), nullptr);
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
