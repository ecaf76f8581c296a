#pragma once
// RigLink: the radio link. Owns the CAT serial port (or the connection to rigctld, which stands in
// for it), polls the radio at the chosen rate, takes each reply whole, decodes it with the radio family's
// codec and publishes the settled frequency and mode as values; tunes the radio (mode, then frequency) with
// the family's pauses as timers.
#include "common/platform/platform.h"
#include "rig/bandplan.h"
#include "rig/hamlibsettings.h"
#include "rig/rigcodec.h"
#include "rig/rigsettings.h"

#include <QObject>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>

class QTimer;

namespace velk {

class RigLink : public QObject
{
    Q_OBJECT
public:
    explicit RigLink(Platform& platform, QObject* parent = nullptr);
    ~RigLink() override;

    // RigCntrl.txt, RigHamlib.txt, BandPlan.txt and the Pegasus exchange folder live under this folder.
    void setWorkingFolder(const QString& folder);
    QString settingsPath() const;
    QString hamlibSettingsPath() const;
    // Reads RigCntrl.txt, RigHamlib.txt and the band plan's Extra rows.
    // Returns what could not be read, worded for the status line; empty when all was read.
    QString loadSettings();
    bool saveSettings(QString* error = nullptr);
    const RigSettings& settings() const { return m_settings; }
    void setSettings(const RigSettings& settings) { m_settings = settings; }
    const HamlibSettings& hamlibSettings() const { return m_hamlib; }
    void setHamlibSettings(const HamlibSettings& settings) { m_hamlib = settings; }
    // Where rigctld is started from, and how long an unanswered command may wait (tests).
    void setRigctldProgram(const QString& program) { m_rigctldProgram = program; }
    void setRigctldAnswerLimitMs(int ms) { m_rigctldAnswerLimitMs = ms; }
    // The stored radio type; "None" when no radio is used.
    QString radioType() const { return m_settings.rigType; }
    // A radio type other than "None" (or empty, or unknown) is chosen.
    bool hasRadio() const { return type().family != RadioFamily::None; }
    void setExtraRows(const QList<PlanRow>& rows) { m_extraRows = rows; }
    const QList<PlanRow>& extraRows() const { return m_extraRows; }

    // Opens the port with the settings and starts polling ("Test"); false when the type is
    // "None" or the port did not open (openFailed says why).
    bool start();
    // Stops polling and closes the port ("End Test").
    void stop();
    // Stops polling at program end; where the radio has CAT-off bytes, writes them and closes the
    // port once they have left the line (bounded). shutDownFinished() follows, at once when there
    // is nothing to send. A second call does nothing more.
    void shutDown();
    bool isShuttingDown() const { return m_closing; }
    bool isPolling() const { return m_polling; }
    // The device went away and the link has not been started since.
    bool wasLost() const { return m_lostReported && !m_polling; }
    bool isChanging() const { return !m_steps.empty(); }

    // Tunes the radio: `mode` (the band plan's for `mhz` when empty) first, then the frequency.
    // Returns at once; does nothing when polling is not running or a change is under way. Until
    // a reading shows the new dial (or settleReadings readings have not), nothing is published.
    void changeFrequency(double mhz, const QString& mode = {});
    // Puts the radio in `mode`, or the band plan's mode for `mhz` when mode is empty; a closed
    // port is reported through changeFailed.
    void changeMode(double mhz, const QString& mode);
    // A frequency was commanded and no reading has shown it yet.
    bool isSettling() const { return m_commandedHz.has_value(); }
    // Readings that may still show the old dial after a frequency command: a slow radio answers
    // one poll late, one still switching band (relays, tuner) a second; past the third the radio
    // is taken at its word (the operator turned the dial, or it refused the frequency).
    static constexpr int settleReadings = 3;
    // Writes raw bytes outside the poll cycle (the test window); false when the port is closed.
    bool sendRaw(const QByteArray& bytes);

