#include "common/qtprinters.h"
#include "rtty/itemprotocol.h"
#include "rtty/rttyvalues.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

struct EncodeCase
{
    ItemMessage message;
    QByteArray line;
};

TEST(ItemProtocol, EncodesEachVerbByteForByte)
{
    const EncodeCase cases[] = {
        {{ItemVerb::Advise, "txtSUrCall", {}}, "ADVISE txtSUrCall\n"},
        {{ItemVerb::Refuse, "txtSField2", {}}, "NAK txtSField2\n"},
        {{ItemVerb::Poke, "txtBMyCall", QStringLiteral("W1AW")}, "POKE txtBMyCall W1AW\n"},
        {{ItemVerb::Poke, "txtBField8", QString()}, "POKE txtBField8 \n"},
        {{ItemVerb::Data, "txtSField4", QStringLiteral("Jos\u00e9 Mar\u00eda")},
         "DATA txtSField4 Jos\xe9"
         " Mar\xed"
         "a\n"},
        {{ItemVerb::Data, "x", QStringLiteral("a\\b\nc\rd")}, "DATA x a\\\\b\\nc\\rd\n"},
        {{ItemVerb::Poke, "txtBUrCall", QStringLiteral("  two  blanks ")},
         "POKE txtBUrCall   two  blanks \n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(encodeItemMessage(c.message), c.line) << c.line.toStdString();
        // And back again.
        const auto decoded = decodeItemLine(QByteArrayView(c.line).chopped(1));
        ASSERT_TRUE(decoded.has_value()) << c.line.toStdString();
        EXPECT_EQ(*decoded, c.message) << c.line.toStdString();
    }
}

TEST(ItemProtocol, RefusesToEncodeWhatTheOtherEndCouldNotRead)
{
    const ItemMessage refused[] = {
        {ItemVerb::Poke, "", QStringLiteral("x")},
        {ItemVerb::Poke, "bad name", QStringLiteral("x")},
        {ItemVerb::Poke, "txt-Call", QStringLiteral("x")},
        {ItemVerb::Poke, QByteArray(33, 'a'), QStringLiteral("x")},
        {ItemVerb::Poke, "txtBUrCall", QStringLiteral("\u20ac")},
        {ItemVerb::Poke, "txtBUrCall", QString(maxItemLineLength, QLatin1Char('A'))},
    };
    for (const auto& message : refused) {
        EXPECT_TRUE(encodeItemMessage(message).isEmpty()) << message.item.toStdString();
    }
    EXPECT_FALSE(encodeItemMessage({ItemVerb::Poke, QByteArray(32, 'a'), QStringLiteral("x")}).isEmpty());
}

TEST(ItemProtocol, DecodesLinesAsSentByOtherPrograms)
{
    struct DecodeCase
    {
        QByteArray line;
        std::optional<ItemMessage> message;
    };
    const DecodeCase cases[] = {
        {"DATA txtSUrCall k1abc\r", ItemMessage{ItemVerb::Data, "txtSUrCall", QStringLiteral("k1abc")}},
        {"DATA txtSUrCall", ItemMessage{ItemVerb::Data, "txtSUrCall", QString()}},
        {"DATA txtSUrCall ", ItemMessage{ItemVerb::Data, "txtSUrCall", QString()}},
        {"DATA a b c", ItemMessage{ItemVerb::Data, "a", QStringLiteral("b c")}},
        {"DATA a \\q\\", ItemMessage{ItemVerb::Data, "a", QStringLiteral("q\\")}},
        {"NAK txtSField8", ItemMessage{ItemVerb::Refuse, "txtSField8", {}}},
        {"ADVISE txtBField8", ItemMessage{ItemVerb::Advise, "txtBField8", {}}},
        {"NAK txtSField8 extra", std::nullopt},
        {"data txtSUrCall K1ABC", std::nullopt},
        {"DATA  K1ABC", std::nullopt},
        {"DATA", std::nullopt},
        {"", std::nullopt},
        {"HELLO there", std::nullopt},
        {"DATA bad-name x", std::nullopt},
        {QByteArray("DATA a ") + QByteArray(maxItemLineLength, 'x'), std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decodeItemLine(c.line), c.message) << c.line.left(40).toStdString();
    }
}

TEST(ItemProtocol, SplitterKeepsLinesAcrossReadsAndDropsOverlongOnes)
{
    ItemLineSplitter splitter;
    EXPECT_TRUE(splitter.feed("DATA a ").isEmpty());
    EXPECT_EQ(splitter.feed("1\nDATA b 2\r\nDA"), (QList<QByteArray>{"DATA a 1", "DATA b 2\r"}));
    EXPECT_EQ(splitter.feed("TA c 3\n"), QList<QByteArray>{"DATA c 3"});

    // A megabyte without a line end never grows the buffer past one line.
    const QByteArray junk(64 * 1024, 'x');
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(splitter.feed(junk).isEmpty());
        EXPECT_LE(splitter.buffered(), maxItemLineLength + 1);
    }
    // The over-long line ends; what follows is read again.
    EXPECT_EQ(splitter.feed("yyy\nDATA d 4\n"), QList<QByteArray>{"DATA d 4"});
    EXPECT_EQ(splitter.buffered(), 0);

    // The longest line that is still a line.
    const QByteArray longest = "DATA e " + QByteArray(maxItemLineLength - 7, 'z');
    EXPECT_EQ(splitter.feed(longest + "\r\n"), QList<QByteArray>{longest + '\r'});
    EXPECT_TRUE(decodeItemLine(longest).has_value());
    EXPECT_TRUE(splitter.feed(longest + "zz\n").isEmpty());
}

TEST(RttyValues, ValuesFromThePeerPassTheTypedKeyFilter)
{
    struct ValueCase
    {
        QString text;
        PeerField field;
        QString box;
    };
    const ValueCase cases[] = {
        {QStringLiteral("k1abc"), PeerField::Call, QStringLiteral("K1ABC")},
        {QStringLiteral("  ve3/k1abc/p \r\n"), PeerField::Call, QStringLiteral("VE3/K1ABC/P")},
        {QStringLiteral("K1\"ABC"), PeerField::Call, QStringLiteral("K1ABC")},
        {QStringLiteral("K1\tA\x01"
                        "B\x7f"
                        "C\u0085"),
         PeerField::Call, QStringLiteral("K1ABC")},
        {QStringLiteral("jos\u00e9"), PeerField::Name, QStringLiteral("JOS\u00c9")},
        {QStringLiteral("\u00ff\u00df"), PeerField::Name, QStringLiteral("\u00ff\u00df")},
        {QStringLiteral("\u20acK1\u4e2dABC"), PeerField::Call, QStringLiteral("K1ABC")},
        {QStringLiteral("new  york"), PeerField::Location, QStringLiteral("NEW YORK")},
        {QString(5000, QLatin1Char('a')), PeerField::Call, QString(16, QLatin1Char('A'))},
        {QString(5000, QLatin1Char('a')), PeerField::Name, QString(20, QLatin1Char('A'))},
        {QString(5000, QLatin1Char('a')), PeerField::Location, QString(32, QLatin1Char('A'))},
        {QString(), PeerField::Call, QString()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(boxValueFromPeer(c.text, c.field), c.box) << c.text.left(20).toStdString();
    }
}

} // namespace
} // namespace velk
