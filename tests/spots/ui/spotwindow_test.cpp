// DX spotting through the real main window and setup window, against a scripted TCP peer.
#include "log/ui/mainwindow_fixture.h"
#include "spots/agwframe.h"
#include "spots/spotfeed.h"
#include "spots/ui/spotlistpanel.h"
#include "spots/ui/spotsetupwindow.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStackedWidget>

namespace velk::testing {
namespace {

// Yields to the event loop until the condition holds; false when the time runs out first.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        QTest::qWait(10);
    }
    return true;
}

class SpotWindowTest : public MainWindowTest
{
protected:
    SpotFeed& feed = station.spots();

    static QByteArray spotLine(const char* spotter, const char* khz, const char* call)
    {
        return QString::asprintf("DX de %-9s%9s  %-13s%-31s%s", spotter, khz, call, "CQ", "1830Z").toLatin1();
    }

    SpotSetupWindow* spotWindow() const { return form->findChild<SpotSetupWindow*>(); }
    template <typename T> T* spotChild(const char* name) const
    {
        return spotWindow()->findChild<T*>(QString::fromLatin1(name));
    }

    // Ctrl+D in the call box, as the operator opens the window.
    void openSpotWindow()
    {
        focusOn("callBox");
        QTest::keyClick(box("callBox"), Qt::Key_D, Qt::ControlModifier);
        ASSERT_NE(spotWindow(), nullptr);
        ASSERT_TRUE(spotWindow()->isVisible());
    }

    void chooseTelnet(const QString& host, const QString& port)
    {
        spotChild<QListWidget>("spotSourceList")->setCurrentRow(2);
        QLineEdit* hostBox = spotChild<QLineEdit>("telnetHostBox");
        hostBox->clear();
        QTest::keyClicks(hostBox, host);
        QLineEdit* portBox = spotChild<QLineEdit>("telnetPortBox");
        portBox->clear();
        QTest::keyClicks(portBox, port);
        spotChild<QRadioButton>("listOption")->setChecked(true);
    }

    void sendLine(const QString& text)
    {
        QLineEdit* send = spotWindow()->sendBox();
        send->setFocus();
        QTest::keyClicks(send, text);
        QTest::keyClick(send, Qt::Key_Return);
    }
};

