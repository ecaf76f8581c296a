#pragma once
// TerminalTransport: the RTTY terminal program's named items over a local channel, in the line
// protocol of itemprotocol.h. Opening advises every item and succeeds when the terminal answers
// each with its value; reading is bounded per event turn and coalesced per item.
#include "rtty/itemprotocol.h"
#include "rtty/rttytransport.h"

#include <QList>
#include <QTimer>
#include <memory>
#include <set>

namespace velk {

class LocalChannel;

class TerminalTransport : public RttyTransport
{
    Q_OBJECT
public:
    TerminalTransport(std::unique_ptr<LocalChannel> channel, QString socketName, QList<QByteArray> items,
                      QObject* parent = nullptr);
    ~TerminalTransport() override;

    void open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    void push(const QByteArray& item, const QString& value) override;

    // The terminal must answer every advise within this time.
    static constexpr int answerTimeoutMs = 3000;
    // Bytes taken from the channel in one event turn; the rest waits for the next turn.
    static constexpr qint64 readChunk = 16 * 1024;
    // Written and not taken by the terminal: beyond this it counts as gone.
    static constexpr qint64 maxUnsent = 256 * 1024;

    QTimer& answerTimer() { return m_answerTimer; }

private:
    void onConnected();
    void readSome();
    void fail(const QString& reason);
    void lose();
    void handle(const ItemMessage& message, QList<ItemMessage>& changes);

    std::unique_ptr<LocalChannel> m_channel;
    QString m_socketName;
    QList<QByteArray> m_items;
    ItemLineSplitter m_splitter;
    std::set<QByteArray> m_unanswered;
    QTimer m_answerTimer;
    bool m_attempting = false;
    bool m_open = false;
    bool m_readScheduled = false;
};

} // namespace velk
