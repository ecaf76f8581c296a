#include "../fakekeying.h"
#include "cw/linemorsesender.h"
#include "log/ui/mainwindow_fixture.h"

#include <QSignalSpy>

namespace velk::testing {
namespace {

class MainWindowKeyerTest : public MainWindowTest
{
protected:
    GatedKeyTiming timing;
    Keyer& keyer = station.keyer();
    std::unique_ptr<QSignalSpy> sent;

    void SetUp() override
    {
        MainWindowTest::SetUp();
        keyer.useTiming(timing);
        sent = std::make_unique<QSignalSpy>(&keyer, &Keyer::characterSent);
    }

    void TearDown() override
    {
        timing.allow(-1);
        keyer.lineSender().waitUntilDone();
        MainWindowTest::TearDown();
    }

    // cw.txt with the given messages (F1 first), keying RTS on port 1 at 30 WPM.
    void writeCwSettings(const QStringList& messages, const QString& repeatSeconds = QStringLiteral("0"),
                         bool showText = false)
    {
        CwSettings settings;
        for (int i = 0; i < messages.size(); ++i) {
            settings.messages[static_cast<size_t>(i)] = messages.at(i);
        }
        settings.comPort = QStringLiteral("1");
        settings.speed = QStringLiteral("30");
        settings.keyerType = KeyerType::Rts;
        settings.repeatSeconds = repeatSeconds;
        settings.showText = showText;
        writeFile(session.folders.working + QStringLiteral("/cw.txt"), cwSettingsBytes(settings));
    }

    // Lets the keying run to its end and its reports arrive.
    void sendAll()
    {
        timing.allow(-1);
        keyer.lineSender().waitUntilDone();
        QCoreApplication::sendPostedEvents();
    }

    QString sentText() const
    {
        QString text;
        for (const QList<QVariant>& arguments : *sent) {
            text += arguments.at(0).value<QChar>();
        }
        return text;
    }
};

TEST_F(MainWindowKeyerTest, StartUpReadsTheCwSettingsAndEnablesTheSetupMenu)
{
    writeCwSettings({QStringLiteral("CQ VELK")});
    start();
    EXPECT_EQ(keyer.settings().messages[0], QStringLiteral("CQ VELK"));
    EXPECT_EQ(keyer.keyerType(), KeyerType::Rts);
    EXPECT_EQ(keyer.speed(), 30);
    EXPECT_TRUE(action("cwSetupAction")->isEnabled());
}

TEST_F(MainWindowKeyerTest, FunctionKeysSendTheirMessagesWithTheCallFromTheCallBox)
{
    writeCwSettings({QStringLiteral("CQ"), QStringLiteral("$ *")});
    start();
    type("callBox", QStringLiteral("k1abc"));
    press("callBox", Qt::Key_F2);
    sendAll();
    EXPECT_EQ(sentText(), QStringLiteral("K1ABC 5NN"));
    ASSERT_NE(devices.ports.line(PortUser::CwKeyer), nullptr);
    EXPECT_FALSE(devices.ports.line(PortUser::CwKeyer)->down);
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("K1ABC"));
}

TEST_F(MainWindowKeyerTest, AFunctionKeyWhileSendingCutsTheMessageAfterTheCurrentCharacter)
{
    writeCwSettings({QStringLiteral("CQ TEST"), QStringLiteral("TU")});
    start();
    press("callBox", Qt::Key_F1);
    timing.waitUntilBlocked(); // keying the C
    press("callBox", Qt::Key_F2);
    sendAll();
    EXPECT_EQ(sentText(), QStringLiteral("CTU"));
}

TEST_F(MainWindowKeyerTest, EscStopsAfterTheCurrentCharacterAndTheWindowIsNotClosedWhileSending)
{
    writeCwSettings({QStringLiteral("CQ TEST")});
    start();
    press("callBox", Qt::Key_F1);
    timing.waitUntilBlocked();
    EXPECT_FALSE(form->close()); // refused, and the rest dropped
    press("callBox", Qt::Key_F1);
    timing.waitUntilBlocked();
    press("callBox", Qt::Key_Escape);
    sendAll();
    EXPECT_EQ(sentText(), QStringLiteral("C"));
    EXPECT_FALSE(keyer.isSending());
}

TEST_F(MainWindowKeyerTest, TheContactMarkLogsTheContactExactlyOnce)
{
    writeCwSettings({QStringLiteral("CQ"), QStringLiteral("TU ! QRZ")});
    start();
    type("callBox", QStringLiteral("K1ABC"));
    type("nameBox", QStringLiteral("BOB"));
    type("locationBox", QStringLiteral("MA"));
    press("locationBox", Qt::Key_F2);
    sendAll();
    EXPECT_EQ(sentText(), QStringLiteral("TU ! QRZ"));
    ASSERT_EQ(session.log.count(), 1);
    EXPECT_EQ(session.log.record(1).call, QStringLiteral("K1ABC"));
    EXPECT_EQ(box("callBox")->text(), QString());
    // With the call box empty the mark logs nothing.
    press("callBox", Qt::Key_F2);
    sendAll();
    EXPECT_EQ(session.log.count(), 1);
}

TEST_F(MainWindowKeyerTest, F1RepeatsAfterThePauseAndAnyKeyStopsIt)
{
    writeCwSettings({QStringLiteral("CQ")}, QStringLiteral("0.001"));
    start();
    press("callBox", Qt::Key_F1);
    sendAll();
    EXPECT_TRUE(keyer.isRepeating());
    QSignalSpy finished(&keyer, &Keyer::sendingFinished);
    ASSERT_TRUE(finished.wait(5000)); // the pause ran out and F1 went again
    sendAll();
    EXPECT_EQ(sentText(), QStringLiteral("CQCQ"));
    press("callBox", Qt::Key_A);
    EXPECT_FALSE(keyer.isRepeating());
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("A")); // the key still types
}

