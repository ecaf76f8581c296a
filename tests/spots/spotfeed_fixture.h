#pragma once
// A spot feed over the platform fakes, with a working folder and a small prefix table.
#include "common/platform/fake/fakeplatform.h"
#include "common/platform/platform.h"
#include "log/logsession.h"
#include "spots/spotfeed.h"
#include "support/platformfakes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velk::testing {

class SpotFeedTest : public ::testing::Test, protected velk::testing::PlatformFakes
{
protected:
    QTemporaryDir dir;
    LogSession session;
    SpotFeed feed{platform, session};

    void SetUp() override
    {
        session.folders.working = dir.path();
        session.prefs.ownCall = QStringLiteral("W1AW");
        session.prefixes = PrefixTable({
            {QStringLiteral("DL"), QStringLiteral("Germany"), QStringLiteral("EU"), 0, 0},
            {QStringLiteral("JA"), QStringLiteral("Japan"), QStringLiteral("AS"), 0, 0},
            {QStringLiteral("K"), QStringLiteral("USA"), QStringLiteral("NA"), 0, 0},
            {QStringLiteral("W"), QStringLiteral("USA"), QStringLiteral("NA"), 0, 0},
        });
    }

    // A spot line in the DXSpider layout.
    static QByteArray spotLine(const char* spotter, const char* khz, const char* call,
                               const char* comment = "CQ", const char* time = "1830Z")
    {
        return QString::asprintf("DX de %-9s%9s  %-13s%-31s%s", spotter, khz, call, comment, time).toLatin1();
    }

    FakeTcpConnection& openTelnet(const char* host = "dxc.example.org", const char* port = "7300")
    {
        feed.settings().source = SpotSource::Telnet;
        feed.settings().telnetHost = QString::fromLatin1(host);
        feed.settings().telnetPort = QString::fromLatin1(port);
        feed.open();
        EXPECT_FALSE(devices.tcpConnections.empty());
        FakeTcpConnection& tcp = *devices.tcpConnections.back();
        if (tcp.connecting) {
            tcp.accept();
        }
        return tcp;
    }
};

} // namespace velk::testing
