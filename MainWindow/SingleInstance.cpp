#include "SingleInstance.h"

#include "PrivateRuntimeFolder.h"
#include "Sleep.h"

#include <QCryptographicHash>
#include <QDir>
#include <QGuiApplication>
#include <QLocalSocket>

namespace {
const QByteArray RaiseRequest = QByteArrayLiteral("raise\n");
// Enough of the hash to keep the path well inside a socket address.
constexpr int KeyHashLength = 16;
// A listening program accepts at once: a connection that takes longer is
// tried again, as one to a program that is not listening yet.
constexpr int ConnectWaitMs = 100;
// Together a few seconds for the holder to listen.
constexpr int RaiseTries = 60;
constexpr int RetryPauseMs = 50;

QString thisDesktopsName(const QString &caption)
{
    return SingleInstanceName(caption, DesktopIdentity(QGuiApplication::platformName()));
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

QString SingleInstanceName(const QString &caption, const QString &desktop)
{
    const QString folder = PlatformFolders::privateRuntimeFolder();
    if (folder.isEmpty())
        return {};
    const QByteArray key = desktop.toUtf8() + '\n' + caption.toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha1);
    return folder + QStringLiteral("/lumaprog-") + QString::fromLatin1(hash.toHex().left(KeyHashLength));
}

bool NotifyRunningInstance(const QString &caption, int timeoutMs)
{
    const QString name = thisDesktopsName(caption);
    if (name.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(RaiseRequest);
    socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return true;
}

SingleInstanceServer::SingleInstanceServer(QObject *parent) : QObject(parent)
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstanceServer::onNewConnection);
}

InstanceClaim SingleInstanceServer::listen(const QString &caption)
{
    const QString name = thisDesktopsName(caption);
    if (name.isEmpty())
        return InstanceClaim::NoRule;
    if (m_lock.isLocked() && name == m_name)
        return InstanceClaim::Taken;
    ExclusiveFileLock lock;
    switch (lock.tryLock(lockName(name))) {
    case ExclusiveFileLock::Result::HeldByAnother:
        return InstanceClaim::HeldByAnother;
    case ExclusiveFileLock::Result::Failed:
        return InstanceClaim::NoRule;
    case ExclusiveFileLock::Result::Taken:
        break;
    }
    // Closing removes the old name's socket, still under its lock.
    m_server.close();
    // Nobody else holds the lock, so nobody answers on a socket found under
    // this name. (Listening with access options would replace it anyway, live
    // or not: that is why only the lock's holder may listen.)
    QLocalServer::removeServer(name);
    if (!m_server.listen(name))
        qWarning("%s: %s: further starts cannot reach this program",
                 qUtf8Printable(QDir::toNativeSeparators(name)), qUtf8Printable(m_server.errorString()));
    m_lock = std::move(lock);
    m_name = name;
    return InstanceClaim::Taken;
}

void SingleInstanceServer::onNewConnection()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains(RaiseRequest))
                emit raiseRequested();
        });
    }
}

StartTurn ClaimInstance(SingleInstanceServer &server, const QString &caption)
{
    for (int attempt = 1;; ++attempt) {
        if (server.listen(caption) != InstanceClaim::HeldByAnother)
            return StartTurn::OpenWindows;
        if (NotifyRunningInstance(caption, ConnectWaitMs))
            return StartTurn::RaisedRunningProgram;
        if (attempt == RaiseTries)
            return StartTurn::RunningProgramSilent;
        SleepMs(RetryPauseMs);
    }
}
