#pragma once

#include "ExclusiveFileLock.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>
#include <QString>

#include <functional>

// The single-instance rule: one running program per user and desktop. The
// name comes only from what stays the same while a program runs (the user's
// private runtime folder and the desktop), never from the caption, which
// follows the language and the portable settings. The program that holds the
// lock of that name is the instance, from before its splash to its end; it
// answers on a local socket of the same name. Lock and socket live in the
// user's private runtime folder (PrivateRuntimeFolder.h), where no other user
// can take a name first. Without such a folder there is no rule: every start
// opens its window.

// What tells the user's desktops apart under the Qt platform `platform`: on
// X11 and Wayland the X and the Wayland display (one session may offer both,
// to programs of either kind), elsewhere the platform itself.
QString DesktopIdentity(const QString &platform);

// The socket's full path on a desktop (the lock is this path with ".lock"
// added); empty without a private runtime folder.
QString SingleInstanceName(const QString &desktop);

// A start's request to the running program on this desktop to come to the
// front. The program answers as soon as its event loop has the request, also
// while its splash shows; the system alone accepts the connection for a
// program that is stopped or hung, and such a program never answers.
class RaiseRequest {
public:
    enum class State {
        Unsent,    // not sent yet, or dropped unanswered by a program that ended
        Waiting,   // sent, not answered yet
        Answered,
    };

    // Connects and asks, allowing `connectWaitMs` for the connection; false
    // when no program listens.
    bool send(int connectWaitMs);
    // Looks for the answer without waiting for it.
    State state();

private:
    QLocalSocket m_socket;
    QByteArray m_received;
};

enum class InstanceClaim {
    Taken,          // this program is the instance
    HeldByAnother,  // another running program is
    NoRule,         // no private runtime folder, or its lock file cannot be used
};

// The running program's side. At its end the socket goes first and the lock
// last: a start in between would otherwise take the lock, listen, and lose
// its socket to this end.
class SingleInstanceServer : public QObject {
    Q_OBJECT
public:
    explicit SingleInstanceServer(QObject *parent = nullptr);
    ~SingleInstanceServer() override;

    // Claims the instance on this desktop: takes the lock, clears a socket
    // that a copy left when it ended without closing it (only the lock's
    // holder may: any other program's socket there is live), and listens.
    // Taken also when the socket cannot be made (a line on stderr): the lock
    // alone keeps the rule. A claim already held stays as it is.
    InstanceClaim claim();

    // Requests to come to the front that arrived before (while the splash
    // shows and the main window is made) are handed on now, as one; later
    // ones at once.
    void deliverRaiseRequests();

signals:
    // A second start asked for the window to come to the front.
    void raiseRequested();

private:
    void onNewConnection();
    void readRequests(QLocalSocket &socket);
    void onRaiseRequest();
    ExclusiveFileLock m_lock;
    QLocalServer m_server;
    bool m_delivering = false;
    bool m_raiseKept = false;
};

// Tests hold the end of a claim between its two steps (the socket gone, the
// lock still held) with `pause`; empty: no pause.
void setClaimEndPause(std::function<void()> pause);

enum class StartTurn {
    OpenWindows,           // this start is the instance, or there is no rule
    RaisedRunningProgram,  // the instance was asked to come to the front
    RunningProgramSilent,  // the instance never answered (not listening, stopped, hung)
};

// A start's turn under the rule: claims the instance for `server`, or, while
// another program holds it, asks that one to come to the front. The holder
// listens a moment after it has claimed and answers between the steps of its
// start, so for a few seconds (pausing through SleepMs) the request is tried
// again until one is sent, and then waited for; a holder that ends meanwhile
// leaves the claim to this start.
StartTurn ClaimInstance(SingleInstanceServer &server);

// Tells the user that the running program never answered, in a message box
// (a start from a desktop menu has no terminal) and on stderr, in the
// language the start knows so far.
void ReportSilentRunningProgram();
