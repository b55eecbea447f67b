// The log window: lines, styles and colours, clearing, and saving as RTF.
#include "GuiFixture.h"

#include "LogWriter.h"
#include "RtfWriter.h"
#include "Utils.h"

#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>

namespace {
struct LogRun {
    QString text;
    QTextCharFormat format;
};

QList<LogRun> runsOf(const QTextBlock &block)
{
    QList<LogRun> runs;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        runs << LogRun{it.fragment().text(), it.fragment().charFormat()};
    return runs;
}

QTextBlock lastLine(QTextEdit &log)
{
    // The block after the last line end is empty.
    return log.document()->lastBlock().previous();
}

QByteArray fileBytes(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A small log with every colour, a style change and characters that need escaping.
void writeSampleLog(TMainFrm &window)
{
    window.AddLogLine(0, clBlack, QString());
    window.AddLogLine(0, clGray, QStringLiteral("Port opened"));
    window.AddLogLine(fsBold, clBlue, QStringLiteral("Device found:"));
    window.AddLog(0, clGray, QStringLiteral("Connect ... "), false);
    window.AddLogLine(0, clGreen, QStringLiteral("OK"));
    window.AddLogLine(0, clRed, QStringLiteral("a{b}\\c ä 1µs €"));
    window.AddLogLine(0, clSeaGreen, QStringLiteral("Fusebyte Low: 0xE2"));
}

const QByteArray SampleRtf =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}}\r\n"
    "{\\colortbl ;\\red128\\green128\\blue128;\\red0\\green0\\blue255;\\red0\\green128\\blue0;"
    "\\red255\\green0\\blue0;\\red65\\green146\\blue123;}\r\n"
    "\\viewkind4\\uc1\\pard\\f0\\fs16\\par\r\n"
    "\\cf1 Port opened\\par\r\n"
    "\\cf2\\b Device found:\\par\r\n"
    "\\cf1\\b0 Connect ... \\cf3 OK\\par\r\n"
    "\\cf4 a\\{b\\}\\\\c \\'e4 1\\'b5s \\u8364?\\par\r\n"
    "\\cf5 Fusebyte Low: 0xE2\\par\r\n"
    "}\r\n";
}

TEST_F(GuiTest, EachLineHasExactlyItsStylesAndColour)
{
    auto window = createWindow();
    window->AddLogLine(fsBold, clBlue, QStringLiteral("x"));
    QList<LogRun> runs = runsOf(lastLine(*window->redt_Status));
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(runs[0].format.fontWeight(), QFont::Bold);
    EXPECT_EQ(runs[0].format.foreground().color(), QColor(0, 0, 255));

    window->AddLogLine(0, clRed, QStringLiteral("y"));
    runs = runsOf(lastLine(*window->redt_Status));
    EXPECT_EQ(runs[0].format.fontWeight(), QFont::Normal);
    EXPECT_EQ(runs[0].format.foreground().color(), QColor(255, 0, 0));

    window->AddLogLine(fsItalic | fsUnderline | fsStrikeOut, clSeaGreen, QStringLiteral("z"));
    runs = runsOf(lastLine(*window->redt_Status));
    EXPECT_TRUE(runs[0].format.fontItalic());
    EXPECT_TRUE(runs[0].format.fontUnderline());
    EXPECT_TRUE(runs[0].format.fontStrikeOut());
    EXPECT_EQ(runs[0].format.foreground().color(), QColor(65, 146, 123));

    // Bits 4 to 7 mean nothing.
    window->AddLogLine(0xF0, clBlack, QStringLiteral("plain"));
    runs = runsOf(lastLine(*window->redt_Status));
    EXPECT_EQ(runs[0].format.fontWeight(), QFont::Normal);
    EXPECT_FALSE(runs[0].format.fontItalic());
    EXPECT_FALSE(runs[0].format.fontUnderline());
}

TEST_F(GuiTest, AnOpenLineIsContinuedByTheNextWrite)
{
    auto window = createWindow();
    window->redt_Status->clear();
    window->AddLog(0, clGray, QStringLiteral("Connect ... "), false);
    window->AddLogLine(0, clGreen, QStringLiteral("OK"));
    EXPECT_EQ(window->redt_Status->toPlainText(), QStringLiteral("Connect ... OK\n"));
    const QList<LogRun> runs = runsOf(lastLine(*window->redt_Status));
    ASSERT_EQ(runs.size(), 2);
    EXPECT_EQ(runs[1].format.foreground().color(), QColor(0, 128, 0));
}

