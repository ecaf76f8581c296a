#include "common/platform/fake/faketcpconnection.h"

namespace velk {

void FakeTcpConnection::connectTo(const QString& toHost, quint16 toPort)
{
    host = toHost;
    port = toPort;
    ++connectCount;
    connecting = true;
    m_connected = false;
}

void FakeTcpConnection::close()
{
    connecting = false;
    m_connected = false;
    m_input.clear();
}

qint64 FakeTcpConnection::write(const QByteArray& bytes)
{
    if (!m_connected) {
        return -1;
    }
    written += bytes;
    if (responder) {
        const QByteArray reply = responder(bytes);
        if (!reply.isEmpty()) {
            deliver(reply);
        }
    }
    return bytes.size();
}

QByteArray FakeTcpConnection::readAll()
{
    QByteArray bytes;
    bytes.swap(m_input);
    return bytes;
}

void FakeTcpConnection::accept()
{
    connecting = false;
    m_connected = true;
    emit connected();
}

void FakeTcpConnection::deliver(const QByteArray& bytes)
{
    m_input += bytes;
    emit readyRead();
}

void FakeTcpConnection::closeFarEnd()
{
    m_connected = false;
    emit disconnected();
}

void FakeTcpConnection::fail(int number)
{
    close();
    emit errorOccurred(number);
}

} // namespace velk
