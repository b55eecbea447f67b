#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// The far side of a pseudo-terminal for the simulators: the host program
// opens slavePath() like a serial device, the simulator reads and writes the
// master from its serving thread. Both sides are raw, and the slave stays open
// for the endpoint's whole life so that the master never reads EIO between the
// host's opens. Every call is safe from any thread, and none holds a lock
// while it waits: a thread that waited holding one would keep every other
// thread out for as long as the scheduler left it waiting.
class PtyEndpoint {
public:
    PtyEndpoint();
    ~PtyEndpoint();
    PtyEndpoint(const PtyEndpoint &) = delete;
    PtyEndpoint &operator=(const PtyEndpoint &) = delete;

    const QString &slavePath() const { return m_slavePath; }

    // Reads exactly count bytes unless timeoutMs passes, the device hangs up or
    // the serving stops first (then returns what came).
    QByteArray read(int count, int timeoutMs);
    // Whatever is there within timeoutMs, at most maxBytes. readAt, when
    // given, gets the moment the bytes were taken: no later than a
    // waitUntilTakenIn() that saw them gone.
    QByteArray readAvailable(int maxBytes, int timeoutMs, std::chrono::steady_clock::time_point *readAt = nullptr);
    // On return the host can read the bytes.
    void write(const QByteArray &bytes);
    // Whether the host has sent something not read yet.
    bool inputPending() const;
    // Waits until every byte the host has sent so far has been read; false on time-out.
    bool waitUntilTakenIn(int timeoutMs) const;

    // Simulates an unplugged device: the host's next read or write fails.
    void hangUp();
    bool isHungUp() const;

    // Calls `step` on a thread of its own until stop() or a hang-up. The
    // simulator's destructor calls stop() before its own members go.
    void serve(std::function<void()> step);
    void stop();
    bool stopping() const { return m_stop; }
    // Waits ms, cut short by stop().
    void pause(int ms) const;
    // Polls `condition` until it holds (true) or timeoutMs passes (false).
    static bool waitUntil(const std::function<bool()> &condition, int timeoutMs);

    // The ways the host broke the protocol, as the simulator noted them.
    void violation(const QString &what);
    QStringList violations() const;

private:
    // Waits until the master has `events` or timeoutMs passes, without the lock.
    bool waitForMaster(short events, int timeoutMs) const;

    mutable std::mutex m_mutex;  // the master's descriptor
    std::mutex m_writeMutex;
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    mutable std::mutex m_violationsMutex;
    QStringList m_violations;
    std::atomic<bool> m_stop {false};
    mutable std::mutex m_stopMutex;  // with m_stopped, ends pause() at once
    mutable std::condition_variable m_stopped;
    std::thread m_thread;
};
