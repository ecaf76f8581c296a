#pragma once
// SpotSettings: the DX spotting window's settings and their file PackSpot.txt, fourteen values
// one per line in the quoted-list style (texts quoted, numbers bare, #TRUE#/#FALSE#).
#include <QByteArray>
#include <QString>

namespace velk {

enum class SpotSource { None, Tnc, Telnet, Agw };

// "None", "TNC", "Telnet", "AGW Packet Engine".
QString spotSourceName(SpotSource source);
SpotSource spotSourceFromName(const QString& name);

struct SpotSettings
{
    QString baud = QStringLiteral("9600");
    QString parity = QStringLiteral("N");
    QString dataBits = QStringLiteral("8");
    QString stopBits = QStringLiteral("1");
    int commPort = 1;                    // 1-10
    QString power = QStringLiteral("N"); // N none, R raise RTS, D raise DTR
    SpotSource source = SpotSource::None;
    int convertToHex = 0;
    int handshaking = 3;   // 1 none, 2 Xon/Xoff, 3 RTS, 4 RTS and Xon/Xoff
    int listDxOnly = 0;    // stored; every run starts with it cleared
    bool listMode = false; // spot list rather than band map on the main window
    QString commandHex = QStringLiteral("03");
    QString telnetPort = QStringLiteral("7300");
    QString telnetHost;
};

// Reads as many values as the file holds in order; a missing or damaged value ends reading and
// leaves the rest at their defaults.
SpotSettings parseSpotSettings(const QByteArray& bytes, SpotSettings defaults = {});
QByteArray encodeSpotSettings(const SpotSettings& settings);

// Reads the file; the defaults when it cannot be read.
SpotSettings loadSpotSettings(const QString& path);
// Temp file and rename; false with the cause in error when the file cannot be written.
bool saveSpotSettings(const QString& path, const SpotSettings& settings, QString& error);

} // namespace velk
