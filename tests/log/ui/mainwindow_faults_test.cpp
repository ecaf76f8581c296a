// Faults found when the main window was driven as an operator drives it: the backup around a new
// log, what counts as leaving the call box, the operating time at exit, a start-up that stopped,
// the new-multiplier indicator after completion, keys that must not type, and stale bearings.
#include "mainwindow_fixture.h"

#include "log/ui/stationdialog.h"

#include <QSignalSpy>

namespace velk::testing {

namespace {

// A key that types `text`, as a keyboard layout outside Latin-1 sends it.
void sendText(QWidget* target, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
}

} // namespace

class MainWindowFaultsTest : public MainWindowTest
{
protected:
    QStringList backups() const { return QDir(session.folders.backup).entryList(QDir::Files, QDir::Name); }
    QByteArray backup(const QString& name) const
    {
        return readFile(session.folders.backup + QLatin1Char('/') + name);
    }
    void logTwoContacts()
    {
        enterContact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"));
        enterContact(QStringLiteral("K2XYZ"), QStringLiteral("BOB"), QStringLiteral("NY"));
    }
};

TEST_F(MainWindowFaultsTest, EveryLogIsBackedUpBeforeNewErasesItAndAgainAtExit)
{
    writeFile(session.folders.logFile(), numberedContacts(2));
    start();
    prompter.inputAnswers.push_back(QStringLiteral("YES"));
    action("newLogAction")->trigger();
    // The log as found, although nothing was logged into it in this run.
    ASSERT_EQ(backups(), QStringList{QStringLiteral("202601101304.log")});
    EXPECT_EQ(backup(QStringLiteral("202601101304.log")), numberedContacts(2));

    logTwoContacts();
    const QByteArray newLog = readFile(session.folders.logFile());
    form->close();
    // Same minute: the exit backup takes a name of its own instead of replacing the first.
    EXPECT_EQ(backups(),
              (QStringList{QStringLiteral("202601101304-2.log"), QStringLiteral("202601101304.log")}));
    EXPECT_EQ(backup(QStringLiteral("202601101304.log")), numberedContacts(2));
    EXPECT_EQ(backup(QStringLiteral("202601101304-2.log")), newLog);
}

TEST_F(MainWindowFaultsTest, NoThenYesAtStartUpBacksUpTheLogBeforeErasingIt)
{
    writeFile(session.folders.logFile(), numberedContacts(3));
    prompter.inputAnswers.push_back(QStringLiteral("YES"));
    start(MessageAnswer::No);
    ASSERT_EQ(backups(), QStringList{QStringLiteral("202601101304.log")});
    EXPECT_EQ(backup(QStringLiteral("202601101304.log")), numberedContacts(3));
    EXPECT_TRUE(readFile(session.folders.logFile()).isEmpty());
}

TEST_F(MainWindowFaultsTest, OnlyTheOperatorsMoveToAnotherControlChecksTheCall)
{
    writeFile(session.folders.logFile(), numberedContacts(2));
    start();
    // A menu, a pop-up or another window takes the focus: the dupe is neither reported nor cleared.
    for (const Qt::FocusReason away :
         {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason, Qt::MenuBarFocusReason}) {
        focusOn("callBox");
        box("callBox")->setText(QStringLiteral("W1AA"));
        box("nameBox")->setFocus(away);
        EXPECT_EQ(box("callBox")->text(), QStringLiteral("W1AA")) << away;
        EXPECT_FALSE(status().startsWith(QStringLiteral("Duplicate"))) << away;
        EXPECT_TRUE(box("nameBox")->text().isEmpty()) << away;
    }
    // Tab is the operator's own move: the dupe is reported.
    box("callBox")->setFocus(Qt::TabFocusReason);
    box("nameBox")->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(status().startsWith(QStringLiteral("Duplicate W1AA"))) << status().toStdString();
    EXPECT_TRUE(box("callBox")->text().isEmpty());
}

TEST_F(MainWindowFaultsTest, EnterOnADupeWithoutANameReportsTheDupe)
{
    writeFile(session.folders.logFile(), numberedContacts(2));
    start();
    type("callBox", QStringLiteral("W2AA"));
    press("callBox", Qt::Key_Return);
    EXPECT_TRUE(status().startsWith(QStringLiteral("Duplicate W2AA"))) << status().toStdString();
    EXPECT_TRUE(child<QLabel>("statusLine")->styleSheet().contains(QStringLiteral("#ff0000")));
    EXPECT_EQ(session.log.count(), 2);
}

TEST_F(MainWindowFaultsTest, OperatingTimeRunningAtExitIsKept)
{
    session.prefs.accumulatedSeconds = 600;
    writePreferences();
    start();
    form->entryPanel().toggleTimeOn();
    clock.advanceMs(30 * 60 * 1000);
    form->tick();
    EXPECT_EQ(child<QLabel>("operatingTimeDisplay")->text(), QStringLiteral("00:40:00"));
    form->close();
    EXPECT_EQ(preferenceLine(5), QByteArray("2400"));
}

TEST_F(MainWindowFaultsTest, AStartUpStoppedByDamagedPreferencesEndsAndKeepsTheFile)
{
    const QByteArray damaged("\"N0CALL\"\r\n\"CT\"\r\nfive\r\n\"CW\"\r\n");
    writeFile(session.folders.preferencesFile(), damaged);
    prompter.messageAnswers.push_back(MessageAnswer::Yes);
    form = std::make_unique<MainWindow>(station);
    QSignalSpy ended(form.get(), &MainWindow::programEnded);
    form->show();
    EXPECT_FALSE(form->startUp());
    EXPECT_TRUE(form->hasEnded());
    EXPECT_EQ(ended.count(), 1);
    // Until the program is gone, Enter logs nothing.
    type("callBox", QStringLiteral("K1XYZ"));
    press("callBox", Qt::Key_Return);
    EXPECT_TRUE(readFile(session.folders.logFile()).isEmpty());
    form->close();
    EXPECT_EQ(readFile(session.folders.preferencesFile()), damaged);
}

TEST_F(MainWindowFaultsTest, CompletedCountryIsJudgedAsANewMultiplierWithItsOwnContinent)
{
    start();
    type("callBox", QStringLiteral("JA1ABC"));
    ASSERT_EQ(box("locationBox")->text(), QStringLiteral("Not Found"));
    focusOn("locationBox");
    keys(QStringLiteral("MEX"));
    EXPECT_EQ(box("locationBox")->text().compare(QStringLiteral("Mexico"), Qt::CaseInsensitive), 0);
    EXPECT_EQ(child<QLabel>("continentDisplay")->text(), QStringLiteral("NA"));
    EXPECT_TRUE(child<QLabel>("newMultiplierIndicator")->isVisible());
}

TEST_F(MainWindowFaultsTest, KeysWithAltAndKeysOutsideLatin1TypeNothing)
{
    start();
    prompter.inputAnswers.push_back(QStringLiteral("YES"));
    action("newLogAction")->trigger();
    // As the box gets them while the window is not the active one: no shortcut takes them first.
    for (const auto& [key, text] : {std::pair{Qt::Key_F, "f"}, {Qt::Key_B, "b"}}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::AltModifier, QString::fromLatin1(text));
        QCoreApplication::sendEvent(box("callBox"), &press);
    }
    EXPECT_TRUE(box("callBox")->text().isEmpty());

