#include "common/platform/fake/fakechannels.h"

namespace velk {

void FakeLocalChannel::connectTo(const QString& name)
{
    m_connected = false;
    m_input.clear();
    connectedName = name;
    connecting = true;
    ++connectCount;
}

void FakeLocalChannel::close()
{
    m_connected = false;
    connecting = false;
    m_input.clear();
}

qint64 FakeLocalChannel::write(const QByteArray& bytes)
{
    if (!m_connected) {
        return -1;
    }
    written += bytes;
    return bytes.size();
}

QByteArray FakeLocalChannel::read(qint64 maxBytes)
{
    const QByteArray bytes = m_input.left(maxBytes);
    m_input.remove(0, bytes.size());
    return bytes;
}

void FakeLocalChannel::accept()
{
    connecting = false;
    m_connected = true;
    emit connected();
}

void FakeLocalChannel::refuse(const QString& text)
{
    connecting = false;
    m_connected = false;
    emit failed(text);
}

void FakeLocalChannel::deliver(const QByteArray& bytes)
{
    m_input += bytes;
    emit readyRead();
}

void FakeLocalChannel::drop()
{
    m_connected = false;
    emit disconnected();
}

QByteArray FakeLocalChannel::takeWritten()
{
    QByteArray bytes;
    bytes.swap(written);
    return bytes;
}

void FakeHttpPoster::post(const QString& url, const QByteArray& contentType, const QByteArray& body)
{
    requests.push_back({url, contentType, body});
    m_busy = true;
}

bool FakeHttpPoster::answer()
{
    if (!m_busy) {
        return false;
    }
    m_busy = false;
    const std::optional<QByteArray> reply = responder ? responder(requests.back()) : std::nullopt;
    emit finished(reply.has_value(), reply.value_or(QByteArray()));
    return true;
}

} // namespace velk
