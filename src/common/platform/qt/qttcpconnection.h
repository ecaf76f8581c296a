#pragma once
// QtTcpConnection: TcpConnection over QTcpSocket, Qt's socket errors mapped to the error numbers
// the spot window knows, and a connect timeout of its own.
#include "common/platform/tcpconnection.h"

#include <QTcpSocket>
#include <QTimer>

namespace velk {

// The socket error number of a Qt socket error; unknown ones keep Qt's own code.
int socketErrorNumber(QAbstractSocket::SocketError error);

class QtTcpConnection : public TcpConnection
{
    Q_OBJECT
public:
    explicit QtTcpConnection(QObject* parent = nullptr);
    ~QtTcpConnection() override;
    void connectTo(const QString& host, quint16 port) override;
    void close() override;
    bool isConnected() const override { return m_socket.state() == QAbstractSocket::ConnectedState; }
    qint64 write(const QByteArray& bytes) override { return m_socket.write(bytes); }
    QByteArray readAll() override { return m_socket.readAll(); }

private:
    void fail(int number);

    QTcpSocket m_socket;
    QTimer m_connectTimer;
    bool m_closing = false;
};

} // namespace velk
