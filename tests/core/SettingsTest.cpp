#include "ChildProcess.h"
#include "CoreFixture.h"
#include "IniFile.h"

#include <QLocale>
#include <QScopeGuard>
#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using Settings = CoreFixture;

TEST_F(Settings, MissingFileGivesDefaultsAndWrittenValuesStandAsTheyAreAndReadBack)
{
    EXPECT_EQ((std::tuple {read("System", "WindowLeft", -1), read("System", "FirstStart", true),
                           read<QString>("ProgramOptions", "LanguageID", "EN"), read<double>("Numbers", "Ratio", 2.5)}),
              (std::tuple {-1, true, QString("EN"), 2.5}));
    EXPECT_TRUE(hooks.messages.isEmpty());

    utility.IniWrite("ProgramOptions", "Targetsystem", 42);
    utility.IniWrite("ProgramOptions", "AskOnShutDown", true);
    utility.IniWrite("ProgramOptions", "Spien", false);
    utility.IniWrite("ProgramOptions", "LastFlashDir", QString("/home/a b/C:\\x \"y\"/"));
    utility.IniWrite("ProgramOptions", "LastFlashFile", "");
    utility.IniWrite("Numbers", "Ratio", 0.1);
    utility.IniWrite("ProgramOptions", "Targetsystem", -1);  // in place, no second line

    EXPECT_EQ(readFile(userSettingsFile()), "[ProgramOptions]\n"
                                            "Targetsystem=-1\n"
                                            "AskOnShutDown=1\n"
                                            "Spien=0\n"
                                            "LastFlashDir=/home/a b/C:\\x \"y\"/\n"
                                            "LastFlashFile=\n"
                                            "\n"
                                            "[Numbers]\n"
                                            "Ratio=0.1\n");
    EXPECT_EQ((std::tuple {read("ProgramOptions", "Targetsystem", 0), read("ProgramOptions", "AskOnShutDown", false),
                           read("ProgramOptions", "Spien", true), read<QString>("ProgramOptions", "LastFlashDir", "nil"),
                           read<QString>("ProgramOptions", "LastFlashFile", "nil"), read<double>("Numbers", "Ratio", 0)}),
              (std::tuple {-1, true, false, QString("/home/a b/C:\\x \"y\"/"), QString(""), 0.1}));
}

TEST_F(Settings, HandWrittenFileWithOddCaseSpacingCommentsDuplicatesAndValues)
{
    writeFile(userSettingsFile(), "; kept by hand\r\n"
                                  "LanguageID=XX\r\n"  // before any section: belongs to none
                                  "[ programoptions ]\r\n"
                                  "  languageid =  DE  \r\n"
                                  "LanguageID=EN\r\n"
                                  "RecentFiles=\r\n"
                                  "\r\n"
                                  "[System]\r\n"
                                  "WindowLeft = abc\r\n"
                                  "WindowTop=$1F\r\n"
                                  "windowwidth=0x1f\r\n"
                                  "WindowHeight = -5\r\n"
                                  "[PROGRAMOPTIONS]\r\n"
                                  "Spien=1\r\n"
                                  "[B]\r\nzero=0\r\ntwo=2\r\nminus=-1\r\nword=true\r\nempty=\r\nhex=$1F\r\nhexzero=0x0\r\n"
                                  "[N]\r\ncomma=1,5\r\nnan=nan\r\ninf=inf\r\nexp=1e3\r\n"
                                  "[T]\r\nlong=" + QByteArray(3000, 'a') + "\r\n");
    EXPECT_EQ(read<QString>("ProgramOptions", "LanguageID", "EN"), "DE");
    EXPECT_EQ(read<QString>("ProgramOptions", "RecentFiles", "5"), "");  // present but empty
    EXPECT_FALSE(read("ProgramOptions", "Spien", false));       // only the first section counts
    EXPECT_EQ(QList<int>({read("System", "WindowLeft", -1), read("System", "WindowTop", -1),
                          read("System", "WindowWidth", -1), read("System", "WindowHeight", -1)}),
              QList<int>({-1, 31, 31, -5}));
    EXPECT_EQ(read<QString>("Interface", "ProgrammerCom", DefaultComPort), DefaultComPort);
    // Booleans are read as integers; "true" is no number, so the default stands.
    EXPECT_EQ(QList<bool>({read("B", "zero", true), read("B", "two", false), read("B", "minus", false),
                           read("B", "word", true), read("B", "word", false), read("B", "empty", true),
                           read("B", "hex", false), read("B", "hexzero", true)}),
              QList<bool>({false, true, true, true, false, true, true, false}));
    // Numbers take the dot only.
    EXPECT_EQ(QList<double>({read<double>("N", "comma", 7), read<double>("N", "nan", 7), read<double>("N", "inf", 7),
                             read<double>("N", "exp", 7)}),
              QList<double>({7, 7, 7, 1000}));
    EXPECT_EQ(read<QString>("T", "long", "").size(), IniFile::MaxValueLength);
    EXPECT_TRUE(hooks.messages.isEmpty());
}

