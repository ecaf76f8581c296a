// The entry boxes as the operator uses them: keystrokes, completeness, logging, the clocks.
#include "mainwindow_fixture.h"

#include "common/formats.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>

namespace velk::testing {

namespace {

QStringList contact(const QString& call, const QString& name, const QString& location, const QString& date,
                    const QString& time, const QString& band, const QString& frequency = QString())
{
    return {call, name, location, date, time, band, QStringLiteral("NA"), QStringLiteral("LEE"), frequency};
}

} // namespace

TEST_F(MainWindowTest, TypedContactIsAppendedToTheLogFile)
{
    start();
    enterContact(QStringLiteral("k1xyz"), QStringLiteral("pat"), QStringLiteral("CT"));
    EXPECT_EQ(
        readFile(session.folders.logFile()),
        QByteArray("\"K1XYZ\",\"PAT\",\"CT\",\"2026/01/10\",\"18:04:31\",\"20\",\"NA\",\"LEE\",\"\"\r\n"));
    EXPECT_EQ(session.log.count(), 1);
    EXPECT_TRUE(box("callBox")->text().isEmpty());
    EXPECT_TRUE(box("callBox")->hasFocus());
}

TEST_F(MainWindowTest, SpaceMovesOnAndEnterLogsAsTheOperatorTypes)
{
    start();
    ASSERT_TRUE(hasFocus("callBox"));

    keys(QStringLiteral("k1xyz "));
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("K1XYZ"));
    EXPECT_TRUE(hasFocus("nameBox"));

    keys(QStringLiteral("pat "));
    EXPECT_EQ(box("nameBox")->text(), QStringLiteral("PAT"));
    EXPECT_TRUE(hasFocus("locationBox"));

    keys(QStringLiteral("CT"));
    keyAtFocus(Qt::Key_Return);
    EXPECT_EQ(
        readFile(session.folders.logFile()),
        logLine(contact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"),
                        QStringLiteral("2026/01/10"), QStringLiteral("18:04:31"), QStringLiteral("20"))));
    EXPECT_EQ(session.log.count(), 1);
    EXPECT_EQ(child<QLabel>("contactsTotal")->text(), QStringLiteral("1"));
    for (const char* name : {"callBox", "nameBox", "locationBox"}) {
        EXPECT_TRUE(box(name)->text().isEmpty()) << name;
    }
    EXPECT_TRUE(child<QLabel>("continentDisplay")->text().isEmpty());
    EXPECT_TRUE(hasFocus("callBox"));

    // Enter in the name box logs too.
    keys(QStringLiteral("w1aw "));
    keys(QStringLiteral("hiram"));
    box("locationBox")->setText(QStringLiteral("CT"));
    keyAtFocus(Qt::Key_Return);
    EXPECT_EQ(session.log.count(), 2);
    EXPECT_EQ(session.log.record(2).call, QStringLiteral("W1AW"));
    EXPECT_EQ(session.log.record(2).name, QStringLiteral("HIRAM"));
}

TEST_F(MainWindowTest, DoubleQuoteIsDiscardedInEveryBox)
{
    start();
    keys(QStringLiteral("\"k1\"xyz\" "));
    keys(QStringLiteral("p\"at\" "));
    keys(QStringLiteral("\"C\"T"));
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("K1XYZ"));
    EXPECT_EQ(box("nameBox")->text(), QStringLiteral("PAT"));
    EXPECT_EQ(box("locationBox")->text(), QStringLiteral("CT"));
    keyAtFocus(Qt::Key_Return);
    EXPECT_EQ(
        readFile(session.folders.logFile()),
        logLine(contact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"),
                        QStringLiteral("2026/01/10"), QStringLiteral("18:04:31"), QStringLiteral("20"))));

    // The post-contest boxes refuse it as well.
    action("postContestAction")->trigger();
    focusOn("postContestDateBox");
    keys(QStringLiteral("\"2026/01/09\""));
    EXPECT_EQ(box("postContestDateBox")->text(), QStringLiteral("2026/01/09"));
    focusOn("postContestTimeBox");
    keys(QStringLiteral("\"1804\""));
    EXPECT_EQ(box("postContestTimeBox")->text(), QStringLiteral("1804"));
}

