#include "spots/socketerrors.h"
#include "spots/spotsettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velk {
namespace {

const QByteArray sampleFile =
    "\"4800\"\r\n\"E\"\r\n\"7\"\r\n\"2\"\r\n3\r\n\"R\"\r\n\"Telnet\"\r\n1\r\n2\r\n1\r\n"
    "#TRUE#\r\n\"1B\"\r\n\"7300\"\r\n\"dxc.example.org\"\r\n";

TEST(SpotSettings, FileReadsBackWhatWasWritten)
{
    const SpotSettings s = parseSpotSettings(sampleFile);
    EXPECT_EQ(s.baud, QStringLiteral("4800"));
    EXPECT_EQ(s.parity, QStringLiteral("E"));
    EXPECT_EQ(s.dataBits, QStringLiteral("7"));
    EXPECT_EQ(s.stopBits, QStringLiteral("2"));
    EXPECT_EQ(s.commPort, 3);
    EXPECT_EQ(s.power, QStringLiteral("R"));
    EXPECT_EQ(s.source, SpotSource::Telnet);
    EXPECT_EQ(s.convertToHex, 1);
    EXPECT_EQ(s.handshaking, 2);
    EXPECT_EQ(s.listDxOnly, 1);
    EXPECT_TRUE(s.listMode);
    EXPECT_EQ(s.commandHex, QStringLiteral("1B"));
    EXPECT_EQ(s.telnetPort, QStringLiteral("7300"));
    EXPECT_EQ(s.telnetHost, QStringLiteral("dxc.example.org"));
    EXPECT_EQ(encodeSpotSettings(s), sampleFile);
}

TEST(SpotSettings, ShortOrDamagedFileKeepsTheDefaultsFromThere)
{
    const SpotSettings defaults;
    const SpotSettings shortFile = parseSpotSettings("\"1200\"\r\n\"O\"\r\n");
    EXPECT_EQ(shortFile.baud, QStringLiteral("1200"));
    EXPECT_EQ(shortFile.parity, QStringLiteral("O"));
    EXPECT_EQ(shortFile.dataBits, defaults.dataBits);
    EXPECT_EQ(shortFile.source, SpotSource::None);

    const SpotSettings damaged = parseSpotSettings("\"1200\"\r\n\"O\"\r\n\"8\"\r\n\"1\"\r\n99\r\n\"D\"\r\n");
    EXPECT_EQ(damaged.commPort, defaults.commPort);
    EXPECT_EQ(damaged.power, defaults.power);
    EXPECT_EQ(parseSpotSettings({}).telnetPort, defaults.telnetPort);
}

TEST(SpotSettings, SavedThroughATemporaryFileAndRenamed)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PackSpot.txt"));
    SpotSettings s;
    s.source = SpotSource::Agw;
    s.listMode = false;
    QString error;
    ASSERT_TRUE(saveSpotSettings(path, s, error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.count("\r\n"), 14);
    EXPECT_TRUE(bytes.contains("\"AGW Packet Engine\"\r\n"));
    EXPECT_TRUE(bytes.contains("#FALSE#\r\n"));
    EXPECT_EQ(loadSpotSettings(path).source, SpotSource::Agw);

    EXPECT_FALSE(saveSpotSettings(dir.filePath(QStringLiteral("missing/PackSpot.txt")), s, error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot write")));
}

TEST(SocketErrors, MessagesByNumber)
{
    EXPECT_EQ(socketErrorMessage(10060), QStringLiteral("ERROR: Socket has been shut down."));
    EXPECT_EQ(socketErrorMessage(10061), QStringLiteral("ERROR: Connection is forcefully rejected."));
    EXPECT_EQ(socketErrorMessage(11001), QStringLiteral("ERROR: Authoritative answer: Host not found."));
    EXPECT_EQ(socketErrorMessage(380), QStringLiteral("ERROR: The property value is invalid."));
    EXPECT_EQ(socketErrorMessage(10059), QStringLiteral("Error number 10059"));
}

} // namespace
} // namespace velk
