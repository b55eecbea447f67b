// The device-information block and the board check, block by block.
#include "ProgLinkFixture.h"

#include "DeviceInterface.h"
#include "ProgUSB.h"
#include "Utils.h"

using Info = BoardSimulator::Info;
using Phase = BoardSimulator::Phase;
using Action = BoardSimulator::Action;

namespace {
struct BoardCase {
    const char *name;
    std::function<void(Info &)> change;
    bool readOk;
    bool accepted;
    QList<int> lineIds;  // red lines of both routines, in order
    // When given: the record after both routines, then the three labels, joined by '|'.
    QString record = {};
};

void PrintTo(const BoardCase &c, std::ostream *out) { *out << c.name; }

// The record an accepted board leaves, with its labels.
const QString Accepted = "Developmentboard ZEFA 1|1|1|1.0.3|ZDB-000123|100|500|3|Developmentboard ZEFA 1|T6002 1.0.3|T6003 ZDB-000123";

QString record()
{
    const TDeviceInfo &d = *DeviceInfo;
    return QStringList {d.Identifier, QString::number(d.State), QString::number(d.RevisionNumber), d.RevisionString,
                        d.SerialNumber, QString::number(d.CurrentWarn), QString::number(d.CurrentBreak),
                        QString::number(d.OscillatorIndex)}
        .join('|');
}
}

class BoardCheckTest : public ProgLinkTest, public ::testing::WithParamInterface<BoardCase> {};

TEST_P(BoardCheckTest, GivesItsVerdictAndItsLines)
{
    Info info;
    GetParam().change(info);
    sim->setInfo(info);
    open();
    EXPECT_EQ(ReadDeviceInfo(logger()), GetParam().readOk);
    EXPECT_EQ(CheckDevice(logger()), GetParam().accepted);
    QList<LogLine> expected;
    for (const int id : GetParam().lineIds)
        expected.append(line(clRed, id));
    EXPECT_EQ(lines, expected);
    if (!GetParam().record.isEmpty()) {
        EXPECT_EQ(QStringList({record(), window.identifierLabel, window.revisionLabel, window.serialLabel}).join('|').toStdString(),
                  GetParam().record.toStdString());
    }
    EXPECT_EQ(requestsOf(CMD_GET_INFO), "-");
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, BoardCheckTest,
    ::testing::Values(
        BoardCase {"Accepted", [](Info &) {}, true, true, {}, Accepted},
        BoardCase {"RevisionTwo", [](Info &i) { i.revision = 2; }, true, false, {3205}},
        BoardCase {"PaddedIdentifier", [](Info &i) { i.identifier = "  Developmentboard ZEFA 1 "; }, true, true, {}},
        BoardCase {"LowerCase", [](Info &i) { i.identifier = "developmentboard zefa 1"; }, true, false, {3206}},
        BoardCase {"Underscore", [](Info &i) { i.identifier = "Developmentboard_ZEFA 1"; }, true, false, {3206}},
        BoardCase {"WrongBoardAndRevision", [](Info &i) { i.identifier = "Other"; i.revision = 2; }, true, false, {3206}},
        BoardCase {"BootloaderOfAnotherBoard", [](Info &i) { i.identifier = "Other"; i.state = 2; }, true, false, {3206}},
        BoardCase {"BootloaderWithRevisionTwo", [](Info &i) { i.revision = 2; i.state = 2; }, true, false, {3205}},
        BoardCase {"UnknownState", [](Info &i) { i.state = 3; }, false, false, {3200}},
        BoardCase {"FormatTwo", [](Info &i) { i.format = 2; }, false, false, {3200}},
        // Settings out of range are reset, not clamped.
        BoardCase {"SettingsOutOfRange", [](Info &i) { i.currentWarn = 801; i.currentBreak = 800; i.oscillator = 9; },
                   true, true, {}, QString(Accepted).replace("|100|500|3|", "|50|800|0|")},
        BoardCase {"SettingsAtTheirLimits", [](Info &i) { i.currentWarn = 800; i.currentBreak = 900; i.oscillator = 8; },
                   true, true, {}, QString(Accepted).replace("|100|500|3|", "|800|50|8|")},
        // Texts keep only their allowed characters; a revision text may fill all its ten bytes.
        BoardCase {"RevisionTextOfTenBytes", [](Info &i) { i.revisionText = "V1.2.3-abc"; i.serial = "ZDB 0001"; },
                   true, true, {}, QString(Accepted).replace("1.0.3", "V1.2.3-abc").replace("ZDB-000123", "ZDB0001")},
        BoardCase {"UnknownStateKeepsOnlyItsIdentifier", [](Info &i) { i.identifier = "Developmentboard_ZEFA 1"; i.state = 3; },
                   false, false, {3200}, "DevelopmentboardZEFA 1|3|1|||0|0|0|untouched|untouched|untouched"}),
    [](const ::testing::TestParamInfo<BoardCase> &info) { return std::string(info.param.name); });

