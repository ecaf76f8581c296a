#include "mainwindow_fixture.h"

#include "common/qtprinters.h"
#include "support/waitfor.h"

#include <QAbstractItemModel>
#include <QSignalSpy>
#include <QTableView>

namespace velk::testing {

namespace {

QByteArray line(const char* call, const char* band, const char* name = "PAT", const char* location = "CT",
                const char* time = "17:00:00")
{
    ContactRecord record{
        QString::fromLatin1(call),    QString::fromLatin1(name), QString::fromLatin1(location),
        QStringLiteral("2026/01/10"), QString::fromLatin1(time), QString::fromLatin1(band),
        QStringLiteral("NA"),         QStringLiteral("LEE"),     QString()};
    return ContactLog::encodeLine(record);
}

} // namespace

class MainWindowDupesTest : public MainWindowTest
{
protected:
    // Starts the window and makes sure it holds the keyboard focus again after the start-up's
    // dialogs, as the operator's window would.
    void startActive()
    {
        start();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    QLabel* label(const char* name) const { return child<QLabel>(name); }
    void timeOn() { child<QPushButton>("timeOnButton")->click(); }
};

TEST_F(MainWindowDupesTest, PartialListShowsCallsOnTheBandThatBeginWithTheTypedText)
{
    writeFile(session.folders.logFile(), line("K1ABC", "20") + line("K1ABD", "20") + line("K1ABE", "40"));
    startActive();
    timeOn();
    type("callBox", QStringLiteral("k1a"));
    EXPECT_EQ(label("partialDupeLine")->text(), QStringLiteral(" K1ABC K1ABD"));
    EXPECT_TRUE(label("partialDupeLine")->styleSheet().contains(QStringLiteral("#00c0c0")));
    EXPECT_EQ(status(), QStringLiteral(" "));

    QTest::keyClicks(box("callBox"), QStringLiteral("b"));
    EXPECT_EQ(status(), QStringLiteral("Possible Duplicate!"));

    QTest::keyClicks(box("callBox"), QStringLiteral("x"));
    EXPECT_EQ(label("partialDupeLine")->text(), QString());
    EXPECT_TRUE(label("partialDupeLine")->styleSheet().contains(QStringLiteral("palette(button)")));
    EXPECT_EQ(status(), QStringLiteral(" "));

    press("callBox", Qt::Key_Backspace);
    EXPECT_EQ(label("partialDupeLine")->text(), QString()); // control keys leave the list empty
}

TEST_F(MainWindowDupesTest, SecondOrThirdCharacterWarningStillWorksWithThePartialDisplayOff)
{
    writeFile(session.folders.logFile(), line("KAB1X", "20"));
    startActive();
    timeOn();
    child<QPushButton>("partialDupesButton")->click();
    EXPECT_EQ(child<QPushButton>("partialDupesButton")->text(), QStringLiteral("Off"));

    const int bells = prompter.bells;
    type("callBox", QStringLiteral("KAB"));
    EXPECT_EQ(status(), QStringLiteral("The second or third character is not numeric!"));
    EXPECT_EQ(prompter.bells, bells + 1);
    EXPECT_EQ(label("partialDupeLine")->text(), QString());

    for (const QString& call : {QStringLiteral("K1A"), QStringLiteral("KA1"), QStringLiteral("W/K")}) {
        box("callBox")->clear();
        type("callBox", call);
        EXPECT_EQ(status(), QStringLiteral(" ")) << call.toStdString();
    }
}

TEST_F(MainWindowDupesTest, SameCallOnAnotherBandFillsNameAndLocationAndListsEarlierContacts)
{
    session.prefs.listPrevious = 1;
    writePreferences();
    writeFile(session.folders.logFile(),
              line("VE3XX", "80", "", "ON") + line("W1AW", "20") + line("VE3XX", "40", "BOB", "QC"));
    startActive();
    type("callBox", QStringLiteral("ve3xx"));
    press("callBox", Qt::Key_Space); // leaving the call box runs the check

    EXPECT_EQ(box("nameBox")->text(), QStringLiteral("BOB"));
    EXPECT_EQ(box("nameBox")->selectedText(), QStringLiteral("BOB"));
    EXPECT_EQ(box("locationBox")->text(), QStringLiteral("ON"));
    EXPECT_FALSE(status().startsWith(QStringLiteral("Duplicate")));
    const QAbstractItemModel* listed = child<QTableView>("contactList")->model();
    ASSERT_EQ(listed->rowCount(), 2);
    EXPECT_EQ(listed->index(0, 0).data().toString(), QStringLiteral("1"));
    EXPECT_EQ(listed->index(1, 0).data().toString(), QStringLiteral("3"));

    press("nameBox", Qt::Key_Return);
    EXPECT_EQ(session.log.count(), 4);
}

TEST_F(MainWindowDupesTest, DupeIsReportedOnRedAndTheEntryCleared)
{
    writeFile(session.folders.logFile(), line("W1AW", "20") + line("N0CALL", "40") + line("N0CALL", "20") +
                                             line("N0CALL", "20", "PAT", "CT", "17:30:00"));
    startActive();
    const int bells = prompter.bells;
    // Logging runs the check too: name and location first, then the call and Enter.
    type("nameBox", QStringLiteral("PAT"));
    type("locationBox", QStringLiteral("CT"));
    type("callBox", QStringLiteral("n0call"));
    press("callBox", Qt::Key_Return);

    EXPECT_EQ(status(), QStringLiteral("Duplicate N0CALL 2026/01/10 17:00:00  Rec#  3"));
    EXPECT_TRUE(label("statusLine")->styleSheet().contains(QStringLiteral("#ff0000")));
    EXPECT_GT(prompter.bells, bells);
    EXPECT_EQ(session.log.count(), 4);
    for (const char* name : {"callBox", "nameBox", "locationBox"}) {
        EXPECT_TRUE(box(name)->text().isEmpty()) << name;
    }
    EXPECT_TRUE(box("callBox")->hasFocus());

    // Leaving the call box reports it too, and the focus stays in the call box.
    clock.advanceMs(5000);
    type("callBox", QStringLiteral("N0CALL"));
    press("callBox", Qt::Key_Tab);
    EXPECT_TRUE(status().startsWith(QStringLiteral("Duplicate N0CALL")));
    EXPECT_TRUE(box("callBox")->text().isEmpty());
    EXPECT_TRUE(box("callBox")->hasFocus());
}

TEST_F(MainWindowDupesTest, KeysAfterADupeWaitThreeSecondsInOrderWhileTheStationKeepsRunning)
{
    writeFile(session.folders.logFile(), line("N0CALL", "20"));
    startActive();
    type("callBox", QStringLiteral("N0CALL"));
    press("callBox", Qt::Key_Tab);
    ASSERT_TRUE(status().startsWith(QStringLiteral("Duplicate")));

    clock.advanceMs(1000);
    QTest::keyClick(box("callBox"), Qt::Key_W);
    QTest::keyClick(box("callBox"), Qt::Key_1);
    // The station goes on while the keys wait: a spot arrives and the radio reads its dial.
    QSignalSpy posted(&station.spots(), &SpotFeed::spotPosted);
    station.spots().postSpot(
        QStringLiteral("DX de K1TTT:     14025.0  DL1ABC       CQ                        1830Z"));
    station.followRadioFrequency(14.025);
    QTest::qWait(60);
    EXPECT_EQ(box("callBox")->text(), QString());
    EXPECT_EQ(posted.count(), 1);
    EXPECT_EQ(session.pendingFrequency, QStringLiteral("14.025"));

    clock.advanceMs(2000);
    ASSERT_TRUE(waitFor([&] { return box("callBox")->text() == QStringLiteral("W1"); }));
    // The hold is over: the next key goes straight in.
    QTest::keyClick(box("callBox"), Qt::Key_A);
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("W1A"));
}

} // namespace velk::testing
