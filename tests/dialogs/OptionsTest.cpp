// The options dialog: the language list, the settings it writes, and the main
// window speaking the chosen language as soon as the dialog has closed.
#include "DialogFixture.h"
#include "LanguageList.h"
#include "RadioGroup.h"
#include "SettingsValues.h"
#include "u_Options.h"

#include <QDir>
#include <QTreeWidget>

namespace {
const QString Options = QStringLiteral("ProgramOptions");

QString stored(const char *key, const QString &section = Options)
{
    return ReadTextSetting(section, key, {});
}

bool mapped(const QString &path)
{
    return QString::fromUtf8(readFile(QStringLiteral("/proc/self/maps"))).contains(path);
}
}

TEST(LanguageList, ListsOnlyLanguageLibrariesSortedByFileName)
{
    QTemporaryDir folder;
    const QDir dir(folder.path());
    const QString testLanguage = qEnvironmentVariable("LUMAPROG_TEST_LIB_DIR") + "/TT.lang.so";
    const QString bin = qEnvironmentVariable("LUMAPROG_BIN_DIR") + u'/';
    // Two languages, listed by file name; then no language libraries: a shared
    // object of another name, one whose name is no language id, text, a folder.
    for (const auto &[from, to] : {std::pair{bin + "EN.lang.so", "ZZ.lang.so"}, {testLanguage, "AA.lang.so"},
                                   {testLanguage, "libplugin.so"}, {testLanguage, "A B.lang.so"}})
        ASSERT_TRUE(QFile::copy(from, dir.filePath(to)));
    writeFile(dir.filePath("notes.lang.so"), "\x7F" "ELF but no library");
    ASSERT_TRUE(dir.mkdir("Folder.lang.so"));

    EXPECT_EQ(ListLanguageEntries(folder.path()), QStringList({"TT - Test", "EN - English"}));
    for (const char *never : {"libplugin.so", "A B.lang.so", "notes.lang.so"})
        EXPECT_FALSE(mapped(dir.filePath(never))) << never;

    for (const auto &[entry, id] : std::initializer_list<std::pair<const char *, const char *>>{
             {"EN - English", "EN"}, {" FR  - Français - Suisse", "FR"}, {"EN-English", ""}, {"", ""}})
        EXPECT_EQ(LanguageIdOfEntry(entry), id) << entry;
}

TEST_F(DialogTest, OkWritesTheOptionsAndTheWindowSpeaksTheNewLanguageAtOnce)
{
    whenShown<TOptionsFrm>(
        [](TOptionsFrm &f) {
            // TT (2) is the stored choice.
            EXPECT_EQ(joined({f.windowTitle(), f.vst_left->currentItem()->text(0), f.rg_Language->itemText(0),
                              f.edt_RecentFiles->text(), f.pnl_General->isVisibleTo(&f),
                              f.pnl_Language->isVisibleTo(&f), f.rg_Language->itemIndex(),
                              f.chk_AskClosing->isChecked()}),
                      "T1000|T1001|DE - Deutsch|5|true|false|2|true");
            f.vst_left->setCurrentItem(f.vst_left->topLevelItem(1));
            EXPECT_TRUE(f.pnl_Language->isVisibleTo(&f));
            f.chk_AskClosing->setChecked(false);
            f.chk_Spien->setChecked(true);
            f.edt_RecentFiles->setText("12");
            f.rg_Language->setItemIndex(0);
        },
        QDialog::Accepted);
    window->ac_OptionsExecute();

    EXPECT_EQ(QStringList({stored("AskOnShutDown"), stored("Spien"), stored("RecentFiles"),
                           stored("ShowReloadMessage", "Messages"), stored("LanguageID")}),
              QStringList({"0", "1", "12", "1", "DE"}));
    EXPECT_EQ(window->ac_Options->text(), "Optionen");
    EXPECT_EQ(window->Action_BoardSettings->text(), "Board-Einstellungen");
}

TEST_F(DialogTest, RecentFilesTakesOnlyAWholeNumberUpTo99)
{
    Utility->IniWrite(Options, "RecentFiles", QStringLiteral("150"));
    Utility->IniWrite(Options, "LanguageID", QStringLiteral("XX"));
    whenShown<TOptionsFrm>(
        [](TOptionsFrm &f) {
            EXPECT_EQ(f.edt_RecentFiles->text(), "99");  // the count the program uses
            EXPECT_EQ(f.rg_Language->itemIndex(), -1);
            for (const char *typed : {"", "100", "-1", "1.5", "7a"}) {
                f.edt_RecentFiles->clear();
                f.edt_RecentFiles->insert(typed);
                EXPECT_FALSE(f.btn_OK->isEnabledTo(&f)) << typed;
            }
            f.edt_RecentFiles->insert("0");
            EXPECT_TRUE(f.btn_OK->isEnabledTo(&f));
        },
        QDialog::Accepted);
    window->ac_OptionsExecute();
    EXPECT_EQ(stored("RecentFiles"), "0");
    EXPECT_EQ(stored("LanguageID"), "DE");  // no language chosen
}
