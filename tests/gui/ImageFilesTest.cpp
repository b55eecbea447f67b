// The image files: opening, recent lists, fit checks, unloading, the last
// files at start-up and the reload of a changed or vanished file.
#include "GuiFixture.h"

#include "HexContainer.h"
#include "TargetSystemCombo.h"
#include "TestEnvironment.h"
#include "Utils.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QToolButton>
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

QString firstByte(const THexContainer &image)
{
    return image.count() > 0 ? image.Items(0).GetByte(1) : QString();
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
    EXPECT_EQ(window->FlashImage.count(), DeviceLines);
    EXPECT_TRUE(ownEnabled(window->btn_WriteFlash));
    EXPECT_EQ(readSetting(ProgramOptions, "LastFlashFile"), otherCase);
    EXPECT_EQ(readSetting(ProgramOptions, "LastFlashDir"), folder);

    chooseEntry(window->edt_FlashFile, 1);
    EXPECT_EQ(entries(window->edt_FlashFile), QStringList({tooBig, otherCase}));
    EXPECT_TRUE(window->FlashImage.ImageMisfit);
    EXPECT_FALSE(ownEnabled(window->btn_WriteFlash));
    chooseEntry(window->edt_FlashFile, 1);
    EXPECT_TRUE(ownEnabled(window->btn_WriteFlash));

    // The module target's device has no flash: the image is checked again and fits nothing.
    chooseEntry(window->cbb_Targetsystem, 1);
    EXPECT_EQ(window->SelectedFlashSize(), -33);
    EXPECT_EQ(ui.errors.size(), 3);
    EXPECT_FALSE(ownEnabled(window->btn_Module_ProgramFlash));
    EXPECT_TRUE(ownEnabled(window->btn_Module_FlashErase));
    THexContainer empty;
    empty.Resize(-34);
    EXPECT_EQ(empty.count(), 0);

    window->btn_unloadFlash->click();
    EXPECT_FALSE(window->FlashImage.ImageLoaded || window->FlashImage.count() > 0);
    EXPECT_EQ(window->edt_FlashFile->currentIndex(), -1);
    EXPECT_EQ(window->edt_FlashFile->count(), 2);
    EXPECT_EQ(readSetting(ProgramOptions, "LastFlashFile"), NoFile);
}

TEST_F(GuiTest, AFileThatCannotBeReadLeavesTheOldImageUnusable)
{
    writeDefinitions(TestDefinitions);
    auto window = createWindow();
    const QString good = writeHexFile("good.hex", 512);
    const QString malformed = files.filePath("malformed.hex"), pipe = files.filePath("pipe.hex");
    writeFile(malformed, ":10ZZZZ00FF\n");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString &bad : {malformed, pipe, files.filePath("missing.hex")}) {
        window->edt_FlashFileChange(good);
        ASSERT_TRUE(ownEnabled(window->btn_WriteFlash));
        ui.errors.clear();
        window->edt_FlashFileChange(bad);
        EXPECT_EQ(ui.errors.size(), 1) << bad.toStdString();
        EXPECT_EQ(window->FlashImage.ImageFileName + firstByte(window->FlashImage), good + "01");
        EXPECT_TRUE(window->FlashImage.ImageMisfit);
        EXPECT_FALSE(ownEnabled(window->btn_WriteFlash));
        EXPECT_EQ(readSetting(ProgramOptions, "LastFlashFile"), good);
    }
}

TEST_F(GuiTest, TheLastFilesAreLoadedAtStartUp)
{
    writeDefinitions(TestDefinitions);
    QStringList recent;
    for (int n = 0; n < 7; ++n) {
        recent << writeHexFile(QStringLiteral("recent%1.hex").arg(n), 512, n);
        writeSetting("RescentFiles", QStringLiteral("FlashFile_%1").arg(n), recent.last());
    }
    const QString eeprom = writeHexFile("data.eep", 64), gone = files.filePath("gone.hex");
    struct Row {
        const char *recentFiles;
        bool flash, eeprom;
        QStringList errors;
        int flashEntries;
    } const rows[] = {
        {"7", true, true, {}, 7}, {"not a number", true, true, {}, 5}, {"-3", true, true, {}, 0},
        {"5", true, false, {"T7001"}, 5}, {"5", false, true, {"T7000"}, 5}, {"5", false, false, {"T7002"}, 5},
    };
    for (const Row &row : rows) {
        writeSetting(ProgramOptions, "RecentFiles", row.recentFiles);
        writeSetting(ProgramOptions, "LastFlashFile", row.flash ? recent[3] : gone);
        writeSetting(ProgramOptions, "LastEEpromFile", row.eeprom ? eeprom : gone);
        ui.errors.clear();
        auto window = createWindow();
        const std::string name = QStringLiteral("%1 %2 %3").arg(row.recentFiles).arg(row.flash).arg(row.eeprom).toStdString();
        EXPECT_EQ(ui.errors, row.errors) << name;
        EXPECT_EQ(window->FlashImage.ImageFileName, row.flash ? recent[3] : QString()) << name;
        EXPECT_EQ(window->edt_FlashFile->count(), row.flashEntries) << name;
        EXPECT_EQ(window->edt_FlashFile->currentText(), row.flash && row.flashEntries ? recent[3] : QString()) << name;
        EXPECT_EQ(readSetting(ProgramOptions, "LastEEpromFile"), row.eeprom ? eeprom : NoFile) << name;
        EXPECT_EQ(ownEnabled(window->btn_WriteEEprom), row.eeprom) << name;
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
        {
            std::optional<DeviceOperationScope> operation;
            if (row.change == RewrittenDuringOperation)
                operation.emplace(*window);
            window->ApplicationActivated();
            EXPECT_EQ(ui.questions.isEmpty(), row.questions.isEmpty() || operation) << row.change;
        }
        EXPECT_EQ(ui.questions, row.questions) << row.change;
        EXPECT_EQ(firstByte(window->FlashImage), row.firstByte) << row.change;
        EXPECT_EQ(window->FlashImage.count(), DeviceLines) << row.change;
        EXPECT_EQ(ownEnabled(window->btn_WriteFlash), row.change != Vanished) << row.change;
        if (row.change == Vanished) {
            // It comes back, newer than the cleared time, and is offered again.
            writeHexFile("image.hex", 512, 3);
            window->ApplicationActivated();
            EXPECT_EQ(ui.questions.value(0) + firstByte(window->FlashImage), QStringLiteral("T7103"));
        }
    }
}
