#pragma once
// AgwTransport: the AGW packet engine (or a program offering its TCP port, such as direwolf):
// registers the own call, monitors the channel, connects to a cluster node and talks to it, all
// in the engine's frames. Talks to the engine through the platform's TCP connection.
#include "spots/agwframe.h"
#include "spots/spottransport.h"

#include <functional>
#include <memory>

namespace velk {

class SettingsStore;
class TcpConnection;
struct Platform;

// Where the engine listens, kept in the per-user settings ("AgwHost", "AgwPort").
struct AgwAddress
{
    QString host = QStringLiteral("127.0.0.1");
    QString port = QStringLiteral("8000");

    // The port as a number, 0 when it is not one from 1 to 65535.
    quint16 portNumber() const;
    bool operator==(const AgwAddress&) const = default;
};

AgwAddress loadAgwAddress(const SettingsStore& store);
void storeAgwAddress(SettingsStore& store, const AgwAddress& address);

class AgwTransport : public SpotTransport
{
    Q_OBJECT
public:
    // ownCall gives the station's call sign when it is needed (registering, every frame sent).
    AgwTransport(Platform& platform, std::function<QString()> ownCall, QObject* parent = nullptr);
    ~AgwTransport() override;

    void open() override;
    void close() override;
    bool isOpen() const override { return m_state == State::Open; }
    void send(const QString& text) override;
    bool repeatsLines() const override { return true; }
    QString peer() const override { return m_connectedStation; }

private:
    enum class State { Closed, Connecting, Open };

    Platform& m_platform;
    std::function<QString()> m_ownCall;
    std::unique_ptr<TcpConnection> m_tcp;
    State m_state = State::Closed;
    QByteArray m_buffer;
    QString m_connectedStation;

    void engineConnected();
    void startFailed();
    void engineLost();
    void setPeer(const QString& station);
    void readFrames();
    void handleFrame(const AgwFrame& frame);
    void handleMonitoredFrame(const AgwFrame& frame);
    void sendFrame(char kind, const QString& to, const QByteArray& data = {});
};

} // namespace velk
