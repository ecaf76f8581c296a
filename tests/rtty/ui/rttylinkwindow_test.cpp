// The RTTY link through the real main window and the terminal simulator on a real local socket.
#include "common/colours.h"
#include "common/platform/qt/qtchannels.h"
#include "log/ui/mainwindow_fixture.h"
#include "log/ui/statusline.h"
#include "rtty/rttylink.h"
#include "rtty/ui/digitalsourcewindow.h"
#include "rtty/ui/rttypeer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>

namespace velk::testing {
namespace {

class RttyWindowTest : public MainWindowTest
{
protected:
    QString socketPath;
    std::unique_ptr<RttyPeer> peer;
    RttyLink& link = station.rttyLink();

    void SetUp() override
    {
        MainWindowTest::SetUp();
        socketPath = dir.path() + QStringLiteral("/dumo.sock");
        environment.values[QStringLiteral("VELK_RTTY_SOCKET")] = socketPath;
        devices.localChannelFactory = [] { return std::make_unique<QtLocalChannel>(); };
        settings.values[QStringLiteral("UserDumoOption")] = QStringLiteral("1");
        session.prefs.mode = QStringLiteral("RY");
        session.prefs.ownCall = QStringLiteral("W9XYZ");
        session.prefs.ownSpc = QStringLiteral("IL");
        writePreferences();
        peer = std::make_unique<RttyPeer>(socketPath);
    }

    void TearDown() override
    {
        MainWindowTest::TearDown();
        link.stop();
        peer.reset();
    }

    void startPeer() { ASSERT_TRUE(peer->start()); }
    void startLinked()
    {
        startPeer();
        start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return link.isConnected(); }, 10000));
        ASSERT_TRUE(peer->waitFor(QStringLiteral("poke txtBField2 IL")));
    }
    void fireRetry() { QMetaObject::invokeMethod(&link.retryTimer(), "timeout"); }
    QString statusColour() const { return child<QLabel>("statusLine")->styleSheet(); }
};

TEST_F(RttyWindowTest, ConnectsAtStartUpAndValuesFlowBothWays)
{
    startLinked();
    EXPECT_TRUE(prompter.messageTitles().contains(QStringLiteral("Connected with Dumo!")));
    EXPECT_EQ(peer->pokes(QStringLiteral("txtBMyCall")), QStringList{QStringLiteral("W9XYZ")});
    EXPECT_EQ(peer->pokes(QStringLiteral("txtBField4")), QStringList{QStringLiteral("LEE")});
    EXPECT_EQ(peer->reports.count(QStringLiteral("advise txtSUrCall")), 1);
    EXPECT_EQ(peer->reports.filter(QStringLiteral("advise ")).size(), 20);

    // A call clicked in the terminal lands upper-cased in the call box and goes back out.
    ASSERT_TRUE(peer->command(QStringLiteral("click call k1abc")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return box("callBox")->text() == QStringLiteral("K1ABC"); }, 10000));
    ASSERT_TRUE(peer->waitFor(QStringLiteral("poke txtBUrCall K1ABC")));
    EXPECT_EQ(child<QLabel>("continentDisplay")->text(), QStringLiteral("NA")); // looked up as if typed
    ASSERT_TRUE(peer->command(QStringLiteral("click name bob")));
    ASSERT_TRUE(peer->command(QStringLiteral("click location ma")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return box("locationBox")->text() == QStringLiteral("MA"); }, 10000));
    EXPECT_EQ(box("nameBox")->text(), QStringLiteral("BOB"));

    // Typing in the call box hands each new call over.
    box("callBox")->clear();
    type("callBox", QStringLiteral("w1aw"));
    ASSERT_TRUE(peer->waitFor(QStringLiteral("poke txtBUrCall W1AW")));

    // The link window shows the items.
    form->findChild<QPushButton*>(QStringLiteral("digitalSourceButton"))->click();
    auto* window = form->findChild<DigitalSourceWindow*>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->itemBox("txtSUrCall")->text(), QStringLiteral("k1abc"));
    EXPECT_EQ(window->itemBox("txtBUrCall")->text(), QStringLiteral("W1AW"));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("linkStateDisplay"))->text(),
              QStringLiteral("Linked with Dumo RTTY."));
    window->hide();
}

