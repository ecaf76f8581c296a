#pragma once
// TncTransport: a packet TNC in command mode on a serial port, opened with the spot window's
// serial settings and modem lines. Talks to the port through the platform's serial device.
#include "spots/spottransport.h"

#include <memory>

namespace velk {

class SerialDevice;
struct Platform;
struct SpotSettings;

class TncTransport : public SpotTransport
{
    Q_OBJECT
public:
    TncTransport(Platform& platform, const SpotSettings& settings, QObject* parent = nullptr);
    ~TncTransport() override;

    void open() override;
    void close() override;
    bool isOpen() const override;
    void send(const QString& text) override;
    bool sendCommandCharacter() override;
    bool repeatsLines() const override { return true; }

private:
    // A port opened in the middle of a line: everything up to the first line end is a fragment.
    enum class Opening { Fragment, AfterCr, Done };

    Platform& m_platform;
    const SpotSettings& m_settings;
    std::unique_ptr<SerialDevice> m_serial;
    Opening m_opening = Opening::Done;

    void readSerial();
    QByteArray withoutOpeningFragment(const QByteArray& bytes);
};

} // namespace velk
