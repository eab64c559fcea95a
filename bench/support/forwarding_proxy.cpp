#include "forwarding_proxy.h"

#include <QHostAddress>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>

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

void ForwardingProxy::run()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    port_ = server.serverPort();
    listening.release();
    QObject::connect(&server, &QTcpServer::newConnection, &server, [this, &server] {
        while (QTcpSocket* client = server.nextPendingConnection()) {
            auto* upstream = new QTcpSocket(client);
            upstream->connectToHost(QHostAddress::LocalHost, target_);
            const auto pass = [this](QTcpSocket* from, QTcpSocket* to) {
                if (forwarding_ && to->state() == QAbstractSocket::ConnectedState)
                    to->write(from->readAll());
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
            QObject::connect(client, &QTcpSocket::disconnected, client, [client, upstream] {
                upstream->disconnectFromHost();
                client->deleteLater();
            });
        }
    });
    exec();
}

} // namespace bench
