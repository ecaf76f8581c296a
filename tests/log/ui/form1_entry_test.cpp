// The entry boxes as the operator uses them: keystrokes, completeness, logging, the clocks.
#include "form1_fixture.h"

#include "common/formats.h"

#include <QClipboard>
#include <QGuiApplication>

namespace velk::testing {

namespace {

QStringList contact(const QString& call, const QString& name, const QString& location, const QString& date,
                    const QString& time, const QString& band, const QString& frequency = QString())
{
    return {call, name, location, date, time, band, QStringLiteral("NA"), QStringLiteral("LEE"), frequency};
}

} // namespace

TEST_F(Form1Test, TypedContactIsAppendedToTheLogFile)
{
    start();
    enterContact(QStringLiteral("k1xyz"), QStringLiteral("pat"), QStringLiteral("CT"));
    EXPECT_EQ(
        readFile(session.folders.logFile()),
        QByteArray("\"K1XYZ\",\"PAT\",\"CT\",\"2026/01/10\",\"18:04:31\",\"20\",\"NA\",\"LEE\",\"\"\r\n"));
    EXPECT_EQ(session.log.count(), 1);
    EXPECT_TRUE(box("txtCall")->text().isEmpty());
    EXPECT_TRUE(box("txtCall")->hasFocus());
}

TEST_F(Form1Test, SpaceMovesOnAndEnterLogsAsTheOperatorTypes)
{
    start();
    ASSERT_TRUE(hasFocus("txtCall"));

    keys(QStringLiteral("k1xyz "));
    EXPECT_EQ(box("txtCall")->text(), QStringLiteral("K1XYZ"));
    EXPECT_TRUE(hasFocus("txtRSTR"));

    keys(QStringLiteral("pat "));
    EXPECT_EQ(box("txtRSTR")->text(), QStringLiteral("PAT"));
    EXPECT_TRUE(hasFocus("txtCntry"));

    keys(QStringLiteral("CT"));
    keyAtFocus(Qt::Key_Return);
    EXPECT_EQ(
        readFile(session.folders.logFile()),
        logLine(contact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"),
                        QStringLiteral("2026/01/10"), QStringLiteral("18:04:31"), QStringLiteral("20"))));
    EXPECT_EQ(session.log.count(), 1);
    EXPECT_EQ(child<QLabel>("lblTotCon")->text(), QStringLiteral("1"));
    for (const char* name : {"txtCall", "txtRSTR", "txtCntry"}) {
        EXPECT_TRUE(box(name)->text().isEmpty()) << name;
    }
    EXPECT_TRUE(child<QLabel>("Label19")->text().isEmpty());
    EXPECT_TRUE(hasFocus("txtCall"));

    // Enter in the name box logs too.
    keys(QStringLiteral("w1aw "));
    keys(QStringLiteral("hiram"));
    box("txtCntry")->setText(QStringLiteral("CT"));
    keyAtFocus(Qt::Key_Return);
    EXPECT_EQ(session.log.count(), 2);
    EXPECT_EQ(session.log.record(2).call, QStringLiteral("W1AW"));
    EXPECT_EQ(session.log.record(2).name, QStringLiteral("HIRAM"));
}

TEST_F(Form1Test, DoubleQuoteIsDiscardedInEveryBox)
{
    start();
    keys(QStringLiteral("\"k1\"xyz\" "));
    keys(QStringLiteral("p\"at\" "));
    keys(QStringLiteral("\"C\"T"));
    EXPECT_EQ(box("txtCall")->text(), QStringLiteral("K1XYZ"));
    EXPECT_EQ(box("txtRSTR")->text(), QStringLiteral("PAT"));
    EXPECT_EQ(box("txtCntry")->text(), QStringLiteral("CT"));
    keyAtFocus(Qt::Key_Return);
    EXPECT_EQ(
        readFile(session.folders.logFile()),
        logLine(contact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"),
                        QStringLiteral("2026/01/10"), QStringLiteral("18:04:31"), QStringLiteral("20"))));

    // The post-contest boxes refuse it as well.
    action("mnuPostContest")->trigger();
    focusOn("txtPostConDate");
    keys(QStringLiteral("\"2026/01/09\""));
    EXPECT_EQ(box("txtPostConDate")->text(), QStringLiteral("2026/01/09"));
    focusOn("txtPostConTime");
    keys(QStringLiteral("\"1804\""));
    EXPECT_EQ(box("txtPostConTime")->text(), QStringLiteral("1804"));
}