TEST_F(MainWindowTest, PastedTextLosesQuotesAndLineBreaks)
{
    start();
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto pasteInto = [&](const char* name, const QString& text) {
        clipboard->setText(text);
        focusOn(name);
        keyAtFocus(Qt::Key_V, Qt::ControlModifier);
    };
    pasteInto("callBox", QStringLiteral("k1\"ab\r\nc"));
    pasteInto("nameBox", QStringLiteral("\"PAT\"\n"));
    pasteInto("locationBox", QStringLiteral("C\"T\r\n"));
    EXPECT_EQ(box("callBox")->text().toUpper(), QStringLiteral("K1ABC"));
    EXPECT_EQ(box("nameBox")->text(), QStringLiteral("PAT"));
    EXPECT_EQ(box("locationBox")->text(), QStringLiteral("CT"));

    keyAtFocus(Qt::Key_Return);
    EXPECT_EQ(
        readFile(session.folders.logFile()),
        logLine(contact(QStringLiteral("K1ABC"), QStringLiteral("PAT"), QStringLiteral("CT"),
                        QStringLiteral("2026/01/10"), QStringLiteral("18:04:31"), QStringLiteral("20"))));
}

TEST_F(MainWindowTest, CallBoxWarnsWithTheBellUntilTimeOnIsLogged)
{
    start();
    keys(QStringLiteral("k1"));
    EXPECT_EQ(status(), QStringLiteral("Click Log \"Time On\"!"));
    EXPECT_EQ(prompter.bells, 2);
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("K1")) << "the keys are still taken";

    // Only the first three characters warn.
    keys(QStringLiteral("xyz"));
    EXPECT_EQ(prompter.bells, 3);
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("K1XYZ"));

    QTest::mouseClick(button("timeOnButton"), Qt::LeftButton);
    ASSERT_TRUE(session.operatingClock.isRunning());
    EXPECT_TRUE(hasFocus("callBox"));
    QTest::mouseClick(button("clearButton"), Qt::LeftButton);
    const int bellsBefore = prompter.bells;
    keys(QStringLiteral("w1"));
    EXPECT_EQ(status(), QStringLiteral(" "));
    EXPECT_EQ(prompter.bells, bellsBefore);
}

TEST_F(MainWindowTest, StartingANewCallClearsTheOldLocation)
{
    start();
    box("locationBox")->setText(QStringLiteral("CT"));
    keys(QStringLiteral("k"));
    EXPECT_TRUE(box("locationBox")->text().isEmpty());
    box("locationBox")->setText(QStringLiteral("CT"));
    keys(QStringLiteral("1"));
    EXPECT_TRUE(box("locationBox")->text().isEmpty());
    // From the third character on the location stays.
    box("locationBox")->setText(QStringLiteral("CT"));
    keys(QStringLiteral("x"));
    EXPECT_EQ(box("locationBox")->text(), QStringLiteral("CT"));
}

TEST_F(MainWindowTest, SpaceAtTheStartOfTheLocationBoxMovesOn)
{
    start();
    focusOn("locationBox");
    keys(QStringLiteral(" "));
    EXPECT_FALSE(hasFocus("locationBox"));
    EXPECT_TRUE(box("locationBox")->text().isEmpty());
}

TEST_F(MainWindowTest, EnterWithAnEmptyEntryTurnsTheClockOnAndAsksForTheCallLast)
{
    start();
    ASSERT_FALSE(session.operatingClock.isRunning());
    keyAtFocus(Qt::Key_Return);
    EXPECT_TRUE(session.operatingClock.isRunning());
    EXPECT_EQ(button("timeOnButton")->text(), QStringLiteral("&Log \"Time Off\""));
    EXPECT_EQ(status(), QStringLiteral("Need Call Sign!"));
    EXPECT_TRUE(hasFocus("callBox"));
    // One bell for the clock being off, one for each missing box.
    EXPECT_EQ(prompter.bells, 4);
    EXPECT_EQ(session.log.count(), 0);
    EXPECT_TRUE(readFile(session.folders.logFile()).isEmpty());
}