TEST_F(ProgLinkTest, ABoardInItsBootloaderIsRefusedWithTheUpdateAdvice)
{
    DeviceInfo->CurrentWarn = 77;
    sim->setInfo({.state = 2});
    open();
    ASSERT_TRUE(ReadDeviceInfo(logger()));
    EXPECT_EQ(record().toStdString(), "Developmentboard ZEFA 1|2|1|||77|0|0");
    EXPECT_FALSE(CheckDevice(logger()));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines.mid(0, 3), (QList<LogLine> {line(clBlue, QStringLiteral("Device found:"), fsBold),
                                                line(clBlue, QStringLiteral("Identifier: Developmentboard ZEFA 1")),
                                                line(clRed, QStringLiteral("Bootloader of device ist activated, there is no application installed!"))}));
    EXPECT_EQ(lines[3].colour, clRed);
    EXPECT_TRUE(lines[3].text.startsWith(QStringLiteral("Download latest verison of 'Developmentboard ZEFA Updater' at ")));
    EXPECT_TRUE(lines[3].text.endsWith(QStringLiteral(" and update application software.")));
    EXPECT_EQ(window.identifierLabel, QStringLiteral("untouched"));
}

TEST_F(ProgLinkTest, ABrokenBlockKeepsTheOldRecordAndNoLinkGivesNoRecord)
{
    open();
    ASSERT_TRUE(ReadDeviceInfo(logger()));
    sim->setInfo({.format = 2});  // not looked at: the CRC is wrong
    sim->addFault({CMD_GET_INFO, Phase::Answer, Action::CorruptCrc, 0, 2});
    EXPECT_FALSE(ReadDeviceInfo(logger()));
    sim->addFault({CMD_GET_INFO, Phase::Answer, Action::Truncate, 255, 3});  // one byte short
    EXPECT_FALSE(ReadDeviceInfo(logger()));
    EXPECT_FALSE(DeviceInfo->Valid);
    EXPECT_EQ(DeviceInfo->SerialNumber, QStringLiteral("ZDB-000123"));
    ProgUSB->Close();
    EXPECT_FALSE(ReadDeviceInfo(logger()));
    EXPECT_FALSE(CheckDevice(logger()));
    EXPECT_EQ(lines, (QList<LogLine> {line(clRed, 3201), line(clRed, 3202), line(clRed, 3203), line(clRed, 3204)}));
}

TEST(SameIdentifier, TrimsControlCharactersAndSpacesOnlyAtTheEnds)
{
    EXPECT_TRUE(SameIdentifier(QStringLiteral("Developmentboard ZEFA 1"), QStringLiteral("\t Developmentboard ZEFA 1 \x01")));
    EXPECT_FALSE(SameIdentifier(QStringLiteral("Developmentboard ZEFA 1"), QStringLiteral("Developmentboard  ZEFA 1")));
    EXPECT_FALSE(SameIdentifier(QStringLiteral("Developmentboard ZEFA 1"), QStringLiteral("DEVELOPMENTBOARD ZEFA 1")));
    EXPECT_TRUE(SameIdentifier(QString(), QStringLiteral("   ")));
}