TEST_F(Form1Test, PastedTextLosesQuotesAndLineBreaks)
{
    start();
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto pasteInto = [&](const char* name, const QString& text) {
        clipboard->setText(text);
        focusOn(name);
        keyAtFocus(Qt::Key_V, Qt::ControlModifier);
    };
    pasteInto("txtCall", QStringLiteral("k1\"ab\r\nc"));
    pasteInto("txtRSTR", QStringLiteral("\"PAT\"\n"));
    pasteInto("txtCntry", QStringLiteral("C\"T\r\n"));
    EXPECT_EQ(box("txtCall")->text().toUpper(), QStringLiteral("K1ABC"));
    EXPECT_EQ(box("txtRSTR")->text(), QStringLiteral("PAT"));
    EXPECT_EQ(box("txtCntry")->text(), QStringLiteral("CT"));

    keyAtFocus(Qt::Key_Return);
    EXPECT_EQ(
        readFile(session.folders.logFile()),
        logLine(contact(QStringLiteral("K1ABC"), QStringLiteral("PAT"), QStringLiteral("CT"),
                        QStringLiteral("2026/01/10"), QStringLiteral("18:04:31"), QStringLiteral("20"))));
}

TEST_F(Form1Test, CallBoxWarnsWithTheBellUntilTimeOnIsLogged)
{
    start();
    keys(QStringLiteral("k1"));
    EXPECT_EQ(status(), QStringLiteral("Click Log \"Time On\"!"));
    EXPECT_EQ(prompter.bells, 2);
    EXPECT_EQ(box("txtCall")->text(), QStringLiteral("K1")) << "the keys are still taken";

    // Only the first three characters warn.
    keys(QStringLiteral("xyz"));
    EXPECT_EQ(prompter.bells, 3);
    EXPECT_EQ(box("txtCall")->text(), QStringLiteral("K1XYZ"));

    QTest::mouseClick(button("cmdLogOn"), Qt::LeftButton);
    ASSERT_TRUE(form->timeOn());
    EXPECT_TRUE(hasFocus("txtCall"));
    QTest::mouseClick(button("cmdClear"), Qt::LeftButton);
    const int bellsBefore = prompter.bells;
    keys(QStringLiteral("w1"));
    EXPECT_EQ(status(), QStringLiteral(" "));
    EXPECT_EQ(prompter.bells, bellsBefore);
}

TEST_F(Form1Test, StartingANewCallClearsTheOldLocation)
{
    start();
    box("txtCntry")->setText(QStringLiteral("CT"));
    keys(QStringLiteral("k"));
    EXPECT_TRUE(box("txtCntry")->text().isEmpty());
    box("txtCntry")->setText(QStringLiteral("CT"));
    keys(QStringLiteral("1"));
    EXPECT_TRUE(box("txtCntry")->text().isEmpty());
    // From the third character on the location stays.
    box("txtCntry")->setText(QStringLiteral("CT"));
    keys(QStringLiteral("x"));
    EXPECT_EQ(box("txtCntry")->text(), QStringLiteral("CT"));
}

TEST_F(Form1Test, SpaceAtTheStartOfTheLocationBoxMovesOn)
{
    start();
    focusOn("txtCntry");
    keys(QStringLiteral(" "));
    EXPECT_FALSE(hasFocus("txtCntry"));
    EXPECT_TRUE(box("txtCntry")->text().isEmpty());
}

TEST_F(Form1Test, EnterWithAnEmptyEntryTurnsTheClockOnAndAsksForTheCallLast)
{
    start();
    ASSERT_FALSE(form->timeOn());
    keyAtFocus(Qt::Key_Return);
    EXPECT_TRUE(form->timeOn());
    EXPECT_EQ(button("cmdLogOn")->text(), QStringLiteral("&Log \"Time Off\""));
    EXPECT_EQ(status(), QStringLiteral("Need Call Sign!"));
    EXPECT_TRUE(hasFocus("txtCall"));
    // One bell for the clock being off, one for each missing box.
    EXPECT_EQ(prompter.bells, 4);
    EXPECT_EQ(session.log.count(), 0);
    EXPECT_TRUE(readFile(session.folders.logFile()).isEmpty());
}