TEST_F(MainWindowTest, CompletenessCheckReportsTheLastMissingBoxAndMovesTheFocus)
{
    struct Case
    {
        const char* call;
        const char* name;
        const char* location;
        const char* message;
        const char* focus;
        int bells;
    };
    const Case cases[] = {
        {"K1XYZ", "PAT", "", "Need S/P/C!", "callBox", 1},
        // A one-letter location is missing and, being short, no known section either.
        {"K1XYZ", "PAT", "C", "Invald Section!", "locationBox", 2},
        {"K1XYZ", "", "CT", "Need Name!", "nameBox", 1},
        {"K1XYZ", "", "", "Need Name!", "nameBox", 2},
        {"K1", "PAT", "CT", "Need Call Sign!", "callBox", 1},
        {"K1", "", "", "Need Call Sign!", "callBox", 3},
    };
    start();
    QTest::mouseClick(button("timeOnButton"), Qt::LeftButton);
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1/%2/%3").arg(c.call, c.name, c.location).toStdString());
        QTest::mouseClick(button("clearButton"), Qt::LeftButton);
        box("callBox")->setText(QString::fromLatin1(c.call));
        box("nameBox")->setText(QString::fromLatin1(c.name));
        box("locationBox")->setText(QString::fromLatin1(c.location));
        focusOn("locationBox");
        const int bellsBefore = prompter.bells;
        keyAtFocus(Qt::Key_Return);
        EXPECT_EQ(status(), QString::fromLatin1(c.message));
        EXPECT_TRUE(hasFocus(c.focus));
        EXPECT_EQ(prompter.bells - bellsBefore, c.bells);
        // Nothing logged, and the operator's typing stays for the correction.
        EXPECT_EQ(session.log.count(), 0);
        EXPECT_EQ(box("callBox")->text(), QString::fromLatin1(c.call));
        EXPECT_EQ(box("nameBox")->text(), QString::fromLatin1(c.name));
        EXPECT_EQ(box("locationBox")->text(), QString::fromLatin1(c.location));
    }
    EXPECT_TRUE(readFile(session.folders.logFile()).isEmpty());
}

TEST_F(MainWindowTest, CanadianCallFillsAndSelectsItsProvinceWhenTheCallBoxIsLeft)
{
    struct Case
    {
        const char* typed;
        const char* province;
    };
    const Case cases[] = {{"ve1aa", "NS"}, {"VE2AB", "QC"}, {"ve3abc", "ON"}, {"VE4X", "MB"},
                          {"VE5XX", "SK"}, {"VE6AA", "AB"}, {"VE7ZZ", "BC"},  {"ve8xy", "NWT"},
                          {"VE9AB", "NB"}, {"VO1AA", "NL"}, {"VO2AA", "NL"},  {"VY1AB", "YT"},
                          {"vy2ab", "PE"}, {"VE3", "ON"}};
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        QTest::mouseClick(button("clearButton"), Qt::LeftButton);
        keys(QString::fromLatin1(c.typed) + QLatin1Char(' '));
        ASSERT_TRUE(hasFocus("nameBox"));
        EXPECT_EQ(box("locationBox")->text(), QString::fromLatin1(c.province));
        EXPECT_EQ(box("locationBox")->selectedText(), QString::fromLatin1(c.province));
    }

    // Other calls, and a location already there, are left alone.
    QTest::mouseClick(button("clearButton"), Qt::LeftButton);
    keys(QStringLiteral("k1xyz "));
    EXPECT_TRUE(box("locationBox")->text().isEmpty());
    QTest::mouseClick(button("clearButton"), Qt::LeftButton);
    keys(QStringLiteral("ve"));
    box("locationBox")->setText(QStringLiteral("QC"));
    keys(QStringLiteral("3abc "));
    EXPECT_EQ(box("locationBox")->text(), QStringLiteral("QC"));
}

