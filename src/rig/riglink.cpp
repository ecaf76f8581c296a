#include "rig/riglink.h"

#include "rig/pegasus.h"

#include <QTimer>

namespace velk {

namespace {

constexpr int drainCheckMs = 5;
constexpr int drainLimitMs = 2000;
constexpr int modePauseMs = 99;
// A reply still arriving when the next query is due gets this long before it is dropped.
constexpr int replyPatienceMs = 1000;

} // namespace

RigLink::RigLink(Platform& platform, QObject* parent)
    : QObject(parent), m_platform(platform), m_pollTimer(new QTimer(this)), m_stepTimer(new QTimer(this))
{
    m_pollTimer->setObjectName(QStringLiteral("rigPollTimer"));
    m_stepTimer->setObjectName(QStringLiteral("rigStepTimer"));
    m_stepTimer->setSingleShot(true);
    m_pollTimer->setTimerType(Qt::PreciseTimer);
    m_stepTimer->setTimerType(Qt::PreciseTimer);
    connect(m_pollTimer, &QTimer::timeout, this, &RigLink::pollTick);
    connect(m_stepTimer, &QTimer::timeout, this, &RigLink::runSteps);
}

RigLink::~RigLink()
{
    if (m_device) {
        m_device->close();
    }
}

void RigLink::setWorkingFolder(const QString& folder)
{
    m_folder = folder;
}

QString RigLink::settingsPath() const
{
    return m_folder + QStringLiteral("/RigCntrl.txt");
}

QString RigLink::pegasusFolder() const
{
    const auto stored = m_platform.settings.value(QStringLiteral("PegasusFolder"));
    if (stored && !stored->isEmpty()) {
        return *stored;
    }
    return m_folder + QStringLiteral("/Pegasus");
}

void RigLink::loadSettings()
{
    loadRigSettings(settingsPath(), m_settings);
    if (const auto plan = loadBandPlan(m_folder + QStringLiteral("/BandPlan.txt"))) {
        m_extraRows = velk::extraRows(*plan);
    } else {
        m_extraRows.clear();
    }
    m_activeVfo = 10;
}

bool RigLink::saveSettings(QString* error)
{
    return saveRigSettings(settingsPath(), m_settings, error);
}

bool RigLink::start()
{
    const RadioType& radio = type();
    m_mode.clear();
    if (radio.family == RadioFamily::None) {
        return false;
    }
    stop();
    m_lostReported = false;
    if (radio.family != RadioFamily::Pegasus) {
        if (!m_device) {
            m_device = m_platform.devices.createSerialDevice();
            connect(m_device.get(), &SerialDevice::readyRead, this, &RigLink::onReadyRead);
            connect(m_device.get(), &SerialDevice::failed, this, &RigLink::onDeviceFailed);
        }
        SerialSettings serial = serialSettings(m_settings);
        if (radio.family == RadioFamily::TenTecPanel || radio.family == RadioFamily::TenTecOrion) {
            serial.handshake = Handshake::RtsCts;
        }
        const QString path =
            serialDevicePath(m_settings.commPort, m_platform.environment, m_platform.settings);
        if (!m_device->open(path, serial)) {
            emit openFailed(m_device->errorText());
            return false;
        }
        // A pseudo-terminal or a USB adapter without modem lines refuses these; it still works.
        m_device->setDtr(false);
        m_device->setRts(false);
        if (m_settings.connectionPower == 'R') {
            m_device->setRts(true);
        } else if (m_settings.connectionPower == 'D') {
            m_device->setDtr(true);
        }
        const QByteArray opening = openingBytes(radio);
        if (!opening.isEmpty()) {
            m_device->write(opening);
        }
    }
    m_polling = true;
    m_awaiting = false;
    m_queryToggle = false;
    m_buffer.clear();
    emit pollingChanged(true);
    pollTick();
    m_pollTimer->start(pollPeriod());
    return true;
}

void RigLink::stop()
{
    m_pollTimer->stop();
    m_stepTimer->stop();
    m_steps.clear();
    m_awaiting = false;
    m_buffer.clear();
    if (m_device && m_device->isOpen()) {
        m_device->close();
    }
    if (m_polling) {
        m_polling = false;
        emit pollingChanged(false);
    }
}

void RigLink::shutDown()
{
    const QByteArray closing = closingBytes(type());
    if (m_polling && !closing.isEmpty() && m_device && m_device->isOpen()) {
        m_device->write(closing);
    }
    stop();
}

void RigLink::pollTick()
{
    if (!m_polling || isChanging()) {
        return;
    }
    const RadioType& radio = type();
    if (radio.family == RadioFamily::Pegasus) {
        const RigReading reading = readPegasusReply(pegasusFolder());
        if (reading.mhz || reading.mode) {
            handleReading(reading, {});
        }
        return;
    }
    if (!m_device || !m_device->isOpen()) {
        return;
    }
    // A reply still coming in gets its time; a partial one is never decoded.
    if (m_awaiting && !m_buffer.isEmpty() && m_shape.kind != ReplyShape::Kind::AnyBytes &&
        (m_ticksWaited + 1) * pollPeriod() <= replyPatienceMs) {
        ++m_ticksWaited;
        return;
    }
    m_ticksWaited = 0;
    m_buffer.clear();
    m_awaiting = false;
    m_showRaw = false;
    m_device->clearInput();
    // Clearing a device that has gone away reports it and closes the port.
    if (!m_device || !m_device->isOpen() || m_device->bytesToWrite() > 0) {
        return;
    }
    const PollQuery query = pollQuery(radio, m_settings, m_queryToggle);
    m_queryToggle = query.queryToggle;
    if (query.bytes.isEmpty()) {
        return;
    }
    m_shape = query.reply;
    m_awaiting = m_shape.kind != ReplyShape::Kind::Nothing;
    m_device->write(query.bytes);
}

void RigLink::onReadyRead()
{
    if (!m_device || !m_device->isOpen()) {
        return;
    }
    const QByteArray bytes = m_device->readAll();
    if (!m_awaiting) {
        if (m_showRaw && !bytes.isEmpty()) {
            emit replyDecoded(m_frequency, m_mode, bytes.left(maxReplyBytes));
        }
        return;
    }
    m_buffer += bytes;
    if (m_buffer.size() > maxReplyBytes) {
        // A flood is no reply; wait for the next query.
        m_buffer.clear();
        m_awaiting = false;
        return;
    }
    if (m_shape.kind == ReplyShape::Kind::AnyBytes) {
        emit replyDecoded(m_frequency, m_mode, m_buffer);
        return;
    }
    if (!replyComplete(m_shape, m_buffer)) {
        return;
    }
    m_awaiting = false;
    const QByteArray reply = m_buffer;
    m_buffer.clear();
    handleReading(decodeReply(type(), m_settings, m_shape, reply), reply);
}

void RigLink::handleReading(const RigReading& reading, const QByteArray& raw)
{
    if (reading.mhz) {
        m_frequency = static_cast<float>(*reading.mhz);
    }
    if (reading.mode) {
        m_mode = *reading.mode;
    }
    if (reading.activeVfo) {
        m_activeVfo = *reading.activeVfo;
    }
    if (m_settings.modeSource == ModeSource::Frequency && m_frequency > 0.0f) {
        if (const auto planned = modeFromFrequency(m_frequency)) {
            m_mode = *planned;
        }
    }
    emit replyDecoded(m_frequency, m_mode, raw);
    if (m_settings.useFrequency && m_frequency > 0.0f) {
        emit frequencyChanged(m_frequency);
        emit frequencyRead(m_frequency);
    }
    if (m_settings.modeSource != ModeSource::DontUse && !m_mode.isEmpty()) {
        emit modeChanged(m_mode);
    }
}

void RigLink::onDeviceFailed(const QString& text)
{
    const bool report = !m_lostReported;
    m_lostReported = true;
    stop();
    if (report) {
        emit deviceLost(text);
    }
}

bool RigLink::sendRaw(const QByteArray& bytes)
{
    if (!m_device || !m_device->isOpen() || bytes.isEmpty()) {
        return false;
    }
    m_showRaw = true;
    return m_device->write(bytes) == bytes.size();
}

void RigLink::beginChange()
{
    m_pollTimer->stop();
    if (m_device && m_device->isOpen()) {
        m_device->clearInput();
    }
    m_buffer.clear();
    m_awaiting = false;
}

void RigLink::queueModeSteps(double mhz, QString mode)
{
    if (mode.isEmpty()) {
        mode = planModeForFrequency(m_extraRows, static_cast<float>(mhz));
    }
    if (mode.isEmpty()) {
        return;
    }
    const QByteArray command = modeCommand(type(), m_settings, mode);
    if (command.isEmpty()) {
        return;
    }
    const QString title = QStringLiteral("Error Changing Mode");
    m_steps.push_back({Step::Kind::Drain, 0, {}, 0.0, title});
    m_steps.push_back({Step::Kind::Wait, modePauseMs, {}, 0.0, title});
    m_steps.push_back({Step::Kind::Write, 0, command, 0.0, title + QLatin1Char('\n') + mode});
    m_steps.push_back({Step::Kind::Drain, 0, {}, 0.0, title});
}

void RigLink::changeFrequency(double mhz)
{
    // Not polling, or a change under way: a second request returns at once.
    if (!m_polling || isChanging()) {
        return;
    }
    const RadioType& radio = type();
    if (radio.family == RadioFamily::Other || radio.family == RadioFamily::None) {
        return;
    }
    beginChange();
    queueModeSteps(mhz, {});
    const QString title = QStringLiteral("Error Changing Frequency");
    m_steps.push_back({Step::Kind::Drain, 0, {}, 0.0, title});
    m_steps.push_back({Step::Kind::Wait, radio.firstPauseMs, {}, 0.0, title});
    if (radio.secondPauseMs > 0) {
        m_steps.push_back({Step::Kind::Wait, radio.secondPauseMs, {}, 0.0, title});
    }
    if (radio.family == RadioFamily::Pegasus) {
        m_steps.push_back({Step::Kind::WritePegasus, 0, {}, mhz, title});
    } else {
        m_steps.push_back(
            {Step::Kind::Write, 0, frequencyCommand(radio, m_settings, mhz, m_activeVfo), mhz, title});
    }
    m_steps.push_back({Step::Kind::Drain, 0, {}, 0.0, title});
    m_steps.push_back({Step::Kind::Resume, 0, {}, 0.0, title});
    m_drainTicks = 0;
    runSteps();
}

void RigLink::changeMode(double mhz, const QString& mode)
{
    if (!m_polling || isChanging() || type().family == RadioFamily::None) {
        return;
    }
    beginChange();
    queueModeSteps(mhz, mode);
    m_steps.push_back({Step::Kind::Resume, 0, {}, 0.0, {}});
    m_drainTicks = 0;
    runSteps();
}

void RigLink::runSteps()
{
    while (!m_steps.empty()) {
        Step& step = m_steps.front();
        switch (step.kind) {
        case Step::Kind::Wait: {
            const int ms = step.ms;
            m_steps.pop_front();
            if (ms > 0) {
                m_stepTimer->start(ms);
                return;
            }
            break;
        }
        case Step::Kind::Drain:
            if (m_device && m_device->isOpen() && m_device->bytesToWrite() > 0 &&
                m_drainTicks * drainCheckMs < drainLimitMs) {
                ++m_drainTicks;
                m_stepTimer->start(drainCheckMs);
                return;
            }
            m_drainTicks = 0;
            m_steps.pop_front();
            break;
        case Step::Kind::Write: {
            const bool portOpen = m_device && m_device->isOpen();
            const QByteArray bytes = step.bytes;
            if (!portOpen || (!bytes.isEmpty() && m_device->write(bytes) != bytes.size())) {
                const QStringList parts = step.failTitle.split(QLatin1Char('\n'));
                const QString reason = portOpen ? m_device->errorText() : QStringLiteral("Port is not open");
                const QString text = parts.size() > 1 ? reason + QLatin1Char(' ') + parts.at(1) : reason;
                // The poll stays stopped until the operator starts it again.
                m_steps.clear();
                m_pollTimer->stop();
                m_polling = false;
                emit pollingChanged(false);
                emit changeFailed(parts.front(), text);
                return;
            }
            m_steps.pop_front();
            break;
        }
        case Step::Kind::WritePegasus: {
            QString error;
            if (!writePegasusCommand(pegasusFolder(), step.mhz, m_mode, &error)) {
                const QString title = step.failTitle;
                m_steps.clear();
                m_polling = false;
                emit pollingChanged(false);
                emit changeFailed(title, error);
                return;
            }
            m_steps.pop_front();
            break;
        }
        case Step::Kind::Resume:
            m_steps.pop_front();
            if (m_polling) {
                m_pollTimer->start(pollPeriod());
            }
            break;
        }
    }
}

} // namespace velk
