// The device-information block and the board check, case by case.
#include "ProgLinkFixture.h"

#include "DeviceInterface.h"
#include "ProgUSB.h"
#include "Utils.h"

using Info = BoardSimulator::Info;
using Fault = BoardSimulator::Fault;
using Phase = BoardSimulator::Phase;
using Action = BoardSimulator::Action;

namespace {
Info withState(std::uint8_t state)
{
    Info info;
    info.state = state;
    return info;
}
}

TEST_F(ProgLinkTest, AnAcceptedBoardFillsTheRecordAndTheLabelsWithoutALine)
{
    open();
    ASSERT_TRUE(ReadDeviceInfo(logger()));
    EXPECT_TRUE(CheckDevice(logger()));
    EXPECT_TRUE(lines.isEmpty());
    EXPECT_EQ(DeviceInfo->Identifier, QStringLiteral("Developmentboard ZEFA 1"));
    EXPECT_EQ(DeviceInfo->State, 1);
    EXPECT_EQ(DeviceInfo->RevisionNumber, 1);
    EXPECT_EQ(DeviceInfo->RevisionString, QStringLiteral("1.0.3"));
    EXPECT_EQ(DeviceInfo->SerialNumber, QStringLiteral("ZDB-000123"));
    EXPECT_EQ(DeviceInfo->CurrentWarn, 100);
    EXPECT_EQ(DeviceInfo->CurrentBreak, 500);
    EXPECT_EQ(DeviceInfo->OscillatorIndex, 3);
    EXPECT_EQ(window.identifierLabel, QStringLiteral("Developmentboard ZEFA 1"));
    EXPECT_EQ(window.revisionLabel, QStringLiteral("T6002 1.0.3"));
    EXPECT_EQ(window.serialLabel, QStringLiteral("T6003 ZDB-000123"));
    const auto exchanges = sim->exchanges();
    ASSERT_EQ(exchanges.size(), 1u);
    EXPECT_EQ(exchanges[0].command, CMD_GET_INFO);
    EXPECT_TRUE(exchanges[0].request.isEmpty());
    EXPECT_EQ(exchanges[0].ackUs, -1);
}

TEST_F(ProgLinkTest, ABoardInItsBootloaderIsRefusedWithTheUpdateAdvice)
{
    DeviceInfo->CurrentWarn = 77;
    sim->setInfo(withState(2));
    open();
    ASSERT_TRUE(ReadDeviceInfo(logger()));
    EXPECT_TRUE(DeviceInfo->RevisionString.isEmpty());
    EXPECT_TRUE(DeviceInfo->SerialNumber.isEmpty());
    EXPECT_EQ(DeviceInfo->CurrentWarn, 77);
    EXPECT_FALSE(CheckDevice(logger()));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], line(clBlue, QStringLiteral("Device found:"), fsBold));
    EXPECT_EQ(lines[1], line(clBlue, QStringLiteral("Identifier: Developmentboard ZEFA 1")));
    EXPECT_EQ(lines[2], line(clRed, QStringLiteral("Bootloader of device ist activated, there is no application installed!")));
    EXPECT_EQ(lines[3].colour, clRed);
    EXPECT_TRUE(lines[3].text.startsWith(QStringLiteral("Download latest verison of 'Developmentboard ZEFA Updater' at ")));
    EXPECT_TRUE(lines[3].text.endsWith(QStringLiteral(" and update application software.")));
    EXPECT_EQ(window.identifierLabel, QStringLiteral("untouched"));
}

struct BoardCase {
    const char *name;
    std::function<void(Info &)> change;
    bool readOk;
    bool accepted;
    QList<int> lineIds;  // red lines of both routines, in order
};

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
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, BoardCheckTest,
    ::testing::Values(
        BoardCase {"RevisionTwo", [](Info &i) { i.revision = 2; }, true, false, {3205}},
        BoardCase {"PaddedIdentifier", [](Info &i) { i.identifier = "  Developmentboard ZEFA 1 "; }, true, true, {}},
        BoardCase {"LowerCase", [](Info &i) { i.identifier = "developmentboard zefa 1"; }, true, false, {3206}},
        BoardCase {"Underscore", [](Info &i) { i.identifier = "Developmentboard_ZEFA 1"; }, true, false, {3206}},
        BoardCase {"WrongBoardAndRevision", [](Info &i) { i.identifier = "Other"; i.revision = 2; }, true, false, {3206}},
        BoardCase {"BootloaderOfAnotherBoard", [](Info &i) { i.identifier = "Other"; i.state = 2; }, true, false, {3206}},
        BoardCase {"BootloaderWithRevisionTwo", [](Info &i) { i.revision = 2; i.state = 2; }, true, false, {3205}},
        BoardCase {"UnknownState", [](Info &i) { i.state = 3; }, false, false, {3200}},
        BoardCase {"FormatTwo", [](Info &i) { i.format = 2; }, false, false, {3200}}),
    [](const ::testing::TestParamInfo<BoardCase> &info) { return std::string(info.param.name); });

