#pragma once
// Scripted stand-ins for the devices: a serial port that records what was written and answers
// through a responder, and a key-line owner that records every line change.
#include "common/platform/devices.h"
#include "common/platform/fake/fakeaudioplayer.h"
#include "common/platform/fake/fakechannels.h"
#include "common/platform/fake/faketcpconnection.h"

#include <QPointer>
#include <QStringList>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace velk {

class FakeSerialDevice : public SerialDevice
{
    Q_OBJECT
public:
    bool open(const QString& path, const SerialSettings& settings) override;
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    qint64 write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    void clearInput() override { m_input.clear(); }
    qint64 bytesToWrite() const override { return 0; }
    qint64 unsentBytes() const override { return unsent; }
    bool setRts(bool on) override;
    bool setDtr(bool on) override;
    QString errorText() const override { return openError; }

    // Bytes arrive from the far end: kept for readAll() and announced by readyRead.
    void deliver(const QByteArray& bytes);
    // The device goes away while open.
    void vanish(const QString& text = QStringLiteral("Resource error"));

    // Set before open() to make it fail with this text.
    QString openError;
    // Called with every write; what it returns is delivered at once (empty: nothing).
    std::function<QByteArray(const QByteArray&)> responder;
    bool hasModemLines = true;
    // What unsentBytes() reports: a test drains the line by setting it back to 0.
    qint64 unsent = 0;

    QString openedPath;
    SerialSettings openedSettings;
    QByteArray written;
    int openCount = 0;
    std::vector<std::pair<char, bool>> lineChanges; // 'R' or 'D', new state

private:
    bool m_open = false;
    QByteArray m_input;
};

class FakeKeyLine : public KeyLine
{
public:
    bool set(bool down) override;
    bool isOpen() const override { return !closed; }
    std::vector<bool> changes;
    bool down = false;
    bool failing = false;
    bool closed = false;
};

// Answers every request alike and counts them; asked from the keying thread.
class FakeRealtimePriority : public RealtimePriority
{
public:
    ThreadPriority raiseCurrentThread(int level) override
    {
        ++m_requests;
        const ThreadPriority::Source source = answer;
        const bool realtime =
            source == ThreadPriority::Source::Scheduler || source == ThreadPriority::Source::RealtimeKit;
        return {source, realtime ? level : 0};
    }
    int requests() const { return m_requests; }
    std::atomic<ThreadPriority::Source> answer{ThreadPriority::Source::Normal};

private:
    std::atomic<int> m_requests{0};
};

class FakeKeyPorts : public KeyPorts
{
public:
    KeyLine* open(PortUser user, const KeyLineTarget& target, QString& error) override;
    void claim(PortUser user, std::function<void()> closeOwnPort) override;
    void close(PortUser user) override;

    // The line user holds, or null.
    FakeKeyLine* line(PortUser user);
    // Set to make the next open() fail with this text.
    QString openError;
    std::map<PortUser, KeyLineTarget> targets;
    QStringList events; // "open CwKeyer", "close VoicePtt", ...

private:
    void closeOthers(PortUser user);

    std::map<PortUser, std::unique_ptr<FakeKeyLine>> m_lines;
    // Closed lines stay alive: a keying thread may still hold one.
    std::vector<std::unique_ptr<FakeKeyLine>> m_closedLines;
    std::map<PortUser, std::function<void()>> m_claims;
};

class FakeDevices : public Devices
{
public:
    std::unique_ptr<SerialDevice> createSerialDevice() override;
    std::unique_ptr<TcpConnection> createTcpConnection() override;
    KeyPorts& keyPorts() override { return ports; }
    RealtimePriority& realtimePriority() override { return priority; }
    std::unique_ptr<LocalChannel> createLocalChannel() override;
    std::unique_ptr<HttpPoster> createHttpPoster() override;
    std::unique_ptr<AudioPlayer> createAudioPlayer() override;

    // Serial devices handed out, in order; they stay alive as long as their owner keeps them.
    std::vector<FakeSerialDevice*> serialDevices;
    // Called on each new serial device before it is handed out (to set a responder).
    std::function<void(FakeSerialDevice&)> prepareSerial;
    FakeKeyPorts ports;
    FakeRealtimePriority priority;
    // Local channels and HTTP posters handed out (null once their owner dropped them). A test
    // that talks to a real peer sets the factory to hand out the desktop's own.
    std::vector<QPointer<FakeLocalChannel>> localChannels;
    std::vector<QPointer<FakeHttpPoster>> httpPosters;
    std::function<std::unique_ptr<LocalChannel>()> localChannelFactory;
    std::function<std::unique_ptr<HttpPoster>()> httpPosterFactory;
    // TCP clients handed out, in order, alive as long as their owner keeps them.
    std::vector<FakeTcpConnection*> tcpConnections;
    // Set to hand out real devices instead (tests against a real peer on loopback or a pty).
    std::function<std::unique_ptr<TcpConnection>()> realTcpConnection;
    std::function<std::unique_ptr<SerialDevice>()> realSerialDevice;
    // Players handed out, in order; they stay alive as long as their owner keeps them.
    std::vector<FakeAudioPlayer*> audioPlayers;
};

} // namespace velk