TEST_F(GuiTest, TheEndOfALongLogStaysVisible)
{
    auto window = createWindow();
    window->resize(1014, 720);
    window->show();
    for (int line = 0; line < 300; ++line)
        window->AddLogLine(0, clBlack, QStringLiteral("line %1").arg(line));
    QScrollBar *bar = window->redt_Status->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(GuiTest, ClearAndSaveDoNothingWhileAModuleOperationRuns)
{
    auto window = createWindow();
    window->AddLogLine(0, clBlack, QStringLiteral("kept"));
    OperationIdle = false;
    window->btn_ClearLog->click();
    window->btn_SaveLog->click();
    EXPECT_TRUE(window->redt_Status->toPlainText().contains(QStringLiteral("kept")));
    EXPECT_TRUE(ui.fileRequests.isEmpty());
    OperationIdle = true;
    window->btn_ClearLog->click();
    EXPECT_TRUE(window->redt_Status->toPlainText().isEmpty());
}

TEST_F(GuiTest, RtfOfASmallLogIsExact)
{
    auto window = createWindow();
    window->redt_Status->clear();
    writeSampleLog(*window);
    const QByteArray rtf = WriteRtf(*window->redt_Status->document());
    EXPECT_EQ(rtf, SampleRtf);
    EXPECT_EQ(rtf.count('{') - rtf.count("\\{"), rtf.count('}') - rtf.count("\\}"));
}

TEST_F(GuiTest, SavingAsksTheDialogAndWritesTheFolder)
{
    auto window = createWindow();
    window->redt_Status->clear();
    writeSampleLog(*window);
    QTemporaryDir target;
    const QString fileName = target.filePath(QStringLiteral("log.rtf"));

    ui.fileAnswer.clear();  // Cancel
    window->btn_SaveLog->click();
    ASSERT_EQ(ui.fileRequests.size(), 1);
    EXPECT_EQ(ui.fileRequests[0].title, QStringLiteral("T76"));
    EXPECT_EQ(ui.fileRequests[0].defaultSuffix, QStringLiteral("rtf"));
    EXPECT_EQ(ui.fileRequests[0].folder, DefaultFolder());
    EXPECT_FALSE(QFile::exists(fileName));

    ui.fileAnswer = fileName;
    window->btn_SaveLog->click();
    EXPECT_EQ(fileBytes(fileName), SampleRtf);
    EXPECT_EQ(readSetting("ProgramOptions", "LastLogDir"), target.path() + QLatin1Char('/'));
    EXPECT_TRUE(ui.questions.isEmpty());
}

TEST_F(GuiTest, SavingOverAFileAsksFirst)
{
    auto window = createWindow();
    QTemporaryDir target;
    const QString fileName = target.filePath(QStringLiteral("old.rtf"));
    QFile old(fileName);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();

    ui.fileAnswer = fileName;
    ui.answers = {false};
    window->btn_SaveLog->click();
    EXPECT_EQ(ui.questions, QStringList{QStringLiteral("old.rtfT78")});
    EXPECT_EQ(fileBytes(fileName), QByteArray("old"));
    EXPECT_EQ(readSetting("ProgramOptions", "LastLogDir"), QStringLiteral("<missing>"));

    ui.answers = {true};
    window->btn_SaveLog->click();
    EXPECT_TRUE(fileBytes(fileName).startsWith("{\\rtf1"));
}

TEST_F(GuiTest, AWriteErrorIsShownAndTheProgramGoesOn)
{
    auto window = createWindow();
    window->AddLogLine(0, clBlack, QStringLiteral("kept"));
    const QString before = window->redt_Status->toPlainText();
    ui.fileAnswer = configHome.filePath(QStringLiteral("no/such/folder/log.rtf"));
    window->btn_SaveLog->click();
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].contains(QStringLiteral("log.rtf")));
    EXPECT_EQ(window->redt_Status->toPlainText(), before);
    // The window still works.
    window->btn_ClearLog->click();
    EXPECT_TRUE(window->redt_Status->toPlainText().isEmpty());
}

TEST(RtfWriter, EscapesEverythingOutsideAscii)
{
    QTextEdit log;
    AppendLog(log, 0, clBlack, QStringLiteral("tab\there \U0001F600 \u00ff\u0100"), true);
    const QByteArray rtf = WriteRtf(*log.document());
    EXPECT_TRUE(rtf.contains("\\cf1 tab\\tab here \\u-10179?\\u-8704? \\'ff\\u256?\\par\r\n"))
        << rtf.constData();
    for (const char byte : rtf)
        EXPECT_LT(static_cast<unsigned char>(byte), 0x80);
}

TEST(RtfWriter, AnUnfinishedLastLineHasNoParagraphEnd)
{
    QTextEdit log;
    AppendLog(log, fsBold | fsItalic | fsUnderline | fsStrikeOut, clBlack, QStringLiteral("a"), false);
    const QByteArray rtf = WriteRtf(*log.document());
    EXPECT_TRUE(rtf.endsWith("\\cf1\\b\\i\\ul\\strike a}\r\n")) << rtf.constData();
}
