#pragma once
// Where the Dumo RTTY link's local socket lives and whether the logger may connect to it. By
// default it is in the user's own runtime folder; a socket another user owns is refused, since
// whoever listens there reads every key the operator types and can fill the entry boxes.
// Reads the environment and the per-user settings; asks the file system who owns a path.
#include <QString>
#include <functional>
#include <optional>

namespace velk {

class Environment;
class SettingsStore;

struct FileOwnership
{
    // The user id owning the file at a path; nothing when it does not exist.
    std::function<std::optional<uint>(const QString& path)> ownerOf;
    // Nothing where the platform has no user ids: then nothing is refused.
    std::optional<uint> currentUser;
};
// The real file system and process.
FileOwnership systemFileOwnership();

struct RttySocketPlace
{
    QString path; // absolute
    // Why the logger must not connect there, for the operator; empty when it may.
    QString refusal;
};

// VELK_RTTY_SOCKET, else the setting "UserRttySocket", else "DumoRTTY.frmDigitalDest". A name
// without a slash lives in the runtime folder: $XDG_RUNTIME_DIR, else "velk-<uid>" under $TMPDIR
// (or /tmp), created owner-only.
RttySocketPlace locateRttySocket(const Environment& environment, const SettingsStore& settings,
                                 const FileOwnership& ownership);

} // namespace velk
