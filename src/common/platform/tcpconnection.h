#pragma once
// TcpConnection: one outgoing TCP connection (cluster node, packet engine): connect with a
// timeout, move bytes, report the far end closing and failures as the socket error numbers.
// QTcpSocket on the desktop; a scripted fake in tests.
#include <QByteArray>
#include <QObject>
#include <QString>

namespace velk {

namespace socketerror {
constexpr int connectionRefused = 10061;
constexpr int hostNotFound = 11001;
constexpr int timedOut = 10060;
constexpr int networkUnreachable = 10051;
constexpr int addressInUse = 10048;
constexpr int addressNotAvailable = 10049;
constexpr int noBufferSpace = 10055;
} // namespace socketerror

class TcpConnection : public QObject
{
    Q_OBJECT
public:
    static constexpr int defaultConnectTimeoutMs = 20000;

    using QObject::QObject;
    ~TcpConnection() override = default;

    // Starts connecting; connected() or errorOccurred() follows.
    virtual void connectTo(const QString& host, quint16 port) = 0;
    // Drops the connection without signals.
    virtual void close() = 0;
    virtual bool isConnected() const = 0;
    virtual qint64 write(const QByteArray& bytes) = 0;
    virtual QByteArray readAll() = 0;

signals:
    void connected();
    void readyRead();
    // The far end closed the connection.
    void disconnected();
    // The connection failed or timed out; it is closed when this arrives.
    void errorOccurred(int number);
};

} // namespace velk
