#pragma once
// HamlibSettings: how the logger reaches rigctld (Hamlib's radio daemon): the Hamlib model, the
// radio's device and speed, the daemon's address, and whether the logger starts it. Stored in
// RigHamlib.txt beside RigCntrl.txt; also reads the model list `rigctl -l` prints.
#include "common/settingsfile.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace velk {

class Environment;

struct HamlibSettings
{
    int model = 1; // Hamlib's dummy radio until one is chosen
    QString device = QStringLiteral("/dev/ttyUSB0");
    int speed = 38400;
    QString host = QStringLiteral("127.0.0.1");
    int port = 4532;
    bool startDaemon = true; // the logger runs rigctld itself, else connects to a running one

    bool operator==(const HamlibSettings&) const = default;
};

// Where the link connects and whether it starts the daemon: VELK_RIGCTLD=host:port names a
// running daemon and overrides the settings.
struct RigctldTarget
{
    QString host;
    quint16 port = 0;
    bool startDaemon = false;
    QString text() const { return host + QLatin1Char(':') + QString::number(port); }
};
RigctldTarget rigctldTarget(const HamlibSettings& settings, const Environment& environment);
// rigctld's command line for the settings: model, device, speed, listening address and port.
QStringList rigctldArguments(const HamlibSettings& settings);

SettingsReadReport readHamlibSettings(const QByteArray& bytes, HamlibSettings& settings);
QByteArray encodeHamlibSettings(const HamlibSettings& settings);
bool saveHamlibSettings(const QString& path, const HamlibSettings& settings, QString* error = nullptr);
SettingsLoad loadHamlibSettings(const QString& path, HamlibSettings& settings);

struct HamlibModel
{
    int number = 0;
    QString maker;
    QString model;
    // "Kenwood TS-2000 (2014)"
    QString caption() const;
    bool operator==(const HamlibModel&) const = default;
};
// The models of `rigctl -l`, in its order; lines that are no model are passed over.
QList<HamlibModel> parseHamlibModels(const QByteArray& listing);

} // namespace velk
