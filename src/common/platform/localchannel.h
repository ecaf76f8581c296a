#pragma once
// LocalChannel: a byte stream to another program on the same machine, found by name (a local
// socket): connect, write, read what arrived. QLocalSocket on the desktop; a scripted fake in tests.
#include <QByteArray>
#include <QObject>
#include <QString>

namespace velk {

class LocalChannel : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~LocalChannel() override = default;

    // Starts connecting; connected() or failed() follows, never a wait.
    virtual void connectTo(const QString& name) = 0;
    // Closes without emitting disconnected().
    virtual void close() = 0;
    virtual bool isConnected() const = 0;
    virtual qint64 write(const QByteArray& bytes) = 0;
    // At most maxBytes of what has arrived.
    virtual QByteArray read(qint64 maxBytes) = 0;
    virtual qint64 bytesAvailable() const = 0;
    // Written and not yet taken by the other end.
    virtual qint64 bytesToWrite() const = 0;

signals:
    void connected();
    // The connection attempt failed: nobody listens under that name, or it refused.
    void failed(const QString& text);
    void readyRead();
    // The other end closed the connection or went away.
    void disconnected();
};

} // namespace velk
