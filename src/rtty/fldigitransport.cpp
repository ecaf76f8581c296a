#include "rtty/fldigitransport.h"

#include "common/diagnostics.h"
#include "common/platform/httpposter.h"
#include "rtty/rttykeys.h"
#include "rtty/xmlrpc.h"

#include <array>

namespace velk {

namespace {

struct PolledField
{
    const char* method;
    const char* item;
};

// fldigi's log fields and the terminal items they stand for; any of the location fields that
// changes to a new text is the other station's location. The country field is left out: fldigi
// fills it from the call itself, so it would overwrite the location with every call.
constexpr std::array<PolledField, 5> polledFields{{
    {"log.get_call", "txtSUrCall"},
    {"log.get_name", "txtSField4"},
    {"log.get_state", "txtSField2"},
    {"log.get_province", "txtSField2"},
    {"log.get_qth", "txtSField2"},
}};

// Keyboard RTTY: the text a key code types (letters arrive as their capitals).
QString typedText(int keyCode)
{
    if (keyCode == ' ' || (keyCode >= '0' && keyCode <= '9') || (keyCode >= 'A' && keyCode <= 'Z')) {
        return QString(QChar(keyCode));
    }
    if (keyCode >= windowsKey::numpad0 && keyCode <= windowsKey::numpad9) {
        return QString(QChar('0' + keyCode - windowsKey::numpad0));
    }
    switch (keyCode) {
    case 109: // numpad minus
    case 189:
        return QStringLiteral("-");
    case 110: // numpad decimal
    case 190:
        return QStringLiteral(".");
    case 111: // numpad divide
    case 191:
        return QStringLiteral("/");
    case 188:
        return QStringLiteral(",");
    default:
        return {};
    }
}

} // namespace

FldigiTransport::FldigiTransport(std::unique_ptr<HttpPoster> poster, QString url, QObject* parent)
    : RttyTransport(parent), m_poster(std::move(poster)), m_url(std::move(url))
{
    m_pollTimer.setInterval(pollIntervalMs);
    connect(&m_pollTimer, &QTimer::timeout, this, &FldigiTransport::queuePoll);
    connect(m_poster.get(), &HttpPoster::finished, this, &FldigiTransport::onFinished);
}

FldigiTransport::~FldigiTransport()
{
    m_poster->disconnect(this);
    m_poster->abort();
}

QList<FldigiTransport::KeyAction> FldigiTransport::actionsForKey(int keyCode, bool keyboardMode)
{
    const QString runMacro = QStringLiteral("main.run_macro");
    if (keyCode >= windowsKey::f1 && keyCode <= windowsKey::f9) {
        return {{runMacro, {keyCode - windowsKey::f1}}};
    }
    if (keyCode == windowsKey::f13) { // F10 arrives as F13
        return {{runMacro, {9}}};
    }
    if (keyCode == windowsKey::f11) {
        return {{runMacro, {10}}};
    }
    if (keyCode == windowsKey::escape) {
        // The rest of the macro stays in fldigi's transmit pane after an abort: the next
        // transmission would send it first.
        return {{QStringLiteral("main.abort"), {}}, {QStringLiteral("text.clear_tx"), {}}};
    }
    const QString text = keyboardMode ? typedText(keyCode) : QString();
    if (!text.isEmpty()) {
        return {{QStringLiteral("text.add_tx"), {text}}};
    }
    return {};
}

void FldigiTransport::open()
{
    close();
    m_attempting = true;
    m_seen.clear();
    // The first full read of the fields is the attempt: it succeeds when fldigi answers them all.
    queuePoll();
}

void FldigiTransport::close()
{
    m_attempting = false;
    m_open = false;
    m_pollTimer.stop();
    m_queue.clear();
    m_current.reset();
    m_pollsLeftInCycle = 0;
    m_poster->abort();
}

void FldigiTransport::push(const QByteArray& item, const QString& value)
{
    if (!m_open) {
        return;
    }
    if (item == "txtBUrCall") {
        // Only the newest call waits: typing fast never queues a backlog of calls.
        for (Request& queued : m_queue) {
            if (queued.purpose == Purpose::SetCall) {
                queued.params = {value};
                return;
            }
        }
        enqueue({Purpose::SetCall, QStringLiteral("log.set_call"), {value}});
    } else if (item == "txtBField8" && !value.isEmpty()) {
        const int keyCode = value.toInt();
        if (keyCode == windowsKey::escape) {
            // Macros and text still waiting here would start a new transmission after the abort.
            std::erase_if(m_queue, [](const Request& queued) { return queued.purpose == Purpose::Push; });
        }
        for (const KeyAction& action : actionsForKey(keyCode, m_keyboardMode)) {
            enqueue({Purpose::Push, action.method, action.params});
        }
    }
    // Own call, name and location: fldigi keeps the operator's own in its configuration.
}

void FldigiTransport::keyboardModeChanged(bool on)
{
    m_keyboardMode = on;
    if (!m_open) {
        return;
    }
    // On: transmit what is typed. Off: back to receive once the typed text is sent.
    if (on) {
        enqueue({Purpose::Push, QStringLiteral("main.tx"), {}});
    } else {
        enqueue({Purpose::Push, QStringLiteral("text.add_tx"), {QStringLiteral("^r")}});
    }
}

void FldigiTransport::queuePoll()
{
    if (m_pollsLeftInCycle > 0) {
        return; // the last cycle is still under way: a slow fldigi is never asked twice
    }
    m_pollsLeftInCycle = static_cast<int>(polledFields.size());
    for (const PolledField& field : polledFields) {
        m_queue.push_back({Purpose::Poll, QString::fromLatin1(field.method), {}});
    }
    sendNext();
}

void FldigiTransport::enqueue(Request request)
{
    if (m_queue.size() >= maxQueued) {
        return;
    }
    // Changes go before the reads waiting behind them.
    auto at = m_queue.begin();
    while (at != m_queue.end() && at->purpose != Purpose::Poll) {
        ++at;
    }
    m_queue.insert(at, std::move(request));
    sendNext();
}

void FldigiTransport::sendNext()
{
    if (m_current || m_queue.empty()) {
        return;
    }
    m_current = std::move(m_queue.front());
    m_queue.pop_front();
    if (m_current->purpose != Purpose::Poll) {
        qCDebug(velkRtty).noquote() << "to fldigi:" << m_current->method << m_current->params;
    }
    m_poster->post(m_url, QByteArrayLiteral("text/xml"),
                   encodeXmlRpcCall(m_current->method, m_current->params));
}

void FldigiTransport::onFinished(bool ok, const QByteArray& body)
{
    if (!m_current) {
        return;
    }
    const Request request = std::move(*m_current);
    m_current.reset();
    const auto reply = ok ? decodeXmlRpcReply(body) : std::nullopt;
    if (!reply) {
        qCDebug(velkRtty).noquote() << "fldigi did not answer" << request.method << "at" << m_url
                                    << (ok ? "(not an XML-RPC reply)" : "");
        if (m_attempting) {
            close();
            emit openFailed(QStringLiteral("fldigi does not answer at %1.").arg(m_url));
        } else if (m_open) {
            lose();
        }
        return;
    }
    if (reply->fault && request.purpose != Purpose::Poll) {
        qCDebug(velkRtty).noquote() << "fldigi refused" << request.method << reply->value;
    }
    if (request.purpose == Purpose::SetCall && !reply->fault) {
        m_seen[QStringLiteral("log.get_call")] = request.params.value(0).toString();
    }
    if (request.purpose == Purpose::Poll) {
        --m_pollsLeftInCycle;
        // A method this fldigi lacks answers with a fault: that field is simply not read.
        QString& seen = m_seen[request.method];
        if (!reply->fault && reply->value != seen) {
            seen = reply->value;
            for (const PolledField& field : polledFields) {
                // An emptied field (fldigi cleared its log) leaves the logger's boxes alone.
                if (request.method == QLatin1String(field.method) && !seen.isEmpty()) {
                    emit itemReceived(QByteArray(field.item), seen);
                }
            }
        }
        if (m_pollsLeftInCycle == 0 && m_attempting) {
            m_attempting = false;
            m_open = true;
            m_pollTimer.start();
            emit opened();
        }
    }
    if (m_attempting || m_open) {
        sendNext();
    }
}

void FldigiTransport::lose()
{
    close();
    emit dropped();
}

} // namespace velk
