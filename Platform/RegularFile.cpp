#include "RegularFile.h"

#include <QFile>

#include <cerrno>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RegularFile {
namespace {

constexpr std::size_t BlockSize = 16 * 1024;

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

Content failure(int error)
{
    return {Outcome::Failed, {}, qt_error_string(error)};
}

bool isOther(mode_t mode)
{
    return !S_ISREG(mode) && !S_ISDIR(mode);
}

// A socket cannot be opened at all: it is told apart from a plain refusal
// by what lies under the name.
Content openFailure(const QByteArray &path, int error)
{
    if (error == ENOENT || error == ENOTDIR)
        return {Outcome::Missing, {}, {}};
    struct stat status {};
    if (::stat(path.constData(), &status) == 0 && isOther(status.st_mode))
        return {Outcome::NotRegular, {}, {}};
    return failure(error);
}

// The size reported before the read only spares reading a file known too
// large; a file that grows meanwhile, or tells no size (one of /proc), is
// stopped a block past the bound.
Content readOpened(int fd, qint64 maxSize)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return failure(errno);
    if (S_ISDIR(status.st_mode))
        return failure(EISDIR);
    if (isOther(status.st_mode))
        return {Outcome::NotRegular, {}, {}};
    if (status.st_size > maxSize)
        return {Outcome::TooLarge, {}, {}};

    QByteArray bytes;
    char block[BlockSize];
    for (;;) {
        const ssize_t count = ::read(fd, block, sizeof block);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return failure(errno);
        if (count == 0)
            return {Outcome::Read, std::move(bytes), {}};
        bytes.append(block, count);
        if (bytes.size() > maxSize)
            return {Outcome::TooLarge, {}, {}};
    }
}

}  // namespace

Content ReadWhole(const QString &path, qint64 maxSize)
{
    const QByteArray name = QFile::encodeName(path);
    const Descriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.fd() < 0)
        return openFailure(name, errno);
    return readOpened(file.fd(), maxSize);
}

}  // namespace RegularFile
