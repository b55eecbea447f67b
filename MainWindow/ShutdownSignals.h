#pragma once

#include <QObject>

class QSocketNotifier;

// The system's requests to end the program (SIGTERM at shut-down or log-out,
// SIGHUP when the terminal goes, SIGINT) reach the interface thread as one
// Qt signal, so that they end the program through the main window's close
// query like any other attempt to close it. Requests that arrive before
// deliver() is called wait until then.
class ShutdownSignals : public QObject {
    Q_OBJECT
public:
    explicit ShutdownSignals(QObject *parent = nullptr);
    ~ShutdownSignals() override;

    // From now on pending and later requests emit shutdownRequested.
    void deliver();

signals:
    void shutdownRequested();

private:
    QSocketNotifier *m_notifier = nullptr;
};
