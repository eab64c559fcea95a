#pragma once

#include <QThread>

#include <atomic>

class QTcpServer;

namespace bench {

// A TCP proxy on 127.0.0.1, in a thread of its own, forwarding to a local port. A client
// reached through it loses its network, as far as the server can tell, when the proxy stops
// forwarding: the connections stay open and nothing passes, in either direction.
//
// It counts the round trips its clients make, over all connections: a turn is a chunk a
// client sends after the server has sent anything since that client's previous chunk (the
// first chunk of a connection is one too). On a slow network each turn costs a round trip.
class ForwardingProxy : public QThread {
    Q_OBJECT
public:
    explicit ForwardingProxy(quint16 targetPort);
    ~ForwardingProxy() override;

    quint16 port() const { return port_; }
    void stopForwarding() { forwarding_ = false; }
    // Passes on what waited meanwhile, and everything after.
    void resumeForwarding();

    int turns() const { return turns_; }
    qint64 bytesToServer() const { return toServer_; }
    qint64 bytesToClient() const { return toClient_; }
    // The turns and bytes start again from nought.
    void resetTurns();
    // The client connections not yet closed: a client process that has ended may still have
    // its last packets on the way.
    int connections() const { return connections_; }

signals:
    void resumed();

protected:
    void run() override;

private:
    quint16 target_;
    std::atomic<quint16> port_{0};
    std::atomic<bool> forwarding_{true};
    std::atomic<int> turns_{0};
    std::atomic<qint64> toServer_{0};
    std::atomic<qint64> toClient_{0};
    std::atomic<int> connections_{0};
};

} // namespace bench
