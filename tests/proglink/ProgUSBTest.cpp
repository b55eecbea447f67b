// The link itself: opening and closing with their log lines, the frame
// primitives and their time-outs, a closed port, an unplugged board, stale
// input, and a window closed while the link works.
#include "ProgLinkFixture.h"

#include "DeviceInterface.h"
#include "ProgUSB.h"
#include "SerialPort.h"
#include "Utils.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <utility>

using Phase = BoardSimulator::Phase;
using Action = BoardSimulator::Action;

namespace {
const LogLine Blank = line(clBlack, QString());
const QList<LogLine> Closed = {line(clGray, 3003), Blank};

// Whether another program could open the port now.
bool portIsFree(const QString &path)
{
    SerialPort other;
    other.setPortName(path);
    other.setBaudRate(TProgUSB::BaudRate);
    other.open();
    return other.isOpen();
}
}

TEST_F(ProgLinkTest, OpeningAMissingOrBusyPortFailsWithItsLinesAndForgetsTheBoard)
{
    SerialPort other;
    other.setPortName(sim->portPath());
    other.setBaudRate(TProgUSB::BaudRate);
    other.open();
    const QTemporaryDir folder;  // a missing port where an open that created it would harm nothing
    for (const QString &port : {folder.filePath("no-such-port"), sim->portPath()}) {
        SCOPED_TRACE(port.toStdString());
        CurrentComPort = port;
        DeviceInfo->Valid = true;
        window.log.clear();
        EXPECT_FALSE(ProgUSB->Open());
        EXPECT_FALSE(DeviceInfo->Valid);
        EXPECT_EQ(window.log, (QList<LogLine> {Blank, line(clRed, 3002), Blank}));
    }
}

TEST_F(ProgLinkTest, OpeningTheBoardLogsOpenedAndClosingAlwaysLogsClosed)
{
    ProgUSB->Close();
    EXPECT_TRUE(ProgUSB->Open());
    ProgUSB->Close();
    EXPECT_EQ(window.log, Closed + (QList<LogLine> {Blank, line(clGray, 3001)}) + Closed);
}

TEST_F(ProgLinkTest, SilenceEndsEachReadAtItsOwnTimeOut)
{
    sim->addFault({CMD_TARGET_POWER, Phase::Ack, Action::Drop});
    open();
    ASSERT_TRUE(ProgUSB->SendCommand(CMD_TARGET_POWER));
    // The bounds lie far below the port's own 2000 ms and the 700 ms before.
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(ProgUSB->WaitAck(700));
    EXPECT_GE(clock.elapsed(), 690);
    EXPECT_LT(clock.elapsed(), 1600);
    clock.restart();
    EXPECT_EQ(ProgUSB->ReadStatus(150), STATUS_DB_NO_ANSWER);
    EXPECT_GE(clock.elapsed(), 140);
    EXPECT_LT(clock.elapsed(), 600);
}

TEST_F(ProgLinkTest, AClosedLinkAnswersAtOnceAndSendsNothing)
{
    std::uint8_t buffer[4] = {1, 2, 3, 4};
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ((std::tuple {ProgUSB->SendCommand(CMD_GET_INFO), ProgUSB->WaitAck(500), ProgUSB->ReadStatus(1000),
                           ProgUSB->Read(buffer, 4, 1000), ProgUSB->Write(buffer, 4)}),
              (std::tuple {false, false, STATUS_DB_NO_ANSWER, false, false}));
    EXPECT_LT(clock.elapsed(), 450);  // less than the shortest time-out asked for
    EXPECT_EQ(requestsOf(CMD_GET_INFO), "");
}

