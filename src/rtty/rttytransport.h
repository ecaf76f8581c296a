#pragma once
// RttyTransport: one way of reaching the RTTY terminal program's named items. The terminal link
// (Dumo RTTY's items over a local socket) and the fldigi link (its XML-RPC log fields) each
// implement it; the RTTY link above them keeps the state, the retries and the entry rules.
#include <QByteArray>
#include <QObject>
#include <QString>

namespace velk {

class RttyTransport : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~RttyTransport() override = default;

    // Starts an attempt; opened() or openFailed() follows, never a wait.
    virtual void open() = 0;
    // Ends the link (or the attempt) without a signal.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The logger's item takes a new value: handed to the peer at once (or dropped when the
    // peer has no place for it).
    virtual void push(const QByteArray& item, const QString& value) = 0;
    // Keyboard RTTY mode changed (a peer may start or stop sending with it).
    virtual void keyboardModeChanged(bool) {}

signals:
    void opened();
    void openFailed(const QString& reason);
    // The link was up and the peer went away.
    void dropped();
    // The peer's item has this value (from the peer's own items or the logger's echoed back).
    void itemReceived(const QByteArray& item, const QString& value);
};

} // namespace velk
