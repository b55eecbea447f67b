// Closing the link when the port fails to close, as a removed USB adapter's
// can: a real pseudo-terminal never fails there, so the link's close is
// replaced by one that raises, while everything else runs against the board.
#include "ProgLinkFixture.h"

#include "DeviceInterface.h"
#include "ProgUSB.h"
#include "SerialPort.h"
#include "Utils.h"

namespace {
class FailingCloseProgUSB : public TProgUSB {
public:
    int failures = 1;
    int closeCalls = 0;

protected:
    void closePort(SerialPort &port) override
    {
        ++closeCalls;
        if (failures-- > 0)
            throw SerialIoError("close failed");
        TProgUSB::closePort(port);
    }
};

class ClosingFails : public ProgLinkTest {
protected:
    void SetUp() override
    {
        ProgLinkTest::SetUp();
        delete ProgUSB;
        link = new FailingCloseProgUSB;
        ProgUSB = link;
        ProgUSB->Init();
    }

    FailingCloseProgUSB *link = nullptr;  // owned by the global, freed by the fixture
    const QList<LogLine> failedClose = {line(clRed, QStringLiteral("COM PORT ERROR: close failed")), line(clGray, 3003),
                                        line(clBlack, QString())};
};
}

TEST_F(ClosingFails, TheErrorIsLoggedTheLinkEndsClosedWithTheFirstSettingsAndOpensAgain)
{
    open();
    EXPECT_FALSE(ProgUSB->WaitAck(50));  // leaves the port with this read's time-out
    EXPECT_NO_THROW(ProgUSB->Close());
    EXPECT_EQ(link->closeCalls, 1);
    EXPECT_EQ(window.log, failedClose);
    EXPECT_FALSE(ProgUSB->IsOpen());
    EXPECT_EQ(std::tuple(ProgUSB->ComPort->portName(), ProgUSB->ComPort->readTimeout(), ProgUSB->ComPort->writeTimeout()),
              std::tuple(sim->portPath(), TProgUSB::DefaultTimeout, TProgUSB::DefaultTimeout));
    // Nothing goes out on a link that is closed.
    EXPECT_FALSE(ProgUSB->SendCommand(CMD_GET_INFO));
    EXPECT_EQ(requestsOf(CMD_GET_INFO), "");
    // The port is used exclusively: this open would fail if the object that
    // failed to close were kept somewhere, still holding the device.
    open();
    ASSERT_TRUE(ReadDeviceInfo(logger()));
    EXPECT_TRUE(DeviceInfo->Valid);
    EXPECT_EQ(requestsOf(CMD_GET_INFO), "-");
    ProgUSB->Close();
    EXPECT_EQ(window.log, (QList<LogLine> {line(clGray, 3003), line(clBlack, QString())}));
    EXPECT_TRUE(lines.isEmpty());
}

TEST_F(ClosingFails, AFailedCloseAfterAnUnplugStillEndsInTheClosingLines)
{
    sim->addFault({CMD_GET_INFO, BoardSimulator::Phase::Answer, BoardSimulator::Action::HangUp});
    open();
    EXPECT_THROW(ReadDeviceInfo(logger()), SerialIoError);
    // The caller's closing steps: quiet failures, then a close that fails too.
    EXPECT_FALSE(LeaveProgrammingMode(logger()));
    EXPECT_NO_THROW(ProgUSB->Close());
    EXPECT_FALSE(ProgUSB->IsOpen());
    ASSERT_EQ(window.log.size(), 4);
    EXPECT_TRUE(window.log[0].text.startsWith(QStringLiteral("COM PORT ERROR: "))) << window.log[0].text.toStdString();
    EXPECT_EQ(window.log.mid(1), failedClose);
}
