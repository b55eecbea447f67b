#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

// The single-instance rule: the running program answers on a local socket
// named from the desktop its window is on and its window caption, as the
// design's search for a top-level window with that caption on the user's own
// desktop did. The socket lives in the user's private runtime folder
// (PrivateRuntimeFolder.h), where no other user can take its name first.
// Without such a folder there is no rule: every start opens its window.

// What tells the user's desktops apart under the Qt platform `platform`: on
// X11 and Wayland the X and the Wayland display (one session may offer both,
// to programs of either kind), elsewhere the platform itself.
QString DesktopIdentity(const QString &platform);

// The socket's full path for a caption on a desktop; empty without a private runtime folder.
QString SingleInstanceName(const QString &caption, const QString &desktop);

// Asks a running program on this desktop whose caption is `caption` to come
// to the front. True when one answered; then this start ends.
bool NotifyRunningInstance(const QString &caption, int timeoutMs = 1000);

// The running program's side: listens under its current caption on this desktop.
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