TEST_F(ProgLinkTest, UnpluggingIsLoggedAndPassedOnAndAReplugOpensAfresh)
{
    sim->addFault({CMD_GET_INFO, Phase::Answer, Action::HangUp});
    open();
    EXPECT_THROW(ReadDeviceInfo(logger()), SerialIoError);
    EXPECT_FALSE(ProgUSB->IsOpen());
    ASSERT_EQ(window.log.size(), 1);
    EXPECT_EQ(window.log[0].colour, clRed);
    EXPECT_TRUE(window.log[0].text.startsWith(QStringLiteral("COM PORT ERROR: "))) << window.log[0].text.toStdString();
    // The caller's closing steps then fail quietly instead of throwing again.
    EXPECT_FALSE(LeaveProgrammingMode(logger()));
    EXPECT_FALSE(SetTargetPower(false, logger()));
    EXPECT_NO_THROW(ProgUSB->Close());
    EXPECT_EQ(window.log.mid(1), Closed);
    // The board comes back: the next operation opens it afresh.
    useBoard(target().FlashSize, target().EEPromSize);
    ASSERT_TRUE(ProgUSB->Open());
    EXPECT_TRUE(ReadDeviceInfo(logger()));
}

TEST_F(ProgLinkTest, StaleInputBeforeOpeningOrBetweenCommandsIsNotTakenForTheAnswer)
{
    sim->injectBytes(bytes("0055"));
    open();
    EXPECT_TRUE(ReadDeviceInfo(logger()));
    sim->injectBytes(bytes("00"));
    EXPECT_TRUE(ReadDeviceInfo(logger()));
    sim->injectBytes(bytes("ff"));
    EXPECT_TRUE(ResetTarget(logger()));
    EXPECT_EQ(lines, (QList<LogLine> {line(clBlack, 3030)}));
}

TEST_F(ProgLinkTest, ALateStatusDoesNotAnswerTheNextCommand)
{
    sim->addFault({CMD_LEAVE_PROGRAMMING, Phase::Status, Action::Late, 1600});
    sim->addFault({CMD_RESET_TARGET, Phase::Status, Action::Value, STATUS_DB_ERROR});
    open();
    // Its status comes 600 ms after the host gave up: a host that a busy
    // machine wakes late from its time-out must not find it there yet.
    EXPECT_FALSE(LeaveProgrammingMode(logger()));
    ASSERT_TRUE(sim->waitForExchanges(1, 5000));
    EXPECT_FALSE(ResetTarget(logger()));  // a stale 0 must not pass for this refusal
    EXPECT_EQ(lines, (QList<LogLine> {line(clBlack, 3011), line(clBlack, 3030), line(clRed, 3031)}));
}

TEST_F(ProgLinkTest, ClosingTheWindowInTheMiddleOfAnOperationEndsItQuietly)
{
    open();
    bool closed = false;
    window.onLogLine = [&closed] {
        if (!std::exchange(closed, true))
            ProgUSB->Close();
    };
    EXPECT_FALSE(EnterProgrammingMode(target(), window.logProc()));
    EXPECT_EQ(window.log.value(0), line(clBlack, 3010));
    EXPECT_EQ(window.log.last(), line(clGray, QString()));
    EXPECT_TRUE(sim->waitForExchanges(0, 100));
    EXPECT_TRUE(sim->exchanges().empty());
}

TEST_F(ProgLinkTest, ClosingTheWindowWhileTheLinkOpensLeavesThePortClosed)
{
    for (const int closingLine : {0, 1}) {
        SCOPED_TRACE(closingLine);
        window.log.clear();
        int lineCount = 0;
        window.onLogLine = [&] {
            if (lineCount++ == closingLine)
                ProgUSB->Close();
        };
        EXPECT_FALSE(ProgUSB->Open());
        window.onLogLine = nullptr;
        EXPECT_FALSE(ProgUSB->IsOpen());
        EXPECT_TRUE(portIsFree(sim->portPath()));
        // A closing during the first line is followed by the failure lines.
        if (closingLine == 0) {
            EXPECT_EQ(window.log, (QList<LogLine> {Blank}) + Closed + (QList<LogLine> {line(clRed, 3002), Blank}));
        }
    }
}
