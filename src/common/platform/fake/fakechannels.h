#pragma once
// Scripted stand-ins for the local channel and the HTTP poster: they record what the link sends
// and deliver what a test scripts, when the test says so.
#include "common/platform/httpposter.h"
#include "common/platform/localchannel.h"

#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace velk {

class FakeLocalChannel : public LocalChannel
{
    Q_OBJECT
public:
    void connectTo(const QString& name) override;
    void close() override;
    bool isConnected() const override { return m_connected; }
    qint64 write(const QByteArray& bytes) override;
    QByteArray read(qint64 maxBytes) override;
    qint64 bytesAvailable() const override { return m_input.size(); }
    qint64 bytesToWrite() const override { return unsentBytes; }

    // The other end answers the attempt under way.
    void accept();
    void refuse(const QString& text = QStringLiteral("QLocalSocket::connectToServer: Server not found"));
    // Bytes arrive from the other end.
    void deliver(const QByteArray& bytes);
    // The other end goes away.
    void drop();
    // Takes what was written since the last call.
    QByteArray takeWritten();

    QString connectedName;
    bool connecting = false;
    int connectCount = 0;
    QByteArray written;
    qint64 unsentBytes = 0;

private:
    bool m_connected = false;
    QByteArray m_input;
};

class FakeHttpPoster : public HttpPoster
{
    Q_OBJECT
public:
    void post(const QString& url, const QByteArray& contentType, const QByteArray& body) override;
    void abort() override { m_busy = false; }
    bool isBusy() const override { return m_busy; }

    // Answers the request under way: the responder's reply, or a failure when it gives none.
    // False when nothing is under way.
    bool answer();

    struct Request
    {
        QString url;
        QByteArray contentType;
        QByteArray body;
    };
    std::vector<Request> requests;
    std::function<std::optional<QByteArray>(const Request&)> responder;

private:
    bool m_busy = false;
};

} // namespace velk
