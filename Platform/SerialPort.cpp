#include "SerialPort.h"

#include "SerialPortBaud.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;

QString systemPath(const QString &name)
{
    // A bare device name such as "ttyACM0" means the device of that name.
    return name.contains(QLatin1Char('/')) ? name : QStringLiteral("/dev/") + name;
}

QString reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

[[noreturn]] void fail(const QString &port, const QString &what)
{
    throw SerialIoError(QStringLiteral("%1: %2").arg(port, what).toStdString());
}

bool configureRaw8N1(int fd)
{
    termios tio {};
    if (tcgetattr(fd, &tio) != 0)
        return false;
    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    // With VMIN 1 a non-blocking read reports "no data" as EAGAIN, so that a
    // read of 0 bytes can only mean the device hung up.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

int millisecondsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

// Waits until fd is ready for `events` or the deadline passes; false on time-out.
bool waitFor(int fd, short events, Clock::time_point deadline, const QString &port)
{
    for (;;) {
        const int timeout = millisecondsUntil(deadline);
        if (timeout == 0)
            return false;
        pollfd pfd {fd, events, 0};
        const int ready = poll(&pfd, 1, timeout);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            fail(port, reason(errno));
        if (ready == 0)
            continue;
        if (pfd.revents & events)
            return true;
        if (pfd.revents & (POLLHUP | POLLERR | POLLNVAL))
            fail(port, QStringLiteral("device hung up"));
    }
}
}

SerialPort::~SerialPort()
{
    close();
}

void SerialPort::open()
{
    close();
    const QString path = systemPath(m_portName);
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        fail(path, reason(errno));
    const auto giveUp = [&](const QString &why) {
        ::close(fd);
        fail(path, why);
    };
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        giveUp(errno == EWOULDBLOCK ? QStringLiteral("port is in use by another program") : reason(errno));
    if (!configureRaw8N1(fd))
        giveUp(QStringLiteral("not a serial device (%1)").arg(reason(errno)));
    if (!setCustomBaudRate(fd, m_baudRate))
        giveUp(QStringLiteral("baud rate %1 refused (%2)").arg(m_baudRate).arg(reason(errno)));
    // Linux raises both lines when a terminal opens; drop them again. A
    // pseudo-terminal has no modem lines and refuses, which does no harm.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(fd, TIOCMBIC, &lines);
    m_fd = fd;
    flushInput();
}

void SerialPort::close()
{
    if (m_fd < 0)
        return;
    ::close(m_fd);  // also releases the flock
    m_fd = -1;
}

int SerialPort::read(void *buffer, int count)
{
    const QString &port = m_portName;
    if (m_fd < 0)
        fail(port, QStringLiteral("port is not open"));
    const auto deadline = Clock::now() + std::chrono::milliseconds(m_readTimeout);
    auto *bytes = static_cast<char *>(buffer);
    int done = 0;
    while (done < count) {
        const ssize_t n = ::read(m_fd, bytes + done, size_t(count - done));
        if (n > 0) {
            done += int(n);
            continue;
        }
        if (n == 0)
            fail(port, QStringLiteral("device hung up"));
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN)
            fail(port, reason(errno));
        if (!waitFor(m_fd, POLLIN, deadline, port))
            break;
    }
    return done;
}

int SerialPort::write(const void *buffer, int count)
{
    const QString &port = m_portName;
    if (m_fd < 0)
        fail(port, QStringLiteral("port is not open"));
    const auto deadline = Clock::now() + std::chrono::milliseconds(m_writeTimeout);
    const auto *bytes = static_cast<const char *>(buffer);
    int done = 0;
    while (done < count) {
        const ssize_t n = ::write(m_fd, bytes + done, size_t(count - done));
        if (n > 0) {
            done += int(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            fail(port, reason(errno));
        if (!waitFor(m_fd, POLLOUT, deadline, port))
            break;
    }
    return done;
}

void SerialPort::flushInput()
{
    if (m_fd < 0)
        return;
    tcflush(m_fd, TCIFLUSH);
    // Bytes still on their way through the driver when the flush ran are
    // discarded as well; errors are left for the next read or write to report.
    char sink[256];
    while (::read(m_fd, sink, sizeof sink) > 0) {
    }
}
