#include "RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::function<void()> beforeOpen;
std::function<void()> beforeReading;

constexpr qint64 BlockSize = 16 * 1024;

// The reason in the words the file class gives for the same error.
RegularFile::OpenResult failed(int error)
{
    const bool missing = error == ENOENT || error == ENOTDIR;
    return {missing ? RegularFile::Outcome::Missing : RegularFile::Outcome::Failed, qt_error_string(error)};
}

bool isRegular(int descriptor)
{
    struct stat status {};
    return ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
}
}

RegularFile::OpenResult RegularFile::Open(QFile &file, const QString &fileName)
{
    const QByteArray path = QFile::encodeName(fileName);
    struct stat named {};
    if (::stat(path.constData(), &named) == 0 && !S_ISREG(named.st_mode))
        return {Outcome::NotRegular, {}};
    if (beforeOpen)
        beforeOpen();
    const int descriptor = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return failed(errno);
    if (!isRegular(descriptor)) {
        ::close(descriptor);
        return {Outcome::NotRegular, {}};
    }
    // A regular file never makes a read wait; the flag goes so that the
    // descriptor is the plain one that every reader expects.
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int error = errno;
        ::close(descriptor);
        return failed(error);
    }
    if (!file.open(descriptor, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return {Outcome::Failed, file.errorString()};
    }
    return {Outcome::Opened, {}};
}

RegularFile::Content RegularFile::ReadWhole(const QString &fileName, qint64 maxSize)
{
    QFile file;
    const OpenResult opened = Open(file, fileName);
    if (opened.outcome != Outcome::Opened)
        return {opened.outcome, opened.reason, {}};
    // The size told before the read only spares reading a file known too large.
    if (file.size() > maxSize)
        return {Outcome::TooLarge, {}, {}};
    if (beforeReading)
        beforeReading();
    QByteArray bytes;
    for (;;) {
        const QByteArray block = file.read(BlockSize);
        if (file.error() != QFileDevice::NoError)
            return {Outcome::Failed, file.errorString(), {}};
        if (block.isEmpty())
            return {Outcome::Opened, {}, bytes};
        bytes += block;
        if (bytes.size() > maxSize)
            return {Outcome::TooLarge, {}, {}};
    }
}

void RegularFile::setTestHook(Moment moment, std::function<void()> hook)
{
    (moment == Moment::BeforeOpen ? beforeOpen : beforeReading) = std::move(hook);
}
