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
#include <QToolButton>

namespace {
QStringList entries(const QComboBox *list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << TMainFrm::DefinitionAt(list, i)->Name + QLatin1Char('=') + list->itemText(i);
    return names;
}
}

TEST_F(GuiTest, DefinitionsStandSortedAndAStoredIndexPastTheEndChoosesTheFirst)
{
    writeDefinitions(TestDefinitions);
    writeSetting("ProgramOptions", "Microcontroller", "2");
    auto window = createWindow();
    EXPECT_TRUE(ui.errors.isEmpty());
    EXPECT_EQ(entries(window->cbb_Microcontroller), QStringList({"chip a=chip a", "Chip B=Chip B"}));
    EXPECT_EQ(entries(window->cbb_MicrocontrollerModule), QStringList({"Module 1=Module 1", "Module 2=Module 2"}));
    // The first entry is chosen and set up, so that no empty fuse edit can be written.
    EXPECT_EQ(window->cbb_Microcontroller->currentIndex(), 0);
    EXPECT_EQ(window->edt_FuseBitsLow->text() + window->edt_FuseBitsHigh->text(), QStringLiteral("E1FF"));
    EXPECT_TRUE(window->grp_FuseBits->isEnabledTo(window.get()) && window->grp_SPI->isEnabledTo(window.get()));
    EXPECT_TRUE(window->edt_FuseBitsExtendet->isEnabledTo(window->grp_FuseBits));
    EXPECT_EQ(QStringList({window->Label_mc_signature->text(), window->Label_MC_FlashMemory->text(),
                           window->Label_MC_EepromMemory->text()}),
              QStringList({"0x1E9502", "1024 Byte", "64 Byte"}));
    EXPECT_TRUE(window->img_Warnung2->isVisibleTo(window.get()));
    EXPECT_EQ(window->img_HighWarning->toolTip().split(QStringLiteral("\r\n")).size(), 2);
    EXPECT_TRUE(window->img_Warnung2->toolTip().startsWith(QStringLiteral("No SPIEN Fuse programmed.")));

    // No extended byte, SPIEN programmed.
    chooseEntry(window->cbb_Microcontroller, 1);
    EXPECT_FALSE(window->edt_FuseBitsExtendet->isEnabledTo(window->grp_FuseBits));
    EXPECT_FALSE(window->btn_ChangeExtended->isEnabledTo(window->grp_FuseBits));
    EXPECT_FALSE(window->img_HighWarning->isVisibleTo(window.get()));
    EXPECT_TRUE(window->img_Warnung2->toolTip().isEmpty());
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
        {header.left(10), 0, 0, 1, true},
        {header + "\n" + good.mid(header.size()), 0, 0, 1, false},
        {good.left(good.size() - 5), 2, 1, 1, false},  // the records before the cut stay
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
        EXPECT_FALSE(window->StaticText_ProgramVersion->text().isEmpty()) << name;
    }
}
