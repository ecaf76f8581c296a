#pragma once
// A scripted TCP client: records what was written, and the test plays the far end (connects,
// delivers bytes, closes, fails).
#include "common/platform/tcpconnection.h"

#include <functional>

namespace velk {

class FakeTcpConnection : public TcpConnection
{
    Q_OBJECT
public:
    void connectTo(const QString& host, quint16 port) override;
    void close() override;
    bool isConnected() const override { return m_connected; }
    qint64 write(const QByteArray& bytes) override;
    QByteArray readAll() override;

    // The far end answers the connect.
    void accept();
    void deliver(const QByteArray& bytes);
    void closeFarEnd();
    void fail(int number);

    // Called with every write; what it returns is delivered at once.
    std::function<QByteArray(const QByteArray&)> responder;
    QString host;
    quint16 port = 0;
    int connectCount = 0;
    bool connecting = false;
    QByteArray written;

private:
    bool m_connected = false;
    QByteArray m_input;
};

} // namespace velk
