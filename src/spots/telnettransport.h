#pragma once
// TelnetTransport: a DX cluster node over TCP, at the host and port of the spot window. Talks to
// the node through the platform's TCP connection; failures are reported with the socket messages.
#include "spots/spottransport.h"

#include <memory>

namespace velk {

class TcpConnection;
struct Platform;
struct SpotSettings;

class TelnetTransport : public SpotTransport
{
    Q_OBJECT
public:
    TelnetTransport(Platform& platform, const SpotSettings& settings, QObject* parent = nullptr);
    ~TelnetTransport() override;

    void open() override;
    void close() override;
    bool isOpen() const override;
    void send(const QString& text) override;

private:
    Platform& m_platform;
    const SpotSettings& m_settings;
    std::unique_ptr<TcpConnection> m_tcp;
    bool m_active = false; // connecting or connected: the far end leaving is news

    void fail(int number);
};

} // namespace velk
