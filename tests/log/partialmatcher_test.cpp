// The partial matches of the call box against a small database and a log.
#include "log/logbuilder.h"
#include "log/partialmatcher.h"

#include "common/qtprinters.h"

#include <gtest/gtest.h>

using namespace velk;
using velk::testing::logOf;

namespace {

ContactRecord contact(const QString& call, const QString& band)
{
    return {call,
            QStringLiteral("PAT"),
            QStringLiteral("CT"),
            QStringLiteral("2026/01/10"),
            QStringLiteral("18:04:31"),
            band,
            QStringLiteral("NA"),
            QStringLiteral("LEE"),
            QString()};
}

std::shared_ptr<CallIndex> databaseOf(std::initializer_list<const char*> calls)
{
    auto index = std::make_shared<CallIndex>();
    for (const char* call : calls) {
        index->insert(call);
    }
    return index;
}

// "K1ABC" new, "K1ABC*" dupe, "K1ABC~" worked on another band.
QString shown(const MatchList& list)
{
    QStringList calls;
    for (const CallMatch& match : list.calls) {
        calls << match.call + (match.status == MatchStatus::Dupe              ? QStringLiteral("*")
                               : match.status == MatchStatus::WorkedOtherBand ? QStringLiteral("~")
                                                                              : QString());
    }
    return (list.nearMatches ? QStringLiteral("N+1: ") : QString()) + calls.join(QLatin1Char(' '));
}

} // namespace

TEST(PartialMatcher, OrdersMarksAndFallsBackToNearMatches)
{
    PartialMatcher matcher;
    matcher.setDatabase(databaseOf({"W1AW", "K1ABC", "AK1AB", "K1AB", "VE3/K1ABC", "K1ABC/P", "N2XY",
                                    "DL1ABC", "KK1AB", "W1AW", "G4ABC", "K1XX"}));
    // The log adds calls the database lacks and marks the ones it has.
    matcher.logCalls().rebuild(logOf({contact(QStringLiteral("K1AB"), QStringLiteral("20")),
                                      contact(QStringLiteral("k1abc/p"), QStringLiteral("40")),
                                      contact(QStringLiteral("ZZ1AB"), QStringLiteral("40")),
                                      contact(QStringLiteral("W1AW"), QStringLiteral("20")),
                                      contact(QStringLiteral("W1AW"), QStringLiteral("40"))}));

    const struct
    {
        const char* typed;
        const char* band;
        const char* expected;
    } cases[] = {
        // One character is not enough.
        {"K", "20", ""},
        // Calls starting with the text first, then those holding it, each alphabetical; one
        // copy of a call in both the database and the log.
        {"K1", "20", "K1AB* K1ABC K1ABC/P~ K1XX AK1AB KK1AB VE3/K1ABC"},
        {"1AB", "20", "AK1AB DL1ABC K1AB* K1ABC K1ABC/P~ KK1AB VE3/K1ABC ZZ1AB~"},
        // Either case typed; the marks follow the band.
        {"k1ab", "40", "K1AB~ K1ABC K1ABC/P* AK1AB KK1AB VE3/K1ABC"},
        {"w1aw", "40", "W1AW*"},
        {"W1AW", "15", "W1AW~"},
        // Slash calls: by the part before or after the slash, or with the slash typed.
        {"/K1", "20", "VE3/K1ABC"},
        {"ABC/", "20", "K1ABC/P~"},
        {"VE3/K1", "20", "VE3/K1ABC"},
        // No call holds the text: the calls one edit away. Substitution, deletion, insertion.
        {"K1ABD", "20", "N+1: K1AB* K1ABC"},
        {"K1AXC", "20", "N+1: K1ABC"},
        {"K1ABCX", "20", "N+1: K1ABC"},
        {"W1W", "40", "N+1: W1AW*"},
        {"N2XYZ/P", "20", ""},
        // Not call characters: nothing, never a near match of junk.
        {"K1-", "20", ""},
        {"", "20", ""},
    };
    for (const auto& c : cases) {
        const MatchList list = matcher.match(QString::fromLatin1(c.typed), QString::fromLatin1(c.band));
        EXPECT_EQ(shown(list), QString::fromLatin1(c.expected)) << c.typed << " on " << c.band;
    }
}

TEST(PartialMatcher, CapsTheListAndKeepsTheStartingCallsFirst)
{
    auto database = std::make_shared<CallIndex>();
    for (int i = 0; i < 200; ++i) {
        database->insert(QStringLiteral("W%1K").arg(i, 3, 10, QLatin1Char('0')).toStdString());
    }
    database->insert("K9ZZZ");
    PartialMatcher matcher;
    matcher.setDatabase(database);
    const MatchList list = matcher.match(u"K9", u"20", 5);
    ASSERT_EQ(list.calls.size(), 1u);
    EXPECT_EQ(list.calls.front().call, QStringLiteral("K9ZZZ"));
    const MatchList many = matcher.match(u"0K", u"20", 5);
    EXPECT_EQ(shown(many), QStringLiteral("W000K W010K W020K W030K W040K"));
}

TEST(PartialMatcher, LogCallsFollowNewContactsAndOnlyLogCallsMatchWithoutADatabase)
{
    PartialMatcher matcher;
    matcher.logCalls().rebuild(logOf({contact(QStringLiteral("K1ABC"), QStringLiteral("20"))}));
    EXPECT_EQ(shown(matcher.match(u"1AB", u"20")), QStringLiteral("K1ABC*"));
    matcher.logCalls().add(contact(QStringLiteral("n1abz"), QStringLiteral("10")));
    EXPECT_EQ(shown(matcher.match(u"1AB", u"20")), QStringLiteral("K1ABC* N1ABZ~"));
    EXPECT_EQ(matcher.logCalls().bandsOf("N1ABZ"), 1u << 5);
}

TEST(CallIndex, KeepsEachCallOnceAndRefusesWhatIsNotACall)
{
    CallIndex index;
    EXPECT_TRUE(index.insert("K1ABC").second);
    EXPECT_FALSE(index.insert("K1ABC").second);
    EXPECT_EQ(index.size(), 1u);
    EXPECT_EQ(CallIndex::normalized(" k1abc/p \r"), "K1ABC/P");
    for (const char* refused : {"K1", "K1 ABC", "K1-ABC", "K1ABC\xC4", "ABCDEFGHIJKLMNOPQ", ""}) {
        EXPECT_EQ(CallIndex::normalized(refused), "") << refused;
    }
    // The table grows far past its first size and still finds every call.
    for (int i = 0; i < 5000; ++i) {
        index.insert(QStringLiteral("K%1Z").arg(i).toStdString());
    }
    for (int i = 0; i < 5000; i += 97) {
        EXPECT_TRUE(index.find(QStringLiteral("K%1Z").arg(i).toStdString())) << i;
    }
    EXPECT_FALSE(index.find("K5000Z"));
}
