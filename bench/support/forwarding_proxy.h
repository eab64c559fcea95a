#pragma once

#include <QThread>

#include <atomic>

class QTcpServer;

namespace bench {

// A TCP proxy on 127.0.0.1, in a thread of its own, forwarding to a local port. A client
// reached through it loses its network, as far as the server can tell, when the proxy stops
// forwarding: the connections stay open and nothing passes, in either direction.
class ForwardingProxy : public QThread {
    Q_OBJECT
public:
    explicit ForwardingProxy(quint16 targetPort);
    ~ForwardingProxy() override;

    quint16 port() const { return port_; }
    void stopForwarding() { forwarding_ = false; }
    // Passes on what waited meanwhile, and everything after.
    void resumeForwarding();

signals:
    void resumed();

protected:
    void run() override;

private:
    quint16 target_;
    std::atomic<quint16> port_{0};
    std::atomic<bool> forwarding_{true};
};

} // namespace bench
