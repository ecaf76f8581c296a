#include "spots/agwtransport.h"

#include "common/diagnostics.h"
#include "common/platform/platform.h"
#include "spots/linesplitter.h"
#include "spots/spotline.h"

namespace velk {

namespace {

constexpr quint8 textPid = 0xF0; // AX.25: no layer 3
const QString hostKey = QStringLiteral("AgwHost");
const QString portKey = QStringLiteral("AgwPort");

const QString agwGuidance = QStringLiteral(
    "Unable to connect to the AGW Packet Engine.  To use the AGW Packet Engine to send and receive packet "
    "with "
    "your soundcard or devices such a Baypac:\n"
    "- Obtain the AGW Packet Engine (or another program that offers its TCP port, such as Dire Wolf).\n"
    "- Make sure the AGW Packet Engine software is running and configure it as described on the AGW Packet "
    "Engine website.");

} // namespace

quint16 AgwAddress::portNumber() const
{
    bool ok = false;
    const int number = port.trimmed().toInt(&ok);
    return ok && number >= 1 && number <= 65535 ? static_cast<quint16>(number) : 0;
}

AgwAddress loadAgwAddress(const SettingsStore& store)
{
    AgwAddress address;
    if (const auto host = store.value(hostKey); host && !host->trimmed().isEmpty()) {
        address.host = host->trimmed();
    }
    if (const auto port = store.value(portKey); port && !port->trimmed().isEmpty()) {
        address.port = port->trimmed();
    }
    return address;
}

void storeAgwAddress(SettingsStore& store, const AgwAddress& address)
{
    store.setValue(hostKey, address.host.trimmed());
    store.setValue(portKey, address.port.trimmed());
}

AgwTransport::AgwTransport(Platform& platform, std::function<QString()> ownCall, QObject* parent)
    : SpotTransport(parent), m_platform(platform), m_ownCall(std::move(ownCall))
{
}

AgwTransport::~AgwTransport()
{
    // The node learns that we left rather than timing the link out.
    const QSignalBlocker quiet(this);
    close();
}

void AgwTransport::open()
{
    const QString ownCall = m_ownCall().trimmed();
    if (ownCall.isEmpty()) {
        m_platform.prompter.bell();
        m_platform.prompter.message(
            QStringLiteral("Please enter your call sign on the setup form to transmit!"),
            QStringLiteral("Call Sign Required!"), MessageIcon::Warning);
        emit openFailed();
        return;
    }
    const AgwAddress address = loadAgwAddress(m_platform.settings);
    if (address.portNumber() == 0) {
        qCDebug(velkSpots) << "AGW: no port number:" << address.port;
        emit dropped(
            QStringLiteral("** The AGW Packet Engine's port must be a number from 1 to 65535, not \"") +
            address.port + QStringLiteral("\" **"));
        m_platform.prompter.bell();
        return;
    }
    if (!m_tcp) {
        m_tcp = m_platform.devices.createTcpConnection();
        connect(m_tcp.get(), &TcpConnection::connected, this, &AgwTransport::engineConnected);
        connect(m_tcp.get(), &TcpConnection::readyRead, this, &AgwTransport::readFrames);
        connect(m_tcp.get(), &TcpConnection::errorOccurred, this, [this](int number) {
            qCDebug(velkSpots) << "AGW: socket error" << number;
            if (m_state == State::Connecting) {
                startFailed();
            } else {
                engineLost();
            }
        });
        connect(m_tcp.get(), &TcpConnection::disconnected, this, [this] {
            qCDebug(velkSpots) << "AGW: the engine closed the connection";
            engineLost();
        });
    }
    m_buffer.clear();
    m_state = State::Connecting;
    qCDebug(velkSpots) << "AGW: connecting to" << address.host << address.portNumber() << "as" << ownCall;
    m_tcp->connectTo(address.host, address.portNumber());
    emit connecting({});
}

void AgwTransport::engineConnected()
{
    qCDebug(velkSpots) << "AGW: connected; registering the call and asking for monitored frames";
    // The engine answers frames addressed to a registered call only.
    m_state = State::Open;
    sendFrame(agwkind::registerCall, QString());
    sendFrame(agwkind::monitorOn, QString());
    emit opened();
    emit notice(QStringLiteral("\n** Successfully connected to AGW Packet Engine **\n\n"));
}

void AgwTransport::startFailed()
{
    m_tcp->close();
    m_state = State::Closed;
    emit openFailed();
    m_platform.prompter.message(agwGuidance, QStringLiteral("Unable to connect to the AGW Packet Engine."),
                                MessageIcon::Critical);
    emit notice(agwGuidance +
                QStringLiteral("\n- Run the Packet Engine software and configure it as described on the AGW "
                               "Packet Engine website for your sound card or TNC.\n- Click Open from this "
                               "program.\n"));
    emit attentionNeeded();
}

void AgwTransport::engineLost()
{
    setPeer({});
    if (m_state == State::Closed) {
        return;
    }
    m_state = State::Closed;
    m_tcp->close();
    emit dropped(QStringLiteral("\n** The AGW Packet Engine closed the connection **"));
    m_platform.prompter.bell();
}

void AgwTransport::close()
{
    if (!m_tcp) {
        return;
    }
    if (!m_connectedStation.isEmpty()) {
        sendFrame(agwkind::disconnect, m_connectedStation);
        setPeer({});
    }
    if (m_state != State::Closed) {
        qCDebug(velkSpots) << "AGW: closing";
    }
    m_state = State::Closed;
    m_tcp->close();
    m_buffer.clear();
}

void AgwTransport::setPeer(const QString& station)
{
    if (m_connectedStation != station) {
        m_connectedStation = station;
        emit peerChanged(station);
    }
}

void AgwTransport::sendFrame(char kind, const QString& to, const QByteArray& data)
{
    if (!m_tcp || !m_tcp->isConnected()) {
        return;
    }
    AgwFrame frame;
    frame.kind = kind;
    frame.pid = kind == agwkind::data ? textPid : 0;
    frame.callFrom = m_ownCall().trimmed().toUpper();
    frame.callTo = to;
    frame.data = data;
    qCDebug(velkSpots) << "AGW: frame" << QLatin1Char(kind) << "to" << to << data.size() << "bytes";
    m_tcp->write(encodeAgwFrame(frame));
}

void AgwTransport::readFrames()
{
    m_buffer += m_tcp->readAll();
    // Every frame that has arrived is handled now, so a busy channel never queues up.
    while (m_state == State::Open) {
        const AgwDecodeResult result = decodeAgwFrame(m_buffer);
        if (result.status == AgwDecodeResult::Status::NeedMore) {
            break;
        }
        if (result.status == AgwDecodeResult::Status::ProtocolError) {
            qCDebug(velkSpots) << "AGW: a frame header announced too much data; closing";
            m_state = State::Closed;
            emit dropped(
                QStringLiteral("\n** The AGW Packet Engine sent a frame too long to be one of its own **"));
            m_platform.prompter.bell();
            return;
        }
        m_buffer.remove(0, result.consumed);
        qCDebug(velkSpots) << "AGW: received" << QLatin1Char(result.frame.kind) << "from"
                           << result.frame.callFrom << result.frame.data.size() << "bytes";
        handleFrame(result.frame);
    }
}

void AgwTransport::handleFrame(const AgwFrame& frame)
{
    switch (frame.kind) {
    case agwkind::registerCall:
        if (!frame.data.isEmpty() && frame.data.at(0) != 1) {
            emit notice(QStringLiteral("** The AGW Packet Engine refused the call sign ") + frame.callFrom +
                        QStringLiteral(" **\n"));
        }
        return;
    case agwkind::connect:
        if (m_connectedStation.isEmpty()) {
            setPeer(frame.callFrom);
            emit notice(QStringLiteral("** Connected to ") + m_connectedStation + QStringLiteral(" **"));
            m_platform.prompter.bell();
        }
        return;
    case agwkind::disconnect:
        if (!m_connectedStation.isEmpty() &&
            frame.callFrom.compare(m_connectedStation, Qt::CaseInsensitive) == 0) {
            m_platform.prompter.bell();
            m_platform.prompter.bell();
            emit notice(QStringLiteral("\n** Disconnected from ") + m_connectedStation +
                        QStringLiteral(" **\n"));
            setPeer({});
        }
        return;
    case agwkind::data:
        if (!m_connectedStation.isEmpty() &&
            frame.callFrom.compare(m_connectedStation, Qt::CaseInsensitive) == 0) {
            emit received(frame.data);
        }
        return;
    default:
        if (frame.isMonitored() && m_connectedStation.isEmpty()) {
            handleMonitoredFrame(frame);
        }
        return;
    }
}

void AgwTransport::handleMonitoredFrame(const AgwFrame& frame)
{
    // The engine's header line ("1:Fm K1TTT To DX <UI pid=F0 Len=70 >[12:00:00]") comes first.
    LineSplitter splitter;
    QStringList lines = splitter.feed(frame.data);
    if (splitter.hasPending()) {
        lines << splitter.takePending();
    }
    if (lines.isEmpty()) {
        return;
    }
    const QString header = lines.takeFirst().trimmed();
    bool hadSpot = false;
    for (const QString& raw : std::as_const(lines)) {
        const QString line = raw.trimmed();
        if (isSpotLine(line)) {
            hadSpot = true;
            emit spotHeard(alignSpotLine(line));
        }
    }
    if (hadSpot) {
        return;
    }
    QString shown =
        QString(QLatin1Char(frame.kind)) + frame.callFrom + QLatin1Char(' ') + header + QLatin1Char('\n');
    for (const QString& line : std::as_const(lines)) {
        if (!line.trimmed().isEmpty()) {
            shown += line + QLatin1Char('\n');
        }
    }
    emit trafficHeard(shown);
}

void AgwTransport::send(const QString& text)
{
    if (m_state != State::Open) {
        return;
    }
    if (text.startsWith(QLatin1Char(':'))) {
        const QString command = text.mid(1, 1).toUpper();
        const QString argument = text.mid(2).trimmed();
        if (command == QLatin1String("D")) {
            if (!m_connectedStation.isEmpty()) {
                sendFrame(agwkind::disconnect, m_connectedStation);
            }
        } else if (command == QLatin1String("C")) {
            if (argument.isEmpty()) {
                m_platform.prompter.message(
                    QStringLiteral("You must enter a call sign to connect to such as :C Varno"),
                    QStringLiteral("Call sign Required"), MessageIcon::Information);
                return;
            }
            sendFrame(agwkind::connect, argument.toUpper());
        }
        return;
    }
    if (!m_connectedStation.isEmpty()) {
        sendFrame(agwkind::data, m_connectedStation, text.toLatin1() + '\r');
    }
}

} // namespace velk