TEST_F(MainWindowTest, TypingOverTheFilledProvinceReplacesIt)
{
    start();
    keys(QStringLiteral("ve3abc bob "));
    ASSERT_TRUE(hasFocus("locationBox"));
    ASSERT_EQ(box("locationBox")->selectedText(), QStringLiteral("ON"));
    keys(QStringLiteral("QC"));
    EXPECT_EQ(box("locationBox")->text(), QStringLiteral("QC"));
    keyAtFocus(Qt::Key_Return);
    ASSERT_EQ(session.log.count(), 1);
    EXPECT_EQ(session.log.record(1).location, QStringLiteral("QC"));

    // Accepting the filled province as it stands logs it.
    keys(QStringLiteral("ve8xy jim "));
    keyAtFocus(Qt::Key_Return);
    ASSERT_EQ(session.log.count(), 2);
    EXPECT_EQ(session.log.record(2).location, QStringLiteral("NWT"));
}

TEST_F(MainWindowTest, FullAlaskaAndHawaiiAreStoredAsAbbreviations)
{
    start();
    for (const auto& [call, typed] : {std::pair{"W1AW", "Alaska"}, std::pair{"K7ABC", "HAWAII"}}) {
        type("callBox", QString::fromLatin1(call));
        type("nameBox", QStringLiteral("HIRAM"));
        box("locationBox")->setText(QString::fromLatin1(typed));
        focusOn("locationBox");
        keyAtFocus(Qt::Key_Return);
    }
    ASSERT_EQ(session.log.count(), 2);
    EXPECT_EQ(session.log.record(1).location, QStringLiteral("AK"));
    EXPECT_EQ(session.log.record(2).location, QStringLiteral("HI"));
}

TEST_F(MainWindowTest, PostContestEntriesCarryTheTypedDateAndTime)
{
    start();
    QAction* postContest = action("postContestAction");
    ASSERT_FALSE(postContest->isChecked());
    EXPECT_FALSE(box("postContestTimeBox")->isVisible());
    postContest->trigger();
    EXPECT_TRUE(postContest->isChecked());
    for (const char* name : {"postContestTimeBox", "postContestDateBox"}) {
        EXPECT_TRUE(box(name)->isVisible()) << name;
    }
    EXPECT_TRUE(child<QLabel>("postContestTimeLabel")->isVisible());
    EXPECT_TRUE(child<QLabel>("postContestDateLabel")->isVisible());

    // An empty date box offers today's local date, selected so that typing replaces it.
    focusOn("postContestDateBox");
    EXPECT_EQ(box("postContestDateBox")->text(), QStringLiteral("2026/01/10"));
    EXPECT_EQ(box("postContestDateBox")->selectedText(), QStringLiteral("2026/01/10"));
    keys(QStringLiteral("2026/01/09"));
    EXPECT_EQ(box("postContestDateBox")->text(), QStringLiteral("2026/01/09"));

    // The time box takes digits and the colon only.
    focusOn("postContestTimeBox");
    keys(QStringLiteral("1a8-0"));
    EXPECT_EQ(box("postContestTimeBox")->text(), QStringLiteral("180"));
    box("postContestTimeBox")->setText(QStringLiteral("1804"));

    // Enter in a post-contest box logs nothing.
    type("callBox", QStringLiteral("K1XYZ"));
    type("nameBox", QStringLiteral("PAT"));
    type("locationBox", QStringLiteral("CT"));
    focusOn("postContestTimeBox");
    keyAtFocus(Qt::Key_Return);
    EXPECT_EQ(session.log.count(), 0);
    focusOn("locationBox");
    keyAtFocus(Qt::Key_Return);
    QByteArray expected =
        logLine(contact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"),
                        QStringLiteral("2026/01/09"), QStringLiteral("18:04"), QStringLiteral("20")));
    EXPECT_EQ(readFile(session.folders.logFile()), expected);
    EXPECT_EQ(box("postContestTimeBox")->text(), QStringLiteral("18:04"));

    // Three digits get their colon too, and the hour its leading zero; a date typed month first
    // is rewritten year first.
    box("postContestTimeBox")->setText(QStringLiteral("915"));
    box("postContestDateBox")->setText(QStringLiteral("01/08/2026"));
    enterContact(QStringLiteral("W1AW"), QStringLiteral("HIRAM"), QStringLiteral("CT"));
    expected += logLine(contact(QStringLiteral("W1AW"), QStringLiteral("HIRAM"), QStringLiteral("CT"),
                                QStringLiteral("2026/01/08"), QStringLiteral("09:15"), QStringLiteral("20")));
    EXPECT_EQ(readFile(session.folders.logFile()), expected);
    EXPECT_EQ(box("postContestDateBox")->text(), QStringLiteral("2026/01/08"));

    postContest->trigger();
    EXPECT_FALSE(postContest->isChecked());
    EXPECT_FALSE(box("postContestTimeBox")->isVisible());
    EXPECT_FALSE(box("postContestDateBox")->isVisible());
}

