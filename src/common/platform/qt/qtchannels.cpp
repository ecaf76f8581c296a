#include "common/platform/qt/qtchannels.h"

#include "common/platform/qt/qtdevices.h"

#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace velk {

namespace {

// What the socket keeps in memory of unread input; the rest waits in the kernel, so a peer
// that floods is slowed down instead of growing the logger's memory.
constexpr qint64 socketReadBuffer = 64 * 1024;

} // namespace

QtLocalChannel::QtLocalChannel(QObject* parent) : LocalChannel(parent)
{
    m_socket.setReadBufferSize(socketReadBuffer);
    connect(&m_socket, &QLocalSocket::connected, this, [this] {
        m_wasConnected = true;
        emit connected();
    });
    connect(&m_socket, &QLocalSocket::readyRead, this, &LocalChannel::readyRead);
    connect(&m_socket, &QLocalSocket::disconnected, this, [this] {
        if (m_wasConnected && !m_closing) {
            m_wasConnected = false;
            emit disconnected();
        }
    });
    connect(&m_socket, &QLocalSocket::errorOccurred, this, &QtLocalChannel::onError);
}

void QtLocalChannel::connectTo(const QString& name)
{
    close();
    m_socket.connectToServer(name, QIODevice::ReadWrite);
}

void QtLocalChannel::close()
{
    m_closing = true;
    m_socket.abort();
    m_closing = false;
    m_wasConnected = false;
}

qint64 QtLocalChannel::write(const QByteArray& bytes)
{
    return isConnected() ? m_socket.write(bytes) : -1;
}

void QtLocalChannel::onError(QLocalSocket::LocalSocketError error)
{
    if (m_closing) {
        return;
    }
    if (m_wasConnected) {
        // A broken connection: the socket also reports disconnected(), unless it is still open.
        if (error != QLocalSocket::PeerClosedError && m_socket.state() == QLocalSocket::ConnectedState) {
            m_socket.abort();
        }
        return;
    }
    emit failed(m_socket.errorString());
}

QtHttpPoster::QtHttpPoster(QObject* parent) : HttpPoster(parent)
{
    // The server is on this machine: no proxy from the environment stands between.
    m_manager.setProxy(QNetworkProxy::NoProxy);
    connect(&m_manager, &QNetworkAccessManager::finished, this, &QtHttpPoster::onFinished);
}

QtHttpPoster::~QtHttpPoster()
{
    abort();
}

void QtHttpPoster::post(const QString& url, const QByteArray& contentType, const QByteArray& body)
{
    abort();
    QNetworkRequest request{QUrl(url)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    request.setTransferTimeout(timeoutMs);
    m_reply = m_manager.post(request, body);
    QNetworkReply* reply = m_reply;
    connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64) {
        if (received > maxReplyBytes) {
            reply->abort();
        }
    });
}

void QtHttpPoster::abort()
{
    if (QNetworkReply* reply = m_reply) {
        m_reply = nullptr;
        reply->abort();
        reply->deleteLater();
    }
}

void QtHttpPoster::onFinished(QNetworkReply* reply)
{
    reply->deleteLater();
    if (reply != m_reply) {
        return; // aborted earlier
    }
    m_reply = nullptr;
    const bool ok = reply->error() == QNetworkReply::NoError && reply->bytesAvailable() <= maxReplyBytes;
    emit finished(ok, ok ? reply->readAll() : QByteArray());
}

std::unique_ptr<LocalChannel> QtDevices::createLocalChannel()
{
    return std::make_unique<QtLocalChannel>();
}

std::unique_ptr<HttpPoster> QtDevices::createHttpPoster()
{
    return std::make_unique<QtHttpPoster>();
}

} // namespace velk
