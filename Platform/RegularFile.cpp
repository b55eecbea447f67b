#include "RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::function<void()> beforeOpen;

// The reason in the words the file class gives for the same error.
RegularFile::OpenResult failed(int error)
{
    return {RegularFile::OpenResult::Failed, qt_error_string(error)};
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
        return {OpenResult::NotRegular, {}};
    if (beforeOpen)
        beforeOpen();
    const int descriptor = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return failed(errno);
    if (!isRegular(descriptor)) {
        ::close(descriptor);
        return {OpenResult::NotRegular, {}};
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
        return {OpenResult::Failed, file.errorString()};
    }
    return {OpenResult::Opened, {}};
}

void RegularFile::setBeforeOpen(std::function<void()> hook)
{
    beforeOpen = std::move(hook);
}