    for (const char* name : {"callBox", "nameBox", "locationBox"}) {
        type(name, QStringLiteral("A"));
        sendText(box(name), QStringLiteral("\u0142"));
        box(name)->insert(QStringLiteral("\u20acB"));
        EXPECT_EQ(box(name)->text().toLatin1(), QByteArray("AB")) << name;
    }
}

TEST_F(MainWindowFaultsTest, StationDialogTakesNoKeyOutsideLatin1)
{
    PrefixTable prefixes;
    StationDialog dialog(platform, session.xml, prefixes);
    dialog.load(session.prefs);
    auto* call = dialog.findChild<QLineEdit*>(QStringLiteral("callBox"));
    call->clear();
    QTest::keyClicks(call, QStringLiteral("W1"));
    sendText(call, QStringLiteral("\u0142"));
    QTest::keyClicks(call, QStringLiteral("AW"));
    EXPECT_EQ(call->text(), QStringLiteral("W1AW"));
}

TEST_F(MainWindowFaultsTest, AHomeCountryCallClearsTheLastDxBearing)
{
    session.prefs.ownLatitude = 41.7f;
    session.prefs.ownLongitude = 72.7f;
    start();
    type("callBox", QStringLiteral("DL1ABC"));
    ASSERT_FALSE(child<QLabel>("bearingDisplay")->text().isEmpty());
    box("callBox")->setText(QStringLiteral("K1ABC"));
    EXPECT_EQ(child<QLabel>("continentDisplay")->text(), QStringLiteral("NA"));
    EXPECT_TRUE(child<QLabel>("bearingDisplay")->text().isEmpty());
    EXPECT_TRUE(child<QLabel>("distanceDisplay")->text().isEmpty());
}

} // namespace velk::testing
