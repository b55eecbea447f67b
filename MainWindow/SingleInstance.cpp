#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalSocket>

#include <unistd.h>

namespace {
const QByteArray RaiseRequest = QByteArrayLiteral("raise\n");
constexpr int CaptionHashLength = 16;
}

QString SingleInstanceName(const QString &caption)
{
    const QByteArray hash = QCryptographicHash::hash(caption.toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("lumaprog-%1-%2")
        .arg(getuid())
        .arg(QString::fromLatin1(hash.toHex().left(CaptionHashLength)));
}

bool NotifyRunningInstance(const QString &caption, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(SingleInstanceName(caption));
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
    const QString name = SingleInstanceName(caption);
    if (m_server.isListening() && m_server.serverName() == name)
        return true;
    m_server.close();
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
