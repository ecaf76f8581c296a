#include "rtty/rttysocket.h"

#include "common/platform/environment.h"
#include "common/platform/settingsstore.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace velk {

namespace {

const QString socketVariable = QStringLiteral("VELK_RTTY_SOCKET");
const QString socketKey = QStringLiteral("UserRttySocket");
const QString defaultSocketName = QStringLiteral("DumoRTTY.frmDigitalDest");

constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

bool ownedByAnother(const FileOwnership& ownership, const QString& path)
{
    if (!ownership.currentUser || !ownership.ownerOf) {
        return false;
    }
    const std::optional<uint> owner = ownership.ownerOf(path);
    return owner && *owner != *ownership.currentUser;
}

// The folder for socket names: the session's runtime folder, else one of our own under the
// temporary folder, made owner-only. Empty refusal when it may be used.
RttySocketPlace runtimeFolder(const Environment& environment, const FileOwnership& ownership)
{
    const QString runtime = environment.value(QStringLiteral("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime)) {
        return {QDir::cleanPath(runtime), {}};
    }
    QString temp = environment.value(QStringLiteral("TMPDIR"));
    if (temp.isEmpty() || !QDir::isAbsolutePath(temp)) {
        temp = QStringLiteral("/tmp");
    }
    const QString folder =
        QDir::cleanPath(temp) + QStringLiteral("/velk-") +
        (ownership.currentUser ? QString::number(*ownership.currentUser) : QStringLiteral("user"));
    if (!QFileInfo::exists(folder)) {
        QDir().mkdir(folder, ownerOnly);
    }
    // Someone else may have made it first, to sit at the socket inside.
    if (ownedByAnother(ownership, folder)) {
        return {folder, QStringLiteral("The folder %1 for the RTTY link belongs to another user: "
                                       "not connecting there. Remove it or set VELK_RTTY_SOCKET.")
                            .arg(folder)};
    }
    QFile::setPermissions(folder, ownerOnly);
    return {folder, {}};
}

} // namespace

FileOwnership systemFileOwnership()
{
    FileOwnership ownership;
    ownership.ownerOf = [](const QString& path) -> std::optional<uint> {
        const QFileInfo info(path);
        return info.exists() ? std::optional<uint>(info.ownerId()) : std::nullopt;
    };
#ifdef Q_OS_UNIX
    ownership.currentUser = ::getuid();
#endif
    return ownership;
}

RttySocketPlace locateRttySocket(const Environment& environment, const SettingsStore& settings,
                                 const FileOwnership& ownership)
{
    QString name = environment.value(socketVariable);
    if (name.isEmpty()) {
        name = settings.value(socketKey).value_or(QString()).trimmed();
    }
    if (name.isEmpty()) {
        name = defaultSocketName;
    }
    RttySocketPlace place;
    if (name.contains(QLatin1Char('/'))) {
        place.path =
            QDir::cleanPath(QDir::isAbsolutePath(name) ? name : QDir::current().absoluteFilePath(name));
    } else {
        const RttySocketPlace folder = runtimeFolder(environment, ownership);
        place.path = folder.path + QLatin1Char('/') + name;
        place.refusal = folder.refusal;
    }
    if (place.refusal.isEmpty() && ownedByAnother(ownership, place.path)) {
        place.refusal =
            QStringLiteral("The RTTY link's socket %1 belongs to another user: not connecting to it.")
                .arg(place.path);
    }
    return place;
}

} // namespace velk
