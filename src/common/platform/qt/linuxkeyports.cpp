#include "common/platform/qt/linuxkeyports.h"

#include "common/platform/serialdevice.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace velk {

namespace {

const QString invalidPort = QStringLiteral("Invalid port.");

constexpr unsigned char parallelKeyDown = 3;
constexpr unsigned char parallelKeyUp = 2;

} // namespace

std::optional<unsigned> parsePortAddress(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    unsigned value = 0;
    if (trimmed.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive)) {
        value = trimmed.mid(2).toUInt(&ok, 16);
    } else if (trimmed.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
        value = trimmed.mid(2).toUInt(&ok, 16);
    } else {
        value = trimmed.toUInt(&ok, 10);
    }
    return ok ? std::optional<unsigned>(value) : std::nullopt;
}

LinuxKeyLine::~LinuxKeyLine()
{
    close();
}

bool LinuxKeyLine::openSerial(const QString& path, KeyLineKind kind, QString& error)
{
    std::lock_guard lock(m_mutex);
    const QByteArray device = QFile::encodeName(path);
    const int fd = ::open(device.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = invalidPort;
        return false;
    }
    // Opening raises RTS and DTR: drop both at once, before anything else.
    int both = TIOCM_RTS | TIOCM_DTR;
    if (::ioctl(fd, TIOCMBIC, &both) != 0) {
        // No modem lines (a pseudo-terminal): nothing could be keyed here.
        ::close(fd);
        error = invalidPort;
        return false;
    }
    termios settings{};
    if (::tcgetattr(fd, &settings) == 0 && !(settings.c_cflag & HUPCL)) {
        // Hang up on the last close: the driver drops the lines even when the program dies.
        settings.c_cflag |= HUPCL;
        ::tcsetattr(fd, TCSANOW, &settings);
    }
    m_fd = fd;
    m_kind = kind;
    return true;
}

bool LinuxKeyLine::openParallel(const QString& path, QString& error)
{
    std::lock_guard lock(m_mutex);
    const QByteArray device = QFile::encodeName(path);
    const int fd = ::open(device.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        error = invalidPort;
        return false;
    }
    if (::ioctl(fd, PPCLAIM) != 0) {
        ::close(fd);
        error = invalidPort;
        return false;
    }
    m_fd = fd;
    m_kind = KeyLineKind::Parallel;
    if (!setLocked(false)) {
        ::ioctl(fd, PPRELEASE);
        ::close(fd);
        m_fd = -1;
        error = invalidPort;
        return false;
    }
    return true;
}

bool LinuxKeyLine::set(bool down)
{
    std::lock_guard lock(m_mutex);
    return setLocked(down);
}

bool LinuxKeyLine::setLocked(bool down)
{
    if (m_fd < 0) {
        return false;
    }
    if (m_kind == KeyLineKind::Parallel) {
        unsigned char control = down ? parallelKeyDown : parallelKeyUp;
        return ::ioctl(m_fd, PPWCONTROL, &control) == 0;
    }
    int line = m_kind == KeyLineKind::Rts ? TIOCM_RTS : TIOCM_DTR;
    return ::ioctl(m_fd, down ? TIOCMBIS : TIOCMBIC, &line) == 0;
}

bool LinuxKeyLine::isOpen() const
{
    std::lock_guard lock(m_mutex);
    return m_fd >= 0;
}

void LinuxKeyLine::close()
{
    std::lock_guard lock(m_mutex);
    if (m_fd < 0) {
        return;
    }
    setLocked(false);
    if (m_kind == KeyLineKind::Parallel) {
        ::ioctl(m_fd, PPRELEASE);
    }
    ::close(m_fd);
    m_fd = -1;
}

LinuxKeyPorts::LinuxKeyPorts(const Environment& environment, const SettingsStore& settings)
    : m_environment(environment), m_settings(settings)
{
}

LinuxKeyPorts::~LinuxKeyPorts()
{
    for (auto& [user, line] : m_lines) {
        line->close();
    }
}

KeyLine* LinuxKeyPorts::open(PortUser user, const KeyLineTarget& target, QString& error)
{
    closeOthers(user);
    close(user);
    auto& line = m_lines[user];
    if (!line) {
        line = std::make_unique<LinuxKeyLine>();
    }
    bool opened = false;
    if (target.kind == KeyLineKind::Parallel) {
        const QString path = parallelDevicePath(target.parallelAddress, procParportFolder, deviceFolder);
        opened = !path.isEmpty() && line->openParallel(path, error);
        if (path.isEmpty()) {
            error = invalidPort;
        }
    } else if (target.comPort >= 1) {
        opened =
            line->openSerial(serialDevicePath(target.comPort, m_environment, m_settings), target.kind, error);
    } else {
        error = invalidPort;
    }
    return opened ? line.get() : nullptr;
}

void LinuxKeyPorts::claim(PortUser user, std::function<void()> closeOwnPort)
{
    closeOthers(user);
    m_claims[user] = std::move(closeOwnPort);
}

void LinuxKeyPorts::close(PortUser user)
{
    if (auto line = m_lines.find(user); line != m_lines.end()) {
        line->second->close();
    }
    if (auto claimed = m_claims.find(user); claimed != m_claims.end()) {
        auto closeOwnPort = std::move(claimed->second);
        m_claims.erase(claimed);
        if (closeOwnPort) {
            closeOwnPort();
        }
    }
}

void LinuxKeyPorts::closeOthers(PortUser user)
{
    for (PortUser other : {PortUser::CwKeyer, PortUser::VoicePtt, PortUser::WinKey}) {
        if (other != user) {
            close(other);
        }
    }
}

QString parallelDevicePath(const QString& address, const QString& procParportFolder,
                           const QString& deviceFolder)
{
    const std::optional<unsigned> wanted = parsePortAddress(address);
    if (!wanted) {
        return {};
    }
    const QDir folder(procParportFolder);
    for (const QString& name : folder.entryList({QStringLiteral("parport*")}, QDir::Dirs)) {
        QFile base(folder.filePath(name) + QStringLiteral("/base-addr"));
        if (!base.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QList<QByteArray> fields = base.read(256).simplified().split(' ');
        bool ok = false;
        const unsigned first = fields.value(0).toUInt(&ok);
        if (ok && first == *wanted) {
            return deviceFolder + QLatin1Char('/') + name;
        }
    }
    return {};
}

} // namespace velk