TEST_F(MainWindowTest, PostContestRefusesAnInvalidTimeOrDate)
{
    struct Case
    {
        const char* time;
        const char* date;
        const char* message;
    };
    const Case cases[] = {
        {"25:00", "2026/01/09", "Invalid time format!"}, {"2500", "2026/01/09", "Invalid time format!"},
        {"18:60", "2026/01/09", "Invalid time format!"}, {"", "2026/01/09", "Invalid time format!"},
        {"18:04", "2026/02/30", "Invalid date format!"}, {"18:04", "yesterday", "Invalid date format!"},
        {"18:04", "", "Invalid date format!"},
    };
    start();
    action("postContestAction")->trigger();
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(c.time, c.date).toStdString());
        box("postContestTimeBox")->setText(QString::fromLatin1(c.time));
        box("postContestDateBox")->setText(QString::fromLatin1(c.date));
        box("callBox")->setText(QStringLiteral("K1XYZ"));
        box("nameBox")->setText(QStringLiteral("PAT"));
        box("locationBox")->setText(QStringLiteral("CT"));
        focusOn("locationBox");
        const int bellsBefore = prompter.bells;
        keyAtFocus(Qt::Key_Return);
        EXPECT_EQ(status(), QString::fromLatin1(c.message));
        EXPECT_EQ(prompter.bells - bellsBefore, 1);
        EXPECT_EQ(session.log.count(), 0);
        EXPECT_EQ(box("callBox")->text(), QStringLiteral("K1XYZ"));
        EXPECT_EQ(box("postContestTimeBox")->text(), QString::fromLatin1(c.time));
    }
    EXPECT_TRUE(readFile(session.folders.logFile()).isEmpty());
}

TEST_F(MainWindowTest, RadioFrequencyGoesIntoTheNextContactOnly)
{
    session.prefs.currentBand = QStringLiteral("40");
    writePreferences();
    start();
    ASSERT_EQ(session.prefs.currentBand, QStringLiteral("40"));

    station.followRadioFrequency(14.025f);
    EXPECT_EQ(session.prefs.currentBand, QStringLiteral("20"));
    EXPECT_EQ(child<QLabel>("bandDisplay")->text(), QStringLiteral("20"));
    EXPECT_TRUE(action("band20Action")->isChecked());
    EXPECT_FALSE(action("band40Action")->isChecked());

    enterContact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"));
    enterContact(QStringLiteral("W1AW"), QStringLiteral("HIRAM"), QStringLiteral("CT"));
    EXPECT_EQ(
        readFile(session.folders.logFile()),
        logLine(contact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"),
                        QStringLiteral("2026/01/10"), QStringLiteral("18:04:31"), QStringLiteral("20"),
                        QStringLiteral("14.025"))) +
            logLine(contact(QStringLiteral("W1AW"), QStringLiteral("HIRAM"), QStringLiteral("CT"),
                            QStringLiteral("2026/01/10"), QStringLiteral("18:04:31"), QStringLiteral("20"))));

    // A reading outside every band leaves the band alone.
    station.followRadioFrequency(2.0001f);
    EXPECT_EQ(session.prefs.currentBand, QStringLiteral("20"));
    EXPECT_FALSE(session.pendingFrequency.isEmpty());
}