TEST_F(Form1Test, CompletenessCheckReportsTheLastMissingBoxAndMovesTheFocus)
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
        {"K1XYZ", "PAT", "", "Need S/P/C!", "txtCall", 1},
        // A one-letter location is missing and, being short, no known section either.
        {"K1XYZ", "PAT", "C", "Invald Section!", "txtCntry", 2},
        {"K1XYZ", "", "CT", "Need Name!", "txtRSTR", 1},
        {"K1XYZ", "", "", "Need Name!", "txtRSTR", 2},
        {"K1", "PAT", "CT", "Need Call Sign!", "txtCall", 1},
        {"K1", "", "", "Need Call Sign!", "txtCall", 3},
    };
    start();
    QTest::mouseClick(button("cmdLogOn"), Qt::LeftButton);
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1/%2/%3").arg(c.call, c.name, c.location).toStdString());
        QTest::mouseClick(button("cmdClear"), Qt::LeftButton);
        box("txtCall")->setText(QString::fromLatin1(c.call));
        box("txtRSTR")->setText(QString::fromLatin1(c.name));
        box("txtCntry")->setText(QString::fromLatin1(c.location));
        focusOn("txtCntry");
        const int bellsBefore = prompter.bells;
        keyAtFocus(Qt::Key_Return);
        EXPECT_EQ(status(), QString::fromLatin1(c.message));
        EXPECT_TRUE(hasFocus(c.focus));
        EXPECT_EQ(prompter.bells - bellsBefore, c.bells);
        // Nothing logged, and the operator's typing stays for the correction.
        EXPECT_EQ(session.log.count(), 0);
        EXPECT_EQ(box("txtCall")->text(), QString::fromLatin1(c.call));
        EXPECT_EQ(box("txtRSTR")->text(), QString::fromLatin1(c.name));
        EXPECT_EQ(box("txtCntry")->text(), QString::fromLatin1(c.location));
    }
    EXPECT_TRUE(readFile(session.folders.logFile()).isEmpty());
}

TEST_F(Form1Test, CanadianCallFillsAndSelectsItsProvinceWhenTheCallBoxIsLeft)
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
        QTest::mouseClick(button("cmdClear"), Qt::LeftButton);
        keys(QString::fromLatin1(c.typed) + QLatin1Char(' '));
        ASSERT_TRUE(hasFocus("txtRSTR"));
        EXPECT_EQ(box("txtCntry")->text(), QString::fromLatin1(c.province));
        EXPECT_EQ(box("txtCntry")->selectedText(), QString::fromLatin1(c.province));
    }

    // Other calls, and a location already there, are left alone.
    QTest::mouseClick(button("cmdClear"), Qt::LeftButton);
    keys(QStringLiteral("k1xyz "));
    EXPECT_TRUE(box("txtCntry")->text().isEmpty());
    QTest::mouseClick(button("cmdClear"), Qt::LeftButton);
    keys(QStringLiteral("ve"));
    box("txtCntry")->setText(QStringLiteral("QC"));
    keys(QStringLiteral("3abc "));
    EXPECT_EQ(box("txtCntry")->text(), QStringLiteral("QC"));
}

TEST_F(Form1Test, TypingOverTheFilledProvinceReplacesIt)
{
    start();
    keys(QStringLiteral("ve3abc bob "));
    ASSERT_TRUE(hasFocus("txtCntry"));
    ASSERT_EQ(box("txtCntry")->selectedText(), QStringLiteral("ON"));
    keys(QStringLiteral("QC"));
    EXPECT_EQ(box("txtCntry")->text(), QStringLiteral("QC"));
    keyAtFocus(Qt::Key_Return);
    ASSERT_EQ(session.log.count(), 1);
    EXPECT_EQ(session.log.record(1).location, QStringLiteral("QC"));

    // Accepting the filled province as it stands logs it.
    keys(QStringLiteral("ve8xy jim "));
    keyAtFocus(Qt::Key_Return);
    ASSERT_EQ(session.log.count(), 2);
    EXPECT_EQ(session.log.record(2).location, QStringLiteral("NWT"));
}

