#include "forwarding_proxy.h"

#include <QHostAddress>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

namespace bench {

namespace {

QSemaphore listening;

} // namespace

ForwardingProxy::ForwardingProxy(quint16 targetPort) : target_(targetPort)
{
    start();
    listening.acquire();
}

ForwardingProxy::~ForwardingProxy()
{
    quit();
    wait();
}

void ForwardingProxy::resumeForwarding()
{
    forwarding_ = true;
    emit resumed();
}

void ForwardingProxy::resetTurns()
{
    turns_ = 0;
    toServer_ = 0;
    toClient_ = 0;
}

void ForwardingProxy::run()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    port_ = server.serverPort();
    listening.release();
    QObject::connect(&server, &QTcpServer::newConnection, &server, [this, &server] {
        while (QTcpSocket* client = server.nextPendingConnection()) {
            ++connections_;
            auto* upstream = new QTcpSocket(client);
            upstream->connectToHost(QHostAddress::LocalHost, target_);
            // Whether the server has sent anything since the client's last chunk.
            const auto answered = std::make_shared<bool>(true);
            const auto pass = [this, answered, client](QTcpSocket* from, QTcpSocket* to) {
                if (!forwarding_ || to->state() != QAbstractSocket::ConnectedState)
                    return;
                const QByteArray chunk = from->readAll();
                if (chunk.isEmpty())
                    return;
                to->write(chunk);
                if (from == client) {
                    toServer_ += chunk.size();
                    turns_ += *answered;
                    *answered = false;
                } else {
                    toClient_ += chunk.size();
                    *answered = true;
                }
            };
            const auto both = [=] {
                pass(client, upstream);
                pass(upstream, client);
            };
            QObject::connect(client, &QTcpSocket::readyRead, upstream, both);
            QObject::connect(upstream, &QTcpSocket::readyRead, client, both);
            QObject::connect(upstream, &QTcpSocket::connected, client, both);
            QObject::connect(this, &ForwardingProxy::resumed, client, both, Qt::QueuedConnection);
            QObject::connect(upstream, &QTcpSocket::disconnected, client, [client] { client->disconnectFromHost(); });
            QObject::connect(client, &QTcpSocket::disconnected, client, [this, client, upstream] {
                upstream->disconnectFromHost();
                client->deleteLater();
                --connections_;
            });
        }
    });
    exec();
}

} // namespace bench
