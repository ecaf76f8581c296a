#pragma once
// Folders: where the log keeps its files. Working folder (log.txt, VELKpref.txt), the data folder
// under the user's documents (with BACKUP) and the shared folder beside it.
#include "common/platform/environment.h"

#include <QList>
#include <QString>

#include <optional>

namespace velk {

// A folder that could not be made, as the operator is told of it: message title and text.
struct FolderError
{
    QString title;
    QString text;
    bool operator==(const FolderError&) const = default;
};

struct Folders
{
    QString working;
    QString data;              // <documents>/Varno Software/VELK
    QString shared;            // <documents>/Varno Software/Shared
    QString backup;            // data + /BACKUP
    QList<FolderError> errors; // one per folder that could not be made, in the order tried

    QString logFile() const { return working + QStringLiteral("/log.txt"); }
    QString preferencesFile() const { return working + QStringLiteral("/VELKpref.txt"); }
    QString xmlStoreFile() const { return shared + QStringLiteral("/SharedUserPreferences.xml"); }
};

// The documents base: USERPROFILE (HOME when USERPROFILE is unset) + "/My Documents" or
// "/Documents" when it exists, else the variable itself, else APPDATA. The maker folder and
// product folder below it are created when missing. Returns the maker folder.
QString findDocumentsFolder(const Environment& env, const QString& makerSub, const QString& productSub,
                            QString* error = nullptr);
// Creates the folder when missing; returns what to tell the operator when that fails.
std::optional<FolderError> ensureFolder(const QString& path);
// Resolves and creates every folder of the run.
Folders resolveFolders(const Environment& env, const QString& workingFolder);
// The folder the logger works in when none is named: VELK_HOME, else HOME (or the user's home) +
// "/VELK".
QString defaultWorkingFolder(const Environment& env);
// Makes the working folder and gives it each file of the shipped data folder it lacks (the
// operator's own files are never replaced) and an empty log.txt, so a first start finds its
// tables and continues an empty log. A missing data folder seeds nothing but the log. Returns
// what to tell the operator about each step that failed.
QList<FolderError> seedWorkingFolder(const QString& shippedData, const QString& working);
// The leading run of "A"-"Z" and "0"-"9" of a call sign, or "YourCall" when that is empty.
QString safeCallForFileName(const QString& call);

} // namespace velk
