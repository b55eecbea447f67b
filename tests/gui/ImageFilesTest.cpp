// The image files: opening, recent lists, fit checks, unloading, the last
// files at start-up and the reload of a changed or vanished file.
#include "GuiFixture.h"

#include "HexContainer.h"
#include "TargetSystemCombo.h"
#include "TestEnvironment.h"
#include "Utils.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
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

void setFileTime(const QString &path, const QDateTime &time)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
}
}

TEST_F(GuiTest, OpeningChoosingAndUnloadingAFlashFile)
{
    writeDefinitions(TestDefinitions);
    writeSetting(ProgramOptions, "RecentFiles", "2");
    auto window = createWindow();
    const QString fits = writeHexFile("small.hex", 512), tooBig = writeHexFile("big.hex", 2048);
    const QString sameButCase = writeHexFile("Small.hex", 512, 2);
    QPushButton *write = window->btn_WriteFlash;

    ui.fileAnswer = fits;
    window->btn_OpenFlashFile->click();
    EXPECT_EQ(ui.fileRequests.value(0).folder, DefaultFolder());
    EXPECT_EQ(ui.fileRequests.value(0).title, QStringLiteral("T12"));
    EXPECT_TRUE(window->FlashImage.ImageLoaded);
    EXPECT_FALSE(window->FlashImage.ImageMisfit);
    EXPECT_EQ(window->FlashImage.count(), DeviceLines);  // reaches the device's end
    EXPECT_TRUE(ownEnabled(write));
    EXPECT_EQ(readSetting(ProgramOptions, "LastFlashFile"), fits);
    EXPECT_EQ(readSetting(ProgramOptions, "LastFlashDir"), files.path() + QLatin1Char('/'));

    ui.fileAnswer = tooBig;
    window->btn_OpenFlashFile->click();
    EXPECT_EQ(ui.fileRequests.value(1).folder, files.path() + QLatin1Char('/'));
    EXPECT_EQ(ui.errors, QStringList{QStringLiteral("T19")});
    EXPECT_TRUE(window->FlashImage.ImageMisfit);
    EXPECT_FALSE(ownEnabled(write));

    // Names differing in case are different files; the list keeps two.
    ui.fileAnswer = sameButCase;
    window->btn_OpenFlashFile->click();
    EXPECT_EQ(entries(window->edt_FlashFile), QStringList({sameButCase, tooBig}));
    chooseEntry(window->edt_FlashFile, 1);
    EXPECT_EQ(entries(window->edt_FlashFile), QStringList({tooBig, sameButCase}));
    EXPECT_EQ(window->FlashImage.ImageFileName, tooBig);

    // Another target's device: the loaded image is checked again.
    chooseEntry(window->edt_FlashFile, 1);
    EXPECT_TRUE(ownEnabled(write));
    chooseEntry(window->cbb_Targetsystem, 1);
    EXPECT_EQ(window->SelectedFlashSize(), 256);
    EXPECT_EQ(ui.errors.size(), 3);  // big.hex when opened and when chosen, Small.hex for the module
    EXPECT_FALSE(ownEnabled(window->btn_Module_ProgramFlash));
    EXPECT_TRUE(ownEnabled(window->btn_Module_FlashErase));

    window->btn_unloadFlash->click();
    EXPECT_FALSE(window->FlashImage.ImageLoaded);
    EXPECT_EQ(window->FlashImage.count(), 0);
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
        EXPECT_EQ(window->FlashImage.ImageFileName, good);
        EXPECT_EQ(firstByte(window->FlashImage), QStringLiteral("01"));
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
        bool flashThere, eepromThere;
        QString message;
        int flashEntries;
    } rows[] = {
        {"7", true, true, {}, 7},
        {"not a number", true, true, {}, 5},
        {"-3", true, true, {}, 0},
        {"5", true, false, "T7001", 5},
        {"5", false, true, "T7000", 5},
        {"5", false, false, "T7002", 5},
    };
    for (const Row &row : rows) {
        writeSetting(ProgramOptions, "RecentFiles", row.recentFiles);
        writeSetting(ProgramOptions, "LastFlashFile", row.flashThere ? recent[3] : gone);
        writeSetting(ProgramOptions, "LastEEpromFile", row.eepromThere ? eeprom : gone);
        ui.errors.clear();
        auto window = createWindow();
        const QString name = QStringLiteral("%1 %2 %3").arg(row.recentFiles).arg(row.flashThere).arg(row.eepromThere);
        EXPECT_EQ(ui.errors, row.message.isEmpty() ? QStringList() : QStringList{row.message}) << name.toStdString();
        EXPECT_EQ(window->FlashImage.ImageLoaded, row.flashThere) << name.toStdString();
        EXPECT_EQ(window->EepromImage.ImageLoaded, row.eepromThere) << name.toStdString();
        EXPECT_EQ(window->edt_FlashFile->count(), row.flashEntries) << name.toStdString();
        if (row.flashThere && row.flashEntries > 0) {
            EXPECT_EQ(window->edt_FlashFile->itemText(0), recent[3]);
        }
        EXPECT_EQ(readSetting(ProgramOptions, "LastFlashFile"), row.flashThere ? recent[3] : NoFile);
        EXPECT_EQ(readSetting(ProgramOptions, "LastEEpromFile"), row.eepromThere ? eeprom : NoFile);
        EXPECT_EQ(ownEnabled(window->btn_WriteEEprom), row.eepromThere);
    }
}

