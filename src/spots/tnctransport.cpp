#include "spots/tnctransport.h"

#include "common/diagnostics.h"
#include "common/platform/platform.h"
#include "spots/spotsettings.h"

#include <algorithm>

namespace velk {

TncTransport::TncTransport(Platform& platform, const SpotSettings& settings, QObject* parent)
    : SpotTransport(parent), m_platform(platform), m_settings(settings)
{
}

TncTransport::~TncTransport() = default;

void TncTransport::open()
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
        connect(m_serial.get(), &SerialDevice::readyRead, this, &TncTransport::readSerial);
        connect(m_serial.get(), &SerialDevice::failed, this, [this](const QString& text) {
            qCDebug(velkSpots) << "TNC port failed:" << text;
            emit dropped(QStringLiteral("\n** ") + text + QStringLiteral(" **"));
            m_platform.prompter.bell();
        });
    }
    const QString path = serialDevicePath(s.commPort, m_platform.environment, m_platform.settings);
    qCDebug(velkSpots) << "TNC: opening" << path << serial.baud << s.parity << s.dataBits << s.stopBits
                       << "handshaking" << s.handshaking << "power" << s.power;
    if (serial.baud <= 0 || !m_serial->open(path, serial)) {
        qCDebug(velkSpots) << "TNC: cannot open" << path << m_serial->errorText();
        m_platform.prompter.bell();
        emit notice(QStringLiteral("** Unable to open TNC Serial Port **\n\n"));
        m_platform.prompter.message(
            QStringLiteral(
                "The comm port that you selected for DX Spotting is either in use, invalid or the settings "
                "that you have selected are invalid.  Please select another combination or choose None "
                "for your DX Spot selection."),
            QStringLiteral("Invalid Comm Settings."), MessageIcon::Critical);
        emit attentionNeeded();
        emit dropped({});
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
    m_opening = Opening::Fragment;
    emit opened();
    emit notice(QStringLiteral("** TNC Serial Port Open **\n\n"));
}

void TncTransport::close()
{
    if (m_serial && m_serial->isOpen()) {
        qCDebug(velkSpots) << "TNC: closing the port";
        m_serial->close();
    }
    m_opening = Opening::Done;
}

bool TncTransport::isOpen() const
{
    return m_serial && m_serial->isOpen();
}

void TncTransport::send(const QString& text)
{
    if (isOpen()) {
        m_serial->write(text.toLatin1() + '\r');
    }
}

bool TncTransport::sendCommandCharacter()
{
    if (!isOpen()) {
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

void TncTransport::readSerial()
{
    if (!isOpen()) {
        return;
    }
    const QByteArray bytes = m_serial->readAll();
    qCDebug(velkSpots) << "TNC:" << bytes.size() << "bytes";
    const QByteArray text = withoutOpeningFragment(bytes);
    if (!text.isEmpty()) {
        emit received(text);
    }
}

QByteArray TncTransport::withoutOpeningFragment(const QByteArray& bytes)
{
    qsizetype from = 0;
    if (m_opening == Opening::Fragment) {
        const auto end =
            std::find_if(bytes.begin(), bytes.end(), [](char c) { return c == '\r' || c == '\n'; });
        if (end == bytes.end()) {
            return {};
        }
        from = end - bytes.begin() + 1;
        m_opening = *end == '\r' ? Opening::AfterCr : Opening::Done;
    }
    if (m_opening == Opening::AfterCr && from < bytes.size()) {
        // The LF of a CR LF pair ends the fragment too.
        if (bytes.at(from) == '\n') {
            ++from;
        }
        m_opening = Opening::Done;
    }
    return from == 0 ? bytes : bytes.mid(from);
}

} // namespace velk
