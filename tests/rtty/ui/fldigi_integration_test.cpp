// The fldigi link against a real fldigi: started headless under Xvfb with a seeded configuration
// folder and its own XML-RPC port, driven both ways through the real main window.
#include "common/platform/qt/qtchannels.h"
#include "log/ui/mainwindow_fixture.h"
#include "rtty/rttylink.h"
#include "rtty/xmlrpc.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>

namespace velk::testing {
namespace {

// A process the test started, ended with it whatever happens.
struct OwnedProcess
{
    QProcess process;
    ~OwnedProcess()
    {
        // Asked first, so that Xvfb removes its lock and socket; killed if it will not go.
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            if (!process.waitForFinished(3000)) {
                process.kill();
                process.waitForFinished(5000);
            }
        }
    }
};

int freeTcpPort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

int freeDisplay()
{
    for (int display = 90; display < 300; ++display) {
        if (!QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)) &&
            !QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display))) {
            return display;
        }
    }
    return 0;
}

class FldigiIntegrationTest : public MainWindowTest
{
protected:
    OwnedProcess xvfb;
    OwnedProcess fldigi;
    QTemporaryDir fldigiConfig;
    QString url;
    QtHttpPoster client;
    RttyLink& link = station.rttyLink();

    // One XML-RPC call from the test, as fldigi's operator (or an observer) would make it.
    std::optional<QString> rpc(const QString& method, const QVariantList& params = {})
    {
        std::optional<QString> value;
        bool done = false;
        auto finished =
            QObject::connect(&client, &HttpPoster::finished, [&](bool ok, const QByteArray& body) {
                done = true;
                if (const auto reply = ok ? decodeXmlRpcReply(body) : std::nullopt; reply && !reply->fault) {
                    value = reply->value;
                }
            });
        client.post(url, QByteArrayLiteral("text/xml"), encodeXmlRpcCall(method, params));
        if (!QTest::qWaitFor([&] { return done; }, 5000)) {
            client.abort();
        }
        QObject::disconnect(finished);
        return value;
    }

    // Starts Xvfb and fldigi; a text saying why not when they cannot start.
    QString startFldigi()
    {
        const QString xvfbPath = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        const QString fldigiPath = QStandardPaths::findExecutable(QStringLiteral("fldigi"));
        if (xvfbPath.isEmpty() || fldigiPath.isEmpty()) {
            return QStringLiteral("Xvfb or fldigi is not installed");
        }
        const int display = freeDisplay();
        const int port = freeTcpPort();
        if (display == 0 || port == 0) {
            return QStringLiteral("no free X display or TCP port");
        }
        xvfb.process.start(xvfbPath, {QStringLiteral(":%1").arg(display), QStringLiteral("-screen"),
                                      QStringLiteral("0"), QStringLiteral("1024x768x24"),
                                      QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        const QString xSocket = QStringLiteral("/tmp/.X11-unix/X%1").arg(display);
        if (!xvfb.process.waitForStarted(5000) ||
            !QTest::qWaitFor([&] { return QFileInfo::exists(xSocket); }, 10000)) {
            return QStringLiteral("Xvfb did not start");
        }
        // A configuration that exists skips fldigi's first-run wizard.
        writeFile(fldigiConfig.path() + QStringLiteral("/fldigi_def.xml"),
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<FLDIGI_DEFS>\n<MYCALL>W9XYZ</MYCALL>\n"
                  "<MYNAME>LEE</MYNAME>\n</FLDIGI_DEFS>\n");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":%1").arg(display));
        fldigi.process.setProcessEnvironment(environment);
        fldigi.process.setProcessChannelMode(QProcess::MergedChannels);
        fldigi.process.start(fldigiPath, {QStringLiteral("--config-dir"), fldigiConfig.path(),
                                          QStringLiteral("--xmlrpc-server-port"), QString::number(port)});
        if (!fldigi.process.waitForStarted(5000)) {
            return QStringLiteral("fldigi did not start");
        }
        url = QStringLiteral("http://127.0.0.1:%1/RPC2").arg(port);
        settings.values[QStringLiteral("UserFldigiPort")] = QString::number(port);
        // fldigi takes some seconds to open its XML-RPC port.
        const bool answering = QTest::qWaitFor(
            [&] { return fldigi.process.state() == QProcess::Running && rpc(QStringLiteral("fldigi.name")); },
            90000);
        return answering ? QString() : QStringLiteral("fldigi did not answer on its XML-RPC port");
    }