TEST_F(MainWindowKeyerTest, KeyboardSendingQueuesTypedCharactersInsteadOfTypingThem)
{
    writeCwSettings({QStringLiteral("CQ")});
    start();
    focusOn("callBox");
    keyAtFocus(Qt::Key_F12);
    EXPECT_TRUE(keyer.keyboardMode());
    EXPECT_EQ(status(), QStringLiteral("Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode."));
    EXPECT_TRUE(
        child<QLabel>("statusLine")->styleSheet().contains(QStringLiteral("#ffffc0"), Qt::CaseInsensitive))
        << child<QLabel>("statusLine")->styleSheet().toStdString();
    keys(QStringLiteral("tesx"));
    timing.waitUntilBlocked(); // keying the T, E S X waiting
    keyAtFocus(Qt::Key_Backspace);
    sendAll();
    EXPECT_EQ(sentText(), QStringLiteral("TES"));
    EXPECT_EQ(box("callBox")->text(), QString());
    keyAtFocus(Qt::Key_F12);
    EXPECT_FALSE(keyer.keyboardMode());
    EXPECT_EQ(status(), QString());
    keys(QStringLiteral("w1"));
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("W1"));
}

TEST_F(MainWindowKeyerTest, UpAndDownChangeTheSpeedAndShowItInTheStatusLine)
{
    writeCwSettings({QStringLiteral("CQ")});
    start();
    press("callBox", Qt::Key_Up);
    EXPECT_EQ(keyer.speed(), 31);
    EXPECT_EQ(status(), QStringLiteral("31 WPM"));
    press("callBox", Qt::Key_Down);
    press("callBox", Qt::Key_Down);
    EXPECT_EQ(status(), QStringLiteral("29 WPM"));
}

TEST_F(MainWindowKeyerTest, WithoutAKeyerTheFunctionKeysDoNothing)
{
    start();
    press("callBox", Qt::Key_F9);
    press("callBox", Qt::Key_Up);
    sendAll();
    EXPECT_EQ(sentText(), QString());
    EXPECT_EQ(keyer.speed(), 13);
    EXPECT_TRUE(devices.ports.events.isEmpty());
}

TEST_F(MainWindowKeyerTest, InAPhoneLogTheFunctionKeysDoNotSendCw)
{
    writeCwSettings({QStringLiteral("CQ")});
    session.prefs.mode = QStringLiteral("PH");
    writePreferences();
    start();
    press("callBox", Qt::Key_F1);
    sendAll();
    EXPECT_EQ(sentText(), QString());
}

TEST_F(MainWindowKeyerTest, CtrlWShowsTheCwStringsWindowWhoseClicksSend)
{
    writeCwSettings({QStringLiteral("CQ"), QStringLiteral("TU")});
    start();
    focusOn("callBox");
    keyAtFocus(Qt::Key_W, Qt::ControlModifier);
    auto* strings = form->findChild<QWidget*>(QStringLiteral("cwStringsWindow"));
    ASSERT_NE(strings, nullptr);
    EXPECT_TRUE(strings->isVisible());
    auto* second = strings->findChild<QPushButton*>(QStringLiteral("cwStringLabel2"));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->text(), QStringLiteral("TU"));
    second->click();
    sendAll();
    EXPECT_EQ(sentText(), QStringLiteral("TU"));
    // A function key pressed in the window reaches the keyer.
    QTest::keyClick(second, Qt::Key_F1);
    sendAll();
    EXPECT_EQ(sentText(), QStringLiteral("TUCQ"));
}

TEST_F(MainWindowKeyerTest, WithDisplayTextTheStatusLineShowsWhatIsStillToBeSent)
{
    writeCwSettings({QStringLiteral("CQ TEST")}, QStringLiteral("0"), true);
    start();
    press("callBox", Qt::Key_F1);
    timing.waitUntilBlocked();
    EXPECT_EQ(status(), QStringLiteral("CQ TEST"));
    sendAll();
    EXPECT_EQ(status(), QString());
}

TEST_F(MainWindowKeyerTest, CwSetupOpensTheKeyerWindowAndDoneShowsTheCwStringsMinimized)
{
    writeCwSettings({QStringLiteral("CQ")});
    start();
    action("cwSetupAction")->trigger();
    auto* keyerWindow = form->findChild<QDialog*>(QStringLiteral("keyerWindow"));
    ASSERT_NE(keyerWindow, nullptr);
    EXPECT_TRUE(keyerWindow->isVisible());
    keyerWindow->findChild<QPushButton*>(QStringLiteral("doneButton"))->click();
    EXPECT_FALSE(keyerWindow->isVisible());
    EXPECT_TRUE(QFile::exists(session.folders.working + QStringLiteral("/cw.txt")));
    auto* strings = form->findChild<QWidget*>(QStringLiteral("cwStringsWindow"));
    ASSERT_NE(strings, nullptr);
    EXPECT_TRUE(strings->isMinimized());
    focusOn("callBox");
    keyAtFocus(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(keyerWindow->isVisible());
    EXPECT_EQ(box("callBox")->text(), QString());
}

} // namespace
} // namespace velk::testing
