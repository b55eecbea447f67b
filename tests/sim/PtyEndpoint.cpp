#include "PtyEndpoint.h"

#include <chrono>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace {
// Reads wait in slices of this length so that a hang-up or stop() is seen soon.
constexpr int SliceMs = 5;
// A write that finds the terminal's buffer full looks again after at most this long.
constexpr int WriteWaitMs = 100;

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
    stop();
    hangUp();
    ::close(m_slave);
}

QByteArray PtyEndpoint::read(int count, int timeoutMs)
{
    QByteArray result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (result.size() < count && !m_stop && !isHungUp() && std::chrono::steady_clock::now() < deadline)
        result += readAvailable(count - int(result.size()), SliceMs);
    return result;
}

QByteArray PtyEndpoint::readAvailable(int maxBytes, int timeoutMs, std::chrono::steady_clock::time_point *readAt)
{
    if (maxBytes <= 0 || !waitForMaster(POLLIN, timeoutMs))
        return {};
    std::lock_guard lock(m_mutex);
    if (m_master < 0)
        return {};
    QByteArray buffer(maxBytes, '\0');
    const ssize_t n = ::read(m_master, buffer.data(), size_t(maxBytes));
    buffer.truncate(n > 0 ? int(n) : 0);
    // Taken under the lock, so that inputPending() cannot see the bytes gone before their time is set.
    if (readAt)
        *readAt = std::chrono::steady_clock::now();
    return buffer;
}

void PtyEndpoint::write(const QByteArray &bytes)
{
    // One writer at a time, so that two threads' blocks never interleave.
    std::lock_guard writing(m_writeMutex);
    qsizetype done = 0;
    while (done < bytes.size()) {
        ssize_t n = -1;
        {
            std::lock_guard lock(m_mutex);
            if (m_master < 0)
                return;
            n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        }
        if (n > 0)
            done += n;
        else if (n < 0 && errno == EAGAIN)
            waitForMaster(POLLOUT, WriteWaitMs);
        else
            return;
    }
    // A poll of the slave pushes the bytes through the terminal's buffers now,
    // instead of whenever the kernel's worker thread gets its turn: the host
    // finds them without waiting for one more scheduling round.
    pollfd pfd {m_slave, POLLIN, 0};
    poll(&pfd, 1, 0);
}

bool PtyEndpoint::waitForMaster(short events, int timeoutMs) const
{
    int fd = -1;
    {
        std::lock_guard lock(m_mutex);
        fd = m_master;
    }
    // A hang-up may close the descriptor during the poll; callers look again
    // under the lock before they read or write, so a stale one costs no more
    // than a wasted wait.
    pollfd pfd {fd, events, 0};
    return fd >= 0 && poll(&pfd, 1, timeoutMs) > 0 && (pfd.revents & events);
}

bool PtyEndpoint::inputPending() const
{
    std::lock_guard lock(m_mutex);
    pollfd pfd {m_master, POLLIN, 0};
    return m_master >= 0 && poll(&pfd, 1, 0) > 0 && (pfd.revents & POLLIN);
}

bool PtyEndpoint::waitUntilTakenIn(int timeoutMs) const
{
    // A poll of the master also takes in bytes still on their way through the
    // terminal's buffers, so "nothing pending" covers everything the host wrote.
    return waitUntil([this] { return !inputPending(); }, timeoutMs);
}

void PtyEndpoint::hangUp()
{
    std::lock_guard lock(m_mutex);
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

bool PtyEndpoint::isHungUp() const
{
    std::lock_guard lock(m_mutex);
    return m_master < 0;
}

void PtyEndpoint::serve(std::function<void()> step)
{
    m_thread = std::thread([this, step] {
        while (!m_stop && !isHungUp())
            step();
    });
}

void PtyEndpoint::stop()
{
    {
        std::lock_guard lock(m_stopMutex);
        m_stop = true;
    }
    m_stopped.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void PtyEndpoint::pause(int ms) const
{
    std::unique_lock lock(m_stopMutex);
    m_stopped.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_stop.load(); });
}

bool PtyEndpoint::waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void PtyEndpoint::violation(const QString &what)
{
    std::lock_guard lock(m_violationsMutex);
    m_violations << what;
}

QStringList PtyEndpoint::violations() const
{
    std::lock_guard lock(m_violationsMutex);
    return m_violations;
}
