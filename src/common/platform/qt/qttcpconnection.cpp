#include "common/platform/qt/qttcpconnection.h"

namespace velk {

int socketErrorNumber(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return socketerror::connectionRefused;
    case QAbstractSocket::HostNotFoundError:
        return socketerror::hostNotFound;
    case QAbstractSocket::SocketTimeoutError:
        return socketerror::timedOut;
    case QAbstractSocket::NetworkError:
        return socketerror::networkUnreachable;
    case QAbstractSocket::AddressInUseError:
        return socketerror::addressInUse;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return socketerror::addressNotAvailable;
    case QAbstractSocket::SocketResourceError:
        return socketerror::noBufferSpace;
    default:
        return static_cast<int>(error);
    }
}

QtTcpConnection::QtTcpConnection(QObject* parent) : TcpConnection(parent)
{
    m_connectTimer.setSingleShot(true);
    m_connectTimer.setInterval(defaultConnectTimeoutMs);
    connect(&m_connectTimer, &QTimer::timeout, this, [this] { fail(socketerror::timedOut); });
    connect(&m_socket, &QTcpSocket::connected, this, [this] {
        m_connectTimer.stop();
        emit connected();
    });
    connect(&m_socket, &QTcpSocket::readyRead, this, &TcpConnection::readyRead);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (m_closing) {
            return;
        }
        // The far end closing is an end, not a failure.
        if (error == QAbstractSocket::RemoteHostClosedError) {
            return;
        }
        fail(socketErrorNumber(error));
    });
    connect(&m_socket, &QTcpSocket::disconnected, this, [this] {
        if (!m_closing) {
            m_connectTimer.stop();
            emit disconnected();
        }
    });
}

QtTcpConnection::~QtTcpConnection()
{
    // The socket reports its own closing as it is destroyed, after the timer has gone.
    m_socket.disconnect(this);
}

void QtTcpConnection::connectTo(const QString& host, quint16 port)
{
    close();
    m_connectTimer.start();
    m_socket.connectToHost(host, port);
}

void QtTcpConnection::close()
{
    m_connectTimer.stop();
    m_closing = true;
    // What was written last (a farewell to the peer) still goes out; the flush does not wait.
    if (m_socket.state() == QAbstractSocket::ConnectedState) {
        m_socket.flush();
    }
    m_socket.abort();
    m_closing = false;
}

void QtTcpConnection::fail(int number)
{
    close();
    emit errorOccurred(number);
}

} // namespace velk
