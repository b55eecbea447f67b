// The device lists, the device choice and the image files: opening, recent
// lists, fit checks, unloading, the last files at start-up and the reload.
#include "GuiFixture.h"

#include "BoardSimulator.h"
#include "DefinitionTable.h"
#include "TargetSystemCombo.h"

#include <sys/stat.h>

namespace {
const QString ProgramOptions = QStringLiteral("ProgramOptions");
const QString NoFile = QStringLiteral("nil");
constexpr int DeviceLines = 1024 / 16;

QStringList entries(const QComboBox *list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->itemText(i);
    return names;
}

bool ownEnabled(const QWidget *control)
{
    return control->isEnabledTo(control->parentWidget());
}
}

TEST_F(GuiTest, DefinitionsStandSortedAndAStoredIndexPastTheEndChoosesTheFirst)
{
    writeDefinitions(TestDefinitions);
    writeSetting(ProgramOptions, "Microcontroller", "2");
    auto window = createWindow();
    const TMainFrm &w = *window;
    // The first entry is chosen and set up, so that no empty fuse edit can be written; SPIEN and JTAGEN warned of.
    EXPECT_EQ(joined({ui.errors.join(','), entries(w.cbb_Microcontroller).join(','),
                      entries(w.cbb_MicrocontrollerModule).join(','), w.edt_FuseBitsLow->text(),
                      w.edt_FuseBitsHigh->text(),
                      w.grp_FuseBits->isEnabledTo(&w) && w.grp_SPI->isEnabledTo(&w), w.Label_mc_signature->text(),
                      w.Label_MC_FlashMemory->text(), w.img_Warnung2->isVisibleTo(w.pnl_StartProgramm_DevelopmentBoard),
                      w.img_HighWarning->toolTip().split(QStringLiteral("\r\n")).size()}),
              "|chip a,Chip B|Module 1|E1|FF|true|0x1E9307|1024 Byte|true|2");
    // No extended byte, SPIEN programmed.
    chooseEntry(window->cbb_Microcontroller, 1);
    EXPECT_FALSE(ownEnabled(w.edt_FuseBitsExtendet) || ownEnabled(w.btn_ChangeExtended)
                 || w.img_HighWarning->isVisibleTo(w.pnl_DevelopmentBord) || !w.img_Warnung2->toolTip().isEmpty());
}

TEST_F(GuiTest, ABadDefinitionFileIsReportedOnceAndTheWindowStarts)
{
    const QByteArray good = WriteDefinitionData(ParseDefinitionTable(TestDefinitions));
    const QByteArray header(DefinitionFileHeader);
    const QString wrongVersion = QStringLiteral("Die Datei hat nicht die erforderliche Version!");
    struct Row {
        QByteArray content;
        int microcontrollers, modules, errors;
        bool versionMessage;
    } const rows[] = {
        {header, 0, 0, 0, false},
        {QByteArray(good).replace(0, 4, "file"), 0, 0, 1, true},
        {header + "\n" + good.mid(header.size()), 0, 0, 1, false},
        {good.left(good.size() - 5), 2, 0, 1, false},  // the records before the cut stay
    };
    for (const Row &row : rows) {
        writeFile(definitionFile(), row.content);
        ui.errors.clear();
        auto window = createWindow();
        EXPECT_EQ(joined({window->cbb_Microcontroller->count(), window->cbb_MicrocontrollerModule->count(),
                          ui.errors.size(), ui.errors.value(0) == wrongVersion}),
                  joined({row.microcontrollers, row.modules, row.errors, row.versionMessage}))
            << row.content.left(24).toStdString();
    }
}

