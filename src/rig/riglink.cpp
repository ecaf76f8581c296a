#include "rig/riglink.h"

#include "common/diagnostics.h"
#include "rig/pegasus.h"
#include "rig/rigctlddevice.h"

#include <QFileInfo>
#include <QTimer>
#include <cmath>

namespace velk {

namespace {

// A reply still arriving when the next query is due gets this long before it is dropped.
constexpr int replyPatienceMs = 1000;
// The CAT-off bytes get this long to leave the line before the port closes regardless (five
// bytes take 12 ms at 4800 baud; a stalled adapter must not hold the program's end).
constexpr int closeDrainLimitMs = 500;
constexpr int closeCheckMs = 2;
// rigctld ends within milliseconds of being asked; one that does not is killed with the program.
constexpr int daemonEndLimitMs = 2000;

QByteArray traceHex(const QByteArray& bytes)
{
    return bytes.toHex(' ').toUpper();
}

} // namespace

RigLink::RigLink(Platform& platform, QObject* parent)
    : QObject(parent), m_platform(platform), m_pollTimer(new QTimer(this)), m_stepTimer(new QTimer(this)),
      m_closeTimer(new QTimer(this))
{
    m_pollTimer->setObjectName(QStringLiteral("rigPollTimer"));
    m_stepTimer->setObjectName(QStringLiteral("rigStepTimer"));
    m_closeTimer->setObjectName(QStringLiteral("rigCloseTimer"));
    m_stepTimer->setSingleShot(true);
    m_closeTimer->setSingleShot(true);
    m_pollTimer->setTimerType(Qt::PreciseTimer);
    m_stepTimer->setTimerType(Qt::PreciseTimer);
    m_closeTimer->setTimerType(Qt::PreciseTimer);
    connect(m_pollTimer, &QTimer::timeout, this, &RigLink::pollTick);
    connect(m_stepTimer, &QTimer::timeout, this, &RigLink::runSteps);
    connect(m_closeTimer, &QTimer::timeout, this, &RigLink::finishClosing);
}

RigLink::~RigLink()
{
    if (m_closing) {
        qCWarning(velkRig) << "link destroyed before the CAT-off bytes had left the line";
    }
    closePort();
}

bool RigLink::yaesuCatSwitch() const
{
    return m_platform.settings.value(QStringLiteral("YaesuCatOnOff")).value_or(QString()) ==
           QLatin1String("1");
}

void RigLink::setYaesuCatSwitch(bool on)
{
    m_platform.settings.setValue(QStringLiteral("YaesuCatOnOff"),
                                 on ? QStringLiteral("1") : QStringLiteral("0"));
}

qint64 RigLink::writeToRadio(const QByteArray& bytes)
{
    qCDebug(velkRig).noquote() << "->" << traceHex(bytes);
    return m_device->write(bytes);
}

void RigLink::closePort()
{
    m_closeTimer->stop();
    m_closing = false;
    if (m_device && m_device->isOpen()) {
        m_device->close();
        qCDebug(velkRig) << "port closed";
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

QString RigLink::hamlibSettingsPath() const
{
    return m_folder + QStringLiteral("/RigHamlib.txt");
}

QString RigLink::pegasusFolder() const
{
    const auto stored = m_platform.settings.value(QStringLiteral("PegasusFolder"));
    if (stored && !stored->isEmpty()) {
        return *stored;
    }
    return m_folder + QStringLiteral("/Pegasus");
}

QString RigLink::loadSettings()
{
    const SettingsLoad load = loadRigSettings(settingsPath(), m_settings);
    QString problem = settingsLoadMessage(QStringLiteral("RigCntrl.txt"), load);
    // Only a Hamlib radio needs its file; without one the defaults serve the first setup.
    const SettingsLoad hamlib = loadHamlibSettings(hamlibSettingsPath(), m_hamlib);
    if (problem.isEmpty() && type().family == RadioFamily::Hamlib &&
        hamlib.state != SettingsFileState::Missing) {
        problem = settingsLoadMessage(QStringLiteral("RigHamlib.txt"), hamlib);
    }
    if (const auto plan = loadBandPlan(m_folder + QStringLiteral("/BandPlan.txt"))) {
        m_extraRows = velk::extraRows(*plan);
    } else {
        m_extraRows.clear();
    }
    m_activeVfo = 10;
    if (!problem.isEmpty()) {
        qCWarning(velkRig) << problem;
    }
    return problem;
}

bool RigLink::saveSettings(QString* error)
{
    if (!saveRigSettings(settingsPath(), m_settings, error)) {
        return false;
    }
    // The file appears once a Hamlib radio has been set up.
    if (type().family == RadioFamily::Hamlib || QFileInfo::exists(hamlibSettingsPath())) {
        return saveHamlibSettings(hamlibSettingsPath(), m_hamlib, error);
    }
    return true;
}

bool RigLink::start()
{
    const RadioType& radio = type();
    m_mode.clear();
    m_frequency = 0.0f;
    if (radio.family == RadioFamily::None) {
        return false;
    }
    stop();
    m_lostReported = false;
    m_faultReadings = 0;
    if (radio.family != RadioFamily::Pegasus && !openDevice(radio)) {
        return false;
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

// Opens the serial port, or the connection to rigctld, for the radio; false when it did not open.
bool RigLink::openDevice(const RadioType& radio)
{
    const bool rigctld = radio.family == RadioFamily::Hamlib;
    if (m_device && m_deviceIsRigctld != rigctld) {
        m_device.reset();
    }
    if (!m_device) {
        if (rigctld) {
            auto device = std::make_unique<RigctldDevice>(m_platform.devices, m_platform.clock);
            connect(device.get(), &RigctldDevice::commandRefused, this, &RigLink::onCommandRefused);
            m_device = std::move(device);
        } else {
            m_device = m_platform.devices.createSerialDevice();
        }
        m_deviceIsRigctld = rigctld;
        connect(m_device.get(), &SerialDevice::readyRead, this, &RigLink::onReadyRead);
        connect(m_device.get(), &SerialDevice::failed, this, &RigLink::onDeviceFailed);
    }
    QString path;
    SerialSettings serial = serialSettings(m_settings);
    if (rigctld) {
        auto* daemon = static_cast<RigctldDevice*>(m_device.get());
        const RigctldTarget target = rigctldTarget(m_hamlib, m_platform.environment);
        daemon->configure(m_hamlib, target);
        daemon->setProgram(m_rigctldProgram);
        if (m_rigctldAnswerLimitMs > 0) {
            daemon->setAnswerLimitMs(m_rigctldAnswerLimitMs);
        }
        path = target.text();
    } else {
        if (radio.family == RadioFamily::TenTecPanel || radio.family == RadioFamily::TenTecOrion) {
            serial.handshake = Handshake::RtsCts;
        }
        path = serialDevicePath(m_settings.commPort, m_platform.environment, m_platform.settings);
    }
    if (!m_device->open(path, serial)) {
        qCWarning(velkRig).noquote() << "cannot open" << path << "for" << radio.name << ":"
                                     << m_device->errorText();
        emit openFailed(m_device->errorText());
        return false;
    }
    if (!m_device->isOpen()) {
        return false; // failed at once, and said so
    }
    qCDebug(velkRig).noquote() << "opened" << path << "for" << radio.name << portSettingsText(m_settings);
    // A pseudo-terminal or a USB adapter without modem lines refuses these; it still works.
    m_device->setDtr(false);
    m_device->setRts(false);
    if (m_settings.connectionPower == 'R') {
        m_device->setRts(true);
    } else if (m_settings.connectionPower == 'D') {
        m_device->setDtr(true);
    }
    const QByteArray opening = openingBytes(radio, yaesuCatSwitch());
    if (!opening.isEmpty()) {
        writeToRadio(opening);
    }
    return true;
}

// rigctld refused a frequency or mode: said like a failed change, and polling goes on.
void RigLink::onCommandRefused(const QByteArray& command, const QString& text)
{
    const bool frequency = command == "set_freq";
    if (frequency) {
        m_commandedHz.reset();
    }
    emit changeFailed(frequency ? QStringLiteral("Error Changing Frequency")
                                : QStringLiteral("Error Changing Mode"),
                      QStringLiteral("rigctld: ") + text);
}

void RigLink::stop()
{
    const bool wasClosing = m_closing;
    haltPoll();
    closePort();
    if (wasClosing) {
        emit shutDownFinished();
    }
}

void RigLink::haltPoll()
{
    m_pollTimer->stop();
    m_stepTimer->stop();
    m_steps.clear();
    m_awaiting = false;
    m_pollOverdue = false;
    m_buffer.clear();
    m_commandedHz.reset();
    if (m_polling) {
        m_polling = false;
        emit pollingChanged(false);
    }
}

void RigLink::shutDown()
{
    if (m_closing) {
        return;
    }
    const QByteArray closing = closingBytes(type(), yaesuCatSwitch());
    const bool sendClosing = m_polling && !closing.isEmpty() && m_device && m_device->isOpen();
    haltPoll();
    if (!sendClosing) {
        closePort();
        // A rigctld the logger started has ended before the program does.
        if (m_device && m_deviceIsRigctld && m_device->unsentBytes() > 0) {
            m_closing = true;
            m_closeDeadline = m_platform.clock.tickMs() + daemonEndLimitMs;
            m_closeTimer->start(closeCheckMs);
            return;
        }
        emit shutDownFinished();
        return;
    }
    // The port stays open until the radio has been told.
    m_closing = true;
    m_closeDeadline = m_platform.clock.tickMs() + closeDrainLimitMs;
    writeToRadio(closing);
    finishClosing();
}

// Closes the port once the device reports the CAT-off bytes on the line, or the limit passed.
void RigLink::finishClosing()
{
    if (!m_closing) {
        return;
    }
    const qint64 unsent = m_device && (m_device->isOpen() || m_deviceIsRigctld) ? m_device->unsentBytes() : 0;
    if (unsent > 0 && m_platform.clock.tickMs() < m_closeDeadline) {
        m_closeTimer->start(closeCheckMs);
        return;
    }
    if (unsent > 0) {
        qCWarning(velkRig) << "closing with" << unsent << "CAT-off bytes unsent or rigctld still ending";
    }
    closePort();
    emit shutDownFinished();
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
    // rigctld answers every command, after its own radio timeouts and retries: an answer it
    // still owes is waited for (the channel says when it hangs), and the poll never piles up.
    if (m_awaiting && m_shape.kind == ReplyShape::Kind::Reports && m_device->bytesToWrite() > 0) {
        m_pollOverdue = true;
        return;
    }
    m_pollOverdue = false;
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
    writeToRadio(query.bytes);
}

void RigLink::onReadyRead()
{
    if (!m_device || !m_device->isOpen()) {
        return;
    }
    const QByteArray bytes = m_device->readAll();
    if (!bytes.isEmpty()) {
        qCDebug(velkRig).noquote() << "<-" << traceHex(bytes);
    }
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
    // An answer that came after its poll was due: the next query goes now, not a period later.
    if (m_pollOverdue && m_polling && m_device && m_device->bytesToWrite() == 0) {
        pollTick();
    }
}

void RigLink::handleReading(const RigReading& reading, const QByteArray& raw)
{
    // One failed answer may be a glitch; the radio is lost when they keep coming.
    if (reading.fault) {
        if (++m_faultReadings >= settleReadings) {
            onDeviceFailed(QStringLiteral("rigctld cannot reach the radio: ") + *reading.fault);
        }
        return;
    }
    m_faultReadings = 0;
    if (reading.activeVfo) {
        m_activeVfo = *reading.activeVfo;
    }
    std::optional<float> mhz;
    if (reading.mhz) {
        mhz = static_cast<float>(*reading.mhz);
    }
    QString mode = reading.mode.value_or(m_mode);
    const float dial = mhz.value_or(m_frequency);
    if (m_settings.modeSource == ModeSource::Frequency && dial > 0.0f) {
        if (const auto planned = modeFromFrequency(dial)) {
            mode = *planned;
        }
    }
    emit replyDecoded(dial, mode, raw);
    if (!holdUnsettled(reading)) {
        publish(mhz, mode);
    }
}

// After a frequency command a reading may still show the dial from before it: such a reading
// (and a mode reply beside it) is held until one shows the new dial or settleReadings have not.
bool RigLink::holdUnsettled(const RigReading& reading)
{
    if (!m_commandedHz) {
        return false;
    }
    if (!reading.mhz) {
        return true;
    }
    const long long readHz = std::llround(*reading.mhz * 1000000.0);
    if (std::llabs(readHz - *m_commandedHz) <= readingResolutionHz) {
        m_commandedHz.reset();
        return false;
    }
    if (++m_unsettledReadings < settleReadings) {
        qCDebug(velkRig) << "held a reading of" << readHz << "Hz while the radio takes" << *m_commandedHz;
        return true;
    }
    qCDebug(velkRig) << "the radio stays at" << readHz << "Hz, not the commanded" << *m_commandedHz;
    m_commandedHz.reset();
    return false;
}

void RigLink::publish(std::optional<float> mhz, const QString& mode)
{
    if (mhz) {
        const bool moved = *mhz != m_frequency;
        m_frequency = *mhz;
        if (m_settings.useFrequency && m_frequency > 0.0f) {
            if (moved) {
                emit frequencyChanged(m_frequency);
            }
            emit frequencyRead(m_frequency);
        }
    }
    if (mode != m_mode) {
        m_mode = mode;
        if (m_settings.modeSource != ModeSource::DontUse && !m_mode.isEmpty()) {
            emit modeChanged(m_mode);
        }
    }
}

void RigLink::onDeviceFailed(const QString& text)
{
    const bool report = !m_lostReported;
    m_lostReported = true;
    qCWarning(velkRig).noquote() << "device lost:" << text;
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
    return writeToRadio(bytes) == bytes.size();
}

} // namespace velk
