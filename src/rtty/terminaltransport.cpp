#include "rtty/terminaltransport.h"

#include "common/diagnostics.h"
#include "common/platform/localchannel.h"

#include <algorithm>

namespace velk {

TerminalTransport::TerminalTransport(std::unique_ptr<LocalChannel> channel, QString socketName,
                                     QList<QByteArray> items, QObject* parent)
    : RttyTransport(parent), m_channel(std::move(channel)), m_socketName(std::move(socketName)),
      m_items(std::move(items))
{
    m_answerTimer.setSingleShot(true);
    m_answerTimer.setInterval(answerTimeoutMs);
    connect(&m_answerTimer, &QTimer::timeout, this,
            [this] { fail(QStringLiteral("The terminal did not answer every item.")); });
    connect(m_channel.get(), &LocalChannel::connected, this, &TerminalTransport::onConnected);
    connect(m_channel.get(), &LocalChannel::failed, this, [this](const QString& text) {
        if (m_attempting) {
            fail(text);
        }
    });
    connect(m_channel.get(), &LocalChannel::disconnected, this, [this] {
        if (m_attempting) {
            fail(QStringLiteral("The terminal closed the connection."));
        } else if (m_open) {
            lose();
        }
    });
    connect(m_channel.get(), &LocalChannel::readyRead, this, [this] {
        // One read per event turn: a flood waits in the socket instead of in memory.
        if (!m_readScheduled) {
            m_readScheduled = true;
            QTimer::singleShot(0, this, &TerminalTransport::readSome);
        }
    });
}

TerminalTransport::~TerminalTransport()
{
    m_channel->disconnect(this);
    m_channel->close();
}

void TerminalTransport::open()
{
    close();
    m_attempting = true;
    qCDebug(velkRtty).noquote() << "connecting to the socket" << m_socketName;
    m_channel->connectTo(m_socketName);
}

void TerminalTransport::close()
{
    m_attempting = false;
    m_open = false;
    m_answerTimer.stop();
    m_unanswered.clear();
    m_splitter.clear();
    m_channel->close();
}

void TerminalTransport::onConnected()
{
    if (!m_attempting) {
        return;
    }
    qCDebug(velkRtty).noquote() << "socket connected; advising" << m_items.size() << "items";
    // Every item is bound, in the window's order; each answer is the item's current value.
    QByteArray advises;
    for (const QByteArray& item : m_items) {
        advises += encodeItemMessage({ItemVerb::Advise, item, {}});
        m_unanswered.insert(item);
    }
    m_channel->write(advises);
    m_answerTimer.start();
}

void TerminalTransport::push(const QByteArray& item, const QString& value)
{
    if (!m_open) {
        return;
    }
    const QByteArray line = encodeItemMessage({ItemVerb::Poke, item, value});
    if (line.isEmpty()) {
        qCDebug(velkRtty).noquote() << "not sent, the terminal could not read it:" << item;
        return; // nothing the terminal could read: the item keeps its old value there
    }
    if (m_channel->bytesToWrite() > maxUnsent) {
        qCDebug(velkRtty) << "the terminal stopped reading:" << m_channel->bytesToWrite() << "bytes unsent";
        lose();
        return;
    }
    m_channel->write(line);
}

void TerminalTransport::readSome()
{
    m_readScheduled = false;
    if (!m_attempting && !m_open) {
        return;
    }
    const QByteArray bytes = m_channel->read(readChunk);
    // Only the last value of each item in this chunk is handed on.
    QList<ItemMessage> changes;
    for (const QByteArray& line : m_splitter.feed(bytes)) {
        if (const auto message = decodeItemLine(line)) {
            handle(*message, changes);
            if (!m_attempting && !m_open) {
                return; // refused while opening
            }
        }
    }
    const bool wasAttempting = m_attempting;
    if (m_attempting && m_unanswered.empty()) {
        m_attempting = false;
        m_open = true;
        m_answerTimer.stop();
    }
    for (const ItemMessage& change : changes) {
        emit itemReceived(change.item, change.value);
        if (!m_open && !wasAttempting) {
            return;
        }
    }
    if (wasAttempting && m_open) {
        emit opened();
    }
    if ((m_open || m_attempting) && m_channel->bytesAvailable() > 0 && !m_readScheduled) {
        m_readScheduled = true;
        QTimer::singleShot(0, this, &TerminalTransport::readSome);
    }
}

void TerminalTransport::handle(const ItemMessage& message, QList<ItemMessage>& changes)
{
    if (!m_items.contains(message.item)) {
        return;
    }
    if (message.verb == ItemVerb::Refuse) {
        if (m_attempting) {
            fail(QStringLiteral("The terminal refused the item %1.").arg(QString::fromLatin1(message.item)));
        }
        return;
    }
    if (message.verb != ItemVerb::Data) {
        return;
    }
    m_unanswered.erase(message.item);
    const auto same = std::find_if(changes.begin(), changes.end(),
                                   [&](const ItemMessage& change) { return change.item == message.item; });
    if (same != changes.end()) {
        same->value = message.value;
    } else {
        changes.append(message);
    }
}

void TerminalTransport::fail(const QString& reason)
{
    qCDebug(velkRtty).noquote() << "socket" << m_socketName << "failed:" << reason;
    close();
    emit openFailed(reason);
}

void TerminalTransport::lose()
{
    qCDebug(velkRtty).noquote() << "socket" << m_socketName << "closed by the terminal";
    close();
    emit dropped();
}

} // namespace velk
