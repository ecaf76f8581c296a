#include "common/platform/fake/fakedevices.h"

namespace velk {

namespace {

QString nameOf(PortUser user)
{
    switch (user) {
    case PortUser::CwKeyer:
        return QStringLiteral("CwKeyer");
    case PortUser::VoicePtt:
        return QStringLiteral("VoicePtt");
    case PortUser::WinKey:
        return QStringLiteral("WinKey");
    }
    return {};
}

} // namespace

bool FakeSerialDevice::open(const QString& path, const SerialSettings& settings)
{
    openedPath = path;
    openedSettings = settings;
    if (!openError.isEmpty()) {
        return false;
    }
    ++openCount;
    m_open = true;
    return true;
}

qint64 FakeSerialDevice::write(const QByteArray& bytes)
{
    if (!m_open) {
        return -1;
    }
    written += bytes;
    if (responder) {
        const QByteArray reply = responder(bytes);
        if (!reply.isEmpty()) {
            deliver(reply);
        }
    }
    emit bytesWritten(bytes.size());
    return bytes.size();
}

QByteArray FakeSerialDevice::readAll()
{
    QByteArray bytes;
    bytes.swap(m_input);
    return bytes;
}

bool FakeSerialDevice::setRts(bool on)
{
    lineChanges.emplace_back('R', on);
    return hasModemLines;
}

bool FakeSerialDevice::setDtr(bool on)
{
    lineChanges.emplace_back('D', on);
    return hasModemLines;
}

void FakeSerialDevice::deliver(const QByteArray& bytes)
{
    m_input += bytes;
    emit readyRead();
}

void FakeSerialDevice::vanish(const QString& text)
{
    m_open = false;
    emit failed(text);
}

bool FakeKeyLine::set(bool isDown)
{
    if (failing || closed) {
        return false;
    }
    down = isDown;
    changes.push_back(isDown);
    return true;
}

KeyLine* FakeKeyPorts::open(PortUser user, const KeyLineTarget& target, QString& error)
{
    closeOthers(user);
    close(user);
    if (!openError.isEmpty()) {
        error = openError;
        openError.clear();
        return nullptr;
    }
    events << QStringLiteral("open ") + nameOf(user);
    targets[user] = target;
    auto& line = m_lines[user];
    line = std::make_unique<FakeKeyLine>();
    return line.get();
}

void FakeKeyPorts::claim(PortUser user, std::function<void()> closeOwnPort)
{
    closeOthers(user);
    events << QStringLiteral("claim ") + nameOf(user);
    m_claims[user] = std::move(closeOwnPort);
}

void FakeKeyPorts::close(PortUser user)
{
    if (auto line = m_lines.find(user); line != m_lines.end()) {
        line->second->set(false);
        line->second->closed = true;
        m_closedLines.push_back(std::move(line->second));
        m_lines.erase(line);
        events << QStringLiteral("close ") + nameOf(user);
    }
    if (auto claimed = m_claims.find(user); claimed != m_claims.end()) {
        auto closeOwnPort = std::move(claimed->second);
        m_claims.erase(claimed);
        events << QStringLiteral("close ") + nameOf(user);
        if (closeOwnPort) {
            closeOwnPort();
        }
    }
}

FakeKeyLine* FakeKeyPorts::line(PortUser user)
{
    auto found = m_lines.find(user);
    return found == m_lines.end() ? nullptr : found->second.get();
}

void FakeKeyPorts::closeOthers(PortUser user)
{
    for (PortUser other : {PortUser::CwKeyer, PortUser::VoicePtt, PortUser::WinKey}) {
        if (other != user) {
            close(other);
        }
    }
}

std::unique_ptr<SerialDevice> FakeDevices::createSerialDevice()
{
    if (realSerialDevice) {
        return realSerialDevice();
    }
    auto device = std::make_unique<FakeSerialDevice>();
    if (prepareSerial) {
        prepareSerial(*device);
    }
    serialDevices.push_back(device.get());
    return device;
}

std::unique_ptr<LocalChannel> FakeDevices::createLocalChannel()
{
    if (localChannelFactory) {
        return localChannelFactory();
    }
    auto channel = std::make_unique<FakeLocalChannel>();
    localChannels.emplace_back(channel.get());
    return channel;
}

std::unique_ptr<HttpPoster> FakeDevices::createHttpPoster()
{
    if (httpPosterFactory) {
        return httpPosterFactory();
    }
    auto poster = std::make_unique<FakeHttpPoster>();
    httpPosters.emplace_back(poster.get());
    return poster;
}

std::unique_ptr<TcpConnection> FakeDevices::createTcpConnection()
{
    if (realTcpConnection) {
        return realTcpConnection();
    }
    auto connection = std::make_unique<FakeTcpConnection>();
    tcpConnections.push_back(connection.get());
    return connection;
}

std::unique_ptr<AudioPlayer> FakeDevices::createAudioPlayer()
{
    auto player = std::make_unique<FakeAudioPlayer>();
    audioPlayers.push_back(player.get());
    return player;
}

} // namespace velk
