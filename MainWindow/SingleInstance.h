#pragma once

#include "ExclusiveFileLock.h"

#include <QLocalServer>
#include <QObject>
#include <QString>

// The single-instance rule: one running program per desktop and window
// caption, as the design's search for a top-level window with that caption on
// the user's own desktop had it. The program that holds the lock of that name
// is the instance, from before its splash to its end; it answers on a local
// socket of the same name. Lock and socket live in the user's private runtime
// folder (PrivateRuntimeFolder.h), where no other user can take a name first.
// Without such a folder there is no rule: every start opens its window.

// What tells the user's desktops apart under the Qt platform `platform`: on
// X11 and Wayland the X and the Wayland display (one session may offer both,
// to programs of either kind), elsewhere the platform itself.
QString DesktopIdentity(const QString &platform);

// The socket's full path for a caption on a desktop (the lock is this path
// with ".lock" added); empty without a private runtime folder.
QString SingleInstanceName(const QString &caption, const QString &desktop);

// Asks a running program on this desktop whose caption is `caption` to come
// to the front. True when one answered.
bool NotifyRunningInstance(const QString &caption, int timeoutMs = 1000);

enum class InstanceClaim {
    Taken,          // this program is the instance
    HeldByAnother,  // another running program is
    NoRule,         // no private runtime folder, or its lock file cannot be used
};

// The running program's side.
class SingleInstanceServer : public QObject {
    Q_OBJECT
public:
    explicit SingleInstanceServer(QObject *parent = nullptr);

    // Claims the instance under the caption's name on this desktop: takes the
    // name's lock, clears a socket that a copy left when it ended without
    // closing it (only the lock's holder may: any other program's socket
    // there is live), and listens. The claim follows the caption: the previous
    // name is given up once the new one is held, and kept while another
    // program holds the new one. Taken also when the socket cannot be made
    // (a line on stderr): the lock alone keeps the rule.
    InstanceClaim listen(const QString &caption);

signals:
    // A second start asked for the window to come to the front.
    void raiseRequested();

private:
    void onNewConnection();
    QLocalServer m_server;
    ExclusiveFileLock m_lock;
    QString m_name;
};

enum class StartTurn {
    OpenWindows,           // this start is the instance, or there is no rule
    RaisedRunningProgram,  // the instance was asked to come to the front
    RunningProgramSilent,  // the instance never answered: this start ends all the same
};

// A start's turn under the rule: claims the instance for `server`, or, while
// another program holds it, asks that one to come to the front. The holder
// listens a moment after it has claimed, so the request is tried again
// (pausing through SleepMs) for a few seconds; a holder that ends meanwhile
// leaves the claim to this start.
StartTurn ClaimInstance(SingleInstanceServer &server, const QString &caption);
