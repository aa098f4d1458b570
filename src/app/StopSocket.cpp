#include "app/StopSocket.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

const QByteArray kRequest("stop\n");
const QByteArray kStopped("stopped\n");
const QByteArray kIdle("idle\n");

bool SomeoneAnswers(const QString& path)
{
    QLocalSocket probe;
    probe.connectToServer(path);
    return probe.waitForConnected(500);
}

} // namespace

StopSocket::StopSocket(std::function<bool()> stopRun, QObject* parent)
    : QObject(parent), m_server(new QLocalServer(this)), m_stopRun(std::move(stopRun))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Listening would put a new socket in the old one's place, a live one's too: ask first.
    const QString path = Path();
    if (!SomeoneAnswers(path)) {
        QLocalServer::removeServer(path);
        m_server->listen(path);
    }
    connect(m_server, &QLocalServer::newConnection, this, &StopSocket::AnswerClients);
}

bool StopSocket::IsListening() const
{
    return m_server->isListening();
}

QString StopSocket::Path()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/clickwarden-stop");
}

void StopSocket::AnswerClients()
{
    while (QLocalSocket* client = m_server->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, client, [this, client] {
            if (!client->canReadLine())
                return;
            if (client->readLine() != kRequest) {
                client->disconnectFromServer();
                return;
            }
            client->write(m_stopRun() ? kStopped : kIdle);
            client->flush();
            client->disconnectFromServer();
        });
    }
}

StopSocket::Answer StopSocket::AskToStop(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(Path());
    if (!socket.waitForConnected(timeoutMs))
        return Answer::NoInstance;
    socket.write(kRequest);
    socket.flush();
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs))
            return Answer::NoInstance;
    return socket.readLine() == kStopped ? Answer::Stopped : Answer::NothingRunning;
}
