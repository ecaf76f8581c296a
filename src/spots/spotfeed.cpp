#include "spots/spotfeed.h"

#include "common/diagnostics.h"
#include "common/platform/platform.h"
#include "log/logsession.h"
#include "spots/agwtransport.h"
#include "spots/spotline.h"
#include "spots/telnettransport.h"
#include "spots/tnctransport.h"

#include <QElapsedTimer>
#include <utility>

namespace velk {

SpotFeed::SpotFeed(Platform& platform, LogSession& session, QObject* parent)
    : QObject(parent), m_platform(platform), m_session(session)
{
    m_promptTimer.setSingleShot(true);
    m_promptTimer.setInterval(promptIdleMs);
    connect(&m_promptTimer, &QTimer::timeout, this, &SpotFeed::flushPendingPrompt);
    m_drainTimer.setSingleShot(true);
    m_drainTimer.setInterval(0);
    connect(&m_drainTimer, &QTimer::timeout, this, &SpotFeed::drainBacklog);
    m_tickTimer.setInterval(333);
    connect(&m_tickTimer, &QTimer::timeout, this, [this] {
        if (++m_idleTicks > 360) {
            m_idleTicks = 0;
            emit spotsAged();
        }
    });
}

SpotFeed::~SpotFeed()
{
    // The transports take their leave (the AGW node hears a disconnect) without telling us.
    for (auto& transport : m_transports) {
        if (transport) {
            transport->disconnect(this);
        }
    }
}

QString SpotFeed::settingsPath() const
{
    return m_session.folders.working + QStringLiteral("/PackSpot.txt");
}

void SpotFeed::loadSettings()
{
    m_settings = loadSpotSettings(settingsPath());
    m_listDxOnly = false;
}

bool SpotFeed::saveSettings()
{
    m_settings.listDxOnly = m_listDxOnly ? 1 : 0;
    QString error;
    if (!saveSpotSettings(settingsPath(), m_settings, error)) {
        m_platform.prompter.message(error, QStringLiteral("Error saving DX spotting settings"),
                                    MessageIcon::Critical);
        return false;
    }
    return true;
}

void SpotFeed::selectSource(SpotSource source)
{
    m_listDxOnly = false;
    close();
    m_settings.source = source;
    if (source == SpotSource::Tnc) {
        m_settings.baud = QStringLiteral("9600");
        m_settings.parity = QStringLiteral("N");
        m_settings.dataBits = QStringLiteral("8");
        m_settings.stopBits = QStringLiteral("1");
        m_settings.handshaking = 3;
        m_settings.commandHex = QStringLiteral("03");
    }
    replaceMonitor(spotHelpText(source));
}

AgwAddress SpotFeed::agwAddress() const
{
    return loadAgwAddress(m_platform.settings);
}

void SpotFeed::setAgwAddress(const AgwAddress& address)
{
    if (address != agwAddress()) {
        storeAgwAddress(m_platform.settings, address);
    }
}

QString SpotFeed::connectedStation() const
{
    return m_transport ? m_transport->peer() : QString();
}

QString SpotFeed::caption() const
{
    const QString station = connectedStation();
    if (station.isEmpty()) {
        return QStringLiteral("DX Spotting Setup");
    }
    return QStringLiteral("DX Spotting Setup - Connected to ") + station;
}

void SpotFeed::setState(State state)
{
    if (m_state != state) {
        m_state = state;
        emit stateChanged(state);
    }
}

// ---------------------------------------------------------------------------------------------
// Open and close

SpotTransport* SpotFeed::transportFor(SpotSource source)
{
    auto& transport = m_transports.at(static_cast<std::size_t>(source));
    if (!transport) {
        transport = makeTransport(source);
        if (transport) {
            connectTransport(transport.get());
        }
    }
    return transport.get();
}

std::unique_ptr<SpotTransport> SpotFeed::makeTransport(SpotSource source)
{
    switch (source) {
    case SpotSource::Tnc:
        return std::make_unique<TncTransport>(m_platform, m_settings);
    case SpotSource::Telnet:
        return std::make_unique<TelnetTransport>(m_platform, m_settings);
    case SpotSource::Agw:
        return std::make_unique<AgwTransport>(m_platform, [this] { return m_session.prefs.ownCall; });
    case SpotSource::None:
        break;
    }
    return nullptr;
}

void SpotFeed::connectTransport(SpotTransport* transport)
{
    // Only the open transport is heard; the others are closed and keep quiet.
    const auto fromOpen = [this, transport](auto handler) {
        return [this, transport, handler](auto&&... args) {
            if (transport == m_transport) {
                handler(args...);
            }
        };
    };
    connect(transport, &SpotTransport::connecting, this, fromOpen([this](const QString& banner) {
                if (!banner.isEmpty()) {
                    replaceMonitor(banner);
                }
                m_tickTimer.start();
                setState(State::Connecting);
            }));
    connect(transport, &SpotTransport::opened, this, fromOpen([this] {
                m_tickTimer.start();
                setState(State::Open);
            }));
    connect(transport, &SpotTransport::received, this,
            fromOpen([this](const QByteArray& bytes) { receiveBytes(bytes); }));
    connect(transport, &SpotTransport::spotHeard, this,
            fromOpen([this](const QString& line) { receiveSpotLine(line); }));
    connect(transport, &SpotTransport::trafficHeard, this, fromOpen([this](const QString& text) {
                if (m_listening && !m_listDxOnly) {
                    appendMonitor(text);
                }
            }));
    connect(transport, &SpotTransport::notice, this,
            fromOpen([this](const QString& text) { appendMonitor(text); }));
    connect(transport, &SpotTransport::peerChanged, this,
            fromOpen([this](const QString& station) { peerChanged(station); }));
    connect(transport, &SpotTransport::attentionNeeded, this, fromOpen([this] { emit showRequested(); }));
    connect(transport, &SpotTransport::openFailed, this, fromOpen([this] { transportOpenFailed(); }));
    connect(transport, &SpotTransport::dropped, this,
            fromOpen([this](const QString& reason) { transportDropped(reason); }));
}

void SpotFeed::open()
{
    replaceMonitor(QStringLiteral("** Attempting to Open Port **\n\n"));
    // Whatever was open before goes first (the TNC's port may be wanted by something else).
    if (m_transport) {
        m_transport->close();
    }
    m_transport = transportFor(m_settings.source);
    if (!m_transport) {
        return;
    }
    qCDebug(velkSpots) << "opening" << spotSourceName(m_settings.source);
    m_listening = true;
    m_splitter.reset();
    m_idleTicks = 0;
    m_transport->open();
}

void SpotFeed::close()
{
    const bool wasListening = m_listening;
    m_listening = false;
    if (wasListening) {
        qCDebug(velkSpots) << "closing" << spotSourceName(m_settings.source);
        reportDrops();
        appendMonitor(QStringLiteral("\n\n** Port Closed **"));
    }
    if (m_transport) {
        m_transport->close();
    }
    m_backlog.clear();
    m_splitter.reset();
    showPendingSpots();
    m_drainTimer.stop();
    m_tickTimer.stop();
    m_promptTimer.stop();
    setState(State::Closed);
}

void SpotFeed::transportDropped(const QString& reason)
{
    qCDebug(velkSpots) << "the source ended:" << reason.trimmed();
    if (!reason.isEmpty()) {
        appendMonitor(reason);
    }
    close();
    emit sourceLost(reason.trimmed());
}

void SpotFeed::transportOpenFailed()
{
    qCDebug(velkSpots) << spotSourceName(m_settings.source) << "did not open";
    m_listening = false;
    m_tickTimer.stop();
    setState(State::Closed);
}

void SpotFeed::peerChanged(const QString& station)
{
    // A new conversation starts on a line of its own; what came before it is kept.
    if (!station.isEmpty()) {
        takeQueuedLines(m_splitter.queuedBytes());
        m_splitter.reset();
    }
    emit captionChanged(caption());
}

// ---------------------------------------------------------------------------------------------
// Monitor

void SpotFeed::appendMonitor(const QString& text)
{
    m_monitor += text;
    m_monitorAppended += text.size();
    if (m_monitor.size() > monitorLimit) {
        m_monitor = m_monitor.right(monitorKeep);
    }
    emit monitorText(m_monitor);
}

void SpotFeed::replaceMonitor(const QString& text)
{
    m_monitor.clear();
    ++m_monitorReplacements;
    m_monitorAppended = 0;
    appendMonitor(text);
}

bool SpotFeed::isDuplicate(const QString& line) const
{
    const qsizetype from = std::max<qsizetype>(0, m_monitor.size() - 800);
    return QStringView(m_monitor).mid(from).contains(line, Qt::CaseInsensitive);
}

void SpotFeed::receiveLine(const QString& line, bool checkDuplicates)
{
    if (checkDuplicates && isDuplicate(line)) {
        return;
    }
    if (line.startsWith(QLatin1String("DX"), Qt::CaseInsensitive)) {
        appendMonitor(line + QLatin1Char('\n'));
        postSpot(line);
    } else if (!m_listDxOnly) {
        appendMonitor(line + QLatin1Char('\n'));
    }
}

void SpotFeed::receiveSpotLine(const QString& line)
{
    if (m_listening && !isDuplicate(line)) {
        appendMonitor(line + QLatin1Char('\n'));
        postSpot(line);
    }
}

void SpotFeed::receiveBytes(const QByteArray& bytes)
{
    if (!m_listening) {
        return;
    }
    // Counting a huge read is part of the slice the window waits for.
    QElapsedTimer slice;
    slice.start();
    m_checkDuplicates = m_transport->repeatsLines();
    // Only counted here; made into text as the burst is worked off, so one huge read costs a
    // scan for line ends, and what the backlog cannot keep is never made into text at all.
    m_splitter.enqueue(bytes);
    qCDebug(velkSpots) << bytes.size() << "bytes in," << backlog() << "lines waiting";
    boundBacklog();
    // Few line ends in much text: the overlong lines are cut now rather than kept whole.
    if (m_splitter.queuedBytes() > maxQueuedBytes) {
        takeQueuedLines(m_splitter.queuedBytes() - maxQueuedBytes);
        boundBacklog();
    }
    drainSlice(slice);
    if (m_splitter.hasPending()) {
        m_promptTimer.start();
    } else {
        m_promptTimer.stop();
    }
}

void SpotFeed::takeQueuedLines(qsizetype maxBytes)
{
    for (const QString& line : m_splitter.take(maxBytes)) {
        m_backlog.emplace_back(line, m_checkDuplicates);
    }
}

void SpotFeed::boundBacklog()
{
    if (backlog() <= maxBacklog) {
        return;
    }
    auto excess = static_cast<qsizetype>(backlog() - maxBacklog);
    const auto fromSplit = std::min(excess, static_cast<qsizetype>(m_backlog.size()));
    m_backlog.erase(m_backlog.begin(), m_backlog.begin() + fromSplit);
    excess = fromSplit + m_splitter.dropQueuedLines(excess - fromSplit);
    m_droppedLines += static_cast<int>(excess);
    m_unreportedDrops += static_cast<int>(excess);
    qCDebug(velkSpots) << "backlog full:" << excess << "oldest lines dropped";
}

void SpotFeed::drainBacklog()
{
    QElapsedTimer slice;
    slice.start();
    drainSlice(slice);
}

void SpotFeed::drainSlice(const QElapsedTimer& slice)
{
    const bool outermost = m_listBatch == nullptr;
    if (outermost) {
        m_listBatch = &m_listPending;
    }
    // At least one line per slice, so that a burst always moves on.
    for (int handled = 1; backlog() > 0; ++handled) {
        if (m_backlog.empty()) {
            takeQueuedLines(sliceBytes);
        }
        if (m_backlog.empty()) {
            // Only a piece of a long line so far.
            if (slice.elapsed() >= sliceMs) {
                break;
            }
            continue;
        }
        auto [line, checkDuplicates] = std::move(m_backlog.front());
        m_backlog.pop_front();
        receiveLine(line, checkDuplicates);
        if (handled >= sliceLines || slice.elapsed() >= sliceMs) {
            break;
        }
    }
    if (outermost) {
        m_listBatch = nullptr;
        // While a burst is worked off the list takes its spots a few times a second, not every
        // slice: the table's repaint would make each slice twice as long.
        if (backlog() == 0 || !m_listShown.isValid() || m_listShown.elapsed() >= listRefreshMs) {
            showPendingSpots();
        }
    }
    if (backlog() > 0) {
        m_drainTimer.start();
    } else {
        reportDrops();
    }
}

void SpotFeed::showPendingSpots()
{
    m_list.addSpots(std::exchange(m_listPending, {}));
    m_listShown.start();
}

void SpotFeed::reportDrops()
{
    // Once per burst, when it has been worked off (or the source closes in the middle of it).
    if (m_unreportedDrops > 0) {
        appendMonitor(
            QStringLiteral("** %1 received lines dropped: they came faster than they could be shown **\n")
                .arg(m_unreportedDrops));
        m_unreportedDrops = 0;
    }
}

void SpotFeed::flushPendingPrompt()
{
    if (!m_splitter.hasPending()) {
        return;
    }
    // The prompt follows whatever arrived before it: a burst still being worked off goes first,
    // a slice at a time as ever.
    if (backlog() > 0) {
        m_promptTimer.start();
        return;
    }
    // What is queued now has no line end left but for the cut ends of an overlong line.
    takeQueuedLines(m_splitter.queuedBytes());
    while (!m_backlog.empty()) {
        drainBacklog();
    }
    const QString pending = m_splitter.takePending();
    // A spot line that is still arriving waits for its line end; anything else is a prompt.
    if (pending.startsWith(QLatin1String("DX"), Qt::CaseInsensitive)) {
        m_splitter.feed(pending.toLatin1());
        return;
    }
    if (!m_listDxOnly) {
        appendMonitor(pending + QLatin1Char('\n'));
    }
}

// ---------------------------------------------------------------------------------------------
// Spots

void SpotFeed::postSpot(const QString& line)
{
    m_idleTicks = 0;
    const SpotLine spot = parseSpotLine(alignSpotLine(line));
    addSpot(spot.call, spot.frequencyText, spot.record);
}

void SpotFeed::addSpot(const QString& call, const QString& frequencyKhz, const QString& fullRecord)
{
    const QString ownCall = m_session.prefs.ownCall.trimmed();
    if (!ownCall.isEmpty() && call.compare(ownCall, Qt::CaseInsensitive) == 0) {
        emit ownCallSpotted(fullRecord);
    }
    const auto khz = parseFrequencyKhz(frequencyKhz);
    if (!khz) {
        return;
    }
    QString record = fullRecord;
    if (const qsizetype cr = record.indexOf(QLatin1Char('\r')); cr >= 0) {
        record.truncate(cr);
    }
    const double mhz = *khz / 1000.0;
    m_ring.add(call, mhz, m_platform.clock.utcNow());
    const SpotColumns columns = spotColumns(record);
    SpotListEntry entry{call,           mhz,          countryOf(call), columns.comments,
                        columns.prefix, columns.time, columns.from};
    if (m_listBatch) {
        m_listBatch->push_back(std::move(entry));
    } else {
        m_list.addSpot(std::move(entry));
    }
    emit spotPosted();
}

QString SpotFeed::countryOf(const QString& call)
{
    // A new prefix table (or a cache grown large) starts the cache afresh.
    if (m_countryTableSize != m_session.prefixes.size() || m_countryOfCall.size() > 4096) {
        m_countryOfCall.clear();
        m_countryTableSize = m_session.prefixes.size();
    }
    const auto known = m_countryOfCall.constFind(call);
    if (known != m_countryOfCall.constEnd()) {
        return *known;
    }
    const QString country = spotCountry(m_session.prefixes, call);
    m_countryOfCall.insert(call, country);
    return country;
}

QString SpotFeed::spotLastText() const
{
    const ContactLog& log = m_session.log;
    const QString call = log.count() > 0 ? log.record(log.count()).call : QString();
    return QStringLiteral("DX Frequency in kHz ") + call;
}

// ---------------------------------------------------------------------------------------------
// Sending

void SpotFeed::sendText(const QString& text)
{
    if (!m_listening) {
        open();
    }
    // The operator answered the prompt: it is complete, whatever the line does next.
    m_promptTimer.stop();
    flushPendingPrompt();
    if (m_transport) {
        m_transport->send(text);
    }
}

bool SpotFeed::sendCommandCharacter()
{
    m_listDxOnly = false;
    if (!m_listening) {
        open();
    }
    return m_transport && m_transport->sendCommandCharacter();
}

} // namespace velk
