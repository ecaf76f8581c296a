#pragma once
// FldigiTransport: fldigi's XML-RPC interface (HTTP on localhost) as an RTTY terminal link. While
// up it reads fldigi's log fields (call, name and the location fields) about four times a second
// and reports each change as the terminal's item; the call being entered goes into fldigi's call
// field, function keys run fldigi's macros, and keyboard RTTY text goes to its transmit text.
// One request at a time, in a bounded queue.
#include "rtty/rttytransport.h"

#include <QList>
#include <QStringList>
#include <QTimer>
#include <QVariantList>
#include <deque>
#include <map>
#include <memory>
#include <optional>

namespace velk {

class HttpPoster;

class FldigiTransport : public RttyTransport
{
    Q_OBJECT
public:
    FldigiTransport(std::unique_ptr<HttpPoster> poster, QString url, QObject* parent = nullptr);
    ~FldigiTransport() override;

    void open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    void push(const QByteArray& item, const QString& value) override;
    void keyboardModeChanged(bool on) override;

    static constexpr int pollIntervalMs = 250;
    // Requests waiting behind the one under way; more are dropped.
    static constexpr size_t maxQueued = 64;

    QTimer& pollTimer() { return m_pollTimer; }
    // The fldigi methods a key code runs, in order, with parameters (none: not forwarded).
    struct KeyAction
    {
        QString method;
        QVariantList params;
    };
    static QList<KeyAction> actionsForKey(int keyCode, bool keyboardMode);

private:
    enum class Purpose { Probe, Poll, Push, SetCall };
    struct Request
    {
        Purpose purpose;
        QString method;
        QVariantList params;
    };

    void enqueue(Request request);
    void sendNext();
    void onFinished(bool ok, const QByteArray& body);
    void queuePoll();
    void lose();

    std::unique_ptr<HttpPoster> m_poster;
    QString m_url;
    QTimer m_pollTimer;
    std::deque<Request> m_queue;
    std::optional<Request> m_current;
    // The last value seen of each polled field (or written by us, for the call).
    std::map<QString, QString> m_seen;
    int m_pollsLeftInCycle = 0;
    bool m_attempting = false;
    bool m_open = false;
    bool m_keyboardMode = false;
};

} // namespace velk
