// A page shows the file it names: a file that cannot be read leaves an empty
// image that cannot be programmed, shows nothing of the file before it and is
// never offered for reload; a file with a later modification time is offered,
// however old; a new file is shown from its first row, the same file read
// again where the user left it.
#include "GuiFixture.h"

#include "HexView.h"

#include <QDir>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString ProgramOptions = QStringLiteral("ProgramOptions");

// What the error message is shown over, taken at the moment it is shown.
class ErrorWatchingUi : public ScriptedUi {
public:
    void showError(QWidget *parent, const QString &title, const QString &text) override
    {
        ScriptedUi::showError(parent, title, text);
        if (behind)
            shownBehind << behind();
    }
    std::function<QString()> behind;
    QStringList shownBehind;
};

// One page's parts.
struct Page {
    const char *name;
    QPushButton *TMainFrm::*open;
    QComboBox *TMainFrm::*chooser;
    HexView *TMainFrm::*view;
    QPushButton *TMainFrm::*write;
    QPushButton *TMainFrm::*verify;
    THexContainer TMainFrm::*image;
    const char *fileKey;
    int deviceBytes;  // of the test definitions' microcontrollers
};
const Page FlashPage{"Flash", &TMainFrm::btn_OpenFlashFile, &TMainFrm::edt_FlashFile, &TMainFrm::vst_Flash,
                     &TMainFrm::btn_WriteFlash, &TMainFrm::btn_VerifyFlash, &TMainFrm::FlashImage, "LastFlashFile",
                     1024};
const Page EepromPage{"Eeprom", &TMainFrm::btn_OpenEEprom, &TMainFrm::edt_EEProm, &TMainFrm::vst_EEprom,
                      &TMainFrm::btn_WriteEEprom, &TMainFrm::btn_VerifyEEprom, &TMainFrm::EepromImage,
                      "LastEEpromFile", 64};

QString openError(const QString &path, const QString &reason)
{
    return QStringLiteral("Datei %1 kann nicht geöffnet werden. %2").arg(path, reason);
}

// A file that cannot be read: made at path, with the message its read gives.
struct BadFile {
    const char *name;
    std::function<QString(const QString &path)> make;
    bool rootReadsIt = false;
};
const BadFile BadFiles[] = {
    {"Folder", [](const QString &path) {
         EXPECT_TRUE(QDir().mkdir(path));
         return openError(path, "T7301");
     }},
    {"Pipe", [](const QString &path) {
         EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
         return openError(path, "T7301");
     }},
    {"NoPermission", [](const QString &path) {
         writeFile(path, ":0100000000FF\n");
         EXPECT_EQ(::chmod(QFile::encodeName(path).constData(), 0), 0);
         return openError(path, "Permission denied");
     }, true},
    {"BadDigit", [](const QString &path) {
         writeFile(path, ":10ZZZZ00FF\n");
         return QStringLiteral("No Hex-Number");
     }},
    {"NotIntelHex", [](const QString &path) {  // the compiler's ELF output, chosen in place of the HEX file
         writeFile(path, QByteArray("\x7F" "ELF\x02\x01\x01\0\r\n", 10) + QByteArray(64, 0) + "GCC: 12.2.0\n");
         return QStringLiteral("Datei %1 kann nicht gelesen werden. T7308").arg(path);
     }},
    {"BeyondTheImage", [](const QString &path) {  // a record at 0x410000
         writeFile(path, ":020000040041B9\n:0100000000FF\n");
         return QStringLiteral("T16");
     }},
    {"Gone", [](const QString &path) { return openError(path, "No such file or directory"); }},
};

// Rows by name in failure messages.
void PrintTo(const Page &page, std::ostream *out) { *out << page.name; }
void PrintTo(const BadFile &file, std::ostream *out) { *out << file.name; }

// Gives the file a modification time of its own, as "cp -p" or an unpacked archive does.
void setModificationTime(const QString &path, const QDateTime &time)
{
    QFile file(path);
    if (QFileInfo(path).isFile() && file.open(QIODevice::ReadWrite)) {
        EXPECT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime)) << path.toStdString();
    }
}

// Makes the file's modification time later than any read of it so far.
void makeNewer(const QString &path)
{
    setModificationTime(path, QDateTime::currentDateTime().addSecs(60));
}

class ImageFileTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        setUiServices(&ui);
        writeDefinitions(TestDefinitions);
    }
    void open(const Page &page, const QString &file)
    {
        ui.fileAnswer = file;
        (window.get()->*page.open)->click();
    }
    // The chooser's text, the view's rows and first byte, Write and Verify, the image's flag.
    QString shown(const Page &page) const
    {
        const TMainFrm &w = *window;
        const QAbstractItemModel &rows = *(w.*page.view)->model();
        const auto own = [](const QWidget *control) { return control->isEnabledTo(control->parentWidget()); };
        return joined({(w.*page.chooser)->currentText(), rows.rowCount(), rows.index(0, 1).data().toString(),
                       own(w.*page.write), own(w.*page.verify), (w.*page.image).ImageLoaded});
    }

    ErrorWatchingUi ui;  // in place of the fixture's, for every question of these tests
    std::unique_ptr<TMainFrm> window;
};

class UnreadableFileTest : public ImageFileTest,
                           public ::testing::WithParamInterface<std::tuple<Page, BadFile>> {};
}

