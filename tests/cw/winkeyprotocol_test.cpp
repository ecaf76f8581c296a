// The keyer's host protocol, byte for byte, against the WinKeyer command table.
#include "cw/winkeyprotocol.h"

#include <gtest/gtest.h>
#include <random>

namespace velk::winkey {
namespace {

QByteArray hex(std::initializer_list<int> values)
{
    QByteArray out;
    for (int value : values) {
        out.append(static_cast<char>(value));
    }
    return out;
}

struct CommandCase
{
    const char* name;
    QByteArray actual;
    QByteArray expected;
};

TEST(WinKeyProtocol, CommandsEncodeToTheDeviceBytes)
{
    const CommandCase cases[] = {
        {"echo test", echoTest(), hex({0x00, 0x04, 0x55})},
        {"echo test other probe", echoTest(0x41), hex({0x00, 0x04, 0x41})},
        {"host open", hostOpen(), hex({0x00, 0x02})},
        {"host close", hostClose(), hex({0x00, 0x03})},
        {"speed 18", setSpeed(18), hex({0x02, 18})},
        {"speed 5", setSpeed(5), hex({0x02, 5})},
        {"speed 99", setSpeed(99), hex({0x02, 99})},
        {"speed 0 is not the pot", setSpeed(0), hex({0x02, 5})},
        {"speed 120", setSpeed(120), hex({0x02, 99})},
        {"weight 50", setWeight(50), hex({0x03, 50})},
        {"weight 0", setWeight(0), hex({0x03, 10})},
        {"weight 99", setWeight(99), hex({0x03, 90})},
        {"lead/tail", setLeadTail(3, 25), hex({0x04, 3, 25})},
        {"lead/tail over a byte", setLeadTail(300, -4), hex({0x04, 250, 0})},
        {"pin config tone", setPinConfig(6), hex({0x09, 0x06})},
        {"pin config key 5", setPinConfig(8), hex({0x09, 0x08})},
        {"mode iambic a", setMode(16), hex({0x0E, 0x10})},
        {"mode bug", setMode(48), hex({0x0E, 0x30})},
        {"ratio 50", setRatio(50), hex({0x17, 50})},
        {"ratio 32", setRatio(32), hex({0x17, 33})},
        {"ratio 67", setRatio(67), hex({0x17, 66})},
        {"clear buffer", clearBuffer(), hex({0x0A})},
        {"backspace", backspace(), hex({0x08})},
        {"merge AR", mergeLetters('A', 'R'), hex({0x1B, 'A', 'R'})},
    };
    for (const CommandCase& c : cases) {
        EXPECT_EQ(c.actual.toHex(' '), c.expected.toHex(' ')) << c.name;
    }
}

struct CharacterCase
{
    QChar character;
    QByteArray expected;
};

TEST(WinKeyProtocol, TextKeepsOnlyCharactersWithMorse)
{
    const CharacterCase cases[] = {
        {u'A', "A"},
        {u'z', "Z"},
        {u'0', "0"},
        {u'9', "9"},
        {u' ', " "},
        {u'.', "."},
        {u',', ","},
        {u'?', "?"},
        {u'/', "/"},
        {u'=', "="},
        {u'-', "="},
        {u'[', hex({0x1B, 'A', 'R'})},
        {u']', hex({0x1B, 'S', 'K'})},
        {u';', hex({0x1B, 'K', 'N'})},
        {u'\\', hex({0x1B, 'C', 'L'})},
        {u'!', {}},
        {u'%', {}},
        {u'"', {}},
        {QChar(0x18), {}}, // PTT on
        {QChar(0x0B), {}}, // key down
        {QChar(0x00), {}},
        {QChar(0x1F), {}},
        {QChar(0x7F), {}},
        {QChar(0xE9), {}},
        {QChar(0x20AC), {}},
    };
    for (const CharacterCase& c : cases) {
        EXPECT_EQ(encodeCharacter(c.character).toHex(' '), c.expected.toHex(' '))
            << "U+" << QString::number(c.character.unicode(), 16).toStdString();
    }
}

TEST(WinKeyProtocol, NoCharacterEverEncodesToACommandByte)
{
    for (int code = 0; code <= 0xFFFF; ++code) {
        const QByteArray encoded = encodeCharacter(QChar(static_cast<char16_t>(code)));
        if (encoded.isEmpty() || encoded.at(0) == 0x1B) {
            continue; // merged letters are the one command text may carry
        }
        for (char byte : encoded) {
            ASSERT_GE(static_cast<unsigned char>(byte), 0x20) << code;
            ASSERT_LT(static_cast<unsigned char>(byte), 0x80) << code;
        }
    }
}

TEST(WinKeyProtocol, DeviceBytesAreSortedByTheirTopBits)
{
    struct Case
    {
        int byte;
        ByteKind kind;
        int value;
    };
    const Case cases[] = {
        {0x55, ByteKind::Data, 0x55},   {0x17, ByteKind::Data, 23},      {0x00, ByteKind::Data, 0},
        {0x7F, ByteKind::Data, 0x7F},   {0x80, ByteKind::SpeedPot, 0},   {0x8D, ByteKind::SpeedPot, 13},
        {0xBF, ByteKind::SpeedPot, 63}, {0xC0, ByteKind::Status, 0xC0},  {0xC4, ByteKind::Status, 0xC4},
        {0xDF, ByteKind::Status, 0xDF}, {0xE0, ByteKind::Unknown, 0xE0}, {0xFF, ByteKind::Unknown, 0xFF},
    };
    for (const Case& c : cases) {
        const DeviceByte decoded = decodeByte(static_cast<std::uint8_t>(c.byte));
        EXPECT_EQ(decoded.kind, c.kind) << c.byte;
        EXPECT_EQ(decoded.value, c.value) << c.byte;
    }
}

TEST(WinKeyProtocol, StatusFlagsMapToTheirBits)
{
    struct Case
    {
        int byte;
        Status status;
    };
    const Case cases[] = {
        {0xC0, {}},
        {0xC1, {.xoff = true}},
        {0xC2, {.breakIn = true}},
        {0xC4, {.busy = true}},
        {0xC5, {.xoff = true, .busy = true}},
        {0xC8, {.keyDown = true}},
        {0xD0, {.wait = true}},
        {0xDF, {true, true, true, true, true}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodeStatus(static_cast<std::uint8_t>(c.byte)), c.status) << c.byte;
        EXPECT_EQ(encodeStatus(c.status), c.byte) << c.byte;
    }
}

TEST(WinKeyProtocol, SplitJoinedAndInterleavedReadsDecodeAlike)
{
    // Echo reply, version, busy, pot, echoed text, idle, XOFF in one stream.
    const QByteArray stream = hex({0x55, 0x17, 0xC4, 0x8D, 'C', 'Q', 0xC5, 0xC0});
    const std::vector<DeviceByte> whole = decodeBytes(stream);
    ASSERT_EQ(whole.size(), 8u);
    EXPECT_EQ(whole[2], (DeviceByte{ByteKind::Status, 0xC4}));
    EXPECT_EQ(whole[3], (DeviceByte{ByteKind::SpeedPot, 13}));
    EXPECT_EQ(whole[4], (DeviceByte{ByteKind::Data, 'C'}));
    for (int cut = 0; cut <= stream.size(); ++cut) {
        std::vector<DeviceByte> pieces = decodeBytes(stream.left(cut));
        const std::vector<DeviceByte> rest = decodeBytes(stream.mid(cut));
        pieces.insert(pieces.end(), rest.begin(), rest.end());
        EXPECT_EQ(pieces, whole) << cut;
    }
}

TEST(WinKeyProtocol, RandomBytesAlwaysDecodeToOneKindEach)
{
    std::mt19937 random(15);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 2000; ++round) {
        const auto value = static_cast<std::uint8_t>(byte(random));
        const DeviceByte decoded = decodeByte(value);
        if (decoded.kind == ByteKind::Status) {
            EXPECT_EQ(encodeStatus(decodeStatus(value)), value);
        }
        EXPECT_EQ(decoded.kind == ByteKind::Data, value < 0x80);
    }
}

} // namespace
} // namespace velk::winkey