TEST_F(RttyWindowTest, RetriesQuietlyUntilTheTerminalStartsAndAfterItDrops)
{
    start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !link.isAttempting(); }, 10000));
    EXPECT_FALSE(link.isConnected());
    EXPECT_FALSE(prompter.messageTitles().contains(QStringLiteral("Unable to find Dumo RTTY.")));
    EXPECT_EQ(status(), QStringLiteral("Unable to find Dumo RTTY."));
    EXPECT_TRUE(link.retryTimer().isActive());

    startPeer();
    fireRetry();
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.isConnected(); }, 10000));
    EXPECT_EQ(status(), QStringLiteral("Connected with Dumo!"));
    EXPECT_FALSE(prompter.messageTitles().contains(QStringLiteral("Connected with Dumo!")));

    ASSERT_TRUE(peer->command(QStringLiteral("drop")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !link.isConnected(); }, 10000));
    EXPECT_EQ(status(), QStringLiteral("Lost the link to Dumo RTTY."));
    EXPECT_TRUE(link.retryTimer().isActive());

    // Reconnect against a terminal that refuses an item: the error box, once.
    ASSERT_TRUE(peer->command(QStringLiteral("refuse txtBField8")));
    form->findChild<QPushButton*>(QStringLiteral("digitalSourceButton"))->click();
    auto* window = form->findChild<DigitalSourceWindow*>();
    ASSERT_NE(window, nullptr);
    window->findChild<QPushButton*>(QStringLiteral("reconnectButton"))->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !link.isAttempting(); }, 10000));
    EXPECT_FALSE(link.isConnected());
    EXPECT_EQ(prompter.messageTitles().count(QStringLiteral("Unable to find Dumo RTTY.")), 1);
    window->hide();

    ASSERT_TRUE(peer->command(QStringLiteral("accept txtBField8")));
    fireRetry();
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.isConnected(); }, 10000));
}

TEST_F(RttyWindowTest, FunctionKeysAndKeyboardRttyMode)
{
    startLinked();
    focusOn("callBox");
    keyAtFocus(Qt::Key_F10);
    ASSERT_TRUE(peer->waitFor(QStringLiteral("poke txtBField8 124")));
    EXPECT_FALSE(peer->reports.contains(QStringLiteral("poke txtBField8 121")));
    keyAtFocus(Qt::Key_F1);
    ASSERT_TRUE(peer->waitFor(QStringLiteral("poke txtBField8 112")));
    // Each key is two pushes: empty, then the code.
    EXPECT_EQ(peer->pokes(QStringLiteral("txtBField8")),
              (QStringList{QString(), QStringLiteral("124"), QString(), QStringLiteral("112")}));

    // Letters are forwarded and still typed.
    keys(QStringLiteral("k"));
    ASSERT_TRUE(peer->waitFor(QStringLiteral("poke txtBField8 75")));
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("K"));

    keyAtFocus(Qt::Key_F12);
    ASSERT_TRUE(peer->waitFor(QStringLiteral("poke txtBField8 123")));
    EXPECT_EQ(status(), QStringLiteral("Keyboard RTTY mode.  Press F12 to exit keyboard RTTY."));
    EXPECT_TRUE(statusColour().contains(styleSheetColour(colour::keyboardRtty)))
        << statusColour().toStdString();
    // In keyboard RTTY mode the characters go to the terminal only.
    keys(QStringLiteral("cq"));
    keyAtFocus(Qt::Key_Return);
    ASSERT_TRUE(peer->waitFor(QStringLiteral("poke txtBField8 13")));
    EXPECT_EQ(peer->pokes(QStringLiteral("txtBField8")).filter(QStringLiteral("67")).size(), 1);
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("K"));
    EXPECT_TRUE(session.log.records().empty());

    keyAtFocus(Qt::Key_F12);
    ASSERT_TRUE(peer->waitFor(QStringLiteral("poke txtBField8 123"), 2));
    EXPECT_EQ(status(), QString());
    EXPECT_TRUE(statusColour().contains(styleSheetColour(colour::statusNormal)))
        << statusColour().toStdString();
    keys(QStringLiteral("1"));
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("K1"));
}