TEST_F(GuiTest, AChangedFileIsReloadedOnActivationAndAVanishedOneBecomesUnusable)
{
    writeDefinitions(TestDefinitions);
    enum Change { Unchanged, Rewritten, Vanished, RewrittenDuringOperation };
    struct Row {
        const char *name;
        Change change;
        bool ask, answer;
        QStringList questions;
        QString firstByte;
    } rows[] = {
        {"unchanged", Unchanged, true, true, {}, "01"},
        {"rewritten, Yes", Rewritten, true, true, {"T71"}, "02"},
        {"rewritten, No", Rewritten, true, false, {"T71"}, "01"},
        {"rewritten, not asked", Rewritten, false, false, {}, "02"},
        {"vanished", Vanished, true, true, {}, "FF"},
        {"rewritten during an operation", RewrittenDuringOperation, true, true, {"T71"}, "02"},
    };
    for (const Row &row : rows) {
        writeSetting("Messages", "ShowReloadMessage", row.ask ? "1" : "0");
        auto window = createWindow();
        const QString file = writeHexFile("image.hex", 512, 1);
        window->edt_FlashFileChange(file);
        const QDateTime loaded = window->FlashImage.ImageFileDate;
        if (row.change == Vanished) {
            QFile::remove(file);
        } else if (row.change != Unchanged) {
            writeHexFile("image.hex", 512, 2);
            setFileTime(file, loaded.addSecs(10));
        }
        ui.answers = {row.answer};
        ui.questions.clear();
        if (row.change == RewrittenDuringOperation) {
            DeviceOperationScope operation(*window);
            window->ApplicationActivated();
            EXPECT_TRUE(ui.questions.isEmpty()) << row.name;
        } else {
            window->ApplicationActivated();
        }
        EXPECT_EQ(ui.questions, row.questions) << row.name;
        EXPECT_EQ(firstByte(window->FlashImage), row.firstByte) << row.name;
        EXPECT_EQ(window->FlashImage.count(), DeviceLines) << row.name;
        EXPECT_EQ(ownEnabled(window->btn_WriteFlash), row.change != Vanished)
            << row.name;
        if (row.change == Vanished) {
            // It comes back newer than the cleared time and is offered again.
            writeHexFile("image.hex", 512, 3);
            window->ApplicationActivated();
            EXPECT_EQ(ui.questions, QStringList{QStringLiteral("T71")});
            EXPECT_EQ(firstByte(window->FlashImage), QStringLiteral("03"));
        }
    }
}

TEST_F(GuiTest, ADefinitionWithoutMemoryLeavesItsImagesMisfits)
{
    writeDefinitions(TestDefinitions + "[Broken]\nBase=Chip B\nFlashSize=-33\nEEPromPageSize=0\n");
    writeSetting(ProgramOptions, "Microcontroller", "0");
    writeSetting(ProgramOptions, "LastFlashFile", writeHexFile("flash.hex", 100));
    writeSetting(ProgramOptions, "LastEEpromFile", writeHexFile("data.eep", 16));
    auto window = createWindow();
    ASSERT_EQ(window->cbb_Microcontroller->currentText(), QStringLiteral("Broken"));
    EXPECT_TRUE(window->FlashImage.ImageLoaded);
    EXPECT_TRUE(window->FlashImage.ImageMisfit);
    EXPECT_TRUE(window->EepromImage.ImageMisfit);
    EXPECT_FALSE(ownEnabled(window->btn_WriteFlash));
    EXPECT_FALSE(ownEnabled(window->btn_WriteEEprom));
    QFile::remove(window->FlashImage.ImageFileName);
    window->ApplicationActivated();
    EXPECT_EQ(window->FlashImage.count(), 0);
    THexContainer empty;
    empty.Resize(-34);
    EXPECT_EQ(empty.count(), 0);
}
