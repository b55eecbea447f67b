// The device lists, the device choice and the image files: opening, recent
// lists, fit checks, unloading, the last files at start-up and the reload.
#include "GuiFixture.h"

#include "DefinitionFile.h"
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
    EXPECT_TRUE(ui.errors.isEmpty());
    EXPECT_EQ(entries(window->cbb_Microcontroller), QStringList({"chip a", "Chip B"}));
    EXPECT_EQ(entries(window->cbb_MicrocontrollerModule), QStringList{"Module 1"});
    // The first entry is chosen and set up, so that no empty fuse edit can be written.
    EXPECT_EQ(window->edt_FuseBitsLow->text() + window->edt_FuseBitsHigh->text(), QStringLiteral("E1FF"));
    EXPECT_TRUE(window->grp_FuseBits->isEnabledTo(window.get()) && window->grp_SPI->isEnabledTo(window.get()));
    EXPECT_EQ(window->Label_mc_signature->text() + window->Label_MC_FlashMemory->text(),
              QStringLiteral("0x1E93071024 Byte"));
    EXPECT_TRUE(window->img_Warnung2->isVisibleTo(window.get()));
    EXPECT_EQ(window->img_HighWarning->toolTip().split(QStringLiteral("\r\n")).size(), 2);  // SPIEN, JTAGEN
    // No extended byte, SPIEN programmed.
    chooseEntry(window->cbb_Microcontroller, 1);
    EXPECT_FALSE(ownEnabled(window->edt_FuseBitsExtendet) || ownEnabled(window->btn_ChangeExtended));
    EXPECT_FALSE(window->img_HighWarning->isVisibleTo(window.get()) || !window->img_Warnung2->toolTip().isEmpty());
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
        const std::string name = row.content.left(24).toStdString();
        EXPECT_EQ(window->cbb_Microcontroller->count(), row.microcontrollers) << name;
        EXPECT_EQ(window->cbb_MicrocontrollerModule->count(), row.modules) << name;
        EXPECT_EQ(ui.errors.size(), row.errors) << name;
        EXPECT_EQ(ui.errors.value(0) == wrongVersion, row.versionMessage) << name;
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
    EXPECT_EQ(ui.fileRequests.value(0).folder, DefaultFolder());
    EXPECT_EQ(ui.fileRequests.value(1).folder + ui.fileRequests.value(1).title, folder + "T12");
    EXPECT_EQ(ui.errors, QStringList{"T19"});  // big.hex does not fit
    // On Linux a name in other case is another file; two names are kept.
    EXPECT_EQ(entries(window->edt_FlashFile), QStringList({otherCase, tooBig}));
    EXPECT_TRUE(ownEnabled(window->btn_WriteFlash));
    EXPECT_EQ(readSetting(ProgramOptions, "LastFlashFile") + readSetting(ProgramOptions, "LastFlashDir"),
              otherCase + folder);
    chooseEntry(window->edt_FlashFile, 1);
    EXPECT_EQ(entries(window->edt_FlashFile), QStringList({tooBig, otherCase}));
    EXPECT_FALSE(ownEnabled(window->btn_WriteFlash));
    chooseEntry(window->edt_FlashFile, 1);

    // A file that cannot be read leaves the old lines, unusable, and the settings alone.
    const QString malformed = files.filePath("malformed.hex"), pipe = files.filePath("pipe.hex");
    writeFile(malformed, ":10ZZZZ00FF\n");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString &bad : {malformed, pipe, files.filePath("missing.hex")}) {
        window->edt_FlashFileChange(fits);
        ASSERT_TRUE(ownEnabled(window->btn_WriteFlash));
        window->edt_FlashFileChange(bad);
        EXPECT_EQ(window->FlashImage.ImageFileName + window->FlashImage.Items(0).GetByte(1), fits + "01");
        EXPECT_FALSE(ownEnabled(window->btn_WriteFlash));
        EXPECT_EQ(readSetting(ProgramOptions, "LastFlashFile"), fits);
    }
    EXPECT_EQ(ui.errors.size(), 5);
    // The module target's device has no flash: the image is checked again and fits nothing.
    chooseEntry(window->cbb_Targetsystem, 1);
    EXPECT_EQ(window->SelectedFlashSize(), -33);
    EXPECT_EQ(ui.errors.size(), 6);
    EXPECT_TRUE(!ownEnabled(window->btn_Module_ProgramFlash) && ownEnabled(window->btn_Module_FlashErase));
    THexContainer empty;
    empty.Resize(-34);
    EXPECT_EQ(empty.count(), 0);

    window->btn_unloadFlash->click();
    EXPECT_FALSE(window->FlashImage.ImageLoaded || window->FlashImage.count() > 0);
    EXPECT_EQ(window->edt_FlashFile->currentIndex() + window->edt_FlashFile->count(), -1 + 2);
    EXPECT_EQ(readSetting(ProgramOptions, "LastFlashFile"), NoFile);
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
        EXPECT_EQ(ui.errors, row.errors) << row.recentFiles << row.flash << row.eeprom;
        EXPECT_EQ(window->FlashImage.ImageFileName + window->edt_FlashFile->currentText(),
                  (row.flash ? recent[3] : QString()) + (row.flash && row.flashEntries ? recent[3] : QString()));
        EXPECT_EQ(window->edt_FlashFile->count(), row.flashEntries);
        EXPECT_EQ(readSetting(ProgramOptions, "LastEEpromFile"), row.eeprom ? eeprom : NoFile);
        EXPECT_EQ(ownEnabled(window->btn_WriteEEprom), row.eeprom);
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
        EXPECT_EQ(ui.questions, row.questions) << row.change;
        EXPECT_EQ(window->FlashImage.Items(0).GetByte(1), row.firstByte) << row.change;
        EXPECT_EQ(window->FlashImage.count(), DeviceLines) << row.change;
        EXPECT_EQ(ownEnabled(window->btn_WriteFlash), row.change != Vanished) << row.change;
        if (row.change == Vanished) {
            // It comes back, newer than the cleared time, and is offered again.
            writeHexFile("image.hex", 512, 3);
            window->ApplicationActivated();
            EXPECT_EQ(ui.questions.value(0) + window->FlashImage.Items(0).GetByte(1), QStringLiteral("T7103"));
        }
    }
}
