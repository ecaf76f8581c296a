#pragma once
// RigSettings: the fourteen values of RigCntrl.txt (serial settings, query strings, port, poll
// rate, radio type and how frequency and mode are used), read and written in the quoted-list format.
#include "common/platform/serialdevice.h"
#include "common/settingsfile.h"
#include "rig/radiotype.h"

#include <QByteArray>
#include <QString>

namespace velk {

enum class ModeSource { Rig = 1, Frequency = 2, DontUse = 3 };

struct RigSettings
{
    QString baudText = QStringLiteral("56000"); // exactly 5 characters, padded with spaces
    char parity = 'N';
    int dataBits = 8;
    int stopBits = 1;
    QString modeQuery;
    QString frequencyQuery;
    int commPort = 1;           // 1..10
    char connectionPower = 'N'; // N, R (raise RTS) or D (raise DTR)
    char pollRate = 'M';        // F 100 ms, M 500 ms, S 2 s, R 10 s
    QString rigType = QStringLiteral("None");
    bool sendAsHex = false;
    bool useFrequency = true;
    ModeSource modeSource = ModeSource::Rig;

    bool operator==(const RigSettings&) const = default;
};

// Picking a type in the list: its name, its serial settings where it has them, its query
// strings (both emptied first) and "Convert to Hex" off.
void applyTypeDefaults(RigSettings& settings, const RadioType& type);

// Line 7 of the file: "4800,N,8,2".
QString portSettingsText(const RigSettings& settings);
// The rate the port runs at: the stored "56000" is the radios' 57,600 baud.
int serialBaud(const QString& baudText);
// The baud text padded to five characters ("4800 ").
QString paddedBaudText(int baud);
SerialSettings serialSettings(const RigSettings& settings);
// The poll period the operator chose, in milliseconds.
int pollPeriodMs(char pollRate);

// Reads the file's bytes field by field onto `settings`. A value that does not read fails only its
// own field, which keeps its value, and the report names it with its line; a malformed line ends
// the reading there. Fields a short file lacks keep their values and are no fault.
SettingsReadReport readRigSettings(const QByteArray& bytes, RigSettings& settings);
// The number of fields read.
int parseRigSettings(const QByteArray& bytes, RigSettings& settings);
QByteArray encodeRigSettings(const RigSettings& settings);
// Rewrites the file through a temporary file; false with `error` set when the write fails.
bool saveRigSettings(const QString& path, const RigSettings& settings, QString* error = nullptr);
// Reads the file when it exists: tells a missing file from one that cannot be read, and which
// fields could not be read (settingsLoadMessage() words it for the status line). True (as a
// bool) when the file was read.
SettingsLoad loadRigSettings(const QString& path, RigSettings& settings);

// "FE FE 04 E0 03 FD" -> bytes (pairs at every third character); "E00603FD" -> bytes.
// A pair that is not hex gives nothing for that pair.
QByteArray spacedHexToBytes(const QString& text);
QByteArray compactHexToBytes(const QString& text);
// Each byte as two upper-case hex digits and a space ("46 41 ... 3B ").
QString bytesToSpacedHex(const QByteArray& bytes);
QString bytesToCompactHex(const QByteArray& bytes);

} // namespace velk
