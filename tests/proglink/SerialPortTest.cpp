#include "PtyEndpoint.h"
#include "SerialPort.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {
constexpr int kBaud = 100;

void openOn(SerialPort &port, const PtyEndpoint &pty, int readTimeout)
{
    port.setPortName(pty.slavePath());
    port.setBaudRate(kBaud);
    port.setReadTimeout(readTimeout);
    port.open();
}

class SerialPortTest : public ::testing::Test {
protected:
    PtyEndpoint pty;
    SerialPort port;
};
}

TEST_F(SerialPortTest, ReadEndsAtOneDeadlineForTheWholeCall)
{
    openOn(port, pty, 150);
    pty.write(QByteArray("ab"));
    char buffer[8] = {};
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(port.read(buffer, 8), 2);
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(elapsed, 140);
    EXPECT_LT(elapsed, 1500);  // far below the port's default 2000 ms
    EXPECT_EQ(QByteArray(buffer, 2), QByteArray("ab"));
}

TEST_F(SerialPortTest, BytesWrittenReachTheFarEnd)
{
    openOn(port, pty, 100);
    const char bytes[] = {'\x30', '\x01', '\x00', '\xff'};
    EXPECT_EQ(port.write(bytes, 4), 4);
    EXPECT_EQ(pty.read(4, 500), QByteArray(bytes, 4));
}

TEST_F(SerialPortTest, HangUpIsADeviceError)
{
    openOn(port, pty, 1000);
    pty.hangUp();
    char byte = 0;
    EXPECT_THROW(port.read(&byte, 1), SerialIoError);
    EXPECT_THROW(port.write(&byte, 1), SerialIoError);
    port.close();
    EXPECT_FALSE(port.isOpen());
}

TEST_F(SerialPortTest, SecondOpenOfTheSameDeviceFailsAndAMissingOneNamesThePort)
{
    openOn(port, pty, 100);
    SerialPort second;
    const QTemporaryDir folder;  // a missing port where an open that created it would harm nothing
    for (const QString &path : {pty.slavePath(), folder.filePath("no-such-port")}) {
        second.setPortName(path);
        try {
            second.open();
            FAIL() << "open succeeded";
        } catch (const SerialIoError &error) {
            const QString expected = path == pty.slavePath() ? QStringLiteral("in use") : path;
            EXPECT_TRUE(QString::fromStdString(error.what()).contains(expected)) << error.what();
        }
        EXPECT_FALSE(second.isOpen());
    }
    port.close();
    EXPECT_NO_THROW(openOn(second, pty, 100));
}

TEST_F(SerialPortTest, StaleInputIsDiscardedAtOpenAndOnRequest)
{
    pty.write(QByteArray("stale"));
    openOn(port, pty, 50);
    char buffer[8] = {};
    EXPECT_EQ(port.read(buffer, 8), 0);
    pty.write(QByteArray("late"));
    QThread::msleep(50);  // the late bytes arrive before the flush
    port.flushInput();
    EXPECT_EQ(port.read(buffer, 8), 0);
}

TEST_F(SerialPortTest, AWriteThatCannotGoOutEndsAtTheWriteTimeOut)
{
    // The far end never reads, so the terminal's buffer fills up.
    port.setPortName(pty.slavePath());
    port.setBaudRate(250000);
    port.setWriteTimeout(100);
    port.open();
    const QByteArray bytes(1 << 20, 'x');
    QElapsedTimer clock;
    clock.start();
    const int written = port.write(bytes.constData(), int(bytes.size()));
    EXPECT_LT(written, bytes.size());
    EXPECT_GE(clock.elapsed(), 90);
    EXPECT_LT(clock.elapsed(), 1500);  // far below the port's default 2000 ms
}
