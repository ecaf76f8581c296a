#include "cw/linemorsesender.h"
#include "cw/morse.h"
#include "fakekeying.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <thread>

namespace velk {
namespace {

using testing::JumpingKeyTiming;
using testing::RecordedChange;
using testing::RecordingKeyLine;

constexpr std::int64_t ms = 1'000'000;

class LineSenderTest : public ::testing::Test
{
protected:
    JumpingKeyTiming timing;
    RecordingKeyLine line{timing};
    LineMorseSender sender{timing, nullptr};
    QSignalSpy sent{&sender, &MorseSender::characterSent};
    QSignalSpy idle{&sender, &MorseSender::idle};
    QSignalSpy failed{&sender, &MorseSender::failed};
    std::int64_t start = timing.nowNs();

    void SetUp() override
    {
        sender.setLine(&line);
        sender.setSpeed(20);
    }

    // Lets the run end and its reports arrive.
    void finish()
    {
        sender.waitUntilDone();
        QCoreApplication::sendPostedEvents();
    }

    // Line changes as (ms after the start, down).
    std::vector<std::pair<std::int64_t, bool>> changes() const
    {
        std::vector<std::pair<std::int64_t, bool>> relative;
        for (const RecordedChange& change : line.changes()) {
            relative.emplace_back((change.atNs - start) / ms, change.down);
        }
        return relative;
    }

