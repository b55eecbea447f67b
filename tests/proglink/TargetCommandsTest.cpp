// Target power, programming mode, erase, signature, reset, fuses and the
// board's own settings: the bytes on the wire and the lines in the log.
#include "ProgLinkFixture.h"

#include "DeviceInterface.h"
#include "Modul.h"
#include "ProgUSB.h"
#include "Sleep.h"

#include <QElapsedTimer>

using Fault = BoardSimulator::Fault;
using Phase = BoardSimulator::Phase;
using Action = BoardSimulator::Action;

namespace {
const QList<int> EnterHintIds = {3020, 3021, 3022, 3023};
}

TEST_F(ProgLinkTest, TargetPowerSendsItsTwoPayloadsAfterTheAcknowledgement)
{
    // A slow acknowledgement shows a host that does not wait for it.
    sim->addFault({CMD_TARGET_POWER, Phase::Ack, Action::Delay, 100, 1});
    open();
    EXPECT_TRUE(SetTargetPower(true, logger()));
    EXPECT_TRUE(sim->powered());
    EXPECT_TRUE(SetTargetPower(false, logger()));
    EXPECT_FALSE(sim->powered());
    const auto exchanges = exchangesOf(CMD_TARGET_POWER);
    ASSERT_EQ(exchanges.size(), 2u);
    EXPECT_EQ(exchanges[0].request, bytes("abcd4da5"));
    EXPECT_EQ(exchanges[1].request, bytes("08099c40"));
    EXPECT_GT(exchanges[0].requestUs, exchanges[0].ackUs);
    EXPECT_TRUE(lines.isEmpty());
    expectNoViolations();
}

TEST_F(ProgLinkTest, ARefusedPowerOnIsReportedAndARefusedPowerOffIsNot)
{
    sim->addFault({CMD_TARGET_POWER, Phase::Status, Action::Value, 3});
    open();
    EXPECT_FALSE(SetTargetPower(true, logger()));
    EXPECT_EQ(lines, (QList<LogLine> {line(clGray, QString()), line(clRed, 3091), line(clGray, QString())}));
    lines.clear();
    EXPECT_FALSE(SetTargetPower(false, logger()));
    EXPECT_TRUE(lines.isEmpty());
}

TEST_F(ProgLinkTest, PowerOptionSwitchesOffOrCyclesWithAPause)
{
    QList<int> pauses;
    setSleepFunction([&pauses](int ms) { pauses.append(ms); });
    open();
    window.powerOption = 0;
    ApplyPowerOption(logger());
    window.powerOption = -1;
    ApplyPowerOption(logger());
    EXPECT_TRUE(sim->exchanges().empty());

    window.powerOption = 2;
    ApplyPowerOption(logger());
    EXPECT_EQ(lines, (QList<LogLine> {line(clBlack, 4003)}));
    EXPECT_EQ(pauses, (QList<int> {500}));
    const auto cycle = exchangesOf(CMD_TARGET_POWER);
    ASSERT_EQ(cycle.size(), 2u);
    EXPECT_EQ(cycle[0].request.left(2), bytes("0809"));
    EXPECT_EQ(cycle[1].request.left(2), bytes("abcd"));

    lines.clear();
    window.powerOption = 1;
    ApplyPowerOption(logger());
    EXPECT_EQ(lines, (QList<LogLine> {line(clBlack, 4002)}));
    EXPECT_FALSE(sim->powered());
}