    void TearDown() override
    {
        MainWindowTest::TearDown();
        link.stop();
    }
};

TEST_F(FldigiIntegrationTest, WorksAContactBothWaysWithARealFldigi)
{
    ASSERT_TRUE(fldigiConfig.isValid());
    if (const QString why = startFldigi(); !why.isEmpty()) {
        GTEST_SKIP() << "fldigi integration skipped: " << why.toStdString();
    }
    rpc(QStringLiteral("log.clear"));
    settings.values[QStringLiteral("UserDumoOption")] = QStringLiteral("1");
    settings.values[QStringLiteral("UserRttyPeer")] = QStringLiteral("fldigi");
    devices.httpPosterFactory = [] { return std::make_unique<QtHttpPoster>(); };
    session.prefs.mode = QStringLiteral("RY");
    writePreferences();
    link.choosePeer(RttyPeerKind::Fldigi, settings.values[QStringLiteral("UserFldigiPort")].toInt());
    start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.isConnected(); }, 10000));
    EXPECT_TRUE(prompter.messageTitles().contains(QStringLiteral("Connected with fldigi!")));

    // The operator clicks call, name and QTH in fldigi's receive text: its log fields change.
    ASSERT_TRUE(rpc(QStringLiteral("log.set_call"), {QStringLiteral("k1tst")}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return box("callBox")->text() == QStringLiteral("K1TST"); }, 10000));
    ASSERT_TRUE(rpc(QStringLiteral("log.set_name"), {QStringLiteral("bob")}));
    ASSERT_TRUE(rpc(QStringLiteral("log.set_qth"), {QStringLiteral("ma")}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return box("locationBox")->text() == QStringLiteral("MA"); }, 10000));
    EXPECT_EQ(box("nameBox")->text(), QStringLiteral("BOB"));

    // The call typed in the logger lands in fldigi's call field.
    box("callBox")->clear();
    type("callBox", QStringLiteral("w1aw"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return rpc(QStringLiteral("log.get_call")) == QStringLiteral("W1AW"); },
                                10000));
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("W1AW"));

    // F1 runs fldigi's first macro (its CQ, which transmits); Esc aborts.
    focusOn("callBox");
    keyAtFocus(Qt::Key_F1);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return rpc(QStringLiteral("main.get_trx_state")) == QStringLiteral("TX"); }, 10000));
    keyAtFocus(Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return rpc(QStringLiteral("main.get_trx_state")) != QStringLiteral("TX"); }, 10000));

    // Nothing of the aborted macro is left in fldigi's transmit pane: the next transmission
    // (keyboard RTTY) sends only what is typed.
    QByteArray sent;
    auto readSent = [&] {
        sent += QByteArray::fromBase64(rpc(QStringLiteral("tx.get_data")).value_or(QString()).toLatin1());
        return sent;
    };
    readSent();
    sent.clear();
    keyAtFocus(Qt::Key_F12);
    keyAtFocus(Qt::Key_X);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            // fldigi drops a transmit asked for while its abort is still settling: the operator
            // clicks its T/R button again.
            if (rpc(QStringLiteral("main.get_trx_state")) != QStringLiteral("TX")) {
                rpc(QStringLiteral("main.tx"));
            }
            return readSent().contains('X');
        },
        30000));
    EXPECT_EQ(sent.simplified(), QByteArray("X"));
    keyAtFocus(Qt::Key_F12);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return rpc(QStringLiteral("main.get_trx_state")) != QStringLiteral("TX"); }, 20000));

    // fldigi goes away: the link notices and retries quietly.
    fldigi.process.kill();
    fldigi.process.waitForFinished(5000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !link.isConnected(); }, 10000));
    EXPECT_TRUE(link.retryTimer().isActive());
}

} // namespace
} // namespace velk::testing
