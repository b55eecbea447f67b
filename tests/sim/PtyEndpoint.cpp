#include "PtyEndpoint.h"

#include <QElapsedTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace {
void makeRaw(int fd)
{
    termios tio {};
    if (tcgetattr(fd, &tio) != 0)
        throw std::runtime_error("tcgetattr on pseudo-terminal failed");
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
}
}

PtyEndpoint::PtyEndpoint()
{
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    makeRaw(m_master);
    makeRaw(m_slave);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_slavePath = QString::fromLocal8Bit(name);
}

PtyEndpoint::~PtyEndpoint()
{
    hangUp();
    if (m_slave >= 0)
        ::close(m_slave);
}

QByteArray PtyEndpoint::read(int count, int timeoutMs)
{
    QByteArray result;
    QElapsedTimer clock;
    clock.start();
    while (result.size() < count && m_master >= 0) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0)
            break;
        result += readAvailable(count - int(result.size()), int(left));
    }
    return result;
}

QByteArray PtyEndpoint::readAvailable(int maxBytes, int timeoutMs)
{
    if (m_master < 0 || maxBytes <= 0)
        return {};
    pollfd pfd {m_master, POLLIN, 0};
    if (poll(&pfd, 1, timeoutMs) <= 0 || !(pfd.revents & POLLIN))
        return {};
    QByteArray buffer(maxBytes, '\0');
    const ssize_t n = ::read(m_master, buffer.data(), size_t(maxBytes));
    if (n <= 0)
        return {};
    buffer.truncate(int(n));
    return buffer;
}

void PtyEndpoint::write(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (m_master >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EAGAIN) {
            pollfd pfd {m_master, POLLOUT, 0};
            poll(&pfd, 1, 100);
        } else {
            return;
        }
    }
}

bool PtyEndpoint::inputPending(int timeoutMs) const
{
    if (m_master < 0)
        return false;
    pollfd pfd {m_master, POLLIN, 0};
    return poll(&pfd, 1, timeoutMs) > 0 && (pfd.revents & POLLIN);
}

void PtyEndpoint::hangUp()
{
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}