TEST_F(ProgLinkTest, ProgrammingModeSendsTheChosenClock)
{
    // The first status comes later than other commands may take for theirs.
    sim->addFault({CMD_ENTER_PROGRAMMING, Phase::Status, Action::Delay, 1200, 1});
    open();
    // No clock chosen, or one past the list, sends 125 kHz.
    const std::pair<int, const char *> clocks[] = {{10, "0a6dd6"}, {-1, "059c39"}, {11, "059c39"}, {0, "00cc9c"}};
    for (const auto &[index, request] : clocks) {
        window.spiIndex = index;
        EXPECT_TRUE(EnterProgrammingMode(target(), logger())) << index;
        EXPECT_EQ(exchangesOf(CMD_ENTER_PROGRAMMING).back().request, bytes(request)) << index;
    }
    EXPECT_EQ(exchangesOf(CMD_ENTER_PROGRAMMING).size(), 4u);
    EXPECT_EQ(lines.mid(0, 2), (QList<LogLine> {line(clBlack, 3010), line(clGray, QStringLiteral("T3013 1  kHz (1ms)"))}));
    EXPECT_TRUE(sim->programmingMode());
    EXPECT_TRUE(sim->powered());

    lines.clear();
    EXPECT_TRUE(LeaveProgrammingMode(logger()));
    EXPECT_FALSE(sim->programmingMode());
    EXPECT_EQ(lines, (QList<LogLine> {line(clBlack, 3011)}));
}

TEST_F(ProgLinkTest, ProgrammingModeWithoutAcknowledgementOrRefusedGivesTheHints)
{
    sim->addFault({CMD_ENTER_PROGRAMMING, Phase::Ack, Action::Drop, 0, 1});
    sim->addFault({CMD_ENTER_PROGRAMMING, Phase::Status, Action::Value, STATUS_DB_ERROR, 2});
    open();
    QList<LogLine> expected = {line(clBlack, 3010), line(clGray, QStringLiteral("T3013 4 MHz (250ns)")),
                               line(clGray, QString())};
    for (const int id : EnterHintIds)
        expected.append(line(clGray, id));
    expected.append(line(clGray, QString()));

    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(EnterProgrammingMode(target(), logger()));
    EXPECT_GE(clock.elapsed(), 450);
    EXPECT_LT(clock.elapsed(), 900);
    EXPECT_EQ(lines, expected);
    ASSERT_TRUE(sim->waitForExchanges(1, 500));
    EXPECT_TRUE(sim->exchanges()[0].request.isEmpty());

    lines.clear();
    EXPECT_FALSE(EnterProgrammingMode(target(), logger()));
    EXPECT_EQ(lines, expected);
}

TEST_F(ProgLinkTest, ChipEraseSendsTheLowByteOfItsDelay)
{
    sim->setMemory(true, 0, bytes("0102"));
    openInProgrammingMode();
    EXPECT_TRUE(ChipErase(target(), logger()));
    EXPECT_EQ(exchangesOf(CMD_CHIP_ERASE).at(0).request, bytes("2c2972"));
    EXPECT_EQ(sim->memory(true).left(2), bytes("ffff"));
    EXPECT_EQ(lines, (QList<LogLine> {line(clBlack, 3012)}));

    lines.clear();
    sim->addFault({CMD_CHIP_ERASE, Phase::Status, Action::Value, STATUS_DB_ERROR});
    EXPECT_FALSE(ChipErase(target(), logger()));
    EXPECT_EQ(lines, (QList<LogLine> {line(clBlack, 3012), line(clRed, 3078)}));
}

TEST_F(ProgLinkTest, TheSignatureIsComparedAsSixUpperCaseDigits)
{
    openInProgrammingMode();
    TModul modul = target();
    EXPECT_TRUE(CheckSignature(modul, logger()));
    EXPECT_EQ(lines, (QList<LogLine> {line(clGreen, QStringLiteral("T3040: 1E950F"))}));
    EXPECT_EQ(exchangesOf(CMD_READ_SIGNATURE).at(0).answered, bytes("1e950f5f9f00"));

    lines.clear();
    modul.Signatur = QStringLiteral("1e950f");
    EXPECT_FALSE(CheckSignature(modul, logger()));
    EXPECT_EQ(lines, (QList<LogLine> {line(clRed, 3041), line(clRed, QStringLiteral("T3042: 1E950F")),
                                      line(clRed, QStringLiteral("T3043: 1e950f"))}));

    lines.clear();
    sim->setSignature(0x00950F);
    modul.Signatur = QStringLiteral("00950F");
    EXPECT_TRUE(CheckSignature(modul, logger()));
}

