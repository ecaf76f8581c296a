#pragma once
// The desktop's local channel (QLocalSocket) and HTTP poster (QNetworkAccessManager).
#include "common/platform/httpposter.h"
#include "common/platform/localchannel.h"

#include <QLocalSocket>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>

namespace velk {

class QtLocalChannel : public LocalChannel
{
    Q_OBJECT
public:
    explicit QtLocalChannel(QObject* parent = nullptr);
    void connectTo(const QString& name) override;
    void close() override;
    bool isConnected() const override { return m_socket.state() == QLocalSocket::ConnectedState; }
    qint64 write(const QByteArray& bytes) override;
    QByteArray read(qint64 maxBytes) override { return m_socket.read(maxBytes); }
    qint64 bytesAvailable() const override { return m_socket.bytesAvailable(); }
    qint64 bytesToWrite() const override { return m_socket.bytesToWrite(); }

private:
    void onError(QLocalSocket::LocalSocketError error);

    QLocalSocket m_socket;
    bool m_wasConnected = false;
    bool m_closing = false;
};

class QtHttpPoster : public HttpPoster
{
    Q_OBJECT
public:
    explicit QtHttpPoster(QObject* parent = nullptr);
    ~QtHttpPoster() override;
    void post(const QString& url, const QByteArray& contentType, const QByteArray& body) override;
    void abort() override;
    bool isBusy() const override { return m_reply != nullptr; }

    // How long a request may take before it counts as failed.
    static constexpr int timeoutMs = 2000;

private:
    void onFinished(QNetworkReply* reply);

    QNetworkAccessManager m_manager;
    QPointer<QNetworkReply> m_reply;
};

} // namespace velk
