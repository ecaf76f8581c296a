#pragma once
// The AGW packet engine's TCP frames: a 36-byte little-endian header (port, kind, PID, from-call,
// to-call, data length) and the data. Stateless encode/decode over bytes.
#include <QByteArray>
#include <QString>

namespace velk {

// Frame kinds this client sends and reads.
namespace agwkind {
constexpr char registerCall = 'X'; // both ways: register the own call; the reply's byte 1 = accepted
constexpr char monitorOn = 'm';    // to the engine: send monitored frames
constexpr char connect = 'C';      // to the engine: connect; from it: a connection is up
constexpr char data = 'D';         // connected data, both ways
constexpr char disconnect = 'd';   // to the engine: disconnect; from it: the connection ended
constexpr char monitoredUi = 'U';  // monitored frames: unproto, information, supervisory, own
constexpr char monitoredInfo = 'I';
constexpr char monitoredSupervisory = 'S';
constexpr char monitoredOwn = 'T';
} // namespace agwkind

struct AgwFrame
{
    quint8 port = 0;
    char kind = 0;
    quint8 pid = 0;
    QString callFrom; // up to 9 characters on the wire
    QString callTo;
    QByteArray data;

    bool isMonitored() const;
};

constexpr qsizetype agwHeaderSize = 36;
// A frame announcing more data than this is a protocol error: the stream cannot be trusted.
constexpr quint32 agwMaxDataLength = 64 * 1024;

QByteArray encodeAgwFrame(const AgwFrame& frame);

struct AgwDecodeResult
{
    enum class Status { NeedMore, Frame, ProtocolError };
    Status status = Status::NeedMore;
    AgwFrame frame;
    qsizetype consumed = 0; // bytes of the buffer the frame took
};

// Decodes the first frame of the buffer.
AgwDecodeResult decodeAgwFrame(const QByteArray& buffer);

} // namespace velk
