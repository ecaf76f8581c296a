#include "spots/agwframe.h"

namespace velk {

namespace {

constexpr qsizetype callFieldSize = 10;
constexpr qsizetype kindOffset = 4;
constexpr qsizetype pidOffset = 6;
constexpr qsizetype callFromOffset = 8;
constexpr qsizetype callToOffset = 18;
constexpr qsizetype lengthOffset = 28;

void putCall(QByteArray& header, qsizetype offset, const QString& call)
{
    // One byte stays NUL so the engine finds the end of the call.
    const QByteArray bytes = call.toLatin1().left(callFieldSize - 1);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        header[offset + i] = bytes[i];
    }
}

QString takeCall(const QByteArray& buffer, qsizetype offset)
{
    QByteArray field = buffer.mid(offset, callFieldSize);
    const qsizetype end = field.indexOf('\0');
    if (end >= 0) {
        field.truncate(end);
    }
    return QString::fromLatin1(field).trimmed();
}

quint32 takeLength(const QByteArray& buffer)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(buffer[lengthOffset + i]);
    }
    return value;
}

} // namespace

bool AgwFrame::isMonitored() const
{
    return kind == agwkind::monitoredUi || kind == agwkind::monitoredInfo ||
           kind == agwkind::monitoredSupervisory || kind == agwkind::monitoredOwn;
}

QByteArray encodeAgwFrame(const AgwFrame& frame)
{
    QByteArray bytes(agwHeaderSize, '\0');
    bytes[0] = static_cast<char>(frame.port);
    bytes[kindOffset] = frame.kind;
    bytes[pidOffset] = static_cast<char>(frame.pid);
    putCall(bytes, callFromOffset, frame.callFrom);
    putCall(bytes, callToOffset, frame.callTo);
    const auto length = static_cast<quint32>(frame.data.size());
    for (int i = 0; i < 4; ++i) {
        bytes[lengthOffset + i] = static_cast<char>((length >> (8 * i)) & 0xff);
    }
    bytes += frame.data;
    return bytes;
}

AgwDecodeResult decodeAgwFrame(const QByteArray& buffer)
{
    AgwDecodeResult result;
    if (buffer.size() < agwHeaderSize) {
        return result;
    }
    const quint32 length = takeLength(buffer);
    if (length > agwMaxDataLength) {
        result.status = AgwDecodeResult::Status::ProtocolError;
        return result;
    }
    const qsizetype total = agwHeaderSize + static_cast<qsizetype>(length);
    if (buffer.size() < total) {
        return result;
    }
    result.status = AgwDecodeResult::Status::Frame;
    result.consumed = total;
    AgwFrame& frame = result.frame;
    frame.port = static_cast<quint8>(buffer[0]);
    frame.kind = buffer[kindOffset];
    frame.pid = static_cast<quint8>(buffer[pidOffset]);
    frame.callFrom = takeCall(buffer, callFromOffset);
    frame.callTo = takeCall(buffer, callToOffset);
    frame.data = buffer.mid(agwHeaderSize, length);
    return result;
}

} // namespace velk