    QString sentText() const
    {
        QString text;
        for (const QList<QVariant>& arguments : sent) {
            text += arguments.at(0).value<QChar>();
        }
        return text;
    }
};

using Changes = std::vector<std::pair<std::int64_t, bool>>;

TEST_F(LineSenderTest, EAtTwentyWpmKeysDownSixtyMsAndEndsAfterItsGap)
{
    sender.append(QStringLiteral("E"));
    EXPECT_TRUE(sender.isSending());
    finish();
    EXPECT_EQ(changes(), (Changes{{0, true}, {60, false}}));
    EXPECT_EQ(timing.nowNs() - start, 240 * ms);
    EXPECT_EQ(sentText(), QStringLiteral("E"));
    EXPECT_EQ(idle.count(), 1);
    EXPECT_FALSE(sender.isSending());
    EXPECT_FALSE(line.down());
}

TEST_F(LineSenderTest, ParisWithAWordSpaceKeysTheIdealScheduleAtAbsoluteDeadlines)
{
    sender.setSpeed(13);
    sender.setWordSpace(2);
    sender.append(QStringLiteral("PARIS PARIS "));
    finish();
    const std::vector<TimedChange> ideal = textSchedule(QStringLiteral("PARIS PARIS "), 13, 2);
    const std::vector<RecordedChange> recorded = line.changes();
    ASSERT_EQ(recorded.size(), ideal.size());
    for (size_t i = 0; i < ideal.size(); ++i) {
        EXPECT_EQ(recorded[i].atNs - start, ideal[i].atNs) << i;
        EXPECT_EQ(recorded[i].down, ideal[i].down) << i;
    }
    EXPECT_EQ(timing.nowNs() - start, 2 * 56 * unitNs(13));
    EXPECT_EQ(sentText(), QStringLiteral("PARIS PARIS "));
}

// A stall (the process stopped, a busy machine) at any point of "PARIS": everything after it
// comes that much later, and no element or gap is shorter than its length.
TEST(LineSenderStallTest, ALateWakeUpMovesTheRestLaterAndShortensNothing)
{
    constexpr std::int64_t stall = 200 * ms;
    const QString text = QStringLiteral("PARIS");
    // From the start to each change and to the end of the last gap.
    std::vector<std::int64_t> ideal{0};
    for (const TimedChange& change : textSchedule(text, 40, 0)) {
        ideal.push_back(change.atNs);
    }
    ideal.push_back(textUnits(text, 0) * unitNs(40));
    auto keyWithStallAt = [&](int stalledSleep, int& sleeps) {
        JumpingKeyTiming timing;
        RecordingKeyLine line{timing};
        LineMorseSender sender{timing, nullptr};
        sender.setLine(&line);
        sender.setSpeed(40);
        timing.onSleep = [&](std::int64_t) {
            if (++sleeps == stalledSleep) {
                timing.advance(stall);
            }
        };
        const std::int64_t start = timing.nowNs();
        sender.append(text);
        sender.waitUntilDone();
        std::vector<std::int64_t> times{0};
        for (const RecordedChange& change : line.changes()) {
            times.push_back(change.atNs - start);
        }
        times.push_back(timing.nowNs() - start);
        return times;
    };
    int sleepCount = 0;
    keyWithStallAt(0, sleepCount);
    ASSERT_GT(sleepCount, 20);
    for (int stalled = 1; stalled <= sleepCount; ++stalled) {
        int sleeps = 0;
        const std::vector<std::int64_t> times = keyWithStallAt(stalled, sleeps);
        ASSERT_EQ(times.size(), ideal.size()) << stalled;
        std::int64_t stretched = 0;
        for (size_t i = 0; i + 1 < times.size(); ++i) {
            const std::int64_t extra = (times[i + 1] - times[i]) - (ideal[i + 1] - ideal[i]);
            EXPECT_TRUE(extra == 0 || extra == stall) << "sleep " << stalled << ", interval " << i;
            stretched += extra;
        }
        EXPECT_EQ(stretched, stall) << stalled;
    }
}

TEST_F(LineSenderTest, ProsignsAreKeyedAsOneCharacterAndMarksPassWithoutTime)
{
    sender.append(QStringLiteral("[!%"));
    finish();
    // AR: .-.-. as one character
    EXPECT_EQ(changes(), (Changes{{0, true},
                                  {60, false},
                                  {120, true},
                                  {300, false},
                                  {360, true},
                                  {420, false},
                                  {480, true},
                                  {660, false},
                                  {720, true},
                                  {780, false}}));
    EXPECT_EQ(timing.nowNs() - start, 16 * 60 * ms);
    EXPECT_EQ(sentText(), QStringLiteral("[!%"));
}

TEST_F(LineSenderTest, EscEndsTheCurrentCharacterAndDropsTheRest)
{
    bool cleared = false;
    timing.onSleep = [&](std::int64_t now) {
        if (!cleared && now == start + 60 * ms) {
            cleared = true;
            sender.clear();
        }
    };
    sender.append(QStringLiteral("EE TEST"));
    finish();
    EXPECT_EQ(changes(), (Changes{{0, true}, {60, false}}));
    EXPECT_EQ(sentText(), QStringLiteral("E"));
    EXPECT_EQ(idle.count(), 1);
    EXPECT_FALSE(line.down());
}

TEST_F(LineSenderTest, BackspaceRemovesOnlyWhatIsUnsent)
{
    bool removed = false;
    timing.onSleep = [&](std::int64_t) {
        if (!removed) {
            removed = true;
            EXPECT_TRUE(sender.removeLastUnsent());  // the T
            EXPECT_FALSE(sender.removeLastUnsent()); // the E is being keyed
        }
    };
    sender.append(QStringLiteral("ET"));
    finish();
    EXPECT_EQ(changes(), (Changes{{0, true}, {60, false}}));
    EXPECT_EQ(sentText(), QStringLiteral("E"));
}

TEST_F(LineSenderTest, ASpeedChangeTakesEffectFromTheNextCharacter)
{
    bool changed = false;
    timing.onSleep = [&](std::int64_t) {
        if (!changed) {
            changed = true;
            sender.setSpeed(10);
        }
    };
    sender.append(QStringLiteral("EE"));
    finish();
    EXPECT_EQ(changes(), (Changes{{0, true}, {60, false}, {240, true}, {360, false}}));
    EXPECT_EQ(sender.speed(), 10);
}

TEST_F(LineSenderTest, SpeedIsBoundedToFiveToNinetyNine)
{
    sender.setSpeed(0);
    EXPECT_EQ(sender.speed(), 5);
    sender.setSpeed(150);
    EXPECT_EQ(sender.speed(), 99);
}

TEST_F(LineSenderTest, TextAppendedWhileSendingJoinsTheSameRun)
{
    bool appended = false;
    timing.onSleep = [&](std::int64_t) {
        if (!appended) {
            appended = true;
            sender.append(QStringLiteral("T"));
        }
    };
    sender.append(QStringLiteral("E"));
    finish();
    EXPECT_EQ(changes(), (Changes{{0, true}, {60, false}, {240, true}, {420, false}}));
    EXPECT_EQ(idle.count(), 1);
    EXPECT_EQ(sentText(), QStringLiteral("ET"));
}

TEST_F(LineSenderTest, AFailedLineStopsSendingWithTheKeyReportedOnce)
{
    line.failAfter = 1;
    sender.append(QStringLiteral("EEE"));
    finish();
    EXPECT_EQ(failed.count(), 1);
    EXPECT_EQ(idle.count(), 0);
    EXPECT_EQ(sentText(), QString());
    EXPECT_FALSE(sender.isSending());
    EXPECT_TRUE(sender.unsent().isEmpty());
}

TEST_F(LineSenderTest, WithoutALineTheTextPassesAtOnce)
{
    sender.setLine(nullptr);
    sender.append(QStringLiteral("CQ TEST"));
    finish();
    EXPECT_EQ(timing.nowNs(), start);
    EXPECT_EQ(sentText(), QStringLiteral("CQ TEST"));
    EXPECT_EQ(idle.count(), 1);
}

// Stopped in the middle of the first dash: the dash ends, the key is up, nothing more is keyed.
TEST(LineSenderStopTest, StoppingLeavesTheKeyUpAfterTheElementInProgress)
{
    testing::GatedKeyTiming timing;
    RecordingKeyLine line{timing};
    LineMorseSender sender{timing, nullptr};
    sender.setLine(&line);
    sender.append(QStringLiteral("TTTTTT"));
    timing.allow(1); // the dash starts
    while (!line.down()) {
        std::this_thread::yield();
    }
    std::thread stopping([&] { sender.stop(); });
    while (!sender.unsent().isEmpty()) { // stop() has dropped the rest
        std::this_thread::yield();
    }
    timing.allow(-1);
    stopping.join();
    EXPECT_FALSE(line.down());
    const std::vector<RecordedChange> changes = line.changes();
    ASSERT_GE(changes.size(), 2u);
    EXPECT_TRUE(changes[0].down);
    for (size_t i = 1; i < changes.size(); ++i) {
        EXPECT_FALSE(changes[i].down) << i;
    }
}

TEST_F(LineSenderTest, ASecondRunStartsAfterTheFirstEnded)
{
    sender.append(QStringLiteral("E"));
    finish();
    sender.append(QStringLiteral("E"));
    finish();
    EXPECT_EQ(idle.count(), 2);
    EXPECT_EQ(line.changes().size(), 4u);
}

} // namespace
} // namespace velk