TEST_F(ProgLinkTest, OutOfRangeSettingsAreResetNotClamped)
{
    Info info;
    info.currentWarn = 801;
    info.currentBreak = 800;
    info.oscillator = 9;
    sim->setInfo(info);
    open();
    ASSERT_TRUE(ReadDeviceInfo(logger()));
    ASSERT_TRUE(CheckDevice(logger()));
    EXPECT_EQ(DeviceInfo->CurrentWarn, 50);
    EXPECT_EQ(DeviceInfo->CurrentBreak, 800);
    EXPECT_EQ(DeviceInfo->OscillatorIndex, 0);

    info.oscillator = 8;
    info.currentWarn = 800;
    info.currentBreak = 900;
    sim->setInfo(info);
    ASSERT_TRUE(ReadDeviceInfo(logger()));
    ASSERT_TRUE(CheckDevice(logger()));
    EXPECT_EQ(DeviceInfo->OscillatorIndex, 8);
    EXPECT_EQ(DeviceInfo->CurrentWarn, 800);
    EXPECT_EQ(DeviceInfo->CurrentBreak, 50);
}

TEST_F(ProgLinkTest, TextsKeepOnlyTheirAllowedCharacters)
{
    Info info;
    info.revisionText = "V1.2.3-abc";  // ten bytes, no zero
    info.serial = "ZDB 0001";
    sim->setInfo(info);
    open();
    ASSERT_TRUE(ReadDeviceInfo(logger()));
    EXPECT_EQ(DeviceInfo->RevisionString, QStringLiteral("V1.2.3-abc"));
    EXPECT_EQ(DeviceInfo->SerialNumber, QStringLiteral("ZDB0001"));

    info.identifier = "Developmentboard_ZEFA 1";
    info.state = 3;
    sim->setInfo(info);
    EXPECT_FALSE(ReadDeviceInfo(logger()));
    EXPECT_EQ(DeviceInfo->State, 3);
    EXPECT_EQ(DeviceInfo->Identifier, QStringLiteral("DevelopmentboardZEFA 1"));
    EXPECT_TRUE(DeviceInfo->RevisionString.isEmpty());
    EXPECT_TRUE(DeviceInfo->SerialNumber.isEmpty());
}

TEST_F(ProgLinkTest, ABrokenBlockKeepsTheOldRecord)
{
    open();
    ASSERT_TRUE(ReadDeviceInfo(logger()));
    QByteArray block = BoardSimulator::infoBlock(Info());
    block[254] = char(block[254] ^ 0x01);
    block[0] = 2;
    sim->setRawInfo(block);
    EXPECT_FALSE(ReadDeviceInfo(logger()));
    sim->addFault({CMD_GET_INFO, Phase::Answer, Action::Truncate, 255});  // one byte short
    EXPECT_FALSE(ReadDeviceInfo(logger()));
    EXPECT_EQ(lines, (QList<LogLine> {line(clRed, 3201), line(clRed, 3202), line(clRed, 3203)}));
    EXPECT_FALSE(DeviceInfo->Valid);
    EXPECT_EQ(DeviceInfo->SerialNumber, QStringLiteral("ZDB-000123"));
}

TEST_F(ProgLinkTest, NoInformationWithoutALink)
{
    EXPECT_FALSE(ReadDeviceInfo(logger()));
    EXPECT_FALSE(CheckDevice(logger()));
    EXPECT_EQ(lines, (QList<LogLine> {line(clRed, 3204)}));
}

TEST(SameIdentifier, TrimsControlCharactersAndSpacesOnlyAtTheEnds)
{
    EXPECT_TRUE(SameIdentifier(QStringLiteral("Developmentboard ZEFA 1"), QStringLiteral("\t Developmentboard ZEFA 1 \x01")));
    EXPECT_FALSE(SameIdentifier(QStringLiteral("Developmentboard ZEFA 1"), QStringLiteral("Developmentboard  ZEFA 1")));
    EXPECT_FALSE(SameIdentifier(QStringLiteral("Developmentboard ZEFA 1"), QStringLiteral("DEVELOPMENTBOARD ZEFA 1")));
    EXPECT_TRUE(SameIdentifier(QString(), QStringLiteral("   ")));
}
