#include "SingleInstance.h"

#include "PrivateRuntimeFolder.h"
#include "QtTranslations.h"
#include "Sleep.h"
#include "UiHooks.h"
#include "Utils.h"

#include <QCryptographicHash>
#include <QDir>
#include <QGuiApplication>
#include <QLocalSocket>
#include <QTextStream>

#include <utility>

namespace {
const QByteArray RaiseLine = QByteArrayLiteral("raise\n");
// The running program's answer: it has the request (and comes to the front once its window shows).
const QByteArray AnswerLine = QByteArrayLiteral("heard\n");
// Enough of the hash to keep the path well inside a socket address.
constexpr int KeyHashLength = 16;
// A listening program accepts at once: a connection that takes longer is
// tried again, as one to a program that is not listening yet.
constexpr int ConnectWaitMs = 100;
// Together a few seconds for the holder to listen and answer.
constexpr int AnswerPauses = 60;
constexpr int RetryPauseMs = 50;
constexpr int RunningProgramSilentText = 7310;

std::function<void()> claimEndPause;

QString thisDesktopsName()
{
    return SingleInstanceName(DesktopIdentity(QGuiApplication::platformName()));
}

QString lockName(const QString &socketName)
{
    return socketName + QStringLiteral(".lock");
}
}

QString DesktopIdentity(const QString &platform)
{
    if (platform != QLatin1String("xcb") && !platform.startsWith(QLatin1String("wayland")))
        return platform;
    return QStringLiteral("DISPLAY=%1 WAYLAND_DISPLAY=%2")
        .arg(qEnvironmentVariable("DISPLAY"), qEnvironmentVariable("WAYLAND_DISPLAY"));
}

QString SingleInstanceName(const QString &desktop)
{
    const QString folder = PlatformFolders::privateRuntimeFolder();
    if (folder.isEmpty())
        return {};
    const QByteArray hash = QCryptographicHash::hash(desktop.toUtf8(), QCryptographicHash::Sha1);
    return folder + QStringLiteral("/lumaprog-") + QString::fromLatin1(hash.toHex().left(KeyHashLength));
}

bool RaiseRequest::send(int connectWaitMs)
{
    m_socket.abort();
    m_received.clear();
    const QString name = thisDesktopsName();
    if (name.isEmpty())
        return false;
    m_socket.connectToServer(name);
    if (!m_socket.waitForConnected(connectWaitMs)) {
        m_socket.abort();
        return false;
    }
    m_socket.write(RaiseLine);
    m_socket.flush();
    return true;
}

RaiseRequest::State RaiseRequest::state()
{
    if (m_socket.state() == QLocalSocket::ConnectedState && m_socket.bytesAvailable() == 0)
        m_socket.waitForReadyRead(0);
    if (m_socket.isReadable())
        m_received += m_socket.readAll();
    if (m_received.contains(AnswerLine))
        return State::Answered;
    return m_socket.state() == QLocalSocket::ConnectedState ? State::Waiting : State::Unsent;
}

SingleInstanceServer::SingleInstanceServer(QObject *parent) : QObject(parent)
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstanceServer::onNewConnection);
}

SingleInstanceServer::~SingleInstanceServer()
{
    // Closing removes the socket, while the lock still keeps every start from listening there.
    m_server.close();
    if (claimEndPause && m_lock.isLocked())
        claimEndPause();
    m_lock.release();
}

InstanceClaim SingleInstanceServer::claim()
{
    if (m_lock.isLocked())
        return InstanceClaim::Taken;
    const QString name = thisDesktopsName();
    if (name.isEmpty())
        return InstanceClaim::NoRule;
    switch (m_lock.tryLock(lockName(name))) {
    case ExclusiveFileLock::Result::HeldByAnother:
        return InstanceClaim::HeldByAnother;
    case ExclusiveFileLock::Result::Failed:
        return InstanceClaim::NoRule;
    case ExclusiveFileLock::Result::Taken:
        break;
    }
    // Nobody else holds the lock, so nobody answers on a socket found under
    // this name. (Listening with access options would replace it anyway, live
    // or not: that is why only the lock's holder may listen.)
    QLocalServer::removeServer(name);
    if (!m_server.listen(name))
        qWarning("%s: %s: further starts cannot reach this program",
                 qUtf8Printable(QDir::toNativeSeparators(name)), qUtf8Printable(m_server.errorString()));
    return InstanceClaim::Taken;
}

void SingleInstanceServer::deliverRaiseRequests()
{
    m_delivering = true;
    if (std::exchange(m_raiseKept, false))
        emit raiseRequested();
}

void SingleInstanceServer::onNewConnection()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequests(*socket); });
        // The request usually comes with the connection: during the splash the
        // next turn of events may be a step of the start away.
        socket->waitForReadyRead(0);
    }
}

void SingleInstanceServer::readRequests(QLocalSocket &socket)
{
    while (socket.canReadLine()) {
        if (socket.readLine() != RaiseLine)
            continue;
        // At once, window or not: the start waits for this to know that this program runs.
        socket.write(AnswerLine);
        socket.flush();
        onRaiseRequest();
    }
}

void SingleInstanceServer::onRaiseRequest()
{
    if (m_delivering)
        emit raiseRequested();
    else
        m_raiseKept = true;
}

void setClaimEndPause(std::function<void()> pause)
{
    claimEndPause = std::move(pause);
}

StartTurn ClaimInstance(SingleInstanceServer &server)
{
    // One request at most: a stopped holder finds no pile of them when it goes on.
    RaiseRequest request;
    for (int pause = 0;; ++pause) {
        switch (request.state()) {
        case RaiseRequest::State::Answered:
            return StartTurn::RaisedRunningProgram;
        case RaiseRequest::State::Unsent:
            if (server.claim() != InstanceClaim::HeldByAnother)
                return StartTurn::OpenWindows;
            request.send(ConnectWaitMs);
            break;
        case RaiseRequest::State::Waiting:
            break;
        }
        if (pause == AnswerPauses)
            return StartTurn::RunningProgramSilent;
        SleepMs(RetryPauseMs);
    }
}

void ReportSilentRunningProgram()
{
    const QString text = Utility->Text(RunningProgramSilentText);
    QTextStream(stderr) << text << Qt::endl;
    // No window has set Qt's texts yet: the box's button speaks the same language.
    InstallQtTranslations(Utility->LanguageInUse());
    uiHooks().showMessage(text);
}
