#include "ExclusiveFileLock.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace {
constexpr mode_t OwnerOnly = 0600;
}

ExclusiveFileLock::~ExclusiveFileLock()
{
    release();
}

ExclusiveFileLock::ExclusiveFileLock(ExclusiveFileLock &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
{
}

ExclusiveFileLock &ExclusiveFileLock::operator=(ExclusiveFileLock &&other) noexcept
{
    if (this != &other) {
        release();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

ExclusiveFileLock::Result ExclusiveFileLock::tryLock(const QString &path)
{
    // Close-on-exec: a program started from here (a browser for a link) must
    // not keep the lock once this process has ended.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW,
                          OwnerOnly);
    if (fd < 0) {
        qWarning("cannot open %s: %s", qUtf8Printable(QDir::toNativeSeparators(path)), std::strerror(errno));
        return Result::Failed;
    }
    int result = 0;
    do
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            return Result::HeldByAnother;
        qWarning("cannot lock %s: %s", qUtf8Printable(QDir::toNativeSeparators(path)), std::strerror(error));
        return Result::Failed;
    }
    release();
    m_fd = fd;
    return Result::Taken;
}

void ExclusiveFileLock::release()
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
}
