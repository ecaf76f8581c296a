#pragma once
// LinuxKeyPorts: the key-line owner on Linux. Serial RTS/DTR through the tty driver's modem-line
// ioctls (both lines cleared right after open, HUPCL kept so the driver drops them if the
// program dies), the parallel port's control register through ppdev. One line per user,
// alive for the owner's whole life; opening one user's port closes the others'.
#include "common/platform/keyports.h"

#include <QString>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace velk {

class Environment;
class SettingsStore;

class LinuxKeyLine : public KeyLine
{
public:
    ~LinuxKeyLine() override;
    bool set(bool down) override;
    bool isOpen() const override;

    // Opens the device; false with error set. The line is up when it returns true.
    bool openSerial(const QString& path, KeyLineKind kind, QString& error);
    bool openParallel(const QString& path, QString& error);
    // Key up, then close.
    void close();

private:
    bool setLocked(bool down);

    mutable std::mutex m_mutex;
    int m_fd = -1;
    KeyLineKind m_kind = KeyLineKind::Rts;
};

class LinuxKeyPorts : public KeyPorts
{
public:
    // Serial port numbers resolve to device paths as serialDevicePath() says.
    LinuxKeyPorts(const Environment& environment, const SettingsStore& settings);
    ~LinuxKeyPorts() override;

    KeyLine* open(PortUser user, const KeyLineTarget& target, QString& error) override;
    void claim(PortUser user, std::function<void()> closeOwnPort) override;
    void close(PortUser user) override;

    // Where the parport devices and their base addresses are found (tests point it elsewhere).
    QString procParportFolder = QStringLiteral("/proc/sys/dev/parport");
    QString deviceFolder = QStringLiteral("/dev");

private:
    void closeOthers(PortUser user);

    const Environment& m_environment;
    const SettingsStore& m_settings;
    std::map<PortUser, std::unique_ptr<LinuxKeyLine>> m_lines;
    std::map<PortUser, std::function<void()>> m_claims;
};

// "&H378", "0x378" or "888" as a port address; nothing when it is not a number.
std::optional<unsigned> parsePortAddress(const QString& text);
// The ppdev device of the parport whose base address (first number of procFolder/parportN/
// base-addr) is `address`; empty when none matches.
QString parallelDevicePath(const QString& address, const QString& procFolder, const QString& deviceFolder);

} // namespace velk