TEST_F(MainWindowTest, WhatArrivesWhileAContactIsLoggedWaitsUntilTheEntryIsCleared)
{
    start();
    station.followRadioFrequency(14.025);
    // Posted the moment the contact is written: a spot, a radio reading and a call from the
    // RTTY terminal. None of them may run inside the logging.
    QSignalSpy posted(&station.spots(), &SpotFeed::spotPosted);
    QObject::connect(&session, &LogSession::contactLogged, form.get(), [this] {
        QMetaObject::invokeMethod(
            &station.spots(),
            [this] {
                station.spots().postSpot(
                    QStringLiteral("DX de K1TTT:     14030.0  DL1ABC       CQ                        1830Z"));
            },
            Qt::QueuedConnection);
        QMetaObject::invokeMethod(
            &station, [this] { station.followRadioFrequency(14.031); }, Qt::QueuedConnection);
        QMetaObject::invokeMethod(
            &station.rttyLink(),
            [this] { emit station.rttyLink().valueFromTerminal(PeerField::Call, QStringLiteral("DL1ABC")); },
            Qt::QueuedConnection);
    });

    enterContact(QStringLiteral("W1AW"), QStringLiteral("HIRAM"), QStringLiteral("CT"));
    ASSERT_EQ(session.log.count(), 1);
    EXPECT_EQ(session.log.record(1).frequency, QStringLiteral("14.025"));
    EXPECT_EQ(posted.count(), 0);
    EXPECT_TRUE(session.pendingFrequency.isEmpty());
    EXPECT_TRUE(box("callBox")->text().isEmpty());

    QCoreApplication::processEvents();
    // Afterwards each lands where it belongs: the next contact's frequency and call.
    EXPECT_EQ(posted.count(), 1);
    EXPECT_EQ(session.pendingFrequency, QStringLiteral("14.031"));
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("DL1ABC"));
    EXPECT_EQ(session.log.count(), 1);
}

TEST_F(MainWindowTest, FailedAppendIsReportedAndKeepsTheEntry)
{
    start();
    // A folder where log.txt should be: the append cannot open the file.
    ASSERT_TRUE(QFile::remove(session.folders.logFile()));
    ASSERT_TRUE(QDir().mkdir(session.folders.logFile()));

    const size_t shownBefore = prompter.messages.size();
    enterContact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"));
    ASSERT_EQ(prompter.messages.size(), shownBefore + 1);
    EXPECT_TRUE(prompter.messages.back().text.contains(QStringLiteral("log.txt")))
        << prompter.messages.back().text.toStdString();
    EXPECT_EQ(session.log.count(), 0);
    EXPECT_EQ(listed()->rowCount(), 0);
    EXPECT_EQ(child<QLabel>("contactsTotal")->text(), QStringLiteral("0"));
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("K1XYZ"));
    EXPECT_EQ(box("nameBox")->text(), QStringLiteral("PAT"));
    EXPECT_EQ(box("locationBox")->text(), QStringLiteral("CT"));

    // Once the disk is put right, Enter logs the same entry.
    ASSERT_TRUE(QDir().rmdir(session.folders.logFile()));
    writeFile(session.folders.logFile(), {});
    focusOn("locationBox");
    keyAtFocus(Qt::Key_Return);
    EXPECT_EQ(session.log.count(), 1);
    EXPECT_EQ(
        readFile(session.folders.logFile()),
        logLine(contact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"),
                        QStringLiteral("2026/01/10"), QStringLiteral("18:04:31"), QStringLiteral("20"))));
}