    // The settled dial (0 until known) and mode (empty until known).
    float frequency() const { return m_frequency; }
    QString mode() const { return m_mode; }
    // Forgets the mode (the "Mode by" choice changed); the next reading publishes it again.
    void clearMode() { m_mode.clear(); }
    // The "Yaesu" type is an FT-847, which needs CAT switched on and off (a per-user setting).
    bool yaesuCatSwitch() const;
    void setYaesuCatSwitch(bool on);
    int activeVfo() const { return m_activeVfo; }
    // Poll period in ms for the current settings.
    int pollPeriod() const { return pollPeriodMs(m_settings.pollRate); }
    QString pegasusFolder() const;

signals:
    // The radio's settled dial, when "Use Frequency" is on: frequencyChanged when it moved,
    // frequencyRead for every reading (the next contact takes it).
    void frequencyChanged(double mhz);
    void frequencyRead(double mhz);
    // The radio's mode when it changed, unless "Mode by" is "Don't Use".
    void modeChanged(const QString& mode);
    // Every decoded reply, for the setup window: frequency (0 until known), mode, raw bytes.
    void replyDecoded(float mhz, const QString& mode, const QByteArray& raw);
    void pollingChanged(bool polling);
    void openFailed(const QString& text);
    // The device went away while polling; reported once until the link is started again.
    void deviceLost(const QString& text);
    // A change command failed: message title and text.
    void changeFailed(const QString& title, const QString& text);
    // A frequency or mode change has gone out (or failed): the radio can take the next one.
    void changeFinished();
    // shutDown() has closed the port.
    void shutDownFinished();

private:
    struct Step
    {
        enum class Kind { Wait, Drain, Write, WritePegasus, Resume };
        Kind kind;
        int ms = 0;
        QByteArray bytes;
        double mhz = 0.0;
        QString failTitle;
    };

    void pollTick();
    void onReadyRead();
    void onDeviceFailed(const QString& text);
    bool openDevice(const RadioType& radio);
    void onCommandRefused(const QByteArray& command, const QString& text);
    void handleReading(const RigReading& reading, const QByteArray& raw);
    bool holdUnsettled(const RigReading& reading);
    void publish(std::optional<float> mhz, const QString& mode);
    qint64 writeToRadio(const QByteArray& bytes);
    void haltPoll();
    void closePort();
    void finishClosing();
    void runSteps();
    bool runStep(Step& step);
    void failChange(const QString& title, const QString& text);
    void queueModeSteps(double mhz, QString mode);
    void beginChange();
    const RadioType& type() const { return velk::radioType(m_settings.rigType); }

    Platform& m_platform;
    QString m_folder;
    RigSettings m_settings;
    HamlibSettings m_hamlib;
    QString m_rigctldProgram = QStringLiteral("rigctld");
    int m_rigctldAnswerLimitMs = 0;
    bool m_deviceIsRigctld = false;
    // Readings in a row in which the peer reported a fault of the radio.
    int m_faultReadings = 0;
    QList<PlanRow> m_extraRows;
    std::unique_ptr<SerialDevice> m_device;
    QTimer* m_pollTimer = nullptr;
    QTimer* m_stepTimer = nullptr;
    QTimer* m_closeTimer = nullptr;

    bool m_polling = false;
    bool m_awaiting = false;
    bool m_queryToggle = false;
    bool m_lostReported = false;
    bool m_showRaw = false;
    // A poll tick passed while rigctld still owed the last answer.
    bool m_pollOverdue = false;
    bool m_closing = false;
    std::int64_t m_closeDeadline = 0;
    std::optional<long long> m_commandedHz;
    int m_unsettledReadings = 0;
    int m_ticksWaited = 0;
    int m_drainTicks = 0;
    ReplyShape m_shape;
    QByteArray m_buffer;
    float m_frequency = 0.0f;
    QString m_mode;
    int m_activeVfo = 10;
    std::deque<Step> m_steps;
};

} // namespace velk
