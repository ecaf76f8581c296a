#include "cw/winkeylink.h"

#include "common/diagnostics.h"

namespace velk {

namespace {

// At most this many bytes are in flight: a piece goes out with the flow probe behind it, and the
// next waits for the probe's echo. By then the device has read the piece and any XOFF it caused
// has arrived, so without XOFF its buffer holds under two-thirds and the next piece fits.
constexpr qsizetype feedChunk = 16;
static_assert(feedChunk <= winkey::bufferSize - winkey::xoffFill);

} // namespace

QString winKeyOpenResultText(int result)
{
    switch (result) {
    case WinKeySuccess:
        return QStringLiteral("WK Success!");
    case WinKeyNoEcho:
        return QStringLiteral("No Echo Response");
    case WinKeyEchoMismatch:
        return QStringLiteral("Echo Mismatch");
    case WinKeyNoOpenResponse:
        return QStringLiteral("No Open Response");
    case WinKeyComOpenFailed:
        return QStringLiteral("Com Open Failed");
    case WinKeyGetComStateFailed:
        return QStringLiteral("Get Com ST Failed");
    case WinKeySetComStateFailed:
        return QStringLiteral("Set Com ST Failed");
    case WinKeyAlreadyOpen:
        return QStringLiteral("WK Already Open");
    case WinKeyNotOpen:
        return QStringLiteral("WK Not Open");
    default:
        return {};
    }
}

WinKeyLink::WinKeyLink(DeviceFactory makeDevice, KeyPorts& keyPorts, PortPath portPath, QObject* parent)
    : MorseSender(parent), m_makeDevice(std::move(makeDevice)), m_keyPorts(keyPorts),
      m_portPath(std::move(portPath))
{
    m_replyTimer.setObjectName(QStringLiteral("winKeyReplyTimer"));
    m_replyTimer.setSingleShot(true);
    m_replyTimer.setInterval(replyTimeoutMs);
    m_busyTimer.setObjectName(QStringLiteral("winKeyBusyTimer"));
    m_busyTimer.setSingleShot(true);
    m_busyTimer.setInterval(busyTimeoutMs);
    m_flowTimer.setObjectName(QStringLiteral("winKeyFlowTimer"));
    m_flowTimer.setSingleShot(true);
    m_flowTimer.setInterval(replyTimeoutMs);
    m_replyTimer.setParent(this);
    m_busyTimer.setParent(this);
    m_flowTimer.setParent(this);
    connect(&m_replyTimer, &QTimer::timeout, this, &WinKeyLink::onReplyTimeout);
    connect(&m_busyTimer, &QTimer::timeout, this, &WinKeyLink::onBusyTimeout);
    connect(&m_flowTimer, &QTimer::timeout, this, &WinKeyLink::onFlowTimeout);
}

WinKeyLink::~WinKeyLink()
{
    m_replyTimer.setParent(nullptr);
    m_busyTimer.setParent(nullptr);
    m_flowTimer.setParent(nullptr);
    if (m_state != State::Closed) {
        shutDown(true);
        m_keyPorts.close(PortUser::WinKey);
    }
}

void WinKeyLink::open()
{
    if (m_state == State::Open) {
        emit openFinished(WinKeyAlreadyOpen, m_version);
        return;
    }
    if (isOpening()) {
        return;
    }
    const QString path = m_settings.port >= 1 && m_portPath ? m_portPath(m_settings.port) : QString();
    // The CW key line and the voice keyer's PTT let go of their ports first.
    m_keyPorts.claim(PortUser::WinKey, [this] { shutDown(true); });
    if (!m_device && m_makeDevice) {
        m_device = m_makeDevice();
        if (m_device) {
            connect(m_device.get(), &SerialDevice::readyRead, this, &WinKeyLink::onReadyRead);
            connect(m_device.get(), &SerialDevice::failed, this, &WinKeyLink::onDeviceFailed);
        }
    }
    SerialSettings serial;
    serial.baud = 1200;
    serial.dataBits = 8;
    serial.parity = 'N';
    serial.stopBits = 2;
    serial.handshake = Handshake::None;
    if (path.isEmpty() || !m_device || !m_device->open(path, serial)) {
        qCDebug(velkCw) << "WinKey port" << path
                        << "cannot be opened:" << (m_device ? m_device->errorText() : QString());
        m_keyPorts.close(PortUser::WinKey);
        finishOpen(WinKeyComOpenFailed);
        return;
    }
    // The device is powered from DTR on some interfaces; RTS stays off. A pseudo-terminal has
    // neither line and still carries the bytes.
    qCDebug(velkCw) << "WinKey port" << path << "opened";
    m_device->setDtr(true);
    m_device->setRts(false);
    m_device->clearInput();
    m_status = {};
    m_state = State::AwaitEcho;
    send(winkey::echoTest());
    if (m_state == State::AwaitEcho) {
        m_replyTimer.start();
    }
}

void WinKeyLink::close()
{
    if (m_state == State::Closed) {
        return;
    }
    shutDown(true);
    m_keyPorts.close(PortUser::WinKey);
}

void WinKeyLink::setSettings(const WinKeySettings& settings)
{
    m_settings = settings;
    m_settings.speed = winkey::clampSpeed(settings.speed);
    m_settings.weight = winkey::clampWeight(settings.weight);
    m_settings.ratio = winkey::clampRatio(settings.ratio);
    m_settings.leadIn = winkey::clampLeadTail(settings.leadIn);
    m_settings.tail = winkey::clampLeadTail(settings.tail);
    m_settings.pinConfig = settings.pinConfig & 0xFF;
    m_settings.mode = settings.mode & 0xFF;
    if (m_state == State::Open) {
        sendAllSettings();
    }
}

void WinKeyLink::append(const QString& text)
{
    bool added = false;
    for (const QChar character : text) {
        QByteArray bytes = winkey::encodeCharacter(character);
        if (bytes.isEmpty() && character != u'!') {
            continue;
        }
        m_queue.push_back({character.toUpper(), std::move(bytes)});
        added = true;
    }
    if (!added) {
        return;
    }
    m_sending = true;
    if (m_state == State::Closed) {
        open();
        return;
    }
    feed();
}

bool WinKeyLink::removeLastUnsent()
{
    if (!m_queue.empty()) {
        m_queue.pop_back();
        checkIdle();
        return true;
    }
    if (m_state == State::Open && (m_status.busy || m_awaitingBusy)) {
        send(winkey::backspace());
        return true;
    }
    return false;
}

void WinKeyLink::clear()
{
    const bool deviceHasText = m_status.busy || m_awaitingBusy;
    m_queue.clear();
    if (m_state == State::Open && deviceHasText) {
        send(winkey::clearBuffer());
        m_clearedSinceBusy = true;
    }
    m_awaitingBusy = false;
    m_busyTimer.stop();
    checkIdle();
}

void WinKeyLink::stop()
{
    const bool alreadyCleared = m_state == State::Open && (m_status.busy || m_awaitingBusy);
    clear();
    if (m_state == State::Open && !alreadyCleared) {
        send(winkey::clearBuffer());
    }
}

void WinKeyLink::setSpeed(int wpm)
{
    m_settings.speed = winkey::clampSpeed(wpm);
    if (m_state == State::Open) {
        send(winkey::setSpeed(m_settings.speed));
    }
}

bool WinKeyLink::isSending() const
{
    return !m_queue.empty() || m_awaitingBusy || (m_state == State::Open && m_status.busy);
}

void WinKeyLink::onReadyRead()
{
    const QByteArray bytes = m_device->readAll();
    qCDebug(velkCw) << "WinKey >>" << bytes.toHex(' ');
    for (char raw : bytes) {
        if (m_state == State::Closed) {
            return;
        }
        const winkey::DeviceByte decoded = winkey::decodeByte(static_cast<std::uint8_t>(raw));
        switch (decoded.kind) {
        case winkey::ByteKind::Data:
            handleData(decoded.value);
            break;
        case winkey::ByteKind::Status:
            handleStatus(decoded.value);
            break;
        case winkey::ByteKind::SpeedPot:
            emit speedPotMoved(decoded.value);
            break;
        case winkey::ByteKind::Unknown:
            break;
        }
    }
}

void WinKeyLink::handleData(std::uint8_t byte)
{
    if (m_state == State::AwaitEcho) {
        m_replyTimer.stop();
        if (byte != winkey::echoProbe) {
            finishOpen(WinKeyEchoMismatch);
            return;
        }
        m_state = State::AwaitVersion;
        send(winkey::hostOpen());
        if (m_state == State::AwaitVersion) {
            m_replyTimer.start();
        }
        return;
    }
    if (m_state == State::AwaitVersion && byte != 0) {
        m_replyTimer.stop();
        m_version = byte;
        finishOpen(WinKeySuccess);
        return;
    }
    // Other data bytes are echoed text, which the link does not ask for.
    if (m_state == State::Open && m_unconfirmed && byte == winkey::flowProbe) {
        m_unconfirmed = false;
        m_flowTimer.stop();
        feed();
    }
}

void WinKeyLink::handleStatus(std::uint8_t byte)
{
    const winkey::Status previous = m_status;
    m_status = winkey::decodeStatus(byte);
    if (m_status.busy) {
        m_awaitingBusy = false;
        m_clearedSinceBusy = false;
        m_busyTimer.stop();
    }
    if (!(m_status == previous)) {
        emit statusChanged(m_status);
    }
    if (previous.xoff && !m_status.xoff) {
        feed();
    }
    checkIdle();
}

void WinKeyLink::onReplyTimeout()
{
    if (m_state == State::AwaitEcho) {
        finishOpen(WinKeyNoEcho);
    } else if (m_state == State::AwaitVersion) {
        finishOpen(WinKeyNoOpenResponse);
    }
}

void WinKeyLink::onFlowTimeout()
{
    // A device that does not echo the probe has read the piece at the line rate long since.
    qCDebug(velkCw) << "WinKey did not echo the flow probe; going on";
    m_unconfirmed = false;
    feed();
}

void WinKeyLink::onBusyTimeout()
{
    // The device never said it started: it has nothing of ours, or its report was lost.
    m_awaitingBusy = false;
    checkIdle();
}

void WinKeyLink::onDeviceFailed(const QString& text)
{
    if (m_state == State::Closed) {
        return;
    }
    shutDown(false);
    m_keyPorts.close(PortUser::WinKey);
    emit failed(QStringLiteral("WinKey lost: %1. The link is closed.").arg(text));
}

void WinKeyLink::finishOpen(int result)
{
    if (result == WinKeySuccess) {
        m_state = State::Open;
        sendAllSettings();
        emit openFinished(result, m_version);
        feed();
        return;
    }
    const bool hadText = !m_queue.empty();
    m_sending = false; // the text is dropped below and reported as failed, not as sent
    if (m_state != State::Closed) {
        shutDown(false);
        m_keyPorts.close(PortUser::WinKey);
    }
    m_queue.clear();
    emit openFinished(result, 0);
    if (hadText) {
        emit failed(winKeyOpenResultText(result));
    }
}

void WinKeyLink::sendAllSettings()
{
    send(winkey::setSpeed(m_settings.speed) + winkey::setWeight(m_settings.weight) +
         winkey::setLeadTail(m_settings.leadIn, m_settings.tail) + winkey::setRatio(m_settings.ratio) +
         winkey::setPinConfig(static_cast<std::uint8_t>(m_settings.pinConfig)) +
         winkey::setMode(static_cast<std::uint8_t>(m_settings.mode)));
}

void WinKeyLink::feed()
{
    if (m_feeding || m_state != State::Open) {
        return;
    }
    m_feeding = true;
    // Marks go at once; text a piece at a time, each after the device confirmed the last.
    while (!m_queue.empty() && !m_status.xoff && !m_unconfirmed && m_state == State::Open) {
        QByteArray chunk;
        QString handed;
        while (!m_queue.empty() && chunk.size() + m_queue.front().bytes.size() <= feedChunk) {
            chunk += m_queue.front().bytes;
            handed += m_queue.front().character;
            m_queue.pop_front();
        }
        if (chunk.isEmpty() && handed.isEmpty()) {
            break;
        }
        if (!chunk.isEmpty()) {
            if (!m_status.busy || m_clearedSinceBusy) {
                m_awaitingBusy = true;
                m_busyTimer.start();
            }
            m_unconfirmed = true;
            m_flowTimer.start();
            send(chunk + winkey::echoTest(winkey::flowProbe));
        }
        for (const QChar character : handed) {
            emit characterSent(character);
        }
    }
    m_feeding = false;
    checkIdle();
}

void WinKeyLink::checkIdle()
{
    if (m_sending && !isSending()) {
        m_sending = false;
        emit idle();
    }
}

void WinKeyLink::shutDown(bool sayGoodbye)
{
    if (m_state == State::Closed) {
        return;
    }
    m_replyTimer.stop();
    m_busyTimer.stop();
    m_flowTimer.stop();
    m_unconfirmed = false;
    const bool wasOpen = m_state == State::Open;
    m_state = State::Closed;
    if (sayGoodbye && wasOpen && deviceOpen()) {
        qCDebug(velkCw) << "WinKey <<" << (winkey::clearBuffer() + winkey::hostClose()).toHex(' ');
        m_device->write(winkey::clearBuffer() + winkey::hostClose());
    }
    if (m_device) {
        m_device->close();
        qCDebug(velkCw) << "WinKey port closed";
    }
    m_version = 0;
    m_status = {};
    m_queue.clear();
    m_awaitingBusy = false;
    m_clearedSinceBusy = false;
    const bool wasSending = m_sending;
    m_sending = false;
    emit closed();
    if (wasSending) {
        emit idle();
    }
}

void WinKeyLink::send(const QByteArray& bytes)
{
    if (bytes.isEmpty() || !deviceOpen()) {
        return;
    }
    qCDebug(velkCw) << "WinKey <<" << bytes.toHex(' ');
    if (m_device->write(bytes) != bytes.size()) {
        onDeviceFailed(m_device->errorText().isEmpty() ? QStringLiteral("write failed")
                                                       : m_device->errorText());
    }
}

} // namespace velk
