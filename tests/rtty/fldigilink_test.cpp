// The fldigi link over a scripted HTTP poster that plays fldigi's XML-RPC interface; and the
// XML-RPC codec byte for byte.
#include "common/platform/fake/fakeplatform.h"
#include "common/qtprinters.h"
#include "rtty/fldigitransport.h"
#include "rtty/rttylink.h"
#include "rtty/xmlrpc.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <map>

namespace velk {
namespace {

TEST(XmlRpc, EncodesCallsByteForByte)
{
    EXPECT_EQ(encodeXmlRpcCall(QStringLiteral("log.get_call")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><methodCall><methodName>log.get_call</methodName>"
              "<params/></methodCall>\n");
    EXPECT_EQ(
        encodeXmlRpcCall(QStringLiteral("log.set_call"), {QStringLiteral("K1<&>")}),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><methodCall><methodName>log.set_call</methodName>"
        "<params><param><value><string>K1&lt;&amp;&gt;</string></value></param></params></methodCall>\n");
    EXPECT_EQ(encodeXmlRpcCall(QStringLiteral("main.run_macro"), {9}),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><methodCall><methodName>main.run_macro</methodName>"
              "<params><param><value><i4>9</i4></value></param></params></methodCall>\n");
}

TEST(XmlRpc, DecodesRepliesFaultsAndRefusesJunk)
{
    struct Case
    {
        QByteArray bytes;
        std::optional<XmlRpcReply> reply;
    };
    const Case cases[] = {
        {"<?xml version=\"1.0\"?><methodResponse><params><param><value><string>K1ABC</string></value></param>"
         "</params></methodResponse>",
         XmlRpcReply{false, QStringLiteral("K1ABC")}},
        {"<methodResponse><params><param><value>bare</value></param></params></methodResponse>",
         XmlRpcReply{false, QStringLiteral("bare")}},
        {"<methodResponse><params><param><value><string></string></value></param></params></methodResponse>",
         XmlRpcReply{false, QString()}},
        {"<methodResponse><params><param><value><i4>12</i4></value></param></params></methodResponse>",
         XmlRpcReply{false, QStringLiteral("12")}},
        {"<methodResponse><params><param><value><string>Jos\xc3\xa9</string></value></param></params>"
         "</methodResponse>",
         XmlRpcReply{false, QStringLiteral("Jos\u00e9")}},
        {"<methodResponse><params/></methodResponse>", XmlRpcReply{false, QString()}},
        {"<methodResponse><fault><value><struct><member><name>faultCode</name><value><int>-506</int></value>"
         "</member></struct></value></fault></methodResponse>",
         XmlRpcReply{true, QString()}},
        {"", std::nullopt},
        {"<html>not found</html>", std::nullopt},
        {"<methodResponse><params><param><value><string>cut", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decodeXmlRpcReply(c.bytes), c.reply) << c.bytes.left(60).toStdString();
    }
    // A huge value is cut.
    const QByteArray huge = "<methodResponse><params><param><value><string>" + QByteArray(100000, 'x') +
                            "</string></value></param></params></methodResponse>";
    const auto reply = decodeXmlRpcReply(huge);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->value.size(), maxXmlRpcValueLength);
}

TEST(FldigiKeys, FunctionKeysRunMacrosAndKeyboardTextGoesOut)
{
    auto calls = [](int key, bool keyboard) {
        QStringList texts;
        for (const FldigiTransport::KeyAction& action : FldigiTransport::actionsForKey(key, keyboard)) {
            texts << action.method + QLatin1Char(' ') +
                         (action.params.isEmpty() ? QString() : action.params.at(0).toString());
        }
        return texts.join(QLatin1Char('|'));
    };
    EXPECT_EQ(calls(112, false), QStringLiteral("main.run_macro 0"));
    EXPECT_EQ(calls(120, false), QStringLiteral("main.run_macro 8"));
    EXPECT_EQ(calls(124, false), QStringLiteral("main.run_macro 9"));
    EXPECT_EQ(calls(122, false), QStringLiteral("main.run_macro 10"));
    EXPECT_EQ(calls(121, false), QString()); // F10 itself never arrives
    EXPECT_EQ(calls(123, false), QString()); // F12 is the keyboard-mode switch
    // Esc aborts and empties the transmit pane, so the rest of a macro is never sent later.
    EXPECT_EQ(calls(27, false), QStringLiteral("main.abort |text.clear_tx "));
    EXPECT_EQ(calls(65, false), QString());
    EXPECT_EQ(calls(65, true), QStringLiteral("text.add_tx A"));
    EXPECT_EQ(calls(32, true), QStringLiteral("text.add_tx  "));
    EXPECT_EQ(calls(97, true), QStringLiteral("text.add_tx 1")); // numpad 1
    EXPECT_EQ(calls(191, true), QStringLiteral("text.add_tx /"));
    EXPECT_EQ(calls(13, true), QString());
}

// fldigi's log fields and the calls it received.
struct FakeFldigi
{
    std::map<QString, QString> fields{
        {QStringLiteral("call"), QString()},    {QStringLiteral("name"), QString()},
        {QStringLiteral("state"), QString()},   {QStringLiteral("province"), QString()},
        {QStringLiteral("country"), QString()}, {QStringLiteral("qth"), QString()}};
    QStringList calls; // every method other than the log reads, with its parameter
    bool running = true;