TEST_F(SpotWindowTest, TelnetSpotsReachTheListAndAClickFillsTheCallBox)
{
    session.prefs.ownCall = QStringLiteral("W1AW");
    start();
    ASSERT_TRUE(started);
    EXPECT_TRUE(action("dxConfigureAction")->isEnabled());
    auto* area = child<QStackedWidget>("spotArea");
    ASSERT_NE(area, nullptr);
    EXPECT_FALSE(area->isVisible());

    openSpotWindow();
    EXPECT_TRUE(spotWindow()->monitorBox()->toPlainText().contains(QStringLiteral("DX SPOTTING")));
    chooseTelnet(QStringLiteral("dxc.example.org"), QStringLiteral("7300"));
    QTest::mouseClick(spotChild<QPushButton>("openPortButton"), Qt::LeftButton);
    ASSERT_EQ(devices.tcpConnections.size(), 1u);
    FakeTcpConnection& tcp = *devices.tcpConnections.front();
    EXPECT_EQ(tcp.host, QStringLiteral("dxc.example.org"));
    EXPECT_TRUE(spotChild<QLabel>("listeningLabel")->isVisible());
    tcp.accept();
    tcp.deliver("login: ");
    sendLine(QStringLiteral("W1AW"));
    EXPECT_EQ(tcp.written, QByteArray("W1AW\r\n"));
    EXPECT_TRUE(spotWindow()->sendBox()->text().isEmpty());
    tcp.deliver(spotLine("W3LPL:", "14025.0", "DL1ABC") + "\r\n" + spotLine("K1TTT:", "7003.5", "XE1XYZ") +
                "\r\n");
    ASSERT_TRUE(waitUntil(
        [&] { return spotWindow()->monitorBox()->toPlainText().contains(QStringLiteral("XE1XYZ")); }));

    QTest::mouseClick(spotChild<QPushButton>("doneButton"), Qt::LeftButton);
    EXPECT_FALSE(spotWindow()->isVisible());
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_TRUE(QFile::exists(session.folders.working + QStringLiteral("/PackSpot.txt")));
    EXPECT_TRUE(area->isVisible());
    auto* panel = child<SpotListPanel>("spotListPanel");
    ASSERT_EQ(area->currentWidget(), panel);
    QTableView* table = panel->table();
    ASSERT_EQ(table->model()->rowCount(), 2);
    EXPECT_EQ(table->model()->index(0, 2).data().toString(), QStringLiteral("Mexico"));

    QSignalSpy tune(panel, &SpotListPanel::tuneRequested);
    const QRect row = table->visualRect(table->model()->index(1, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("DL1ABC"));
    EXPECT_TRUE(hasFocus("callBox"));
    ASSERT_EQ(tune.count(), 1);
    EXPECT_DOUBLE_EQ(tune.at(0).at(0).toDouble(), 14.025);
    // The call box handles the call as typed: the lookup ran.
    EXPECT_EQ(child<QLabel>("continentDisplay")->text(), QStringLiteral("EU"));

    QSignalSpy spectrum(panel, &SpotListPanel::spectrumMapRequested);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(spectrum.count(), 1);
}

TEST_F(SpotWindowTest, OwnCallSpottedShowsTheAlert)
{
    session.prefs.ownCall = QStringLiteral("W1AW");
    start();
    const int bells = prompter.bells;
    feed.postSpot(QString::fromLatin1(spotLine("K1TTT:", "14025.0", "W1AW")));
    EXPECT_EQ(status(), QStringLiteral("You've been spotted! "));
    EXPECT_TRUE(child<QLabel>("partialDupeLine")
                    ->text()
                    .startsWith(QStringLiteral("You've been spotted!  de K1TTT:")));
    EXPECT_GT(prompter.bells, bells);
}

TEST_F(SpotWindowTest, EscSendsTheTncCommandCharacterAndSpotLastPreparesASpot)
{
    start();
    openSpotWindow();
    spotChild<QListWidget>("spotSourceList")->setCurrentRow(1);
    EXPECT_EQ(spotChild<QLabel>("sendLabel")->text(),
              QStringLiteral("Send text  (Ctrl C or Esc for TNC Command mode):"));
    QTest::mouseClick(spotChild<QPushButton>("openPortButton"), Qt::LeftButton);
    ASSERT_EQ(devices.serialDevices.size(), 1u);
    FakeSerialDevice& tnc = *devices.serialDevices.front();
    ASSERT_TRUE(tnc.isOpen());
    QTest::keyClick(spotWindow()->sendBox(), Qt::Key_Escape);
    QTest::keyClick(spotWindow()->sendBox(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(tnc.written, QByteArray("\x03\x03"));

    QTest::mouseClick(spotChild<QPushButton>("spotLastButton"), Qt::LeftButton);
    QLineEdit* send = spotWindow()->sendBox();
    EXPECT_TRUE(send->text().startsWith(QStringLiteral("DX Frequency in kHz ")));
    EXPECT_EQ(send->selectedText(), QStringLiteral("Frequency in kHz"));
    QTest::keyClicks(send, QStringLiteral("14025"));
    EXPECT_TRUE(send->text().startsWith(QStringLiteral("DX 14025 ")));

    QTest::mouseClick(spotChild<QPushButton>("closePortButton"), Qt::LeftButton);
    EXPECT_FALSE(tnc.isOpen());
    EXPECT_FALSE(spotChild<QLabel>("listeningLabel")->isVisible());
}

TEST_F(SpotWindowTest, PacketEngineEscTypesTheColonAndLongLinesGoOutAtASpace)
{
    session.prefs.ownCall = QStringLiteral("W1AW");
    start();
    openSpotWindow();
    spotChild<QListWidget>("spotSourceList")->setCurrentRow(3);
    EXPECT_EQ(spotChild<QLabel>("sendLabel")->text(),
              QStringLiteral("Send text (use : to send cmds such as :C Varno or :D)"));
    QTest::mouseClick(spotChild<QPushButton>("openPortButton"), Qt::LeftButton);
    ASSERT_EQ(devices.tcpConnections.size(), 1u);
    FakeTcpConnection& engine = *devices.tcpConnections.front();
    engine.accept();
    engine.written.clear();
    QLineEdit* send = spotWindow()->sendBox();
    send->setFocus();
    QTest::keyClick(send, Qt::Key_Escape);
    EXPECT_EQ(send->text(), QStringLiteral(":"));
    QTest::keyClicks(send, QStringLiteral("c k1ttt-5"));
    QTest::keyClick(send, Qt::Key_Return);
    ASSERT_GE(engine.written.size(), 36);
    EXPECT_EQ(engine.written.at(4), 'C');
    engine.deliver(
        encodeAgwFrame({0, 'C', 0, QStringLiteral("K1TTT-5"), QStringLiteral("W1AW"), "*** CONNECTED\r"}));
    EXPECT_EQ(spotWindow()->windowTitle(), QStringLiteral("DX Spotting Setup - Connected to K1TTT-5"));
    engine.written.clear();
    const QString words =
        QStringLiteral("this is a long line of chat to the node that runs on past seventy chars ");
    QTest::keyClicks(send, words);
    EXPECT_TRUE(send->text().isEmpty());
    EXPECT_TRUE(engine.written.endsWith(words.trimmed().toLatin1() + "\r"));
}

TEST_F(SpotWindowTest, PacketEngineAddressIsTypedInTheWindowAndKeptForTheUser)
{
    session.prefs.ownCall = QStringLiteral("W1AW");
    start();
    openSpotWindow();
    QLineEdit* host = spotChild<QLineEdit>("agwHostBox");
    QLineEdit* port = spotChild<QLineEdit>("agwPortBox");
    EXPECT_FALSE(host->isEnabled());
    spotChild<QListWidget>("spotSourceList")->setCurrentRow(3);
    ASSERT_TRUE(host->isEnabled());
    EXPECT_EQ(host->text(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(port->text(), QStringLiteral("8000"));
    host->clear();
    QTest::keyClicks(host, QStringLiteral("shack-pi.local"));
    port->clear();
    QTest::keyClicks(port, QStringLiteral("80x01"));
    EXPECT_EQ(port->text(), QStringLiteral("8001"));
    QTest::mouseClick(spotChild<QPushButton>("openPortButton"), Qt::LeftButton);
    ASSERT_EQ(devices.tcpConnections.size(), 1u);
    FakeTcpConnection& engine = *devices.tcpConnections.front();
    EXPECT_EQ(engine.host, QStringLiteral("shack-pi.local"));
    EXPECT_EQ(engine.port, 8001);

    // A port the box takes while it is typed but no engine can have: opening says so.
    port->clear();
    QTest::keyClicks(port, QStringLiteral("0"));
    QTest::mouseClick(spotChild<QPushButton>("openPortButton"), Qt::LeftButton);
    EXPECT_EQ(engine.connectCount, 1);
    EXPECT_TRUE(feed.monitor().contains(QStringLiteral("must be a number from 1 to 65535")));
    EXPECT_FALSE(spotChild<QLabel>("listeningLabel")->isVisible());

    port->clear();
    QTest::keyClicks(port, QStringLiteral("8002"));
    QTest::mouseClick(spotChild<QPushButton>("doneButton"), Qt::LeftButton);
    EXPECT_EQ(engine.port, 8002);
    EXPECT_EQ(settings.values.value(QStringLiteral("AgwHost")), QStringLiteral("shack-pi.local"));
    EXPECT_EQ(settings.values.value(QStringLiteral("AgwPort")), QStringLiteral("8002"));
    // PackSpot.txt keeps its fourteen values; the address is the user's, not the file's.
    const QByteArray packSpot = readFile(session.folders.working + QStringLiteral("/PackSpot.txt"));
    EXPECT_EQ(packSpot.count("\r\n"), 14);
    EXPECT_FALSE(packSpot.contains("shack-pi"));
}

TEST_F(SpotWindowTest, ChoosingNoneHidesTheSpotDisplay)
{
    writeFile(session.folders.working + QStringLiteral("/PackSpot.txt"),
              "\"9600\"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n1\r\n\"N\"\r\n\"Telnet\"\r\n0\r\n3\r\n0\r\n#TRUE#"
              "\r\n\"03\"\r\n"
              "\"7300\"\r\n\"dxc.example.org\"\r\n");
    start();
    auto* area = child<QStackedWidget>("spotArea");
    EXPECT_TRUE(area->isVisible());
    // The configured source connects when the window is first opened in a run.
    EXPECT_TRUE(devices.tcpConnections.empty());
    openSpotWindow();
    ASSERT_EQ(devices.tcpConnections.size(), 1u);
    EXPECT_EQ(devices.tcpConnections.front()->host, QStringLiteral("dxc.example.org"));
    spotChild<QListWidget>("spotSourceList")->setCurrentRow(0);
    QTest::mouseClick(spotChild<QPushButton>("doneButton"), Qt::LeftButton);
    EXPECT_FALSE(area->isVisible());
}

} // namespace
} // namespace velk::testing
