#include "spots/telnettransport.h"

#include "common/diagnostics.h"
#include "common/platform/platform.h"
#include "spots/socketerrors.h"
#include "spots/spotsettings.h"

namespace velk {

TelnetTransport::TelnetTransport(Platform& platform, const SpotSettings& settings, QObject* parent)
    : SpotTransport(parent), m_platform(platform), m_settings(settings)
{
}

TelnetTransport::~TelnetTransport() = default;

void TelnetTransport::open()
{
    if (!m_tcp) {
        m_tcp = m_platform.devices.createTcpConnection();
        connect(m_tcp.get(), &TcpConnection::connected, this, [this] {
            qCDebug(velkSpots) << "Telnet: connected";
            emit opened();
        });
        connect(m_tcp.get(), &TcpConnection::readyRead, this, [this] {
            const QByteArray bytes = m_tcp->readAll();
            qCDebug(velkSpots) << "Telnet:" << bytes.size() << "bytes";
            emit received(bytes);
        });
        connect(m_tcp.get(), &TcpConnection::disconnected, this, [this] {
            qCDebug(velkSpots) << "Telnet: the node closed the connection";
            if (m_active) {
                m_active = false;
                emit dropped(QStringLiteral("\n** ") + m_settings.telnetHost.trimmed() +
                             QStringLiteral(" closed the connection **"));
                m_platform.prompter.bell();
            }
        });
        connect(m_tcp.get(), &TcpConnection::errorOccurred, this, &TelnetTransport::fail);
    }
    m_tcp->close();
    const QString host = m_settings.telnetHost.trimmed();
    bool ok = false;
    const int port = m_settings.telnetPort.trimmed().toInt(&ok);
    m_active = true;
    if (!ok || port < 1 || port > 65535) {
        fail(380);
        return;
    }
    qCDebug(velkSpots) << "Telnet: connecting to" << host << port;
    m_tcp->connectTo(host, static_cast<quint16>(port));
    emit connecting(QStringLiteral("Attempting connection to: ") + host + QLatin1Char(':') +
                    QString::number(port) + QStringLiteral("\n\n"));
}

void TelnetTransport::close()
{
    if (m_tcp) {
        if (m_active) {
            qCDebug(velkSpots) << "Telnet: closing";
        }
        m_tcp->close();
    }
    m_active = false;
}

bool TelnetTransport::isOpen() const
{
    return m_tcp && m_tcp->isConnected();
}

void TelnetTransport::send(const QString& text)
{
    if (isOpen()) {
        m_tcp->write(text.toLatin1() + "\r\n");
    } else {
        emit notice(
            QStringLiteral("**  Connection not yet established.  Please wait a moment and try again.\n\n"));
    }
}

void TelnetTransport::fail(int number)
{
    qCDebug(velkSpots) << "Telnet: socket error" << number;
    if (m_tcp) {
        m_tcp->close();
    }
    if (!m_active) {
        return;
    }
    m_active = false;
    emit dropped(socketErrorMessage(number));
    m_platform.prompter.bell();
}

} // namespace velk