    std::optional<QByteArray> answer(const FakeHttpPoster::Request& request)
    {
        if (!running) {
            return std::nullopt;
        }
        static const QRegularExpression methodName(QStringLiteral("<methodName>([^<]*)</methodName>"));
        static const QRegularExpression param(QStringLiteral("<value><(?:string|i4)>([^<]*)</"));
        const QString method = methodName.match(QString::fromUtf8(request.body)).captured(1);
        const QString argument = param.match(QString::fromUtf8(request.body)).captured(1);
        QString value;
        if (method.startsWith(QLatin1String("log.get_"))) {
            value = fields[method.mid(8)];
        } else {
            calls << (method + QLatin1Char(' ') + argument).trimmed();
            if (method == QLatin1String("log.set_call")) {
                fields[QStringLiteral("call")] = argument;
            }
        }
        return "<?xml version=\"1.0\"?><methodResponse><params><param><value><string>" + value.toUtf8() +
               "</string></value></param></params></methodResponse>";
    }
};

class FldigiLinkTest : public ::testing::Test
{
protected:
    FakePrompter prompter;
    FakeClock clock;
    FakeSettingsStore settings;
    FakeEnvironment environment;
    FakeDevices devices;
    Platform platform{prompter, clock, settings, environment, devices};
    FakeFldigi fldigi;
    std::unique_ptr<RttyLink> link;

    void SetUp() override
    {
        settings.values[QStringLiteral("UserRttyPeer")] = QStringLiteral("fldigi");
        settings.values[QStringLiteral("UserFldigiPort")] = QStringLiteral("7399");
        link = std::make_unique<RttyLink>(platform);
    }

    FakeHttpPoster* poster()
    {
        return devices.httpPosters.empty() ? nullptr : devices.httpPosters.back().data();
    }

    // Answers requests until fldigi has nothing waiting.
    void answerAll()
    {
        poster()->responder = [this](const FakeHttpPoster::Request& request) {
            return fldigi.answer(request);
        };
        for (int i = 0; i < 100 && poster()->answer(); ++i) {
        }
    }

    void poll()
    {
        QMetaObject::invokeMethod(&link->findChild<FldigiTransport*>()->pollTimer(), "timeout");
        answerAll();
    }