TEST(ProfileInteger, AcceptsDecimalAndHexadecimalOnly)
{
    // Leading zeros do not count against 32 bits.
    for (const auto &[text, value] : {std::pair{"7", 7}, {"+7", 7}, {"-5", -5}, {"$10", 16}, {"0x10", 16},
                                      {"0X1f", 31}, {"-$10", -16}, {"$FFFFFFFF", -1}, {"$000000010", 16},
                                      {"0x00000000FFFFFFFF", -1}, {"2147483647", 2147483647},
                                      {"-2147483648", -2147483647 - 1}})
        EXPECT_EQ(parseProfileInteger(text), value) << text;
    for (const char *bad : {"", "abc", "12abc", "1 2", "2147483648", "99999999999", "$", "0x", "$123456789",
                            "1.5", "true", "٣"})
        EXPECT_FALSE(parseProfileInteger(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST_F(Settings, FloatingPointIsWrittenWithTheDotUnderEveryLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    utility.IniWrite("N", "Ratio", 1234567.5);
    QLocale::setDefault(saved);
    EXPECT_EQ(readFile(userSettingsFile()), "[N]\nRatio=1234567.5\n");
}

TEST_F(Settings, WriteChangesOnlyItsOwnLine)
{
    const QByteArray before = "; Lumaprog settings\r\n"
                              "[ProgramOptions]\r\n"
                              "LanguageID=DE\r\n"
                              "  ; a note\r\n"
                              "\r\n"
                              "[System]\r\n"
                              "windowtop = 5\r\n"
                              "WindowTop=9\r\n"
                              "Odd line without equals sign\r\n";
    writeFile(userSettingsFile(), before);
    utility.IniWrite("SYSTEM", "WindowTop", 7);                 // the first of the two, keeping its spelling
    utility.IniWrite("ProgramOptions", "Spien", true);          // behind the section's last filled line
    utility.IniWrite("Messages", "ShowReloadMessage", false);   // a new section at the end
    EXPECT_EQ(readFile(userSettingsFile()), "; Lumaprog settings\r\n"
                                            "[ProgramOptions]\r\n"
                                            "LanguageID=DE\r\n"
                                            "  ; a note\r\n"
                                            "Spien=1\r\n"
                                            "\r\n"
                                            "[System]\r\n"
                                            "windowtop=7\r\n"
                                            "WindowTop=9\r\n"
                                            "Odd line without equals sign\r\n"
                                            "\r\n"
                                            "[Messages]\r\n"
                                            "ShowReloadMessage=0\r\n");
}

TEST_F(Settings, EveryReadSeesTheFileAsItIsNowAndWritesKeepItsEndAndByteOrderMark)
{
    writeFile(userSettingsFile(), "[System]\nWindowTop=9");
    utility.IniWrite("System", "WindowLeft", 3);
    EXPECT_EQ(readFile(userSettingsFile()), "[System]\nWindowTop=9\nWindowLeft=3\n");
    EXPECT_EQ(read("System", "WindowLeft", -1), 3);

    writeFile(userSettingsFile(), "\xEF\xBB\xBF[ProgramOptions]\r\nLanguageID=DE\r\n");
    EXPECT_EQ(read<QString>("ProgramOptions", "LanguageID", "EN"), "DE");
    utility.IniWrite("ProgramOptions", "LanguageID", "EN");
    EXPECT_EQ(readFile(userSettingsFile()), "\xEF\xBB\xBF[ProgramOptions]\r\nLanguageID=EN\r\n");
}

// The reads of a start meet the file first, the writes after them meet the
// same trouble: one box for both, until a write succeeds again.
TEST_F(Settings, RefusedFileIsReportedOnceForReadsAndWritesAndNeverFloods)
{
    ASSERT_TRUE(folders.installTestLanguage("EN"));
    ASSERT_TRUE(QDir().mkpath(userSettingsFile()));  // a folder where the file should be
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(read<QString>("ProgramOptions", "LanguageID", "EN"), "EN");
    for (int i = 0; i < 30; ++i)
        utility.IniWrite("System", "WindowTop", i);
    EXPECT_EQ(hooks.messages.join(u'|').toStdString(),
              ("Cannot open file \"" + userSettingsFile() + "\". T7301").toStdString());

    ASSERT_TRUE(QDir(userSettingsFile()).removeRecursively());
    utility.IniWrite("System", "WindowTop", 1);
    EXPECT_EQ(read("System", "WindowTop", -1), 1);
    ASSERT_TRUE(QFile::remove(userSettingsFile()) && QDir().mkpath(userSettingsFile()));
    utility.IniWrite("System", "WindowTop", 2);  // failing again after a success is reported again
    EXPECT_EQ(hooks.messages.size(), 2);
}

// A file that cannot be read, met by a read and then by writes, in a child
// that is not root, for whom nothing is unreadable: one box, with the reason.
TEST_F(Settings, UnreadableFileIsReportedOnceForReadsAndWrites)
{
    writeFile(userSettingsFile(), "[System]\nWindowTop=5\n");
    ASSERT_EQ(chmod(qPrintable(folders.configHome()), 0755) | chmod(qPrintable(userSettingsFile()), 0), 0);
    const std::string seen = RunInChild([&] {
        constexpr uid_t Nobody = 65534;
        if (geteuid() == 0 && (setgid(Nobody) || setuid(Nobody)))
            return QByteArray("still root");
        const int top = read("System", "WindowTop", -1);
        utility.IniWrite("System", "WindowTop", 7);
        utility.IniWrite("System", "WindowLeft", 8);
        return (QString::number(top) + u'|' + hooks.messages.join(u'|')).toUtf8();
    }).toStdString();
    EXPECT_EQ(seen, ("-1|Cannot open file \"" + userSettingsFile() + "\". " + qt_error_string(EACCES)).toStdString());
}

// A write that fails of its own, here because a file stands where the
// settings folder should be, tells why.
TEST_F(Settings, WriteThatFailsIsReportedWithItsReason)
{
    writeFile(QFileInfo(userSettingsFile()).path(), "a file, no folder");
    utility.IniWrite("System", "WindowTop", 7);
    utility.IniWrite("System", "WindowTop", 8);
    EXPECT_EQ(hooks.messages.join(u'|').toStdString(),
              ("Unable to write to " + userSettingsFile() + ". " + qt_error_string(ENOTDIR)).toStdString());
}

TEST_F(Settings, ValueWithLineBreakIsRefusedAndTheFileKept)
{
    utility.IniWrite("RescentFiles", "FlashFile_0", "/tmp/a.hex");
    utility.IniWrite("RescentFiles", "FlashFile_0", "/tmp/b\n[ProgramOptions]\nLanguageID=../x");
    ASSERT_EQ(hooks.messages.size(), 1);
    EXPECT_TRUE(hooks.messages[0].contains(userSettingsFile()));
    EXPECT_EQ(readFile(userSettingsFile()), "[RescentFiles]\nFlashFile_0=/tmp/a.hex\n");
}

// The portable settings file, written by a child that the file-size limit
// kills in the middle of the write: in a folder that takes a temporary file,
// and in one that does not, where the write is refused and reported instead.
TEST_F(Settings, WriteCutShortLeavesTheOldFileWhole)
{
    PortableMode = true;
    const QString file = utility.SettingsFile();
    utility.IniWrite("T", "long", QString(200, 'a'));
    const QByteArray before = readFile(file);
    const auto restore = qScopeGuard([&] { chmod(qPrintable(folders.exeFolder()), 0700); });
    for (const bool folderWritable : {true, false}) {
        SCOPED_TRACE(folderWritable);
        const mode_t folderMode = folderWritable ? 0777 : 0555;
        ASSERT_EQ(chmod(qPrintable(folders.exeFolder()), folderMode) | chmod(qPrintable(file), 0666), 0);
        const pid_t child = fork();
        if (child == 0) {
            constexpr uid_t Nobody = 65534;  // root writes in any folder: the child drops to nobody
            const rlimit fileSize{64, 64}, noCore{0, 0};
            if ((geteuid() == 0 && (setgid(Nobody) || setuid(Nobody))) || setrlimit(RLIMIT_FSIZE, &fileSize)
                || setrlimit(RLIMIT_CORE, &noCore))
                _exit(100);
            utility.IniWrite("T", "long", QString(200, 'b'));
            _exit(int(hooks.messages.size()));
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_EQ(std::tuple(bool(WIFSIGNALED(status)), WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status)),
                  std::tuple(folderWritable, folderWritable ? SIGXFSZ : 1));
        EXPECT_EQ(readFile(file), before);
    }
}

TEST_F(Settings, RecentFilesCountFallsBackToFiveForNoWholeNumber)
{
    EXPECT_EQ(utility.RecentFilesCount(), 5);
    const std::pair<const char *, int> cases[] = {
        {"12", 12}, {" 7 ", 7}, {"0", 0}, {"$A", 10}, {"abc", 5}, {"2.5", 5}, {"", 5}, {"-3", 0}};
    for (const auto &[text, expected] : cases) {
        utility.IniWrite("ProgramOptions", "RecentFiles", text);
        EXPECT_EQ(utility.RecentFilesCount(), expected) << text;
    }
}