TEST_F(ProgLinkTest, AnUnreadableSignatureLeavesTheValueAlone)
{
    sim->addFault({CMD_READ_SIGNATURE, Phase::Answer, Action::Value, 1, 1});
    sim->addFault({CMD_READ_SIGNATURE, Phase::Answer, Action::CorruptCrc, 0, 2});
    openInProgrammingMode();
    std::uint32_t signature = 0xDEADBEEF;
    EXPECT_FALSE(ReadSignature(signature, logger()));
    EXPECT_FALSE(ReadSignature(signature, logger()));
    EXPECT_EQ(signature, 0xDEADBEEFu);
    EXPECT_EQ(lines, (QList<LogLine> {line(clRed, 3044), line(clRed, 3044)}));
    EXPECT_TRUE(ReadSignature(signature, logger()));
    EXPECT_EQ(signature, 0x1E950Fu);
}

TEST_F(ProgLinkTest, ResetTargetReportsARefusal)
{
    open();
    EXPECT_TRUE(ResetTarget(logger()));
    sim->addFault({CMD_RESET_TARGET, Phase::Status, Action::Value, STATUS_DB_VERIFY_ERROR});
    EXPECT_FALSE(ResetTarget(logger()));
    EXPECT_EQ(lines, (QList<LogLine> {line(clBlack, 3030), line(clBlack, 3030), line(clRed, 3031)}));
    EXPECT_TRUE(exchangesOf(CMD_RESET_TARGET).at(0).request.isEmpty());
}

TEST_F(ProgLinkTest, FuseReadsSendTheirInstructions)
{
    sim->setFuse(BoardSimulator::LowFuse, 0xE2);
    openInProgrammingMode();
    std::uint8_t value = 0;
    EXPECT_TRUE(ReadFuse(value, ReadFuseLowInstr, logger()));
    EXPECT_EQ(value, 0xE2);
    ReadFuse(value, ReadFuseHighInstr, logger());
    ReadFuse(value, ReadFuseExtInstr, logger());
    ReadFuse(value, ReadLockInstr, logger());
    const auto exchanges = exchangesOf(CMD_READ_FUSE);
    ASSERT_EQ(exchanges.size(), 4u);
    EXPECT_EQ(exchanges[0].request, bytes("500000007b2b"));
    EXPECT_EQ(exchanges[0].answered, bytes("06" "00" "e211f0"));
    EXPECT_EQ(exchanges[1].request, bytes("580800005749"));
    EXPECT_EQ(exchanges[2].request, bytes("50080000d28a"));
    EXPECT_EQ(exchanges[3].request, bytes("58000000fee8"));
    EXPECT_TRUE(lines.isEmpty());
}

TEST_F(ProgLinkTest, AFailedFuseReadLeavesFF)
{
    sim->addFault({CMD_READ_FUSE, Phase::Answer, Action::CorruptCrc, 0, 1});
    sim->addFault({CMD_READ_FUSE, Phase::Status, Action::Value, STATUS_DB_CRC_ERROR, 2});
    openInProgrammingMode();
    std::uint8_t value = 0;
    EXPECT_FALSE(ReadFuse(value, ReadFuseLowInstr, logger()));
    EXPECT_EQ(value, 0xFF);
    value = 0;
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(ReadFuse(value, ReadFuseLowInstr, logger()));
    EXPECT_LT(clock.elapsed(), 300);  // no answer is awaited after a refusal
    EXPECT_EQ(value, 0xFF);
    EXPECT_EQ(lines, (QList<LogLine> {line(clRed, 3077), line(clRed, 3077)}));
}

