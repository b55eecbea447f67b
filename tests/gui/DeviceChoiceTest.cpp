// The definitions in the device lists and what choosing a device sets up.
#include "GuiFixture.h"

#include "DefinitionFile.h"
#include "DefinitionTable.h"
#include "Modul.h"
#include "TestEnvironment.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {
const QString ProgramOptions = QStringLiteral("ProgramOptions");
const QString SpienText = QStringLiteral("No SPIEN Fuse programmed. No further programming via ISP interface possible!");
const QString JtagenText = QStringLiteral(
    "No JTAGEN Fuse programmed. No further programming and debugging via JTAG interface possible!");

QStringList entries(const QComboBox *list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i) {
        names << list->itemText(i);
        EXPECT_EQ(TMainFrm::DefinitionAt(list, i)->Name, list->itemText(i));
    }
    return names;
}
}

TEST_F(GuiTest, DefinitionsStandSortedAndAStoredIndexPastTheEndChoosesTheFirst)
{
    writeDefinitions(TestDefinitions);
    writeSetting(ProgramOptions, "Microcontroller", "2");
    writeSetting(ProgramOptions, "MicrocontrollerModul", "7");
    auto window = createWindow();
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(entries(window->cbb_Microcontroller), QStringList({"chip a", "Chip B"}));
    EXPECT_EQ(entries(window->cbb_MicrocontrollerModule), QStringList({"Module 1", "Module 2"}));

    // The first entry is chosen and set up, so no empty fuse edit can be written.
    EXPECT_EQ(window->cbb_Microcontroller->currentIndex(), 0);
    EXPECT_EQ(window->edt_FuseBitsLow->text(), QStringLiteral("E1"));
    EXPECT_EQ(window->edt_FuseBitsHigh->text(), QStringLiteral("FF"));
    EXPECT_TRUE(window->grp_FuseBits->isEnabledTo(window.get()));
    EXPECT_TRUE(window->grp_SPI->isEnabledTo(window.get()));
    EXPECT_TRUE(window->edt_FuseBitsExtendet->isEnabledTo(window->grp_FuseBits));
    EXPECT_EQ(window->Label_mc_signature->text(), QStringLiteral("0x1E9502"));
    EXPECT_EQ(window->Label_MC_FlashMemory->text(), QStringLiteral("1024 Byte"));
    EXPECT_EQ(window->Label_MC_EepromMemory->text(), QStringLiteral("64 Byte"));
    EXPECT_EQ(window->Label22->text(), QStringLiteral("256 Byte"));
    EXPECT_EQ(window->SelectedFlashSize(), 1024);
    for (QLabel *picture : {window->img_HighWarning, window->img_Warnung2}) {
        EXPECT_TRUE(picture->isVisibleTo(window.get()));
        EXPECT_EQ(picture->toolTip(), SpienText + QStringLiteral("\r\n") + JtagenText);
    }
    EXPECT_TRUE(window->btn_ReadFuse->isEnabledTo(window->GroupBox_ProgFuse));
    EXPECT_FALSE(window->btn_WriteFlash->isEnabledTo(window->GroupBox_ProgFlash));

    // A device without an extended byte, SPIEN programmed.
    window->edt_FuseBitsLow->setText(QStringLiteral("00"));
    chooseEntry(window->cbb_Microcontroller, 1);
    EXPECT_EQ(window->edt_FuseBitsLow->text(), QStringLiteral("E1"));
    EXPECT_FALSE(window->edt_FuseBitsExtendet->isEnabledTo(window->grp_FuseBits));
    EXPECT_FALSE(window->btn_ChangeExtended->isEnabledTo(window->grp_FuseBits));
    EXPECT_TRUE(window->btn_ChangeLock->isEnabledTo(window->grp_LockBits));
    EXPECT_FALSE(window->img_HighWarning->isVisibleTo(window.get()));
    EXPECT_TRUE(window->img_Warnung2->toolTip().isEmpty());
}

TEST_F(GuiTest, ABadDefinitionFileIsReportedOnceAndTheWindowStarts)
{
    const QByteArray good = WriteDefinitionData(ParseDefinitionTable(TestDefinitions));
    const QByteArray header(DefinitionFileHeader);
    const QString wrongVersion = QStringLiteral("Die Datei hat nicht die erforderliche Version!");
    struct Row {
        const char *name;
        QByteArray content;
        int microcontrollers, modules;
        enum { None, Version, Reader } error;
    } rows[] = {
        {"the header alone", header, 0, 0, Row::None},
        {"the header in other case", QByteArray(good).replace(0, 4, "file"), 0, 0, Row::Version},
        {"shorter than the header", header.left(10), 0, 0, Row::Version},
        {"a line end after the header", header + "\n" + good.mid(header.size()), 0, 0, Row::Reader},
        {"the last record cut off", good.left(good.size() - 5), 2, 1, Row::Reader},
    };
    for (const Row &row : rows) {
        writeFile(definitionFile(), row.content);
        ui.errors.clear();
        auto window = createWindow();
        EXPECT_EQ(window->cbb_Microcontroller->count(), row.microcontrollers) << row.name;
        EXPECT_EQ(window->cbb_MicrocontrollerModule->count(), row.modules) << row.name;
        EXPECT_EQ(ui.errors.size(), row.error == Row::None ? 0 : 1) << row.name;
        EXPECT_EQ(ui.errors.value(0) == wrongVersion, row.error == Row::Version) << row.name;
        EXPECT_FALSE(window->StaticText_ProgramVersion->text().isEmpty()) << row.name;
    }
}
