// Target power, programming mode, erase, signature, reset, fuses and the
// board's own settings, one command per row: what the routine gave back, the
// request blocks on the wire, the lines in the log and how long it took.
#include "ProgLinkFixture.h"

#include "DeviceInterface.h"
#include "ProgUSB.h"

#include <QElapsedTimer>

namespace {
using Phase = BoardSimulator::Phase;
using Action = BoardSimulator::Action;
using Arrange = std::function<void(BoardSimulator &, RecordingMainWindow &)>;
using Act = std::function<QString(const TLogProc &)>;

enum class Link { Closed, Open, Programming };

struct CommandCase {
    const char *name;
    Link link;
    Arrange arrange;
    Act act;
    QString outcome;  // "ok" or "failed", then any value the routine left, in hex
    std::uint16_t command;
    std::string requests;  // the command's request blocks (see requestsOf)
    QList<LogLine> lines;
    std::pair<int, int> ms = {0, 3000};  // the routine took at least first, less than second
    QList<int> pauses = {};
};

void PrintTo(const CommandCase &c, std::ostream *out) { *out << c.name; }

QString verdict(bool ok) { return ok ? "ok" : "failed"; }
QString verdict(bool ok, std::uint32_t value) { return verdict(ok) + ' ' + QString::number(value, 16); }

const Arrange none = [](auto &...) {};
Arrange fault(std::uint16_t command, Phase phase, Action action, int arg = 0, int occurrence = 0)
{
    return [=](BoardSimulator &sim, auto &) { sim.addFault({command, phase, action, arg, occurrence}); };
}
Arrange status(std::uint16_t command, int value) { return fault(command, Phase::Status, Action::Value, value); }
Arrange spi(int index) { return [=](auto &, RecordingMainWindow &window) { window.spiIndex = index; }; }
Arrange powerOption(int option) { return [=](auto &, RecordingMainWindow &window) { window.powerOption = option; }; }
Arrange ack(std::uint8_t value) { return [=](BoardSimulator &sim, auto &) { sim.setAckByte(value); }; }
Arrange fuse(BoardSimulator::FuseIndex index, std::uint8_t value)
{
    return [=](BoardSimulator &sim, auto &) { sim.setFuse(index, value); };
}

Act power(bool on) { return [=](auto &log) { return verdict(SetTargetPower(on, log)); }; }
const Act applyPowerOption = [](auto &log) { return ApplyPowerOption(log), verdict(true); };
const Act enter = [](auto &log) { return verdict(EnterProgrammingMode(target(), log)); };
const Act leave = [](auto &log) { return verdict(LeaveProgrammingMode(log)); };
const Act erase = [](auto &log) { return verdict(ChipErase(target(), log)); };
const Act reset = [](auto &log) { return verdict(ResetTarget(log)); };
Act checkSignature(const char *defined)
{
    return [=](auto &log) {
        TModul modul = target();
        modul.Signatur = defined;
        return verdict(CheckSignature(modul, log));
    };
}
const Act readSignature = [](auto &log) {
    std::uint32_t signature = 0xDEADBEEF;
    const bool ok = ReadSignature(signature, log);
    return verdict(ok, signature);
};
Act readFuse(std::uint32_t instruction)
{
    return [=](auto &log) {
        std::uint8_t value = 0;
        const bool ok = ReadFuse(value, instruction, log);
        return verdict(ok, value);
    };
}
Act writeFuse(std::uint8_t value, std::uint32_t writeInstr, std::uint32_t readInstr)
{
    return [=](auto &log) {
        std::uint8_t readBack = value;
        const bool ok = WriteFuse(readBack, writeInstr, readInstr, 0x0A, log);
        return verdict(ok, readBack);
    };
}
Act limits(std::uint16_t warn, std::uint16_t cutOff)
{
    return [=](auto &log) { return verdict(WriteCurrentLimits(warn, cutOff, log)); };
}
Act oscillator(std::uint8_t index) { return [=](auto &log) { return verdict(WriteOscillatorIndex(index, log)); }; }

const LogLine Blank = line(clGray, QString());
const QList<LogLine> EnterHints = {Blank, line(clGray, 3020), line(clGray, 3021), line(clGray, 3022), line(clGray, 3023), Blank};
QList<LogLine> entering(const char *clock) { return {line(clBlack, 3010), line(clGray, T(3013) + ' ' + clock)}; }

const CommandCase commandCases[] = {
    // A slow acknowledgement shows a host that sends its request without waiting for it.
    {"PowerOn", Link::Open, fault(CMD_TARGET_POWER, Phase::Ack, Action::Delay, 100), power(true), "ok", CMD_TARGET_POWER,
     "abcd4da5", {}},
    {"PowerOff", Link::Open, none, power(false), "ok", CMD_TARGET_POWER, "08099c40", {}},
    {"AnyAcknowledgementCounts", Link::Open, ack(0x00), power(true), "ok", CMD_TARGET_POWER, "abcd4da5", {}},
    {"EvenFFAcknowledges", Link::Open, ack(0xFF), power(true), "ok", CMD_TARGET_POWER, "abcd4da5", {}},
    {"PowerOnRefused", Link::Open, status(CMD_TARGET_POWER, 3), power(true), "failed", CMD_TARGET_POWER, "abcd4da5",
     {Blank, line(clRed, 3091), Blank}},
    {"PowerOffRefusedQuietly", Link::Open, status(CMD_TARGET_POWER, 3), power(false), "failed", CMD_TARGET_POWER,
     "08099c40", {}},
    {"PowerOptionLeavesOn", Link::Open, powerOption(0), applyPowerOption, "ok", CMD_TARGET_POWER, "", {}},
    {"NoPowerOption", Link::Open, powerOption(-1), applyPowerOption, "ok", CMD_TARGET_POWER, "", {}},
    {"PowerOptionOff", Link::Open, powerOption(1), applyPowerOption, "ok", CMD_TARGET_POWER, "08099c40",
     {line(clBlack, 4002)}},
    {"PowerOptionCycles", Link::Open, powerOption(2), applyPowerOption, "ok", CMD_TARGET_POWER, "08099c40 abcd4da5",
     {line(clBlack, 4003)}, {0, 3000}, {500}},
    {"EnterAtTheSlowestClock", Link::Open, spi(10), enter, "ok", CMD_ENTER_PROGRAMMING, "0a6dd6", entering("1  kHz (1ms)")},
    {"EnterWithoutAChosenClock", Link::Open, spi(-1), enter, "ok", CMD_ENTER_PROGRAMMING, "059c39", entering("")},
    {"EnterWithAClockBeyondTheList", Link::Open, spi(11), enter, "ok", CMD_ENTER_PROGRAMMING, "059c39", entering("")},
    {"EnterAtTheFastestClock", Link::Open, none, enter, "ok", CMD_ENTER_PROGRAMMING, "00cc9c",
     entering("4 MHz (250ns)")},
    {"EnterUnacknowledged", Link::Open, fault(CMD_ENTER_PROGRAMMING, Phase::Ack, Action::Drop), enter, "failed",
     CMD_ENTER_PROGRAMMING, "-", entering("4 MHz (250ns)") + EnterHints, {450, 1400}},  // no wait for a status
    {"EnterRefused", Link::Open, status(CMD_ENTER_PROGRAMMING, STATUS_DB_ERROR), enter, "failed", CMD_ENTER_PROGRAMMING,
     "00cc9c", entering("4 MHz (250ns)") + EnterHints},
    // Longer than any other command may take for its status, and far enough
    // within its own 1500 ms for a busy machine.
    {"EnterWithASlowStatus", Link::Open, fault(CMD_ENTER_PROGRAMMING, Phase::Status, Action::Delay, 1100), enter, "ok",
     CMD_ENTER_PROGRAMMING, "00cc9c", entering("4 MHz (250ns)"), {1100, 3000}},
    {"Leave", Link::Programming, none, leave, "ok", CMD_LEAVE_PROGRAMMING, "-", {line(clBlack, 3011)}},
    // The low byte of the erase delay (300 ms).
    {"Erase", Link::Programming, none, erase, "ok", CMD_CHIP_ERASE, "2c2972", {line(clBlack, 3012)}},
    {"EraseRefused", Link::Programming, status(CMD_CHIP_ERASE, STATUS_DB_ERROR), erase, "failed", CMD_CHIP_ERASE, "2c2972",
     {line(clBlack, 3012), line(clRed, 3078)}},
    {"SignatureMatches", Link::Programming, none, checkSignature("1E950F"), "ok", CMD_READ_SIGNATURE, "-",
     {line(clGreen, T(3040) + ": 1E950F")}},
    {"SignatureComparedInUpperCase", Link::Programming, none, checkSignature("1e950f"), "failed",
     CMD_READ_SIGNATURE, "-", {line(clRed, 3041), line(clRed, T(3042) + ": 1E950F"), line(clRed, T(3043) + ": 1e950f")}},
    {"SignatureWithALeadingZero", Link::Programming, [](auto &sim, auto &) { sim.setSignature(0x00950F); },
     checkSignature("00950F"), "ok", CMD_READ_SIGNATURE, "-", {line(clGreen, T(3040) + ": 00950F")}},
    {"SignatureRead", Link::Programming, none, readSignature, "ok 1e950f", CMD_READ_SIGNATURE, "-", {}},
    {"SignatureRefusedLeavesTheValue", Link::Programming, fault(CMD_READ_SIGNATURE, Phase::Answer, Action::Value, 1),
     readSignature, "failed deadbeef", CMD_READ_SIGNATURE, "-", {line(clRed, 3044)}},
    {"SignatureWithABadCrcLeavesTheValue", Link::Programming,
     fault(CMD_READ_SIGNATURE, Phase::Answer, Action::CorruptCrc), readSignature, "failed deadbeef", CMD_READ_SIGNATURE,
     "-", {line(clRed, 3044)}},
    {"Reset", Link::Open, none, reset, "ok", CMD_RESET_TARGET, "-", {line(clBlack, 3030)}},
    {"ResetRefused", Link::Open, status(CMD_RESET_TARGET, STATUS_DB_VERIFY_ERROR), reset, "failed", CMD_RESET_TARGET, "-",
     {line(clBlack, 3030), line(clRed, 3031)}},
    {"ReadLowFuse", Link::Programming, fuse(BoardSimulator::LowFuse, 0xE2), readFuse(ReadFuseLowInstr), "ok e2",
     CMD_READ_FUSE, "500000007b2b", {}},
    {"ReadHighFuse", Link::Programming, none, readFuse(ReadFuseHighInstr), "ok d9", CMD_READ_FUSE, "580800005749", {}},
    {"ReadExtendedFuse", Link::Programming, fuse(BoardSimulator::ExtFuse, 0xFD), readFuse(ReadFuseExtInstr), "ok fd",
     CMD_READ_FUSE, "50080000d28a", {}},
    {"ReadLockByte", Link::Programming, fuse(BoardSimulator::LockByte, 0x3C), readFuse(ReadLockInstr), "ok 3c",
     CMD_READ_FUSE, "58000000fee8", {}},
    {"FuseReadWithABadCrcGivesFF", Link::Programming, fault(CMD_READ_FUSE, Phase::Answer, Action::CorruptCrc),
     readFuse(ReadFuseLowInstr), "failed ff", CMD_READ_FUSE, "500000007b2b", {line(clRed, 3077)}},
    // No answer is awaited after a refusal: less than the answer's 1000 ms.
    {"FuseReadRefusedGivesFF", Link::Programming, status(CMD_READ_FUSE, STATUS_DB_CRC_ERROR), readFuse(ReadFuseLowInstr),
     "failed ff", CMD_READ_FUSE, "500000007b2b", {line(clRed, 3077)}, {0, 900}},
    {"WriteLowFuse", Link::Programming, none, writeFuse(0xE2, WriteFuseLowInstr, ReadFuseLowInstr), "ok e2",
     CMD_WRITE_FUSE, "aca0000050000000e20a01fe", {}},
    {"WriteHighFuse", Link::Programming, none, writeFuse(0xD9, WriteFuseHighInstr, ReadFuseHighInstr), "ok d9",
     CMD_WRITE_FUSE, "aca8000058080000d90afe01", {}},
    {"WriteExtendedFuse", Link::Programming, none, writeFuse(0xFD, WriteFuseExtInstr, ReadFuseExtInstr), "ok fd",
     CMD_WRITE_FUSE, "aca4000050080000fd0a8c71", {}},
    {"WriteLockByte", Link::Programming, none, writeFuse(0xFF, WriteLockInstr, ReadLockInstr), "ok ff", CMD_WRITE_FUSE,
     "ace0000058000000ff0a264a", {}},
    {"AStuckFuseBitShowsInTheReadBack", Link::Programming,
     [](auto &sim, auto &) { sim.setFuseStuckBits(BoardSimulator::LowFuse, 0x02, 0x00); },
     writeFuse(0xE2, WriteFuseLowInstr, ReadFuseLowInstr), "ok e0", CMD_WRITE_FUSE, "aca0000050000000e20a01fe", {}},
    {"ARefusedFuseWriteKeepsTheValue", Link::Programming, fault(CMD_WRITE_FUSE, Phase::Answer, Action::Value, 1),
     writeFuse(0xE2, WriteFuseLowInstr, ReadFuseLowInstr), "failed e2", CMD_WRITE_FUSE, "aca0000050000000e20a01fe",
     {line(clRed, 3077)}},
    // The board's own settings announce themselves in red.
    {"CurrentLimits", Link::Open, none, limits(50, 800), "ok", CMD_SET_CURRENT_LIMITS, "00320320d4e4",
     {line(clRed, 3230)}},
    {"Oscillator", Link::Open, none, oscillator(8), "ok", CMD_SET_OSCILLATOR, "084d94", {line(clRed, 3231)}},
    {"OscillatorRefused", Link::Open, status(CMD_SET_OSCILLATOR, STATUS_DB_ERROR), oscillator(0), "failed",
     CMD_SET_OSCILLATOR, "00cc9c", {line(clRed, 3231), line(clRed, 3077)}},
    {"PowerOnWithoutALink", Link::Closed, none, power(true), "failed", CMD_TARGET_POWER, "", {}},
    {"CurrentLimitsWithoutALink", Link::Closed, none, limits(50, 800), "failed", CMD_SET_CURRENT_LIMITS, "",
     {line(clRed, 3230), line(clRed, 3077)}},
    {"EraseWithoutALink", Link::Closed, none, erase, "failed", CMD_CHIP_ERASE, "",
     {line(clBlack, 3012), line(clRed, 3078)}},
};
}

class CommandTest : public ProgLinkTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CommandTest, GivesItsRequestItsVerdictAndItsLines)
{
    const CommandCase &c = GetParam();
    if (c.link == Link::Programming)
        sim->setProgrammingMode(true);
    if (c.link != Link::Closed)
        open();
    c.arrange(*sim, window);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(c.act(logger()).toStdString(), c.outcome.toStdString());
    EXPECT_GE(clock.elapsed(), c.ms.first);
    EXPECT_LT(clock.elapsed(), c.ms.second);
    EXPECT_EQ(requestsOf(c.command), c.requests);
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(pauses, c.pauses);
    expectNoViolations();
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandTest, ::testing::ValuesIn(commandCases),
                         [](const auto &info) { return std::string(info.param.name); });
