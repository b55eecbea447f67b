#include "ShutdownSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
const int CaughtSignals[] = {SIGTERM, SIGHUP, SIGINT};
// The handler may only write to a descriptor: the notifier reads the other end.
int requestPipe[2] = {-1, -1};

void onSignal(int)
{
    const char request = 1;
    [[maybe_unused]] const ssize_t written = write(requestPipe[1], &request, 1);
}

void setHandler(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : CaughtSignals)
        sigaction(signal, &action, nullptr);
}
}

ShutdownSignals::ShutdownSignals(QObject *parent) : QObject(parent)
{
    if (pipe2(requestPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;  // the signals keep their default action: the program ends at once
    m_notifier = new QSocketNotifier(requestPipe[0], QSocketNotifier::Read, this);
    m_notifier->setEnabled(false);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char requests[16];
        while (read(requestPipe[0], requests, sizeof requests) > 0) {
        }
        emit shutdownRequested();
    });
    setHandler(onSignal);
}

ShutdownSignals::~ShutdownSignals()
{
    if (!m_notifier)
        return;
    setHandler(SIG_DFL);
    delete m_notifier;
    close(requestPipe[0]);
    close(requestPipe[1]);
    requestPipe[0] = requestPipe[1] = -1;
}

void ShutdownSignals::deliver()
{
    if (m_notifier)
        m_notifier->setEnabled(true);
}
