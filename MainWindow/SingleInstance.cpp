#include "SingleInstance.h"

#include "PrivateRuntimeFolder.h"

#include <QCryptographicHash>
#include <QGuiApplication>
#include <QLocalSocket>

namespace {
const QByteArray RaiseRequest = QByteArrayLiteral("raise\n");
// Enough of the hash to keep the path well inside a socket address.
constexpr int KeyHashLength = 16;

QString thisDesktopsName(const QString &caption)
{
    return SingleInstanceName(caption, DesktopIdentity(QGuiApplication::platformName()));
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

bool SingleInstanceServer::listen(const QString &caption)
{
    const QString name = thisDesktopsName(caption);
    if (m_server.isListening() && m_server.serverName() == name)
        return true;
    m_server.close();
    if (name.isEmpty())
        return false;
    if (m_server.listen(name))
        return true;
    // A socket left behind by a program that ended without closing it.
    QLocalServer::removeServer(name);
    return m_server.listen(name);
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