TEST_F(GuiTest, OpeningChoosingAndUnloadingAFlashFile)
{
    writeDefinitions(TestDefinitions);
    writeSetting(ProgramOptions, "RecentFiles", "2");
    auto window = createWindow();
    const QString fits = writeHexFile("small.hex", 512), tooBig = writeHexFile("big.hex", 2048);
    const QString otherCase = writeHexFile("Small.hex", 512, 2), folder = files.path() + QLatin1Char('/');
    for (const QString &file : {fits, tooBig, otherCase}) {
        ui.fileAnswer = file;
        window->btn_OpenFlashFile->click();
    }
    // big.hex does not fit. On Linux a name in other case is another file; two names are kept.
    const auto state = [&] {
        return joined({entries(window->edt_FlashFile).join(','), ownEnabled(window->btn_WriteFlash),
                       readSetting(ProgramOptions, "LastFlashFile"), readSetting(ProgramOptions, "LastFlashDir")});
    };
    EXPECT_EQ(joined({ui.fileRequests.value(0).folder, ui.fileRequests.value(1).folder, ui.fileRequests.value(1).title,
                      ui.errors.join(','), state()}),
              joined({DefaultFolder(), folder, "T12", "T19", otherCase + ',' + tooBig, true, otherCase, folder}));
    chooseEntry(window->edt_FlashFile, 1);
    EXPECT_EQ(state(), joined({tooBig + ',' + otherCase, false, tooBig, folder}));
    chooseEntry(window->edt_FlashFile, 1);

    // A file that cannot be read leaves an empty image, unusable, and the settings alone.
    const QString malformed = files.filePath("malformed.hex"), pipe = files.filePath("pipe.hex");
    writeFile(malformed, ":10ZZZZ00FF\n");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString &bad : {malformed, pipe, files.filePath("missing.hex")}) {
        window->edt_FlashFileChange(fits);
        ASSERT_TRUE(ownEnabled(window->btn_WriteFlash));
        window->edt_FlashFileChange(bad);
        EXPECT_EQ(joined({window->FlashImage.ImageLoaded, window->FlashImage.count(),
                          ownEnabled(window->btn_WriteFlash), readSetting(ProgramOptions, "LastFlashFile")}),
                  joined({false, 0, false, fits}));
    }
    EXPECT_EQ(ui.errors.size(), 5);
    window->edt_FlashFileChange(fits);
    // The module target's device has no flash: the image is checked again and fits nothing.
    chooseEntry(window->cbb_Targetsystem, 1);
    EXPECT_EQ(joined({window->SelectedFlashSize(), ui.errors.size(), ownEnabled(window->btn_Module_ProgramFlash),
                      ownEnabled(window->btn_Module_FlashErase)}), "-33|6|false|true");
    THexContainer empty;
    empty.Resize(-34);
    EXPECT_EQ(empty.count(), 0);

    window->btn_unloadFlash->click();
    EXPECT_EQ(joined({window->FlashImage.ImageLoaded, window->FlashImage.count(), window->edt_FlashFile->currentIndex(),
                      window->edt_FlashFile->count(), readSetting(ProgramOptions, "LastFlashFile")}),
              "false|0|-1|2|" + NoFile);
}

TEST_F(GuiTest, TheLastFilesAreLoadedAtStartUp)
{
    writeDefinitions(TestDefinitions);
    QStringList recent;
    for (int n = 0; n < 6; ++n) {
        recent << writeHexFile(QStringLiteral("recent%1.hex").arg(n), 512, n);
        writeSetting("RescentFiles", QStringLiteral("FlashFile_%1").arg(n), recent.last());
    }
    const QString eeprom = writeHexFile("data.eep", 64), gone = files.filePath("gone.hex");
    struct Row {
        const char *recentFiles;
        bool flash, eeprom;
        QStringList errors;
        int flashEntries;
    } const rows[] = {{"6", true, true, {}, 6}, {"-3", true, true, {}, 0}, {"5", true, false, {"T7001"}, 5},
                      {"5", false, true, {"T7000"}, 5}, {"5", false, false, {"T7002"}, 5}};
    for (const Row &row : rows) {
        writeSetting(ProgramOptions, "RecentFiles", row.recentFiles);
        writeSetting(ProgramOptions, "LastFlashFile", row.flash ? recent[3] : gone);
        writeSetting(ProgramOptions, "LastEEpromFile", row.eeprom ? eeprom : gone);
        ui.errors.clear();
        auto window = createWindow();
        EXPECT_EQ(joined({ui.errors.join(','), window->FlashImage.ImageFileName, window->edt_FlashFile->currentText(),
                          window->edt_FlashFile->count(), readSetting(ProgramOptions, "LastEEpromFile"),
                          ownEnabled(window->btn_WriteEEprom)}),
                  joined({row.errors.join(','), row.flash ? recent[3] : "",
                          row.flash && row.flashEntries ? recent[3] : "", row.flashEntries, row.eeprom ? eeprom : NoFile, row.eeprom}))
            << row.recentFiles << row.flash << row.eeprom;
    }
}

