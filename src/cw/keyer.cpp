#include "cw/keyer.h"

#include "common/diagnostics.h"
#include "common/quotedlist.h"
#include "cw/linemorsesender.h"
#include "cw/morse.h"

#include <QDir>
#include <cmath>

namespace velk {

namespace {

const QString timingKey = QStringLiteral("UserCWSelection");
const QString loopOffsetKey = QStringLiteral("UserCWLoopOffset");

QString keyerTypeName(KeyerType type)
{
    switch (type) {
    case KeyerType::Rts:
        return QStringLiteral("RTS");
    case KeyerType::Dtr:
        return QStringLiteral("DTR");
    case KeyerType::Parallel:
        return QStringLiteral("parallel");
    default:
        return QStringLiteral("none");
    }
}

int numberOr(const QString& text, int fallback)
{
    const std::optional<double> value = parseSettingsNumber(text.trimmed());
    return value && std::isfinite(*value) && std::abs(*value) < 1e6 ? static_cast<int>(std::nearbyint(*value))
                                                                    : fallback;
}

} // namespace

Keyer::Keyer(Platform& platform, QObject* parent) : QObject(parent), m_platform(platform)
{
    m_repeatTimer.setSingleShot(true);
    m_repeatTimer.setInterval(0);
    connect(&m_repeatTimer, &QTimer::timeout, this, [this] { sendFunctionKey(1); });
    rebuildLineSender(m_monotonic);
}

Keyer::~Keyer()
{
    m_lineSender->stop();
    m_platform.devices.keyPorts().close(PortUser::CwKeyer);
}

void Keyer::rebuildLineSender(KeyTiming& timing)
{
    if (m_lineSender) {
        m_lineSender->stop();
    }
    m_lineSender = std::make_unique<LineMorseSender>(timing, &m_platform.devices.realtimePriority());
    connect(m_lineSender.get(), &LineMorseSender::priorityChanged, this, &Keyer::keyingPriorityChanged);
    m_lineSender->setSpeed(speed());
    m_lineSender->setWordSpace(wordSpace());
    m_lineSender->setLine(m_line);
    m_sender = nullptr;
    connectSender();
}

void Keyer::useTiming(KeyTiming& timing)
{
    rebuildLineSender(timing);
}

void Keyer::connectSender()
{
    MorseSender* wanted =
        m_settings.keyerType == KeyerType::WinKey && m_winKeySender ? m_winKeySender : m_lineSender.get();
    if (wanted == m_sender) {
        return;
    }
    if (m_sender) {
        m_sender->clear();
        disconnect(m_sender, nullptr, this, nullptr);
    }
    m_sender = wanted;
    m_sender->setSpeed(speed());
    connect(m_sender, &MorseSender::characterSent, this, &Keyer::onCharacterSent);
    connect(m_sender, &MorseSender::idle, this, &Keyer::onIdle);
    connect(m_sender, &MorseSender::failed, this, &Keyer::onFailed);
}

void Keyer::setWinKeySender(MorseSender* sender)
{
    if (m_sender == m_winKeySender && m_winKeySender) {
        m_sender = nullptr; // reconnect whichever is wanted now
        disconnect(m_winKeySender, nullptr, this, nullptr);
    }
    m_winKeySender = sender;
    connectSender();
}

// ---------------------------------------------------------------------------------------------
// Settings

void Keyer::loadSettings(const QString& workingFolder)
{
    m_workingFolder = workingFolder;
    m_settings = loadCwSettings(settingsFile());
    m_timingMethod = m_platform.settings.value(timingKey).value_or(QStringLiteral("Timer"));
    if (m_timingMethod != QLatin1String("Loop") && m_timingMethod != QLatin1String("Sleep")) {
        m_timingMethod = QStringLiteral("Timer");
    }
    m_loopOffset = std::max(0, numberOr(m_platform.settings.value(loopOffsetKey).value_or(QString()), 0));
    setRepeatSeconds(m_settings.repeatSeconds);
    m_lineSender->setWordSpace(wordSpace());
    connectSender();
    m_sender->setSpeed(speed());
    emit keyerTypeChanged(m_settings.keyerType);
    emit speedChanged(speed());
}

QString Keyer::settingsFile() const
{
    return QDir(m_workingFolder.isEmpty() ? QDir::currentPath() : m_workingFolder)
        .filePath(QStringLiteral("cw.txt"));
}

bool Keyer::saveSettings()
{
    m_platform.settings.setValue(timingKey, m_timingMethod);
    m_platform.settings.setValue(loopOffsetKey, formatSettingsNumber(m_loopOffset));
    QString error;
    if (!saveCwSettings(settingsFile(), m_settings, error)) {
        m_platform.prompter.message(QStringLiteral("The CW settings could not be saved to ") +
                                        QDir::toNativeSeparators(settingsFile()) + QStringLiteral(": ") +
                                        error,
                                    QStringLiteral("Error!"), MessageIcon::Critical);
        return false;
    }
    return true;
}

void Keyer::setMessage(int index, const QString& text)
{
    if (index >= 0 && index < cwMessageCount) {
        m_settings.messages[static_cast<size_t>(index)] = text;
    }
}

void Keyer::setComPort(const QString& text)
{
    m_settings.comPort = text;
    m_portMissingReported = false;
}

void Keyer::setParallelAddress(const QString& text)
{
    m_settings.parallelAddress = text;
}

void Keyer::setShowText(bool on)
{
    m_settings.showText = on;
}

void Keyer::setKeyerType(KeyerType type)
{
    if (type == m_settings.keyerType) {
        return;
    }
    m_settings.keyerType = type;
    m_portMissingReported = false;
    connectSender();
    emit keyerTypeChanged(type);
}

int Keyer::speed() const
{
    return boundedWpm(numberOr(m_settings.speed, 13));
}

void Keyer::setSpeed(int wpm)
{
    const int bounded = boundedWpm(wpm);
    m_settings.speed = QString::number(bounded);
    m_sender->setSpeed(bounded);
    if (m_sender != m_lineSender.get()) {
        m_lineSender->setSpeed(bounded);
    }
    emit speedChanged(bounded);
}

int Keyer::wordSpace() const
{
    return std::max(numberOr(m_settings.wordSpace, 0), minimumWordSpace);
}

void Keyer::setWordSpace(int units)
{
    const int bounded = std::max(units, minimumWordSpace);
    m_settings.wordSpace = QString::number(bounded);
    m_lineSender->setWordSpace(bounded);
}

void Keyer::setTimingMethod(const QString& method)
{
    m_timingMethod = method;
    if (method == QLatin1String("Loop") && m_loopOffset == 0) {
        // Kept for the settings: the keying itself runs at absolute deadlines whatever is chosen.
        constexpr std::int64_t passes = 5'000'000;
        const std::int64_t start = m_monotonic.nowNs();
        volatile std::int64_t counter = 0;
        while (counter < passes) {
            counter = counter + 1;
        }
        m_loopOffset = loopOffsetFrom(passes, m_monotonic.nowNs() - start);
    }
}

bool Keyer::setRepeatSeconds(const QString& text)
{
    const std::optional<double> seconds = parseSettingsNumber(text.trimmed());
    if (!seconds || !(*seconds >= 0 && *seconds < 60)) {
        m_settings.repeatSeconds = QStringLiteral("0");
        m_repeatTimer.setInterval(0);
        return false;
    }
    m_settings.repeatSeconds = text.trimmed();
    m_repeatTimer.setInterval(static_cast<int>(std::nearbyint(*seconds * 1000)));
    return true;
}

// ---------------------------------------------------------------------------------------------
// Sending

bool Keyer::setUpPort()
{
    KeyPorts& ports = m_platform.devices.keyPorts();
    m_lineSender->setLine(nullptr);
    m_line = nullptr;
    ports.close(PortUser::CwKeyer);
    qCDebug(velkCw) << "key line closed";
    KeyLineTarget target;
    switch (m_settings.keyerType) {
    case KeyerType::Rts:
        target.kind = KeyLineKind::Rts;
        break;
    case KeyerType::Dtr:
        target.kind = KeyLineKind::Dtr;
        break;
    case KeyerType::Parallel:
        target.kind = KeyLineKind::Parallel;
        target.parallelAddress = m_settings.parallelAddress;
        break;
    default:
        return false;
    }
    target.comPort = numberOr(m_settings.comPort, 0);
    if (target.kind != KeyLineKind::Parallel && target.comPort <= 0) {
        return false;
    }
    QString error;
    m_line = ports.open(PortUser::CwKeyer, target, error);
    qCDebug(velkCw).noquote() << "key line" << keyerTypeName(m_settings.keyerType) << "port"
                              << (target.kind == KeyLineKind::Parallel ? target.parallelAddress
                                                                       : QString::number(target.comPort))
                              << (m_line ? "opened" : "not opened: " + error);
    if (!m_line) {
        m_platform.prompter.bell();
        m_platform.prompter.message(
            QStringLiteral("The port you have selected for CW keying is invalid.  Please "
                           "select another or enter 0 for none."),
            QStringLiteral("Invalid port."), MessageIcon::Warning);
        emit setupWindowRequested();
        return false;
    }
    m_lineSender->setLine(m_line);
    return true;
}

bool Keyer::ensureLine()
{
    switch (m_settings.keyerType) {
    case KeyerType::None:
        return false;
    case KeyerType::WinKey:
        return m_winKeySender != nullptr;
    case KeyerType::Rts:
    case KeyerType::Dtr:
        if (numberOr(m_settings.comPort, 0) <= 0) {
            // Said once until the port or the line changes, not on every key of keyboard sending.
            if (!m_portMissingReported) {
                m_portMissingReported = true;
                m_platform.prompter.message(QStringLiteral("Please enter a com port for CW rig interface."),
                                            QStringLiteral("A com port is required."), MessageIcon::Warning);
            }
            return false;
        }
        break;
    case KeyerType::Parallel:
        break;
    }
    if (m_line && m_line->isOpen()) {
        return true;
    }
    return setUpPort();
}

void Keyer::send(const QString& text)
{
    if (text.isEmpty() || !ensureLine()) {
        return;
    }
    m_unsent += text;
    m_sender->append(text);
    showUnsent();
}

void Keyer::sendFunctionKey(int number)
{
    escape();
    // F12 is keyboard sending, not a message.
    if (m_settings.keyerType == KeyerType::None || number < 1 || number > 11) {
        return;
    }
    // The F10 message sits after F11's in the settings.
    const int index = number == 10 ? 9 : number == 11 ? 10 : number - 1;
    if (number == 1 && m_repeatTimer.interval() > 0) {
        m_repeat = true;
    }
    const QString& message = m_settings.messages[static_cast<size_t>(index)];
    if (!message.isEmpty()) {
        send(expandMessage(message, m_callSource ? m_callSource() : QString()));
    }
}

void Keyer::escape()
{
    m_sender->clear();
    if (!m_unsent.isEmpty()) {
        m_unsent.clear();
        showUnsent();
    }
}

bool Keyer::backspace()
{
    if (!m_sender->removeLastUnsent()) {
        return false;
    }
    m_unsent.chop(1);
    showUnsent();
    return true;
}

ThreadPriority Keyer::keyingPriority() const
{
    return m_lineSender->priority();
}

bool Keyer::isSending() const
{
    return m_sender->isSending();
}

bool Keyer::stopRepeat()
{
    if (!m_repeat) {
        return false;
    }
    escape();
    m_repeat = false;
    m_repeatTimer.stop();
    return true;
}

void Keyer::setKeyboardMode(bool on)
{
    m_keyboardMode = on;
    emit keyboardModeChanged(on);
}

void Keyer::onCharacterSent(QChar character)
{
    if (!m_unsent.isEmpty()) {
        m_unsent.remove(0, 1);
    }
    emit characterSent(character);
    showUnsent();
    if (character == QLatin1Char('!')) {
        emit contactMarkReached();
    }
}

void Keyer::onIdle()
{
    m_unsent.clear();
    if (m_repeat) {
        m_repeatTimer.start();
    }
    emit sendingFinished();
}

void Keyer::onFailed(const QString& text)
{
    m_unsent.clear();
    m_repeat = false;
    m_repeatTimer.stop();
    // The WinKey link's own windows say why it failed (the setup window an open that found no
    // device, the status line a device that went away): one report, not a second box here.
    if (m_sender == m_lineSender.get()) {
        // The next message opens the port again and reports it if it is gone.
        m_lineSender->setLine(nullptr);
        m_line = nullptr;
        m_platform.devices.keyPorts().close(PortUser::CwKeyer);
        m_platform.prompter.message(text, QStringLiteral("Invalid port."), MessageIcon::Warning);
    }
    emit sendingFinished();
}

void Keyer::showUnsent()
{
    emit unsentTextChanged(m_unsent);
}

} // namespace velk
