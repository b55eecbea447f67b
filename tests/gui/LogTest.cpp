// The log window: lines, styles and colours, clearing, and saving as RTF.
#include "GuiFixture.h"

#include "LogWriter.h"
#include "RtfWriter.h"

#include <QScrollBar>
#include <QTextBlock>

namespace {
QList<QTextCharFormat> runsOf(const QTextBlock &block)
{
    QList<QTextCharFormat> runs;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        runs << it.fragment().charFormat();
    return runs;
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

TEST_F(GuiTest, EachLineHasItsStylesTheEndStaysVisibleAndSavingAsksBeforeOverwriting)
{
    auto window = showWindow();
    window->vst_Auswahl->requestFocus(TMainFrm::NodeDevice);  // the log shows below the page
    for (int line = 0; line < 300; ++line)
        window->AddLogLine(0, clBlack, QStringLiteral("line %1").arg(line));
    QScrollBar *bar = window->redt_Status->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());

    // Each line has exactly its styles and colour.
    const struct { TFontStyles styles; TColor colour; bool bold, italic, underline, strikeOut; QColor shown; } rows[] = {
        {fsBold, clBlue, true, false, false, false, QColor(0, 0, 255)},
        {0, clRed, false, false, false, false, QColor(255, 0, 0)},
        {fsItalic | fsUnderline | fsStrikeOut, clSeaGreen, false, true, true, true, QColor(65, 146, 123)},
        {0xF0, clBlack, false, false, false, false, QColor(0, 0, 0)},  // bits 4 to 7 mean nothing
    };
    for (const auto &row : rows) {
        window->AddLogLine(row.styles, row.colour, QStringLiteral("x"));
        // The block after the last line end is empty.
        const QList<QTextCharFormat> runs = runsOf(window->redt_Status->document()->lastBlock().previous());
        ASSERT_EQ(runs.size(), 1);
        const QTextCharFormat &format = runs[0];
        EXPECT_EQ(std::tuple(format.fontWeight() == QFont::Bold, format.fontItalic(), format.fontUnderline(),
                             format.fontStrikeOut(), format.foreground().color()),
                  std::tuple(row.bold, row.italic, row.underline, row.strikeOut, row.shown)) << row.styles;
    }

    // Saving asks for the file and before overwriting it.
    window->redt_Status->clear();
    writeSampleLog(*window);
    const QString sample = logText(*window);
    QTemporaryDir target;
    const QString fileName = target.filePath(QStringLiteral("old.rtf"));
    writeFile(fileName, "old");
    ui.fileAnswer = fileName;
    ui.answers = {false, true};

    // While a module operation runs, clearing and saving do nothing.
    OperationIdle = false;
    window->btn_ClearLog->click();
    window->btn_SaveLog->click();
    EXPECT_TRUE(logText(*window) == sample && ui.fileRequests.isEmpty());
    OperationIdle = true;

    ui.fileAnswer.clear();  // Cancel
    window->btn_SaveLog->click();
    ASSERT_EQ(ui.fileRequests.size(), 1);
    const FileDialogRequest &request = ui.fileRequests[0];
    EXPECT_EQ(joined({request.title, request.defaultSuffix, request.folder}), joined({"T76", "rtf", DefaultFolder()}));
    ui.fileAnswer = fileName;
    window->btn_SaveLog->click();  // No
    EXPECT_EQ(readFile(fileName) + readSetting("ProgramOptions", "LastLogDir").toUtf8(), "old<missing>");
    window->btn_SaveLog->click();  // Yes
    // The open line was continued by the next write, in its own colour.
    EXPECT_EQ(readFile(fileName), SampleRtf);
    EXPECT_EQ(ui.questions.join(',') + readSetting("ProgramOptions", "LastLogDir"),
              "old.rtfT78,old.rtfT78" + target.path() + '/');

    // A new file is not asked about; one that cannot be written is an error, and the program goes on.
    ui.fileAnswer = configHome.filePath(QStringLiteral("no/such/folder/log.rtf"));
    window->btn_SaveLog->click();
    EXPECT_EQ(ui.questions.size(), 2);
    EXPECT_TRUE(ui.errors.size() == 1 && ui.errors[0].contains(QStringLiteral("log.rtf"))) << ui.errors.size();
    EXPECT_EQ(logText(*window), sample);
    window->btn_ClearLog->click();
    EXPECT_TRUE(logText(*window).isEmpty());
}

// Everything outside ASCII is escaped; an unfinished last line has no paragraph end.
TEST(RtfWriter, EscapesEverythingOutsideAsciiAndEndsAnOpenLineBare)
{
    QTextEdit log;
    AppendLog(log, 0, clBlack, QStringLiteral("tab\there \U0001F600 \u00ff\u0100"), true);
    AppendLog(log, fsBold | fsItalic | fsUnderline | fsStrikeOut, clBlack, QStringLiteral("a"), false);
    const QByteArray rtf = WriteRtf(*log.document());
    EXPECT_TRUE(rtf.endsWith("\\cf1 tab\\tab here \\u-10179?\\u-8704? \\'ff\\u256?\\par\r\n\\b\\i\\ul\\strike a}\r\n"))
        << rtf.constData();
    EXPECT_TRUE(std::ranges::all_of(rtf, [](char byte) { return static_cast<unsigned char>(byte) < 0x80; }));
}