TEST_F(ProgLinkTest, FuseWritesReturnWhatTheBoardReadBack)
{
    openInProgrammingMode();
    std::uint8_t value = 0xE2;
    EXPECT_TRUE(WriteFuse(value, WriteFuseLowInstr, ReadFuseLowInstr, 0x0A, logger()));
    EXPECT_EQ(value, 0xE2);
    value = 0xFF;
    WriteFuse(value, WriteLockInstr, ReadLockInstr, 0x0A, logger());
    value = 0xD9;
    WriteFuse(value, WriteFuseHighInstr, ReadFuseHighInstr, 0x0A, logger());
    value = 0xFD;
    WriteFuse(value, WriteFuseExtInstr, ReadFuseExtInstr, 0x0A, logger());
    const auto exchanges = exchangesOf(CMD_WRITE_FUSE);
    ASSERT_EQ(exchanges.size(), 4u);
    EXPECT_EQ(exchanges[0].request, bytes("aca0000050000000e20a01fe"));
    EXPECT_EQ(exchanges[1].request, bytes("ace0000058000000ff0a264a"));
    EXPECT_EQ(exchanges[2].request.right(4), bytes("d90afe01"));
    EXPECT_EQ(exchanges[3].request.right(4), bytes("fd0a8c71"));
    EXPECT_TRUE(lines.isEmpty());
}

TEST_F(ProgLinkTest, AStuckFuseBitShowsInTheReadBackAndARefusalKeepsTheValue)
{
    sim->setFuseStuckBits(BoardSimulator::LowFuse, 0x02, 0x00);
    openInProgrammingMode();
    std::uint8_t value = 0xE2;
    EXPECT_TRUE(WriteFuse(value, WriteFuseLowInstr, ReadFuseLowInstr, 0x0A, logger()));
    EXPECT_EQ(value, 0xE0);
    sim->addFault({CMD_WRITE_FUSE, Phase::Answer, Action::Value, 1});
    value = 0xE2;
    EXPECT_FALSE(WriteFuse(value, WriteFuseLowInstr, ReadFuseLowInstr, 0x0A, logger()));
    EXPECT_EQ(value, 0xE2);
    EXPECT_EQ(lines, (QList<LogLine> {line(clRed, 3077)}));
}

TEST_F(ProgLinkTest, BoardSettingsAnnounceThemselvesInRed)
{
    open();
    EXPECT_TRUE(WriteCurrentLimits(50, 800, logger()));
    EXPECT_TRUE(WriteOscillatorIndex(8, logger()));
    EXPECT_EQ(exchangesOf(CMD_SET_CURRENT_LIMITS).at(0).request, bytes("00320320d4e4"));
    EXPECT_EQ(exchangesOf(CMD_SET_OSCILLATOR).at(0).request, bytes("084d94"));
    EXPECT_EQ(sim->info().currentWarn, 50);
    EXPECT_EQ(sim->info().oscillator, 8);
    EXPECT_EQ(lines, (QList<LogLine> {line(clRed, 3230), line(clRed, 3231)}));

    lines.clear();
    sim->addFault({CMD_SET_OSCILLATOR, Phase::Status, Action::Value, STATUS_DB_ERROR});
    EXPECT_FALSE(WriteOscillatorIndex(0, logger()));
    EXPECT_EQ(exchangesOf(CMD_SET_OSCILLATOR).at(1).request, bytes("00cc9c"));
    EXPECT_EQ(lines, (QList<LogLine> {line(clRed, 3231), line(clRed, 3077)}));
}

TEST_F(ProgLinkTest, CommandsOnAClosedLinkFailWithTheirLinesAndSendNothing)
{
    EXPECT_FALSE(SetTargetPower(true, logger()));
    EXPECT_FALSE(WriteCurrentLimits(50, 800, logger()));
    EXPECT_FALSE(ChipErase(target(), logger()));
    EXPECT_EQ(lines, (QList<LogLine> {line(clRed, 3230), line(clRed, 3077), line(clBlack, 3012), line(clRed, 3078)}));
    EXPECT_TRUE(sim->exchanges().empty());
}
