#include "PtyEndpoint.h"
#include "SerialPort.h"

#include <QElapsedTimer>
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
}

TEST(SerialPort, ReadEndsAtOneDeadlineForTheWholeCall)
{
    PtyEndpoint pty;
    SerialPort port;
    openOn(port, pty, 150);
    pty.write(QByteArray("ab"));
    char buffer[8] = {};
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(port.read(buffer, 8), 2);
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(elapsed, 140);
    EXPECT_LT(elapsed, 600);
    EXPECT_EQ(QByteArray(buffer, 2), QByteArray("ab"));
}

TEST(SerialPort, BytesWrittenReachTheFarEnd)
{
    PtyEndpoint pty;
    SerialPort port;
    openOn(port, pty, 100);
    const char bytes[] = {'\x30', '\x01', '\x00', '\xff'};
    EXPECT_EQ(port.write(bytes, 4), 4);
    EXPECT_EQ(pty.read(4, 500), QByteArray(bytes, 4));
}

TEST(SerialPort, HangUpIsADeviceError)
{
    PtyEndpoint pty;
    SerialPort port;
    openOn(port, pty, 1000);
    pty.hangUp();
    char byte = 0;
    EXPECT_THROW(port.read(&byte, 1), SerialIoError);
    EXPECT_THROW(port.write(&byte, 1), SerialIoError);
    port.close();
    EXPECT_FALSE(port.isOpen());
}

TEST(SerialPort, SecondOpenOfTheSameDeviceFails)
{
    PtyEndpoint pty;
    SerialPort first;
    openOn(first, pty, 100);
    SerialPort second;
    try {
        openOn(second, pty, 100);
        FAIL() << "second open succeeded";
    } catch (const SerialIoError &error) {
        EXPECT_NE(QString::fromStdString(error.what()).indexOf(QStringLiteral("in use")), -1) << error.what();
    }
    first.close();
    EXPECT_NO_THROW(openOn(second, pty, 100));
}

TEST(SerialPort, StaleInputIsDiscardedAtOpenAndOnRequest)
{
    PtyEndpoint pty;
    SerialPort port;
    pty.write(QByteArray("stale"));
    openOn(port, pty, 50);
    char buffer[8] = {};
    EXPECT_EQ(port.read(buffer, 8), 0);
    pty.write(QByteArray("late"));
    QThread::msleep(50);  // the late bytes arrive before the flush
    port.flushInput();
    EXPECT_EQ(port.read(buffer, 8), 0);
}

TEST(SerialPort, MissingDeviceNamesThePort)
{
    SerialPort port;
    port.setPortName(QStringLiteral("/dev/no-such-port-here"));
    try {
        port.open();
        FAIL() << "open succeeded";
    } catch (const SerialIoError &error) {
        EXPECT_NE(QString::fromStdString(error.what()).indexOf(QStringLiteral("/dev/no-such-port-here")), -1);
    }
    EXPECT_FALSE(port.isOpen());
}

TEST(SerialPort, AWriteThatCannotGoOutEndsAtTheWriteTimeOut)
{
    PtyEndpoint pty;  // never reads, so the terminal's buffer fills up
    SerialPort port;
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
    EXPECT_LT(clock.elapsed(), 600);
}