TEST_F(RttyWindowTest, HostileValuesNeitherCorruptTheEntryNorFreezeTheWindow)
{
    startLinked();
    ASSERT_TRUE(peer->command(QStringLiteral("click call k1\\x01a\"b\\x7f\\xe9")));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return box("callBox")->text().startsWith(QStringLiteral("K1AB")); }, 10000));
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("K1AB\u00c9"));

    // A megabyte line, binary junk and a flood of updates: the link stays up and the last
    // value wins.
    ASSERT_TRUE(peer->command(QStringLiteral("bigline 1000000")));
    ASSERT_TRUE(peer->command(QStringLiteral("raw \\x00\\xff\\x01garbage\\nDATA\\nNAK\\n")));
    ASSERT_TRUE(peer->command(QStringLiteral("flood 20000")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return box("callBox")->text() == QStringLiteral("K19999"); }, 30000));
    EXPECT_TRUE(link.isConnected());
    const QString longCall = QString(40, QLatin1Char('w'));
    ASSERT_TRUE(peer->command(QStringLiteral("click name ") + longCall));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !box("nameBox")->text().isEmpty(); }, 10000));
    EXPECT_EQ(box("nameBox")->text(), QString(20, QLatin1Char('W')));
}

TEST_F(RttyWindowTest, NoLinkOutsideAnRttyLogUntilTheStationDialogChoosesIt)
{
    session.prefs.mode = QStringLiteral("CW");
    writePreferences();
    startPeer();
    start();
    EXPECT_FALSE(link.isAttempting());
    EXPECT_FALSE(link.isConnected());
    focusOn("callBox");
    keyAtFocus(Qt::Key_F10);
    EXPECT_FALSE(peer->reports.contains(QStringLiteral("connected")));
    EXPECT_FALSE(form->findChild<QPushButton*>(QStringLiteral("digitalSourceButton"))->isVisible());

    // The operator picks RTTY with the link in the station dialog.
    form->setStationDialogRunner([](StationDialog& dialog) {
        dialog.findChild<QRadioButton*>(QStringLiteral("rttyOption"))->click();
        dialog.findChild<QCheckBox*>(QStringLiteral("rttyLinkCheck"))->setChecked(true);
        dialog.accept();
        return dialog.result();
    });
    action("setupAction")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.isConnected(); }, 10000));
    EXPECT_TRUE(form->findChild<QPushButton*>(QStringLiteral("digitalSourceButton"))->isVisible());

    // And back to CW: the link closes.
    form->setStationDialogRunner([](StationDialog& dialog) {
        dialog.findChild<QRadioButton*>(QStringLiteral("cwOption"))->click();
        dialog.accept();
        return dialog.result();
    });
    action("setupAction")->trigger();
    EXPECT_FALSE(link.isConnected());
    ASSERT_TRUE(peer->waitFor(QStringLiteral("disconnected")));
}

TEST_F(RttyWindowTest, TheLinkWindowChoosesTheTerminalProgram)
{
    startLinked();
    form->findChild<QPushButton*>(QStringLiteral("digitalSourceButton"))->click();
    auto* window = form->findChild<DigitalSourceWindow*>();
    ASSERT_NE(window, nullptr);
    auto* port = window->findChild<QSpinBox*>(QStringLiteral("fldigiPortBox"));
    EXPECT_EQ(port->value(), 7362);
    port->setValue(7400);
    window->findChild<QComboBox*>(QStringLiteral("terminalProgramChoice"))->setCurrentIndex(1);
    EXPECT_EQ(link.peerKind(), RttyPeerKind::Fldigi);
    EXPECT_FALSE(link.isConnected());
    EXPECT_EQ(settings.values.value(QStringLiteral("UserRttyPeer")), QStringLiteral("fldigi"));
    EXPECT_EQ(settings.values.value(QStringLiteral("UserFldigiPort")), QStringLiteral("7400"));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("linkStateDisplay"))->text(),
              QStringLiteral("Not linked with fldigi."));
    ASSERT_TRUE(peer->waitFor(QStringLiteral("disconnected")));

    // Back to Dumo RTTY: the next attempt finds the simulator again.
    window->findChild<QComboBox*>(QStringLiteral("terminalProgramChoice"))->setCurrentIndex(0);
    EXPECT_EQ(link.peerKind(), RttyPeerKind::DumoRtty);
    window->findChild<QPushButton*>(QStringLiteral("reconnectButton"))->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.isConnected(); }, 10000));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("linkStateDisplay"))->text(),
              QStringLiteral("Linked with Dumo RTTY."));
    window->hide();
}

} // namespace
} // namespace velk::testing