TEST_F(Form1Test, FullAlaskaAndHawaiiAreStoredAsAbbreviations)
{
    start();
    for (const auto& [call, typed] : {std::pair{"W1AW", "Alaska"}, std::pair{"K7ABC", "HAWAII"}}) {
        type("txtCall", QString::fromLatin1(call));
        type("txtRSTR", QStringLiteral("HIRAM"));
        box("txtCntry")->setText(QString::fromLatin1(typed));
        focusOn("txtCntry");
        keyAtFocus(Qt::Key_Return);
    }
    ASSERT_EQ(session.log.count(), 2);
    EXPECT_EQ(session.log.record(1).location, QStringLiteral("AK"));
    EXPECT_EQ(session.log.record(2).location, QStringLiteral("HI"));
}

TEST_F(Form1Test, PostContestEntriesCarryTheTypedDateAndTime)
{
    start();
    QAction* postContest = action("mnuPostContest");
    ASSERT_FALSE(postContest->isChecked());
    EXPECT_TRUE(box("txtPostConTime")->isHidden());
    postContest->trigger();
    EXPECT_TRUE(postContest->isChecked());
    for (const char* name : {"txtPostConTime", "txtPostConDate"}) {
        EXPECT_TRUE(box(name)->isVisible()) << name;
    }
    EXPECT_TRUE(child<QLabel>("lblPostConTime")->isVisible());
    EXPECT_TRUE(child<QLabel>("lblPostConDate")->isVisible());

    // An empty date box offers today's local date, selected so that typing replaces it.
    focusOn("txtPostConDate");
    EXPECT_EQ(box("txtPostConDate")->text(), QStringLiteral("2026/01/10"));
    EXPECT_EQ(box("txtPostConDate")->selectedText(), QStringLiteral("2026/01/10"));
    keys(QStringLiteral("2026/01/09"));
    EXPECT_EQ(box("txtPostConDate")->text(), QStringLiteral("2026/01/09"));

    // The time box takes digits and the colon only.
    focusOn("txtPostConTime");
    keys(QStringLiteral("1a8-0"));
    EXPECT_EQ(box("txtPostConTime")->text(), QStringLiteral("180"));
    box("txtPostConTime")->setText(QStringLiteral("1804"));

    // Enter in a post-contest box logs nothing.
    type("txtCall", QStringLiteral("K1XYZ"));
    type("txtRSTR", QStringLiteral("PAT"));
    type("txtCntry", QStringLiteral("CT"));
    focusOn("txtPostConTime");
    keyAtFocus(Qt::Key_Return);
    EXPECT_EQ(session.log.count(), 0);
    focusOn("txtCntry");
    keyAtFocus(Qt::Key_Return);
    QByteArray expected =
        logLine(contact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"),
                        QStringLiteral("2026/01/09"), QStringLiteral("18:04"), QStringLiteral("20")));
    EXPECT_EQ(readFile(session.folders.logFile()), expected);
    EXPECT_EQ(box("txtPostConTime")->text(), QStringLiteral("18:04"));

    // Three digits get their colon too, and the hour its leading zero; a date typed month first
    // is rewritten year first.
    box("txtPostConTime")->setText(QStringLiteral("915"));
    box("txtPostConDate")->setText(QStringLiteral("01/08/2026"));
    enterContact(QStringLiteral("W1AW"), QStringLiteral("HIRAM"), QStringLiteral("CT"));
    expected += logLine(contact(QStringLiteral("W1AW"), QStringLiteral("HIRAM"), QStringLiteral("CT"),
                                QStringLiteral("2026/01/08"), QStringLiteral("09:15"), QStringLiteral("20")));
    EXPECT_EQ(readFile(session.folders.logFile()), expected);
    EXPECT_EQ(box("txtPostConDate")->text(), QStringLiteral("2026/01/08"));

    postContest->trigger();
    EXPECT_FALSE(postContest->isChecked());
    EXPECT_TRUE(box("txtPostConTime")->isHidden());
    EXPECT_TRUE(box("txtPostConDate")->isHidden());
}

