// The spot feed's packet-engine client: register the own call, monitor the channel, connect to
// a cluster node and talk to it, all in the engine's TCP frames.
#include "common/platform/platform.h"
#include "log/logsession.h"
#include "spots/spotfeed.h"
#include "spots/spotline.h"

namespace velk {

namespace {

constexpr quint8 textPid = 0xF0; // AX.25: no layer 3

const QString agwGuidance = QStringLiteral(
    "Unable to connect to the AGW Packet Engine.  To use the AGW Packet Engine to send and receive packet "
    "with "
    "your soundcard or devices such a Baypac:\n"
    "- Obtain the AGW Packet Engine (or another program that offers its TCP port, such as Dire Wolf).\n"
    "- Make sure the AGW Packet Engine software is running and configure it as described on the AGW Packet "
    "Engine website.");

} // namespace

void SpotFeed::openAgw()
{
    const QString ownCall = m_session.prefs.ownCall.trimmed();
    if (ownCall.isEmpty()) {
        m_listening = false;
        m_platform.prompter.bell();
        m_platform.prompter.message(
            QStringLiteral("Please enter your call sign on the setup form to transmit!"),
            QStringLiteral("Call Sign Required!"), MessageIcon::Warning);
        return;
    }
    if (!m_agw) {
        m_agw = m_platform.devices.createTcpConnection();
        connect(m_agw.get(), &TcpConnection::connected, this, &SpotFeed::agwConnected);
        connect(m_agw.get(), &TcpConnection::readyRead, this, &SpotFeed::readAgw);
        connect(m_agw.get(), &TcpConnection::errorOccurred, this, [this](int) {
            if (m_state == State::Connecting) {
                agwStartFailed();
            } else if (m_listening) {
                farEndClosed(QStringLiteral("The AGW Packet Engine"));
            }
        });
        connect(m_agw.get(), &TcpConnection::disconnected, this, [this] {
            m_connectedStation.clear();
            emit captionChanged(caption());
            if (m_listening) {
                farEndClosed(QStringLiteral("The AGW Packet Engine"));
            }
        });
    }
    m_agwBuffer.clear();
    m_agw->connectTo(m_agwHost, m_agwPort);
    setState(State::Connecting);
}

void SpotFeed::agwConnected()
{
    // The engine answers frames addressed to a registered call only.
    sendAgwFrame(agwkind::registerCall, QString());
    sendAgwFrame(agwkind::monitorOn, QString());
    m_tickTimer.start();
    setState(State::Open);
    appendMonitor(QStringLiteral("\n** Successfully connected to AGW Packet Engine **\n\n"));
}

void SpotFeed::agwStartFailed()
{
    m_agw->close();
    m_listening = false;
    setState(State::Closed);
    m_platform.prompter.message(agwGuidance, QStringLiteral("Unable to connect to the AGW Packet Engine."),
                                MessageIcon::Critical);
    appendMonitor(
        agwGuidance +
        QStringLiteral("\n- Run the Packet Engine software and configure it as described on the AGW Packet "
                       "Engine website for your sound card or TNC.\n- Click Open from this program.\n"));
    emit showRequested();
}

void SpotFeed::sendAgwFrame(char kind, const QString& to, const QByteArray& data)
{
    if (!m_agw || !m_agw->isConnected()) {
        return;
    }
    AgwFrame frame;
    frame.kind = kind;
    frame.pid = kind == agwkind::data ? textPid : 0;
    frame.callFrom = m_session.prefs.ownCall.trimmed().toUpper();
    frame.callTo = to;
    frame.data = data;
    m_agw->write(encodeAgwFrame(frame));
}

void SpotFeed::closeAgw()
{
    if (!m_agw) {
        return;
    }
    if (!m_connectedStation.isEmpty()) {
        sendAgwFrame(agwkind::disconnect, m_connectedStation);
        m_connectedStation.clear();
        emit captionChanged(caption());
    }
    m_agw->close();
    m_agwBuffer.clear();
}

void SpotFeed::readAgw()
{
    if (!m_agw) {
        return;
    }
    m_agwBuffer += m_agw->readAll();
    // Every frame that has arrived is handled now, so a busy channel never queues up.
    while (m_listening) {
        const AgwDecodeResult result = decodeAgwFrame(m_agwBuffer);
        if (result.status == AgwDecodeResult::Status::NeedMore) {
            break;
        }
        if (result.status == AgwDecodeResult::Status::ProtocolError) {
            appendMonitor(
                QStringLiteral("\n** The AGW Packet Engine sent a frame too long to be one of its own **"));
            close();
            m_platform.prompter.bell();
            return;
        }
        m_agwBuffer.remove(0, result.consumed);
        handleAgwFrame(result.frame);
    }
}

void SpotFeed::handleAgwFrame(const AgwFrame& frame)
{
    switch (frame.kind) {
    case agwkind::registerCall:
        if (!frame.data.isEmpty() && frame.data.at(0) != 1) {
            appendMonitor(QStringLiteral("** The AGW Packet Engine refused the call sign ") + frame.callFrom +
                          QStringLiteral(" **\n"));
        }
        return;
    case agwkind::connect:
        if (m_connectedStation.isEmpty()) {
            m_connectedStation = frame.callFrom;
            m_splitter.reset();
            appendMonitor(QStringLiteral("** Connected to ") + m_connectedStation + QStringLiteral(" **"));
            emit captionChanged(caption());
            m_platform.prompter.bell();
        }
        return;
    case agwkind::disconnect:
        if (!m_connectedStation.isEmpty() &&
            frame.callFrom.compare(m_connectedStation, Qt::CaseInsensitive) == 0) {
            m_platform.prompter.bell();
            m_platform.prompter.bell();
            appendMonitor(QStringLiteral("\n** Disconnected from ") + m_connectedStation +
                          QStringLiteral(" **\n"));
            m_connectedStation.clear();
            emit captionChanged(caption());
        }
        return;
    case agwkind::data:
        if (!m_connectedStation.isEmpty() &&
            frame.callFrom.compare(m_connectedStation, Qt::CaseInsensitive) == 0) {
            receiveBytes(frame.data, true);
        }
        return;
    default:
        if (frame.isMonitored() && m_connectedStation.isEmpty()) {
            handleMonitoredFrame(frame);
        }
        return;
    }
}

void SpotFeed::handleMonitoredFrame(const AgwFrame& frame)
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
        if (!isSpotLine(line)) {
            continue;
        }
        hadSpot = true;
        const QString aligned = alignSpotLine(line);
        if (!isDuplicate(aligned)) {
            appendMonitor(aligned + QLatin1Char('\n'));
            postSpot(aligned);
        }
    }
    if (hadSpot || m_listDxOnly) {
        return;
    }
    QString shown =
        QString(QLatin1Char(frame.kind)) + frame.callFrom + QLatin1Char(' ') + header + QLatin1Char('\n');
    for (const QString& line : std::as_const(lines)) {
        if (!line.trimmed().isEmpty()) {
            shown += line + QLatin1Char('\n');
        }
    }
    appendMonitor(shown);
}

void SpotFeed::sendAgw(const QString& text)
{
    if (m_settings.source != SpotSource::Agw || m_state != State::Open) {
        return;
    }
    if (text.startsWith(QLatin1Char(':'))) {
        const QString command = text.mid(1, 1).toUpper();
        const QString argument = text.mid(2).trimmed();
        if (command == QLatin1String("D")) {
            if (!m_connectedStation.isEmpty()) {
                sendAgwFrame(agwkind::disconnect, m_connectedStation);
            }
        } else if (command == QLatin1String("C")) {
            if (argument.isEmpty()) {
                m_platform.prompter.message(
                    QStringLiteral("You must enter a call sign to connect to such as :C Varno"),
                    QStringLiteral("Call sign Required"), MessageIcon::Information);
                return;
            }
            sendAgwFrame(agwkind::connect, argument.toUpper());
        }
        return;
    }
    if (!m_connectedStation.isEmpty()) {
        sendAgwFrame(agwkind::data, m_connectedStation, text.toLatin1() + '\r');
    }
}

} // namespace velk