TEST_F(GuiTest, AChangedFileIsReloadedOnActivationAndAVanishedOneBecomesUnusable)
{
    writeDefinitions(TestDefinitions);
    enum Change { Unchanged, Rewritten, Vanished, RewrittenDuringOperation };
    struct Row {
        Change change;
        bool ask, answer;
        QStringList questions;
        QString firstByte;
    } const rows[] = {
        {Unchanged, true, true, {}, "01"}, {Rewritten, true, true, {"T71"}, "02"},
        {Rewritten, true, false, {"T71"}, "01"}, {Rewritten, false, false, {}, "02"},
        {Vanished, true, true, {}, "FF"}, {RewrittenDuringOperation, true, true, {"T71"}, "02"},
    };
    for (const Row &row : rows) {
        writeSetting("Messages", "ShowReloadMessage", row.ask ? "1" : "0");
        auto window = createWindow();
        const QString file = writeHexFile("image.hex", 512, 1);
        window->edt_FlashFileChange(file);
        if (row.change == Vanished) {
            QFile::remove(file);
        } else if (row.change != Unchanged) {
            writeHexFile("image.hex", 512, 2);
            QFile changed(file);
            ASSERT_TRUE(changed.open(QIODevice::ReadWrite));
            changed.setFileTime(window->FlashImage.ImageFileDate.addSecs(10), QFileDevice::FileModificationTime);
        }
        ui.answers = {row.answer};
        ui.questions.clear();
        const bool busy = row.change == RewrittenDuringOperation;
        if (busy)
            window->BeginDeviceOperation();
        window->ApplicationActivated();
        EXPECT_EQ(ui.questions.isEmpty(), row.questions.isEmpty() || busy) << row.change;
        if (busy)
            window->EndDeviceOperation();  // the check put off meanwhile runs now
        EXPECT_EQ(joined({ui.questions.join(','), window->FlashImage.Items(0).GetByte(1), window->FlashImage.count(),
                          ownEnabled(window->btn_WriteFlash)}),
                  joined({row.questions.join(','), row.firstByte, DeviceLines, row.change != Vanished}))
            << row.change;
        if (row.change == Vanished) {
            // It comes back, newer than the cleared time, and is offered again.
            writeHexFile("image.hex", 512, 3);
            window->ApplicationActivated();
            EXPECT_EQ(ui.questions.value(0) + window->FlashImage.Items(0).GetByte(1), QStringLiteral("T7103"));
        }
    }
}

// A change stopped by a fuse text that is not hexadecimal shows the error and
// still runs its closing steps: it offers only what fits, and no longer claims
// that the fuse edits hold the bytes read from the board.
TEST_F(GuiTest, AChangeThatRaisesStillRunsItsClosingSteps)
{
    writeDefinitions(TestDefinitions + "[chip bad]\nBase=Chip B\nFlashSize=512\nDefaultFuseHigh=XY\n");
    writeSetting(ProgramOptions, "Microcontroller", "1");
    BoardSimulator board(1024, 64);
    board.setSignature(0x1E9307);
    writeSetting("Interface", "ProgrammerCom", CurrentComPort = board.portPath());
    auto window = createWindow();
    window->edt_FlashFileChange(writeHexFile("full.hex", 1024));
    for (QCheckBox *box : window->AutoRunBoxes())
        box->setChecked(box == window->chk_ProgramFlash);
    window->btn_FuseRead->click();
    const auto state = [&] {
        return joined({ownEnabled(window->btn_WriteFlash), ownEnabled(window->chk_ProgramFlash),
                       ownEnabled(window->btn_StartAutoProgram), ui.errors.contains("No Hex-Number"),
                       window->lbl_FuseNotRead->text()});
    };
    ASSERT_EQ(state(), "true|true|true|false|T725");  // T725: the fuse bytes read
    chooseEntry(window->cbb_Microcontroller, 2);
    EXPECT_EQ(state(), "false|false|false|true|T724");
}
