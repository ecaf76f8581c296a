// RigLink's changes of frequency and mode: the steps of a change (drain, pause, write, resume)
// run one by one from a timer, so the window goes on while the radio is told.
#include "rig/riglink.h"

#include "common/diagnostics.h"
#include "rig/pegasus.h"

#include <QTimer>

namespace velk {

namespace {

constexpr int drainCheckMs = 5;
constexpr int drainLimitMs = 2000;
constexpr int modePauseMs = 99;

} // namespace

void RigLink::beginChange()
{
    m_pollTimer->stop();
    if (m_device && m_device->isOpen()) {
        m_device->clearInput();
    }
    m_buffer.clear();
    m_awaiting = false;
    m_drainTicks = 0;
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

void RigLink::changeFrequency(double mhz, const QString& mode)
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
    queueModeSteps(mhz, mode);
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
    runSteps();
}

void RigLink::changeMode(double mhz, const QString& mode)
{
    // Needs a radio, not a running poll: a closed port is reported when the command is due.
    if (!hasRadio() || isChanging() || m_closing) {
        return;
    }
    beginChange();
    queueModeSteps(mhz, mode);
    if (m_steps.empty()) {
        if (m_polling) {
            m_pollTimer->start(pollPeriod());
        }
        return;
    }
    m_steps.push_back({Step::Kind::Resume, 0, {}, 0.0, {}});
    runSteps();
}

void RigLink::failChange(const QString& title, const QString& text)
{
    qCWarning(velkRig).noquote() << title << ":" << text;
    m_steps.clear();
    m_commandedHz.reset();
    // The poll stays stopped until the operator starts it again.
    m_pollTimer->stop();
    if (m_polling) {
        m_polling = false;
        emit pollingChanged(false);
    }
    emit changeFailed(title, text);
    emit changeFinished();
}

void RigLink::runSteps()
{
    while (!m_steps.empty()) {
        const bool last = m_steps.front().kind == Step::Kind::Resume;
        if (!runStep(m_steps.front())) {
            return;
        }
        if (last) {
            // Told after the loop: a listener may start the next change, which runs its own steps.
            emit changeFinished();
            return;
        }
    }
}

// Carries out one step; false when the sequence waits (a timer continues it) or ended in failure.
bool RigLink::runStep(Step& step)
{
    switch (step.kind) {
    case Step::Kind::Wait: {
        const int ms = step.ms;
        m_steps.pop_front();
        if (ms > 0) {
            m_stepTimer->start(ms);
            return false;
        }
        return true;
    }
    case Step::Kind::Drain:
        if (m_device && m_device->isOpen() && m_device->bytesToWrite() > 0 &&
            m_drainTicks * drainCheckMs < drainLimitMs) {
            ++m_drainTicks;
            m_stepTimer->start(drainCheckMs);
            return false;
        }
        m_drainTicks = 0;
        m_steps.pop_front();
        return true;
    case Step::Kind::Write: {
        const bool portOpen = m_device && m_device->isOpen();
        const QByteArray bytes = step.bytes;
        if (!portOpen || (!bytes.isEmpty() && writeToRadio(bytes) != bytes.size())) {
            const QStringList parts = step.failTitle.split(QLatin1Char('\n'));
            const QString reason = portOpen ? m_device->errorText() : QStringLiteral("Port is not open");
            failChange(parts.front(), parts.size() > 1 ? reason + QLatin1Char(' ') + parts.at(1) : reason);
            return false;
        }
        if (step.mhz > 0.0) {
            m_commandedHz = frequencyUnits(step.mhz, 1);
            m_unsettledReadings = 0;
        }
        m_steps.pop_front();
        return true;
    }
    case Step::Kind::WritePegasus: {
        QString error;
        if (!writePegasusCommand(pegasusFolder(), step.mhz, m_mode, &error)) {
            failChange(step.failTitle, error);
            return false;
        }
        m_commandedHz = frequencyUnits(step.mhz, 1);
        m_unsettledReadings = 0;
        m_steps.pop_front();
        return true;
    }
    case Step::Kind::Resume:
        m_steps.pop_front();
        if (m_polling) {
            m_pollTimer->start(pollPeriod());
        }
        return true;
    }
    return true;
}

} // namespace velk