    void connectLink()
    {
        link->apply(QStringLiteral("RY"), true);
        answerAll();
        ASSERT_TRUE(link->isConnected());
        prompter.messages.clear();
    }
};

TEST_F(FldigiLinkTest, ConnectsWhenFldigiAnswersAndPollsOnlyWhileUp)
{
    fldigi.fields[QStringLiteral("call")] = QStringLiteral("K1OLD");
    QSignalSpy values(link.get(), &RttyLink::valueFromTerminal);
    link->apply(QStringLiteral("RY"), true);
    ASSERT_NE(poster(), nullptr);
    EXPECT_EQ(poster()->requests.at(0).url, QStringLiteral("http://127.0.0.1:7399/RPC2"));
    EXPECT_EQ(poster()->requests.at(0).contentType, QByteArray("text/xml"));
    answerAll();
    EXPECT_TRUE(link->isConnected());
    EXPECT_EQ(values.count(), 0); // what fldigi held at connect time stays there
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Connected with fldigi!"));
    auto* transport = link->findChild<FldigiTransport*>();
    ASSERT_NE(transport, nullptr);
    EXPECT_TRUE(transport->pollTimer().isActive());
    EXPECT_EQ(transport->pollTimer().interval(), 250);
    // Own call, name and location are fldigi's own configuration: nothing is written.
    EXPECT_TRUE(fldigi.calls.isEmpty());

    fldigi.running = false;
    poll();
    EXPECT_FALSE(link->isConnected());
    EXPECT_FALSE(transport->pollTimer().isActive());
    EXPECT_TRUE(link->retryTimer().isActive());
}

TEST_F(FldigiLinkTest, AFailedAttemptRetriesAndReconnectShowsTheError)
{
    fldigi.running = false;
    link->apply(QStringLiteral("RY"), true);
    answerAll();
    EXPECT_FALSE(link->isConnected());
    EXPECT_TRUE(prompter.messages.empty());
    link->reconnect();
    answerAll();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Unable to find fldigi."));
}

TEST_F(FldigiLinkTest, ClickedFieldsArriveOnceAndTheCallGoesBackWithoutEcho)
{
    connectLink();
    QSignalSpy values(link.get(), &RttyLink::valueFromTerminal);
    fldigi.fields[QStringLiteral("call")] = QStringLiteral("k1abc");
    fldigi.fields[QStringLiteral("name")] = QStringLiteral("bob\"");
    fldigi.fields[QStringLiteral("state")] = QStringLiteral("ma");
    poll();
    ASSERT_EQ(values.count(), 3);
    EXPECT_EQ(values[0][1].toString(), QStringLiteral("K1ABC"));
    EXPECT_EQ(values[1][1].toString(), QStringLiteral("BOB"));
    EXPECT_EQ(values[2][0].value<PeerField>(), PeerField::Location);
    EXPECT_EQ(values[2][1].toString(), QStringLiteral("MA"));
    poll();
    EXPECT_EQ(values.count(), 3); // no change, nothing new

    // The call being entered goes into fldigi's call field; reading it back is no change.
    link->setCallBeingEntered(QStringLiteral("W1AW"));
    link->setCallBeingEntered(QStringLiteral("W1AWX"));
    answerAll();
    poll();
    EXPECT_EQ(fldigi.fields[QStringLiteral("call")], QStringLiteral("W1AWX"));
    EXPECT_EQ(values.count(), 3);
    // A QTH clicked later is the new location; an emptied field changes nothing.
    fldigi.fields[QStringLiteral("qth")] = QStringLiteral("Ontario");
    fldigi.fields[QStringLiteral("name")] = QString();
    poll();
    ASSERT_EQ(values.count(), 4);
    EXPECT_EQ(values[3][1].toString(), QStringLiteral("ONTARIO"));
}

TEST_F(FldigiLinkTest, KeysRunMacrosAndKeyboardModeTransmits)
{
    connectLink();
    link->forwardKey(Qt::Key_F1, Qt::NoModifier);
    link->forwardKey(Qt::Key_F10, Qt::NoModifier);
    link->forwardKey(Qt::Key_F12, Qt::NoModifier); // keyboard RTTY on: transmit
    link->forwardKey(Qt::Key_H, Qt::NoModifier);
    link->forwardKey(Qt::Key_5, Qt::KeypadModifier);
    link->forwardKey(Qt::Key_F12, Qt::NoModifier); // off: back to receive after the text
    answerAll();
    link->forwardKey(Qt::Key_Escape, Qt::NoModifier);
    answerAll();
    EXPECT_EQ(fldigi.calls,
              (QStringList{QStringLiteral("main.run_macro 0"), QStringLiteral("main.run_macro 9"),
                           QStringLiteral("main.tx"), QStringLiteral("text.add_tx H"),
                           QStringLiteral("text.add_tx 5"), QStringLiteral("text.add_tx ^r"),
                           QStringLiteral("main.abort"), QStringLiteral("text.clear_tx")}));

    // Esc while fldigi is still busy with a request: the macros queued behind it are dropped,
    // so nothing starts transmitting again after the abort.
    fldigi.calls.clear();
    link->forwardKey(Qt::Key_F1, Qt::NoModifier); // under way
    link->forwardKey(Qt::Key_F2, Qt::NoModifier);
    link->forwardKey(Qt::Key_F3, Qt::NoModifier);
    link->forwardKey(Qt::Key_Escape, Qt::NoModifier);
    answerAll();
    EXPECT_EQ(fldigi.calls, (QStringList{QStringLiteral("main.run_macro 0"), QStringLiteral("main.abort"),
                                         QStringLiteral("text.clear_tx")}));

    // Stopping closes the link once and quietly; a second stop is harmless.
    QSignalSpy changes(link.get(), &RttyLink::connectionChanged);
    link->stop();
    link->stop();
    EXPECT_FALSE(link->isConnected());
    EXPECT_EQ(changes.count(), 1);
    EXPECT_FALSE(link->findChild<FldigiTransport*>()->pollTimer().isActive());
    EXPECT_FALSE(link->retryTimer().isActive());
    EXPECT_FALSE(poster()->isBusy());
}

TEST_F(FldigiLinkTest, AStuckFldigiNeverBuildsABacklog)
{
    connectLink();
    const size_t before = poster()->requests.size();
    // fldigi stops answering: requests wait behind the one under way, up to the bound.
    for (int i = 0; i < 1000; ++i) {
        link->forwardKey(Qt::Key_F1, Qt::NoModifier);
        QMetaObject::invokeMethod(&link->findChild<FldigiTransport*>()->pollTimer(), "timeout");
    }
    EXPECT_EQ(poster()->requests.size(), before + 1);
    answerAll();
    EXPECT_LE(fldigi.calls.size(), static_cast<qsizetype>(FldigiTransport::maxQueued + 1));
    EXPECT_TRUE(link->isConnected());
}

} // namespace
} // namespace velk
