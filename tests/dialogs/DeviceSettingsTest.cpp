// The board settings dialog against the board simulator: what it shows, what
// it sends and what it logs, one row per way a read or a save can go.
#include "BoardSimulator.h"
#include "DialogFixture.h"
#include "ProgUSB.h"
#include "u_DeviceSettings.h"
#include "u_UpDownEx.h"

#include <QRegularExpression>

using Sim = BoardSimulator;

namespace {
// Identifier | revision | serial | warn | cut-off | oscillator | Save | spin controls | Connect.
QString display(TDeviceSettingsForm &f)
{
    return QStringList{f.Label_Identifier->text(), f.Label_SoftwareRevision->text(), f.Label_SerialNumber->text(),
                       f.StaticText_WarnCurrent->text(), f.StaticText_BreakCurrent->text(),
                       QString::number(f.ComboBox_Oscillator->currentIndex()),
                       f.Button_Save->isEnabledTo(&f) ? "save" : "-",
                       f.UpDownEx_WarnCurrent->isEnabledTo(&f) ? "spin" : "-", f.Button_Connect->text()}
        .join(u'|');
}

// The log's lines that carry text, each with its colour's initial.
QString logged(const QList<LogLine> &lines)
{
    QStringList out;
    for (const LogLine &line : lines)
        out << QString(line.colour == clRed ? 'R' : line.colour == clGray ? 'G' : '?') + u' ' + line.text;
    return out.filter(QRegularExpression(" .")).join(u',');
}

QByteArray withCrc(const char *hex)
{
    QByteArray bytes = QByteArray::fromHex(hex);
    const std::uint16_t crc = Sim::crc16(bytes);
    return bytes + char(crc >> 8) + char(crc & 0xFF);
}

const QString Board = QStringLiteral("Developmentboard ZEFA 1|T6002 1.0.3|T6003 ZDB-000123|");
const QString NoBoard = QStringLiteral("T6011|T6002 -|T6003 -|0mA|0mA|0|-|-|T6007");

struct Row {
    const char *name;
    std::function<void(Sim &)> board;
    std::function<void(TDeviceSettingsForm &)> work;  // after the first read
    QString shown;                                    // after the work
    QString log;                                      // of the work, or of the read without work
    std::vector<std::uint16_t> commands;
    QByteArray sent;                                  // the request blocks, in order
    bool error = false;                               // a device error reached the guard
    bool noPort = false;
};

void save(TDeviceSettingsForm &f) { QTest::mouseClick(f.Button_Save, Qt::LeftButton); }

const Row Rows[] = {
    {"NoBoard", nullptr, nullptr, NoBoard, "R T3002,G T3003", {}, {}, false, true},
    {"BoardShown", nullptr, nullptr, Board + "100mA|500mA|3|save|spin|T6008", "G T3001,G T3003", {CMD_GET_INFO}, {}},
    {"BelowRangeShownAsReadSavedClamped",
     [](Sim &sim) { Sim::Info info; info.currentWarn = 10; sim.setInfo(info); }, save,
     Board + "10mA|500mA|3|save|spin|T6008", "G T3001,R T3230,R T3231,G T3003",
     {CMD_GET_INFO, CMD_GET_INFO, CMD_SET_CURRENT_LIMITS, CMD_SET_OSCILLATOR}, withCrc("001401F4") + withCrc("03")},
    // The board check resets what lies beyond the board's range before it is shown, and so before it is saved.
    {"AboveRangeResetByTheBoardCheck",
     [](Sim &sim) { Sim::Info info; info.currentWarn = 900; info.oscillator = 9; sim.setInfo(info); }, save,
     Board + "50mA|500mA|0|save|spin|T6008", "G T3001,R T3230,R T3231,G T3003",
     {CMD_GET_INFO, CMD_GET_INFO, CMD_SET_CURRENT_LIMITS, CMD_SET_OSCILLATOR}, withCrc("003201F4") + withCrc("00")},
    {"SaveSendsTheControls", nullptr,
     [](TDeviceSettingsForm &f) {
         f.UpDownEx_WarnCurrent->step(true);
         f.ComboBox_Oscillator->setCurrentIndex(8);
         save(f);
     },
     Board + "110mA|500mA|8|save|spin|T6008", "G T3001,R T3230,R T3231,G T3003",
     {CMD_GET_INFO, CMD_GET_INFO, CMD_SET_CURRENT_LIMITS, CMD_SET_OSCILLATOR}, withCrc("006E01F4") + withCrc("08")},
    // A failed save leaves no Save behind that would send the hidden oscillator entry 0.
    {"RefusedSaveOffersNoSecondSave",
     [](Sim &sim) { sim.addFault({CMD_SET_CURRENT_LIMITS, Sim::Phase::Status, Sim::Action::Value, 255}); },
     [](TDeviceSettingsForm &f) { save(f); save(f); }, NoBoard,
     "G T3001,R T3230,R T3077,G T3003", {CMD_GET_INFO, CMD_GET_INFO, CMD_SET_CURRENT_LIMITS}, withCrc("006401F4")},
    // The unplugged board's error reaches the guard after the link is closed and the buttons are back.
    {"UnpluggedDuringSaveClosesTheLink",
     [](Sim &sim) { sim.addFault({CMD_SET_OSCILLATOR, Sim::Phase::Ack, Sim::Action::HangUp}); }, save, NoBoard,
     "G T3001,R T3230,R T3231,", {CMD_GET_INFO, CMD_GET_INFO, CMD_SET_CURRENT_LIMITS, CMD_SET_OSCILLATOR},
     withCrc("006401F4"), true},
};

class DeviceSettingsTest : public DialogTest, public ::testing::WithParamInterface<Row> {};
}

TEST_P(DeviceSettingsTest, ReadsShowsAndSaves)
{
    const Row &row = GetParam();
    Sim sim;
    if (row.board)
        row.board(sim);
    usePort(row.noPort ? configHome.filePath("no-such-port") : sim.portPath());
    bool blockedWhileReading = true;
    log.onLogLine = [&] { blockedWhileReading = blockedWhileReading && !window->isEnabled(); };
    QString shown;
    QList<LogLine> workLog;
    bool abortUsable = false;
    whenShown<TDeviceSettingsForm>([&](TDeviceSettingsForm &form) {
        log.onLogLine = nullptr;
        if (row.work) {
            log.log.clear();
            row.work(form);
        }
        workLog = log.log;
        shown = display(form);
        abortUsable = form.Button_Abort->isEnabledTo(&form) && form.Button_Connect->isEnabledTo(&form);
    });
    window->Action_BoardSettingsExecute();

    EXPECT_EQ(joined({blockedWhileReading, window->isEnabled(), abortUsable, ProgUSB->IsOpen(), ui.errors.size()}),
              joined({true, true, true, false, row.error ? 1 : 0}));
    EXPECT_EQ(shown, row.shown);
    // A device error is shown as it was logged, before the closing line.
    const QString expectedLog = row.error ? row.log + "R COM PORT ERROR: " + ui.errors.value(0) + ",G T3003" : row.log;
    EXPECT_EQ(logged(workLog), expectedLog);
    sim.stop();
    EXPECT_EQ(sim.commands(), row.commands);
    QByteArray sent;
    for (const auto &exchange : sim.exchanges())
        sent += exchange.request;
    EXPECT_EQ(sent, row.sent);
    EXPECT_TRUE(sim.violations().isEmpty()) << sim.violations().join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Board, DeviceSettingsTest, ::testing::ValuesIn(Rows),
                         [](const auto &info) { return std::string(info.param.name); });
