#pragma once
// The devices on the desktop: QSerialPort for serial ports, and the key-line owner over the
// Linux serial and parallel port drivers.
#include "common/platform/devices.h"

#include <QSerialPort>

namespace velk {

class QtSerialDevice : public SerialDevice
{
    Q_OBJECT
public:
    explicit QtSerialDevice(QObject* parent = nullptr);
    bool open(const QString& path, const SerialSettings& settings) override;
    void close() override;
    bool isOpen() const override { return m_port.isOpen(); }
    qint64 write(const QByteArray& bytes) override { return m_port.write(bytes); }
    QByteArray readAll() override { return m_port.readAll(); }
    void clearInput() override;
    qint64 bytesToWrite() const override { return m_port.bytesToWrite(); }
    qint64 unsentBytes() const override;
    bool setRts(bool on) override;
    bool setDtr(bool on) override;
    QString errorText() const override { return m_error; }

private:
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    QString m_error;
};

class Environment;
class SettingsStore;

class QtDevices : public Devices
{
public:
    // Key-line ports resolve their device paths from the environment and the settings.
    QtDevices(const Environment& environment, const SettingsStore& settings);
    ~QtDevices() override;
    std::unique_ptr<SerialDevice> createSerialDevice() override;
    std::unique_ptr<TcpConnection> createTcpConnection() override;
    KeyPorts& keyPorts() override { return *m_keyPorts; }
    RealtimePriority& realtimePriority() override { return *m_realtimePriority; }
    // In qtchannels.cpp.
    std::unique_ptr<LocalChannel> createLocalChannel() override;
    std::unique_ptr<HttpPoster> createHttpPoster() override;
    std::unique_ptr<AudioPlayer> createAudioPlayer() override;

private:
    std::unique_ptr<KeyPorts> m_keyPorts;
    std::unique_ptr<RealtimePriority> m_realtimePriority;
};

} // namespace velk