TEST_F(Form1Test, PostContestRefusesAnInvalidTimeOrDate)
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
    action("mnuPostContest")->trigger();
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(c.time, c.date).toStdString());
        box("txtPostConTime")->setText(QString::fromLatin1(c.time));
        box("txtPostConDate")->setText(QString::fromLatin1(c.date));
        box("txtCall")->setText(QStringLiteral("K1XYZ"));
        box("txtRSTR")->setText(QStringLiteral("PAT"));
        box("txtCntry")->setText(QStringLiteral("CT"));
        focusOn("txtCntry");
        const int bellsBefore = prompter.bells;
        keyAtFocus(Qt::Key_Return);
        EXPECT_EQ(status(), QString::fromLatin1(c.message));
        EXPECT_EQ(prompter.bells - bellsBefore, 1);
        EXPECT_EQ(session.log.count(), 0);
        EXPECT_EQ(box("txtCall")->text(), QStringLiteral("K1XYZ"));
        EXPECT_EQ(box("txtPostConTime")->text(), QString::fromLatin1(c.time));
    }
    EXPECT_TRUE(readFile(session.folders.logFile()).isEmpty());
}

TEST_F(Form1Test, RadioFrequencyGoesIntoTheNextContactOnly)
{
    session.prefs.currentBand = QStringLiteral("40");
    writePreferences();
    start();
    ASSERT_EQ(form->currentBand(), QStringLiteral("40"));

    form->BandFreqConversion(14.025f);
    EXPECT_EQ(form->currentBand(), QStringLiteral("20"));
    EXPECT_EQ(child<QLabel>("Label24")->text(), QStringLiteral("20"));
    EXPECT_TRUE(action("mnuBand20Ch")->isChecked());
    EXPECT_FALSE(action("mnuBand40Ch")->isChecked());

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
    form->BandFreqConversion(2.0001f);
    EXPECT_EQ(form->currentBand(), QStringLiteral("20"));
    EXPECT_FALSE(session.pendingFrequency.isEmpty());
}

TEST_F(Form1Test, FailedAppendIsReportedAndKeepsTheEntry)
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
    EXPECT_EQ(child<QLabel>("lblTotCon")->text(), QStringLiteral("0"));
    EXPECT_EQ(box("txtCall")->text(), QStringLiteral("K1XYZ"));
    EXPECT_EQ(box("txtRSTR")->text(), QStringLiteral("PAT"));
    EXPECT_EQ(box("txtCntry")->text(), QStringLiteral("CT"));

    // Once the disk is put right, Enter logs the same entry.
    ASSERT_TRUE(QDir().rmdir(session.folders.logFile()));
    writeFile(session.folders.logFile(), {});
    focusOn("txtCntry");
    keyAtFocus(Qt::Key_Return);
    EXPECT_EQ(session.log.count(), 1);
    EXPECT_EQ(
        readFile(session.folders.logFile()),
        logLine(contact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"),
                        QStringLiteral("2026/01/10"), QStringLiteral("18:04:31"), QStringLiteral("20"))));
}

