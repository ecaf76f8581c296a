#include "spots/agwframe.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

QByteArray header(char kind, const char* from, const char* to, quint32 length, quint8 port = 0,
                  quint8 pid = 0)
{
    QByteArray bytes(agwHeaderSize, '\0');
    bytes[0] = static_cast<char>(port);
    bytes[4] = kind;
    bytes[6] = static_cast<char>(pid);
    for (int i = 0; from[i] && i < 10; ++i) {
        bytes[8 + i] = from[i];
    }
    for (int i = 0; to[i] && i < 10; ++i) {
        bytes[18 + i] = to[i];
    }
    for (int i = 0; i < 4; ++i) {
        bytes[28 + i] = static_cast<char>((length >> (8 * i)) & 0xff);
    }
    return bytes;
}

TEST(AgwFrame, EncodesByteForByte)
{
    struct Case
    {
        AgwFrame frame;
        QByteArray bytes;
    };
    const Case cases[] = {
        {{0, 'X', 0, "W1AW", "", {}}, header('X', "W1AW", "", 0)},
        {{0, 'm', 0, "", "", {}}, header('m', "", "", 0)},
        {{0, 'C', 0, "W1AW", "K1TTT-5", {}}, header('C', "W1AW", "K1TTT-5", 0)},
        {{0, 'D', 0xF0, "W1AW", "K1TTT-5", "sh/dx\r"},
         header('D', "W1AW", "K1TTT-5", 6, 0, 0xF0) + "sh/dx\r"},
        {{1, 'd', 0, "W1AW", "K1TTT-5", {}}, header('d', "W1AW", "K1TTT-5", 0, 1)},
        // A call field keeps its last byte NUL.
        {{0, 'X', 0, "ABCDEFGHIJKL", "", {}}, header('X', "ABCDEFGHI", "", 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame.kind);
        EXPECT_EQ(encodeAgwFrame(c.frame).toHex(' '), c.bytes.toHex(' '));
    }
}

TEST(AgwFrame, DecodesFramesAsTheEngineSendsThem)
{
    const QByteArray data = " 1:Fm K1TTT To DX <UI pid=F0 Len=20 >[12:00:00]\rDX de K1TTT:  14025.0\r";
    const QByteArray bytes = header('U', "K1TTT", "DX", static_cast<quint32>(data.size()), 0, 0xF0) + data;
    const AgwDecodeResult result = decodeAgwFrame(bytes + "next");
    ASSERT_EQ(result.status, AgwDecodeResult::Status::Frame);
    EXPECT_EQ(result.consumed, bytes.size());
    EXPECT_EQ(result.frame.kind, 'U');
    EXPECT_TRUE(result.frame.isMonitored());
    EXPECT_EQ(result.frame.callFrom, QStringLiteral("K1TTT"));
    EXPECT_EQ(result.frame.callTo, QStringLiteral("DX"));
    EXPECT_EQ(result.frame.pid, 0xF0);
    EXPECT_EQ(result.frame.data, data);

    const AgwDecodeResult round = decodeAgwFrame(encodeAgwFrame({2, 'D', 0xF0, "W1AW", "K1TTT-5", "hello"}));
    ASSERT_EQ(round.status, AgwDecodeResult::Status::Frame);
    EXPECT_EQ(round.frame.port, 2);
    EXPECT_EQ(round.frame.callTo, QStringLiteral("K1TTT-5"));
    EXPECT_EQ(round.frame.data, QByteArray("hello"));
}

TEST(AgwFrame, WaitsForTheWholeFrame)
{
    const QByteArray bytes = encodeAgwFrame({0, 'D', 0, "A", "B", "0123456789"});
    for (qsizetype cut = 0; cut < bytes.size(); ++cut) {
        EXPECT_EQ(decodeAgwFrame(bytes.left(cut)).status, AgwDecodeResult::Status::NeedMore) << cut;
    }
}

TEST(AgwFrame, DataLongerThan64KiBIsAProtocolError)
{
    EXPECT_EQ(decodeAgwFrame(header('D', "A", "B", agwMaxDataLength + 1)).status,
              AgwDecodeResult::Status::ProtocolError);
    EXPECT_EQ(decodeAgwFrame(header('D', "A", "B", 0xFFFFFFFFu)).status,
              AgwDecodeResult::Status::ProtocolError);
    EXPECT_EQ(decodeAgwFrame(header('D', "A", "B", agwMaxDataLength)).status,
              AgwDecodeResult::Status::NeedMore);
}

} // namespace
} // namespace velk
