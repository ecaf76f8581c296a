#pragma once
// WinKeyLink: the WinKey keyer device on a serial port, as the keyer's Morse sender. Opens the
// device (echo test, host open), sends its settings and feeds it the text a piece at a time, each
// once the device has confirmed reading the last and its status allows. Talks to a SerialDevice and to the
// key-port owner, which closes the CW and PTT ports.
#include "common/platform/keyports.h"
#include "common/platform/serialdevice.h"
#include "cw/morsesender.h"
#include "cw/winkeyprotocol.h"

#include <QTimer>
#include <deque>
#include <functional>
#include <memory>

namespace velk {

// The values the setup window edits and WK.txt keeps.
struct WinKeySettings
{
    int port = 0; // serial port number 1-10; 0 = none
    int speed = 18;
    int weight = 50;
    int leadIn = 0; // 10 ms units
    int tail = 0;
    int ratio = 50;
    int pinConfig = 6; // tone
    int mode = 0;      // iambic B
    bool operator==(const WinKeySettings&) const = default;
};

// Results of an open, as the link library numbered them.
enum WinKeyOpenResult : int {
    WinKeySuccess = 0,
    WinKeyNoEcho = 1,
    WinKeyEchoMismatch = 2,
    WinKeyNoOpenResponse = 3,
    WinKeyComOpenFailed = 4,
    WinKeyGetComStateFailed = 5,
    WinKeySetComStateFailed = 6,
    WinKeyAlreadyOpen = 8,
    WinKeyNotOpen = 9,
};

// The status text of an open result; empty for codes without one.
QString winKeyOpenResultText(int result);

class WinKeyLink : public MorseSender
{
    Q_OBJECT
public:
    using PortPath = std::function<QString(int portNumber)>;
    using DeviceFactory = std::function<std::unique_ptr<SerialDevice>()>;
    // The serial device is made on the first open, so a station that never uses the WinKey
    // holds no port object for it.
    WinKeyLink(DeviceFactory makeDevice, KeyPorts& keyPorts, PortPath portPath, QObject* parent = nullptr);
    ~WinKeyLink() override;

    // Starts opening the device on settings().port; openFinished reports the result. While open,
    // reports WinKeyAlreadyOpen at once and changes nothing.
    void open();
    // Host close, then the port; nothing when already closed.
    void close();
    bool isOpen() const { return m_state == State::Open; }
    bool isOpening() const { return m_state == State::AwaitEcho || m_state == State::AwaitVersion; }
    // The firmware version the device answered with; 0 while closed.
    int version() const { return m_version; }

    const WinKeySettings& settings() const { return m_settings; }
    // Takes the values (clamped to what the device takes) and, while open, sends them all.
    void setSettings(const WinKeySettings& settings);

    // MorseSender: the text goes to the device, opening it first when closed.
    void append(const QString& text) override;
    bool removeLastUnsent() override;
    void clear() override;
    // "Stop": as clear(), and the device's buffer is cleared even when it reports nothing queued.
    void stop();
    void setSpeed(int wpm) override;
    bool isSending() const override;

    // The last status the device reported.
    winkey::Status status() const { return m_status; }
    // Reply and busy waits, in milliseconds (about a second by default).
    static constexpr int replyTimeoutMs = 1000;
    static constexpr int busyTimeoutMs = 2000;

signals:
    void openFinished(int result, int version);
    void closed();
    void statusChanged(const winkey::Status& status);
    // The device's speed knob moved: words per minute over the knob's minimum.
    void speedPotMoved(int overMinimum);

private:
    enum class State { Closed, AwaitEcho, AwaitVersion, Open };
    struct Pending
    {
        QChar character;
        QByteArray bytes; // empty for marks such as "!"
    };

    void onReadyRead();
    void onReplyTimeout();
    void onBusyTimeout();
    void onFlowTimeout();
    void onDeviceFailed(const QString& text);
    void handleData(std::uint8_t byte);
    void handleStatus(std::uint8_t byte);
    void finishOpen(int result);
    void sendAllSettings();
    void feed();
    void checkIdle();
    // Closes the port without a word to the device (another user takes it, or it vanished).
    void shutDown(bool sayGoodbye);
    void send(const QByteArray& bytes);
    bool deviceOpen() const { return m_device && m_device->isOpen(); }

    DeviceFactory m_makeDevice;
    std::unique_ptr<SerialDevice> m_device;
    KeyPorts& m_keyPorts;
    PortPath m_portPath;
    WinKeySettings m_settings;
    State m_state = State::Closed;
    int m_version = 0;
    winkey::Status m_status;
    std::deque<Pending> m_queue;
    QTimer m_replyTimer;
    QTimer m_busyTimer;
    QTimer m_flowTimer;
    bool m_awaitingBusy = false; // text went to the device; its busy report has not come yet
    bool m_sending = false;      // between the first text and idle()
    bool m_feeding = false;
    bool m_unconfirmed = false; // text is in flight behind a flow probe not yet echoed
    bool m_clearedSinceBusy = false;
};

} // namespace velk
