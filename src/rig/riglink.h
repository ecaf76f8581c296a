#pragma once
// RigLink: the radio link. Owns the CAT serial port, polls the radio at the chosen rate, takes
// each reply whole, decodes it with the radio family's codec and publishes frequency and mode;
// tunes the radio (mode from the band plan, then frequency) with the family's pauses as timers.
#include "common/platform/platform.h"
#include "rig/bandplan.h"
#include "rig/rigcodec.h"
#include "rig/rigsettings.h"

#include <QObject>
#include <deque>
#include <memory>

class QTimer;

namespace velk {

class RigLink : public QObject
{
    Q_OBJECT
public:
    explicit RigLink(Platform& platform, QObject* parent = nullptr);
    ~RigLink() override;

    // RigCntrl.txt, BandPlan.txt and the Pegasus exchange folder live under this folder.
    void setWorkingFolder(const QString& folder);
    QString settingsPath() const;
    // Reads RigCntrl.txt and the band plan's Extra rows.
    void loadSettings();
    bool saveSettings(QString* error = nullptr);
    const RigSettings& settings() const { return m_settings; }
    void setSettings(const RigSettings& settings) { m_settings = settings; }
    // The stored radio type; "None" when no radio is used.
    QString radioType() const { return m_settings.rigType; }
    // A radio type is chosen.
    bool hasRadio() const
    {
        return !m_settings.rigType.isEmpty() && m_settings.rigType.compare(QLatin1String("None"), Qt::CaseInsensitive) != 0;
    }
    void setExtraRows(const QList<PlanRow>& rows) { m_extraRows = rows; }
    const QList<PlanRow>& extraRows() const { return m_extraRows; }

    // Opens the port with the settings and starts polling ("Test"); false when the type is
    // "None" or the port did not open (openFailed says why).
    bool start();
    // Stops polling and closes the port ("End Test").
    void stop();
    // Stops polling at program end, telling a Yaesu that CAT control ends.
    void shutDown();
    bool isPolling() const { return m_polling; }
    // The device went away and the link has not been started since.
    bool wasLost() const { return m_lostReported && !m_polling; }
    bool isChanging() const { return !m_steps.empty(); }

    // Tunes the radio: the band plan's mode first, then the frequency. Returns at once; does
    // nothing when polling is not running or a change is under way.
    void changeFrequency(double mhz);
    // Puts the radio in `mode`, or the band plan's mode for `mhz` when mode is empty.
    void changeMode(double mhz, const QString& mode);
    // Writes raw bytes outside the poll cycle (the test window); false when the port is closed.
    bool sendRaw(const QByteArray& bytes);

    float frequency() const { return m_frequency; }
    QString mode() const { return m_mode; }
    // Forgets the mode (the "Mode by" choice changed).
    void clearMode() { m_mode.clear(); }
    int activeVfo() const { return m_activeVfo; }
    // Poll period in ms for the current settings.
    int pollPeriod() const { return pollPeriodMs(m_settings.pollRate); }
    QString pegasusFolder() const;

signals:
    // The radio's dial, when "Use Frequency" is on.
    void frequencyChanged(double mhz);
    // Every reading of the dial, when "Use Frequency" is on.
    void frequencyRead(double mhz);
    // The radio's mode, unless "Mode by" is "Don't Use".
    void modeChanged(const QString& mode);
    // Every decoded reply, for the setup window: frequency (0 until known), mode, raw bytes.
    void replyDecoded(float mhz, const QString& mode, const QByteArray& raw);
    void pollingChanged(bool polling);
    void openFailed(const QString& text);
    // The device went away while polling; reported once until the link is started again.
    void deviceLost(const QString& text);
    // A change command failed: message title and text.
    void changeFailed(const QString& title, const QString& text);

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
    void handleReading(const RigReading& reading, const QByteArray& raw);
    void runSteps();
    void queueModeSteps(double mhz, QString mode);
    void beginChange();
    const RadioType& type() const { return velk::radioType(m_settings.rigType); }

    Platform& m_platform;
    QString m_folder;
    RigSettings m_settings;
    QList<PlanRow> m_extraRows;
    std::unique_ptr<SerialDevice> m_device;
    QTimer* m_pollTimer = nullptr;
    QTimer* m_stepTimer = nullptr;

    bool m_polling = false;
    bool m_awaiting = false;
    bool m_queryToggle = false;
    bool m_lostReported = false;
    bool m_showRaw = false;
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
