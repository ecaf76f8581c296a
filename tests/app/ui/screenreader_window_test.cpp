// What a screen reader is told while the operator works the main window, offscreen: the
// announcer's notifications, what the status line and the station say through it, the keys that
// say the contest state and the last spot, and the score grid's descriptions.
#include "app/ui/spokenreports.h"
#include "common/ui/announcer.h"
#include "log/ui/mainwindow_fixture.h"
#include "log/ui/statusline.h"
#include "spots/spotfeed.h"

#include <QAccessible>

namespace velk::testing {
namespace {

// Lets the announcer's turn end.
void endTurn()
{
    QCoreApplication::processEvents();
}

QStringList noticeNames(const Announcer& announcer)
{
    QStringList names;
    for (auto* notice : announcer.findChildren<AnnouncementNotice*>(Qt::FindDirectChildrenOnly)) {
        // As Orca reads one: the notification role, no name, one visible label with the text.
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(notice);
        EXPECT_EQ(iface->role(), QAccessible::Notification);
        EXPECT_TRUE(iface->text(QAccessible::Name).isEmpty());
        EXPECT_TRUE(notice->isVisible());
        EXPECT_EQ(iface->childCount(), 1);
        QAccessibleInterface* label = iface->child(0);
        EXPECT_EQ(label->role(), QAccessible::StaticText);
        EXPECT_FALSE(label->state().invisible);
        names << label->text(QAccessible::Name);
    }
    return names;
}

TEST(AnnouncerTest, SaysEachMessageOnceAndOfTheStatusLineOnlyWhatItEndsTheTurnWith)
{
    QWidget window;
    window.show();
    Announcer announcer(&window);
    StatusLine status(&window);
    status.setAnnouncer(&announcer);

    // One turn: two problems found one after the other, a message given twice.
    status.showText(QStringLiteral("Need S/P/C!"));
    announcer.announce(QStringLiteral("Lost the link to fldigi."));
    status.showText(QStringLiteral("Need Name!"));
    announcer.announce(QStringLiteral("Lost the link to fldigi."));
    EXPECT_TRUE(announcer.said().isEmpty()); // nothing before the turn ends
    endTurn();
    EXPECT_EQ(announcer.said(),
              (QStringList{QStringLiteral("Lost the link to fldigi."), QStringLiteral("Need Name!")}));
    EXPECT_EQ(noticeNames(announcer), announcer.said());

    // The same status text again, blank text, and echoed keystrokes are not said.
    status.showText(QStringLiteral("Need Name!"));
    endTurn();
    status.showUnsaid(QStringLiteral("CQ TEST K9XX"));
    endTurn();
    status.showText(QStringLiteral("  "));
    endTurn();
    EXPECT_EQ(announcer.said().size(), 2);
    EXPECT_EQ(status.text(), QStringLiteral("  "));
    // After the line was cleared, the same problem is news again.
    status.showText(QStringLiteral("Need Name!"));
    endTurn();
    EXPECT_EQ(announcer.said().size(), 3);
}

TEST(AnnouncerTest, KeepsOnlyTheLastFewNotices)
{
    QWidget window;
    window.show();
    Announcer announcer(&window);
    for (int i = 1; i <= Announcer::keptNotices + 4; ++i) {
        announcer.announce(QStringLiteral("message %1").arg(i));
        endTurn();
    }
    const QStringList names = noticeNames(announcer);
    ASSERT_EQ(names.size(), Announcer::keptNotices);
    EXPECT_EQ(names.back(), QStringLiteral("message %1").arg(Announcer::keptNotices + 4));
    EXPECT_EQ(announcer.said(), names);
}

TEST(SpokenReportsTest, Sentences)
{
    ContactRecord record;
    record.call = QStringLiteral("W1AW");
    record.band = QStringLiteral("20");
    EXPECT_EQ(loggedContactReport(record, {}, 37), QStringLiteral("Logged W1AW, 20 metres, contact 37"));
    EXPECT_EQ(loggedContactReport(record, {.locationIndex = 3}, 1),
              QStringLiteral("Logged W1AW, 20 metres, contact 1, new multiplier"));
    EXPECT_EQ(loggedContactReport(record, {.newDx = true}, 2),
              QStringLiteral("Logged W1AW, 20 metres, contact 2, new multiplier"));
    EXPECT_EQ(spokenBand(QStringLiteral("160")), QStringLiteral("160 metres"));
    EXPECT_EQ(spokenBand(QStringLiteral("440")), QStringLiteral("70 centimetres"));

    SpotRing ring;
    const QDateTime now(QDate(2026, 1, 10), QTime(18, 0), Qt::UTC);
    EXPECT_EQ(lastSpotReport(ring, now), QStringLiteral("No spot yet."));
    ring.add(QStringLiteral("DL1ABC"), 14.025, now.addSecs(-200));
    ring.add(QStringLiteral("OH2XX"), 14.0125, now.addSecs(-30));
    EXPECT_EQ(lastSpotReport(ring, now),
              QStringLiteral("Last spot: OH2XX, 14.0125 megahertz, less than a minute old"));
    ring.withdraw(SpotRing::newestSlot); // withdrawn from the map: the one before is the last
    EXPECT_EQ(lastSpotReport(ring, now),
              QStringLiteral("Last spot: DL1ABC, 14.025 megahertz, 3 minutes old"));
}

class ScreenReaderWindowTest : public MainWindowTest
{
protected:
    const QStringList& said() const { return form->announcer().said(); }
    QStringList saidAfter(const std::function<void()>& action) const
    {
        endTurn();
        const qsizetype before = said().size();
        action();
        endTurn();
        return said().mid(before);
    }
};

TEST_F(ScreenReaderWindowTest, ALoggedContactIsSaidAndTheTypingIsNot)
{
    start();
    const QStringList heard = saidAfter(
        [&] { enterContact(QStringLiteral("K1ABC"), QStringLiteral("BOB"), QStringLiteral("MA")); });
    EXPECT_EQ(heard.back(), QStringLiteral("Logged K1ABC, 20 metres, contact 1, new multiplier"));
    for (const QString& text : heard) {
        EXPECT_FALSE(text == QStringLiteral("K1ABC") || text == QStringLiteral("BOB") ||
                     text == QStringLiteral("MA"))
            << text.toStdString();
    }
    // The grid says which locations are worked.
    auto* ma = form->findChild<QLabel*>(QStringLiteral("location_MA"));
    auto* ct = form->findChild<QLabel*>(QStringLiteral("location_CT"));
    EXPECT_EQ(ma->accessibleDescription(), QStringLiteral("worked on 20 metres"));
    EXPECT_EQ(ct->accessibleDescription(), QStringLiteral("not worked on 20 metres"));

    // The dupe report is said as the status line shows it.
    const QStringList dupe = saidAfter([&] {
        type("callBox", QStringLiteral("K1ABC"));
        press("callBox", Qt::Key_Tab);
    });
    ASSERT_FALSE(dupe.isEmpty());
    EXPECT_TRUE(dupe.back().startsWith(QStringLiteral("Duplicate K1ABC"))) << dupe.back().toStdString();
    EXPECT_EQ(dupe.back(), status().simplified());
}

TEST_F(ScreenReaderWindowTest, KeysSayTheContestStateAndTheLastSpot)
{
    start();
    enterContact(QStringLiteral("K1ABC"), QStringLiteral("BOB"), QStringLiteral("MA"));
    focusOn("callBox");
    const QStringList state = saidAfter([] { keyAtFocus(Qt::Key_T, Qt::ControlModifier); });
    ASSERT_EQ(state.size(), 1);
    EXPECT_TRUE(state.front().startsWith(QStringLiteral("Score 1. 1 contact, 1 multiplier, 1 on 20 metres.")))
        << state.front().toStdString();
    EXPECT_TRUE(box("callBox")->text().isEmpty()); // the key typed nothing

    const QStringList none = saidAfter([] { keyAtFocus(Qt::Key_L, Qt::ControlModifier); });
    EXPECT_EQ(none, QStringList{QStringLiteral("No spot yet.")});
    station.spotRing().add(QStringLiteral("DL1ABC"), 14.025, clock.utcNow().addSecs(-125));
    const QStringList last = saidAfter([] { keyAtFocus(Qt::Key_L, Qt::ControlModifier); });
    EXPECT_EQ(last, QStringList{QStringLiteral("Last spot: DL1ABC, 14.025 megahertz, 2 minutes old")});
}

TEST_F(ScreenReaderWindowTest, OwnCallSpottedAndALostSpotSourceAreSaidOnce)
{
    start();
    const QString record = QStringLiteral("DX de DL1ABC:    14030.0  K9XX   cq test   1200Z");
    const QStringList heard = saidAfter([&] {
        emit station.spots().ownCallSpotted(record);
        emit station.spots().sourceLost(QStringLiteral("closed by the cluster"));
    });
    EXPECT_EQ(heard, (QStringList{QStringLiteral("You've been spotted! ") + record.simplified(),
                                  QStringLiteral("Lost the link to the spot source.")}));
    EXPECT_EQ(status(), QStringLiteral("You've been spotted! "));
}

} // namespace
} // namespace velk::testing