TEST_P(UnreadableFileTest, LeavesAnEmptyUnusablePageAndIsNeverOfferedForReload)
{
    const auto &[page, bad] = GetParam();
    if (bad.rootReadsIt && ::geteuid() == 0)
        GTEST_SKIP() << "root reads a file without permission";
    window = showWindow();
    const QString good = writeHexFile("good.hex", page.deviceBytes), unreadable = files.filePath("bad.hex");
    const QString error = bad.make(unreadable);
    open(page, good);
    const int rows = page.deviceBytes / THexLine::Columns;
    ASSERT_EQ(shown(page), joined({good, rows, "01", true, true, true}));

    ui.behind = [&] { return shown(page); };
    open(page, unreadable);
    // Already while the message is up: nothing of good.hex, nothing to program.
    const QString empty = joined({"", 0, "", false, false, false});
    EXPECT_EQ(joined({ui.errors.join(','), ui.shownBehind.join(','), shown(page)}), joined({error, empty, empty}));
    // The name stays in the list to be chosen again once the file is put right; the settings keep the last good file.
    EXPECT_EQ(joined({(window.get()->*page.chooser)->itemText(0), readSetting(ProgramOptions, page.fileKey)}),
              joined({unreadable, good}));

    for (const QString &file : {good, unreadable})
        makeNewer(file);
    ui.answers = {true};
    window->ApplicationActivated();
    EXPECT_EQ(joined({ui.questions.join(','), ui.errors.size(), shown(page)}), joined({"", 1, empty}));
}

INSTANTIATE_TEST_SUITE_P(
    EachKind, UnreadableFileTest, ::testing::Combine(::testing::Values(FlashPage, EepromPage), ::testing::ValuesIn(BadFiles)),
    [](const ::testing::TestParamInfo<UnreadableFileTest::ParamType> &info) {
        return std::string(std::get<0>(info.param).name) + std::get<1>(info.param).name;
    });

// A loaded file that becomes unreadable is asked about once; its failed reload
// leaves the page empty, and choosing the mended file again loads it.
TEST_F(ImageFileTest, AFailedReloadEmptiesThePageAndIsNotAskedAboutAgain)
{
    window = showWindow();
    const QString file = writeHexFile("image.hex", 512);
    open(FlashPage, file);
    writeFile(file, ":10ZZZZ00FF\n");
    makeNewer(file);
    ui.answers = {true, true};
    window->ApplicationActivated();
    const QString empty = joined({"", 0, "", false, false, false});
    EXPECT_EQ(joined({ui.questions.join(','), ui.errors.join(','), shown(FlashPage)}), joined({"T71", "No Hex-Number", empty}));
    makeNewer(file);
    window->ApplicationActivated();
    EXPECT_EQ(joined({ui.questions.join(','), ui.errors.size(), shown(FlashPage)}), joined({"T71", 1, empty}));

    writeHexFile("image.hex", 512, 2);
    chooseEntry(window->edt_FlashFile, 0);
    EXPECT_EQ(shown(FlashPage), joined({file, 64, "02", true, true, true}));
}

// A 4 KiB file chosen after a 256 KiB one starts at its first row with no
// byte focused; the same file reloaded keeps the row and byte the user was at.
TEST_F(ImageFileTest, ANewFileStartsAtItsFirstRowAndAReloadKeepsThePlace)
{
    writeDefinitions(TestDefinitions + "[chip big]\nBase=Chip B\nFlashSize=262144\nFlashPageSize=256\n");
    window = showWindow();
    chooseEntry(window->cbb_Microcontroller, window->cbb_Microcontroller->findText("chip big"));
    window->vst_Auswahl->requestFocus(TMainFrm::NodeFlash);
    HexView &view = *window->vst_Flash;
    ASSERT_TRUE(view.isVisible());
    constexpr int FarRow = 0x6E3;  // 006E30
    const auto goFar = [&] {
        view.setCurrentIndex(view.model()->index(FarRow + 1, 5));
        view.scrollTo(view.model()->index(FarRow, 1), QAbstractItemView::PositionAtTop);
    };
    const auto place = [&] {
        return joined({view.rowAt(0), view.focusColumns().first, view.model()->index(0, 1).data()});
    };

    open(FlashPage, writeHexFile("big.hex", 256 * 1024));
    goFar();
    ASSERT_EQ(place(), joined({FarRow, 5, "01"}));
    const QString small = writeHexFile("small.hex", 4 * 1024, 2);
    open(FlashPage, small);
    EXPECT_EQ(place(), joined({0, -1, "02"}));

    goFar();
    writeHexFile("small.hex", 4 * 1024, 3);
    makeNewer(small);
    ui.answers = {true};
    window->ApplicationActivated();
    EXPECT_EQ(joined({ui.questions.join(','), place()}), joined({"T71", FarRow, 5, "03"}));
}

// A file copied in with its own, older time (cp -p, an unpacked archive) is
// newer than the one loaded when its modification time is later, however
// long ago both times lie, and its new content is what loads.
TEST_F(ImageFileTest, AFileCopiedWithItsOwnTimeIsOfferedForReload)
{
    window = showWindow();
    const QDateTime built = QDateTime::currentDateTime().addDays(-30);
    const QString file = writeHexFile("image.hex", 512);
    setModificationTime(file, built);
    open(FlashPage, file);
    ASSERT_EQ(shown(FlashPage), joined({file, 64, "01", true, true, true}));

    writeHexFile("image.hex", 512, 2);
    setModificationTime(file, built.addDays(1));
    ui.answers = {true};
    window->ApplicationActivated();
    EXPECT_EQ(joined({ui.questions.join(','), shown(FlashPage)}), joined({"T71", file, 64, "02", true, true, true}));
}