TEST_F(MainWindowTest, TimeOnAndTimeOffRunTheOperatingClock)
{
    session.prefs.accumulatedSeconds = 3600;
    writePreferences();
    start();
    QPushButton* logOn = button("timeOnButton");
    QLabel* operating = child<QLabel>("operatingTimeDisplay");
    EXPECT_EQ(logOn->text(), QStringLiteral("&Log \"Time On\""));
    EXPECT_EQ(operating->text(), QStringLiteral("01:00:00"));

    QTest::mouseClick(logOn, Qt::LeftButton);
    EXPECT_TRUE(session.operatingClock.isRunning());
    EXPECT_EQ(logOn->text(), QStringLiteral("&Log \"Time Off\""));
    EXPECT_EQ(status(), QStringLiteral(" "));
    EXPECT_TRUE(hasFocus("callBox"));

    clock.advanceMs(90 * 1000);
    form->tick();
    EXPECT_EQ(operating->text(), QStringLiteral("01:01:30"));

    QTest::mouseClick(logOn, Qt::LeftButton);
    EXPECT_FALSE(session.operatingClock.isRunning());
    EXPECT_EQ(logOn->text(), QStringLiteral("&Log \"Time On\""));
    EXPECT_EQ(status(), QStringLiteral("Logged Off at ") + formatShortDate(QDate(2026, 1, 10)) +
                            QStringLiteral(" 18:06:01"));
    EXPECT_TRUE(hasFocus("callBox"));
    // Time Off keeps the accumulated seconds in the preferences.
    EXPECT_EQ(preferenceLine(5), QByteArray("3690"));

    // While the clock is off the total stands still.
    clock.advanceMs(600 * 1000);
    form->tick();
    EXPECT_EQ(operating->text(), QStringLiteral("01:01:30"));
    QTest::mouseClick(logOn, Qt::LeftButton);
    clock.advanceMs(30 * 1000);
    form->tick();
    EXPECT_EQ(operating->text(), QStringLiteral("01:02:00"));
}

TEST_F(MainWindowTest, ClockTickShowsUtcAndLocalTime)
{
    start();
    form->tick();
    EXPECT_EQ(child<QLabel>("utcClock")->text(), QStringLiteral("18:04:31"));
    EXPECT_EQ(child<QLabel>("localClock")->text(), QStringLiteral("1:04:31"));
    EXPECT_EQ(child<QLabel>("localAmPm")->text(), QStringLiteral("PM"));

    clock.setLocal(QDateTime(QDate(2026, 1, 11), QTime(9, 5, 0)));
    form->tick();
    EXPECT_EQ(child<QLabel>("utcClock")->text(), QStringLiteral("14:05:00"));
    EXPECT_EQ(child<QLabel>("localClock")->text(), QStringLiteral("9:05:00"));
    EXPECT_EQ(child<QLabel>("localAmPm")->text(), QStringLiteral("AM"));

    // Past local midnight the UTC date of a contact is the next day.
    clock.setLocal(QDateTime(QDate(2026, 1, 10), QTime(22, 30, 0)));
    enterContact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"));
    ASSERT_EQ(session.log.count(), 1);
    EXPECT_EQ(session.log.record(1).date, QStringLiteral("2026/01/11"));
    EXPECT_EQ(session.log.record(1).time, QStringLiteral("03:30:00"));
}

TEST_F(MainWindowTest, ClearEmptiesTheEntryAndTheStatusLine)
{
    start();
    keys(QStringLiteral("k1xyz pat "));
    box("locationBox")->setText(QStringLiteral("CT"));
    QTest::mouseClick(button("clearButton"), Qt::LeftButton);
    for (const char* name : {"callBox", "nameBox", "locationBox"}) {
        EXPECT_TRUE(box(name)->text().isEmpty()) << name;
    }
    EXPECT_TRUE(status().isEmpty());
    EXPECT_TRUE(child<QLabel>("partialDupeLine")->text().isEmpty());
    EXPECT_TRUE(child<QLabel>("continentDisplay")->text().isEmpty());
    EXPECT_TRUE(hasFocus("callBox"));
    EXPECT_EQ(session.log.count(), 0);
}

TEST_F(MainWindowTest, CtrlShortcutsTypeNothingIntoTheBoxes)
{
    start();
    keys(QStringLiteral("k1"));
    // Ctrl+R, Ctrl+F and Ctrl+G open the rig windows (the rig suite checks them).
    for (const Qt::Key key : {Qt::Key_B, Qt::Key_S, Qt::Key_D, Qt::Key_P, Qt::Key_W}) {
        keyAtFocus(key, Qt::ControlModifier);
    }
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("K1"));
    EXPECT_TRUE(hasFocus("callBox"));

    // Ctrl+C opens the CW keyer; it does not copy the call to the clipboard.
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    box("callBox")->selectAll();
    keyAtFocus(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("K1"));
}

} // namespace velk::testing
