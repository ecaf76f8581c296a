#include "spots/spotfeed.h"

#include "common/platform/platform.h"
#include "log/logsession.h"
#include "spots/socketerrors.h"
#include "spots/spotline.h"

#include <QElapsedTimer>

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
    // The node learns that we left rather than timing the link out.
    if (!m_connectedStation.isEmpty() && m_agw && m_agw->isConnected()) {
        sendAgwFrame(agwkind::disconnect, m_connectedStation);
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

void SpotFeed::setAgwAddress(const QString& host, quint16 port)
{
    m_agwHost = host;
    m_agwPort = port;
}

QString SpotFeed::caption() const
{
    if (m_connectedStation.isEmpty()) {
        return QStringLiteral("DX Spotting Setup");
    }
    return QStringLiteral("DX Spotting Setup - Connected to ") + m_connectedStation;
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

void SpotFeed::open()
{
    replaceMonitor(QStringLiteral("** Attempting to Open Port **\n\n"));
    if (m_serial) {
        m_serial->close();
    }
    if (m_settings.source == SpotSource::None) {
        return;
    }
    m_listening = true;
    m_splitter.reset();
    m_idleTicks = 0;
    switch (m_settings.source) {
    case SpotSource::Tnc:
        openTnc();
        break;
    case SpotSource::Telnet:
        openTelnet();
        break;
    case SpotSource::Agw:
        openAgw();
        break;
    case SpotSource::None:
        break;
    }
}

void SpotFeed::close()
{
    if (!m_listening) {
        return;
    }
    m_listening = false;
    appendMonitor(QStringLiteral("\n\n** Port Closed **"));
    if (m_serial) {
        m_serial->close();
    }
    if (m_telnet) {
        m_telnet->close();
    }
    closeAgw();
    m_backlog.clear();
    m_drainTimer.stop();
    m_tickTimer.stop();
    m_promptTimer.stop();
    setState(State::Closed);
}

void SpotFeed::farEndClosed(const QString& who)
{
    appendMonitor(QStringLiteral("\n** ") + who + QStringLiteral(" closed the connection **"));
    close();
    m_platform.prompter.bell();
}

// ---------------------------------------------------------------------------------------------
// Monitor

void SpotFeed::appendMonitor(const QString& text)
{
    m_monitor += text;
    if (m_monitor.size() > monitorLimit) {
        m_monitor = m_monitor.right(monitorKeep);
    }
    emit monitorText(m_monitor);
}

void SpotFeed::replaceMonitor(const QString& text)
{
    m_monitor.clear();
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

void SpotFeed::receiveBytes(const QByteArray& bytes, bool checkDuplicates)
{
    const QStringList lines = m_splitter.feed(bytes);
    for (const QString& line : lines) {
        if (m_skipFirstSerialLine) {
            // A TNC opened mid-line: the text before the first line end is a fragment.
            m_skipFirstSerialLine = false;
            continue;
        }
        m_backlog.emplace_back(line, checkDuplicates);
    }
    while (m_backlog.size() > maxBacklog) {
        m_backlog.pop_front();
        ++m_droppedLines;
    }
    drainBacklog();
    if (m_splitter.hasPending()) {
        m_promptTimer.start();
    } else {
        m_promptTimer.stop();
    }
}

void SpotFeed::drainBacklog()
{
    QElapsedTimer slice;
    slice.start();
    while (!m_backlog.empty()) {
        auto [line, checkDuplicates] = std::move(m_backlog.front());
        m_backlog.pop_front();
        receiveLine(line, checkDuplicates);
        if (slice.elapsed() >= sliceMs) {
            break;
        }
    }
    if (!m_backlog.empty()) {
        m_drainTimer.start();
    }
}

void SpotFeed::flushPendingPrompt()
{
    if (!m_splitter.hasPending() || m_skipFirstSerialLine) {
        return;
    }
    // The prompt follows whatever arrived before it.
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
    m_list.addSpot(
        {call, mhz, countryOf(call), columns.comments, columns.prefix, columns.time, columns.from});
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
    switch (m_settings.source) {
    case SpotSource::Tnc:
        if (m_serial && m_serial->isOpen()) {
            m_serial->write(text.toLatin1() + '\r');
        }
        break;
    case SpotSource::Telnet:
        if (m_telnet && m_telnet->isConnected()) {
            m_telnet->write(text.toLatin1() + "\r\n");
        } else {
            appendMonitor(QStringLiteral(
                "**  Connection not yet established.  Please wait a moment and try again.\n\n"));
        }
        break;
    case SpotSource::Agw:
        sendAgw(text);
        break;
    case SpotSource::None:
        break;
    }
}

bool SpotFeed::sendCommandCharacter()
{
    m_listDxOnly = false;
    if (!m_listening) {
        open();
    }
    if (m_settings.source != SpotSource::Tnc || !m_serial || !m_serial->isOpen()) {
        return false;
    }
    bool ok = false;
    const int code = m_settings.commandHex.trimmed().toInt(&ok, 16);
    if (!ok || code < 0 || code > 255) {
        return false;
    }
    m_serial->write(QByteArray(1, static_cast<char>(code)));
    return true;
}

// ---------------------------------------------------------------------------------------------
// TNC on a serial port

void SpotFeed::openTnc()
{
    const SpotSettings& s = m_settings;
    SerialSettings serial;
    serial.baud = s.baud.trimmed().toInt();
    serial.parity = s.parity.isEmpty() ? 'N' : s.parity.at(0).toLatin1();
    serial.dataBits = s.dataBits.toInt();
    serial.stopBits = s.stopBits.toInt();
    static constexpr Handshake handshakes[] = {Handshake::None, Handshake::XonXoff, Handshake::RtsCts,
                                               Handshake::Both};
    serial.handshake = handshakes[std::clamp(s.handshaking, 1, 4) - 1];
    if (!m_serial) {
        m_serial = m_platform.devices.createSerialDevice();
        connect(m_serial.get(), &SerialDevice::readyRead, this, &SpotFeed::readSerial);
        connect(m_serial.get(), &SerialDevice::failed, this, [this](const QString& text) {
            appendMonitor(QStringLiteral("\n** ") + text + QStringLiteral(" **"));
            close();
            m_platform.prompter.bell();
        });
    }
    const QString path = serialDevicePath(s.commPort, m_platform.environment, m_platform.settings);
    if (serial.baud <= 0 || !m_serial->open(path, serial)) {
        m_platform.prompter.bell();
        appendMonitor(QStringLiteral("** Unable to open TNC Serial Port **\n\n"));
        m_platform.prompter.message(
            QStringLiteral(
                "The comm port that you selected for DX Spotting is either in use, invalid or the settings "
                "that you have selected are invalid.  Please select another combination or choose None "
                "for your DX Spot selection."),
            QStringLiteral("Invalid Comm Settings."), MessageIcon::Critical);
        emit showRequested();
        close();
        return;
    }
    m_serial->setDtr(false);
    m_serial->setRts(false);
    if (s.handshaking >= 3) {
        m_serial->setRts(true);
    }
    if (s.power == QLatin1String("R")) {
        m_serial->setRts(true);
    } else if (s.power == QLatin1String("D")) {
        m_serial->setDtr(true);
    }
    m_skipFirstSerialLine = true;
    m_tickTimer.start();
    setState(State::Open);
    appendMonitor(QStringLiteral("** TNC Serial Port Open **\n\n"));
}

void SpotFeed::readSerial()
{
    if (!m_serial || !m_listening || m_settings.source != SpotSource::Tnc) {
        return;
    }
    receiveBytes(m_serial->readAll(), true);
}

// ---------------------------------------------------------------------------------------------
// Telnet cluster

void SpotFeed::openTelnet()
{
    if (!m_telnet) {
        m_telnet = m_platform.devices.createTcpConnection();
        connect(m_telnet.get(), &TcpConnection::connected, this, [this] { setState(State::Open); });
        connect(m_telnet.get(), &TcpConnection::readyRead, this, [this] {
            if (m_listening && m_settings.source == SpotSource::Telnet) {
                receiveBytes(m_telnet->readAll(), false);
            }
        });
        connect(m_telnet.get(), &TcpConnection::disconnected, this, [this] {
            if (m_listening) {
                farEndClosed(m_settings.telnetHost.trimmed());
            }
        });
        connect(m_telnet.get(), &TcpConnection::errorOccurred, this, &SpotFeed::telnetFailed);
    }
    m_telnet->close();
    m_skipFirstSerialLine = false;
    const QString host = m_settings.telnetHost.trimmed();
    bool ok = false;
    const int port = m_settings.telnetPort.trimmed().toInt(&ok);
    if (!ok || port < 1 || port > 65535) {
        telnetFailed(380);
        return;
    }
    m_telnet->connectTo(host, static_cast<quint16>(port));
    replaceMonitor(QStringLiteral("Attempting connection to: ") + host + QLatin1Char(':') +
                   QString::number(port) + QStringLiteral("\n\n"));
    m_tickTimer.start();
    setState(State::Connecting);
}

void SpotFeed::telnetFailed(int number)
{
    if (m_telnet) {
        m_telnet->close();
    }
    appendMonitor(socketErrorMessage(number));
    close();
    m_platform.prompter.bell();
}

} // namespace velk