TEST_F(Form1Test, TimeOnAndTimeOffRunTheOperatingClock)
{
    session.prefs.accumulatedSeconds = 3600;
    writePreferences();
    start();
    QPushButton* logOn = button("cmdLogOn");
    QLabel* operating = child<QLabel>("lblttrack");
    EXPECT_EQ(logOn->text(), QStringLiteral("&Log \"Time On\""));
    EXPECT_EQ(operating->text(), QStringLiteral("01:00:00"));

    QTest::mouseClick(logOn, Qt::LeftButton);
    EXPECT_TRUE(form->timeOn());
    EXPECT_EQ(logOn->text(), QStringLiteral("&Log \"Time Off\""));
    EXPECT_EQ(status(), QStringLiteral(" "));
    EXPECT_TRUE(hasFocus("txtCall"));

    clock.advanceMs(90 * 1000);
    form->Timer2_Timer();
    EXPECT_EQ(operating->text(), QStringLiteral("01:01:30"));

    QTest::mouseClick(logOn, Qt::LeftButton);
    EXPECT_FALSE(form->timeOn());
    EXPECT_EQ(logOn->text(), QStringLiteral("&Log \"Time On\""));
    EXPECT_EQ(status(), QStringLiteral("Logged Off at ") + formatShortDate(QDate(2026, 1, 10)) +
                            QStringLiteral(" 18:06:01"));
    EXPECT_TRUE(hasFocus("txtCall"));
    // Time Off keeps the accumulated seconds in the preferences.
    EXPECT_EQ(preferenceLine(5), QByteArray("3690"));

    // While the clock is off the total stands still.
    clock.advanceMs(600 * 1000);
    form->Timer2_Timer();
    EXPECT_EQ(operating->text(), QStringLiteral("01:01:30"));
    QTest::mouseClick(logOn, Qt::LeftButton);
    clock.advanceMs(30 * 1000);
    form->Timer2_Timer();
    EXPECT_EQ(operating->text(), QStringLiteral("01:02:00"));
}

TEST_F(Form1Test, ClockTickShowsUtcAndLocalTime)
{
    start();
    form->Timer2_Timer();
    EXPECT_EQ(child<QLabel>("lblutctime")->text(), QStringLiteral("18:04:31"));
    EXPECT_EQ(child<QLabel>("lblCurTime")->text(), QStringLiteral("1:04:31"));
    EXPECT_EQ(child<QLabel>("Label16")->text(), QStringLiteral("PM"));

    clock.setLocal(QDateTime(QDate(2026, 1, 11), QTime(9, 5, 0)));
    form->Timer2_Timer();
    EXPECT_EQ(child<QLabel>("lblutctime")->text(), QStringLiteral("14:05:00"));
    EXPECT_EQ(child<QLabel>("lblCurTime")->text(), QStringLiteral("9:05:00"));
    EXPECT_EQ(child<QLabel>("Label16")->text(), QStringLiteral("AM"));

    // Past local midnight the UTC date of a contact is the next day.
    clock.setLocal(QDateTime(QDate(2026, 1, 10), QTime(22, 30, 0)));
    enterContact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"));
    ASSERT_EQ(session.log.count(), 1);
    EXPECT_EQ(session.log.record(1).date, QStringLiteral("2026/01/11"));
    EXPECT_EQ(session.log.record(1).time, QStringLiteral("03:30:00"));
}

TEST_F(Form1Test, ClearEmptiesTheEntryAndTheStatusLine)
{
    start();
    keys(QStringLiteral("k1xyz pat "));
    box("txtCntry")->setText(QStringLiteral("CT"));
    QTest::mouseClick(button("cmdClear"), Qt::LeftButton);
    for (const char* name : {"txtCall", "txtRSTR", "txtCntry"}) {
        EXPECT_TRUE(box(name)->text().isEmpty()) << name;
    }
    EXPECT_TRUE(status().isEmpty());
    EXPECT_TRUE(child<QLabel>("lblDupe")->text().isEmpty());
    EXPECT_TRUE(child<QLabel>("Label19")->text().isEmpty());
    EXPECT_TRUE(hasFocus("txtCall"));
    EXPECT_EQ(session.log.count(), 0);
}

TEST_F(Form1Test, CtrlShortcutsTypeNothingIntoTheBoxes)
{
    start();
    keys(QStringLiteral("k1"));
    for (const Qt::Key key :
         {Qt::Key_R, Qt::Key_B, Qt::Key_S, Qt::Key_D, Qt::Key_F, Qt::Key_G, Qt::Key_P, Qt::Key_W}) {
        keyAtFocus(key, Qt::ControlModifier);
    }
    EXPECT_EQ(box("txtCall")->text(), QStringLiteral("K1"));
    EXPECT_TRUE(hasFocus("txtCall"));

    // Ctrl+C opens the CW keyer; it does not copy the call to the clipboard.
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    box("txtCall")->selectAll();
    keyAtFocus(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_EQ(box("txtCall")->text(), QStringLiteral("K1"));
}

} // namespace velk::testing
