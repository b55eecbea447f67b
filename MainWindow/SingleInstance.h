#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

// The single-instance rule: the running program answers under a name made of
// the user and its window caption, as the caption search of the design did.

// The channel name for a caption (the same for every program of this user).
QString SingleInstanceName(const QString &caption);

// Asks a running program whose caption is `caption` to come to the front.
// True when one answered; then this start ends.
bool NotifyRunningInstance(const QString &caption, int timeoutMs = 1000);

// The running program's side: listens under its current caption.
class SingleInstanceServer : public QObject {
    Q_OBJECT
public:
    explicit SingleInstanceServer(QObject *parent = nullptr);
    // Listens under the caption's name, dropping the previous one; false when that fails.
    bool listen(const QString &caption);

signals:
    // A second start asked for the window to come to the front.
    void raiseRequested();

private:
    void onNewConnection();
    QLocalServer m_server;
};
