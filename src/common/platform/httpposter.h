#pragma once
// HttpPoster: posts one request body to a local HTTP server and hands back the reply body, as the
// XML-RPC interface of a terminal program needs. QNetworkAccessManager on the desktop; a fake in tests.
#include <QByteArray>
#include <QObject>
#include <QString>

namespace velk {

class HttpPoster : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~HttpPoster() override = default;

    // Posts body to url with the content type; finished() follows. One request at a time: a new
    // post while one is under way aborts the old one, which reports nothing.
    virtual void post(const QString& url, const QByteArray& contentType, const QByteArray& body) = 0;
    virtual void abort() = 0;
    virtual bool isBusy() const = 0;

    // A reply larger than this is cut off and reported as failed.
    static constexpr qint64 maxReplyBytes = 256 * 1024;

signals:
    // ok is false for no answer, an HTTP error, a timeout or a reply larger than maxReplyBytes.
    void finished(bool ok, const QByteArray& body);
};

} // namespace velk
