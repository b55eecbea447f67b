#include "ChildProcess.h"

#include "Exceptions.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// The address space the process holds now, in bytes; 0 when it cannot be told.
std::size_t AddressSpaceInUse()
{
    unsigned long pages = 0;
    FILE *statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        return 0;
    if (std::fscanf(statm, "%lu", &pages) != 1)
        pages = 0;
    std::fclose(statm);
    return pages * std::size_t(sysconf(_SC_PAGESIZE));
}

QByteArray Outcome(const std::function<QByteArray()> &work, const ChildLimits &limits)
{
    // The deadline ends the child whatever the test process did with the signal.
    std::signal(SIGALRM, SIG_DFL);
    sigset_t alarmOnly;
    sigemptyset(&alarmOnly);
    sigaddset(&alarmOnly, SIGALRM);
    sigprocmask(SIG_UNBLOCK, &alarmOnly, nullptr);
    alarm(limits.deadlineSeconds);
    const rlimit noCore {0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    if (limits.addressSpaceHeadroom) {
        const std::size_t inUse = AddressSpaceInUse();
        const rlimit addressSpace {inUse + *limits.addressSpaceHeadroom, inUse + *limits.addressSpaceHeadroom};
        if (!inUse || setrlimit(RLIMIT_AS, &addressSpace) != 0)
            return "address space not limited";
    }
    try {
        return work();
    } catch (const Exception &error) {
        return "error: " + error.message().toUtf8();
    } catch (const std::exception &error) {
        return QByteArray("exception: ") + error.what();
    }
}

void WriteAll(int descriptor, const QByteArray &text)
{
    for (qsizetype written = 0; written < text.size();) {
        const ssize_t count = write(descriptor, text.constData() + written, size_t(text.size() - written));
        if (count <= 0)
            return;
        written += count;
    }
}
}

QByteArray RunInChild(const std::function<QByteArray()> &work, const ChildLimits &limits)
{
    int channel[2];
    if (pipe(channel) != 0)
        return "no pipe";
    const pid_t child = fork();
    if (child < 0)
        return "no child";
    if (child == 0) {
        close(channel[0]);
        WriteAll(channel[1], Outcome(work, limits));
        _exit(0);
    }
    close(channel[1]);
    QByteArray text;
    char buffer[4096];
    for (ssize_t count; (count = read(channel[0], buffer, sizeof buffer)) != 0;)
        if (count > 0)
            text.append(buffer, count);
        else if (errno != EINTR)
            break;
    close(channel[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM)
        return "did not end within " + QByteArray::number(limits.deadlineSeconds) + " s";
    if (WIFSIGNALED(status))
        return QByteArray("ended by signal: ") + strsignal(WTERMSIG(status));
    if (WEXITSTATUS(status) != 0)
        return "exit status " + QByteArray::number(WEXITSTATUS(status));
    return text;
}
