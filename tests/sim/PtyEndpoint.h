#pragma once

#include <QByteArray>
#include <QString>

// The far side of a pseudo-terminal for the simulators: the host program
// opens slavePath() like a serial device, the simulator reads and writes the
// master. Both sides are raw, and the slave stays open for the endpoint's
// whole life so that the master never reads EIO between the host's opens.
class PtyEndpoint {
public:
    PtyEndpoint();
    ~PtyEndpoint();
    PtyEndpoint(const PtyEndpoint &) = delete;
    PtyEndpoint &operator=(const PtyEndpoint &) = delete;

    const QString &slavePath() const { return m_slavePath; }

    // Reads exactly count bytes unless timeoutMs passes first (then returns what came).
    QByteArray read(int count, int timeoutMs);
    // Whatever is there within timeoutMs, at most maxBytes.
    QByteArray readAvailable(int maxBytes, int timeoutMs);
    void write(const QByteArray &bytes);
    // Whether the host has sent something not read yet (waits up to timeoutMs).
    bool inputPending(int timeoutMs = 0) const;

    // Simulates an unplugged device: the host's next read or write fails.
    void hangUp();
    bool isHungUp() const { return m_master < 0; }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
