#pragma once
// SerialDevice: one serial port as the radio link, the TNC and the WinKey link use it: open with
// settings, move bytes, switch the modem lines. QSerialPort on the desktop; a scripted fake in tests.
#include <QByteArray>
#include <QObject>
#include <QString>

namespace velk {

class Environment;
class SettingsStore;

enum class Handshake { None, XonXoff, RtsCts, Both };

struct SerialSettings
{
    qint32 baud = 9600;
    int dataBits = 8;
    char parity = 'N'; // N, E, O, M or S
    int stopBits = 1;  // 1 or 2
    Handshake handshake = Handshake::None;
};

class SerialDevice : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~SerialDevice() override = default;

    // False with errorText() set when the device cannot be opened with these settings.
    virtual bool open(const QString& path, const SerialSettings& settings) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual qint64 write(const QByteArray& bytes) = 0;
    virtual QByteArray readAll() = 0;
    // Drops whatever has arrived and not been read.
    virtual void clearInput() = 0;
    virtual qint64 bytesToWrite() const = 0;
    // Bytes written and not yet on the line: the port's buffer and the driver's output queue.
    // Zero means a closing command has left; what can't tell the queue reports the buffer.
    virtual qint64 unsentBytes() const { return bytesToWrite(); }
    // False where the device has no modem lines (a pseudo-terminal); the port stays usable.
    virtual bool setRts(bool on) = 0;
    virtual bool setDtr(bool on) = 0;
    virtual QString errorText() const = 0;

signals:
    void readyRead();
    void bytesWritten(qint64 count);
    // The device went away while open (USB cable pulled); the port is closed when this arrives.
    void failed(const QString& text);
};

// The device path of serial port number n (1-10): environment VELK_COM<n>, else the settings key
// ComPort<n>, else /dev/ttyS<n-1>.
QString serialDevicePath(int portNumber, const Environment& environment, const SettingsStore& settings);

} // namespace velk
