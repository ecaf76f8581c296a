#include "log/folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace velk {

namespace {

std::filesystem::path nativePath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// Creates the folder and any missing parents. Empty on success, else the system's reason.
QString makeFolder(const QString& path)
{
    if (QFileInfo(path).isDir()) {
        return {};
    }
    std::error_code ec;
    std::filesystem::create_directories(nativePath(path), ec);
    if (ec) {
        return QString::fromLocal8Bit(ec.message());
    }
    if (!QFileInfo(path).isDir()) {
        return QStringLiteral("the folder could not be created");
    }
    return {};
}

bool isFolder(const QString& path)
{
    return QFileInfo(path).isDir();
}

} // namespace

QString findDocumentsFolder(const Environment& env, const QString& makerSub, const QString& productSub,
                            QString* error)
{
    QString profile = env.value(QStringLiteral("USERPROFILE"));
    if (profile.isEmpty()) {
        profile = env.value(QStringLiteral("HOME"));
    }

    QString base;
    if (profile.isEmpty()) {
        base = QDir::homePath() + QStringLiteral("/My Documents");
    } else if (isFolder(profile + QStringLiteral("/My Documents"))) {
        base = profile + QStringLiteral("/My Documents");
    } else if (isFolder(profile + QStringLiteral("/Documents"))) {
        base = profile + QStringLiteral("/Documents");
    } else {
        base = profile;
    }

    QString failure = makeFolder(base + makerSub);
    if (!failure.isEmpty()) {
        const QString appData = env.value(QStringLiteral("APPDATA"));
        if (!appData.isEmpty()) {
            base = appData;
            failure = makeFolder(base + makerSub);
        }
    }
    if (failure.isEmpty()) {
        failure = makeFolder(base + makerSub + productSub);
    }
    if (error != nullptr) {
        *error = failure;
    }
    return base + makerSub;
}

std::optional<FolderError> ensureFolder(const QString& path)
{
    if (path.isEmpty()) {
        return FolderError{QStringLiteral("Unable to Create Directory"), QStringLiteral("Invalid Path")};
    }
    const QString failure = makeFolder(path);
    if (failure.isEmpty()) {
        return std::nullopt;
    }
    return FolderError{QStringLiteral("Unable to create directory."), path + QStringLiteral("  ") + failure};
}

Folders resolveFolders(const Environment& env, const QString& workingFolder)
{
    Folders folders;
    folders.working = workingFolder;

    // The documents folder's own failure is told as the system words it, without a path.
    const auto reportDocumentsFailure = [&folders](const QString& error) {
        if (!error.isEmpty()) {
            folders.errors.append({QStringLiteral("User Access Directory Error"), error});
        }
    };
    const QString maker = QStringLiteral("/Varno Software");
    QString error;
    folders.data = findDocumentsFolder(env, maker, QStringLiteral("/VELK"), &error) + QStringLiteral("/VELK");
    reportDocumentsFailure(error);
    error.clear();
    folders.shared =
        findDocumentsFolder(env, maker, QStringLiteral("/Shared"), &error) + QStringLiteral("/Shared");
    reportDocumentsFailure(error);

    folders.backup = folders.data + QStringLiteral("/BACKUP");
    if (const auto backupError = ensureFolder(folders.backup)) {
        folders.errors.append(*backupError);
    }
    return folders;
}

QString defaultWorkingFolder(const Environment& env)
{
    const QString named = env.value(QStringLiteral("VELK_HOME"));
    if (!named.isEmpty()) {
        return named;
    }
    const QString home = env.value(QStringLiteral("HOME"));
    return (home.isEmpty() ? QDir::homePath() : home) + QStringLiteral("/VELK");
}

QList<FolderError> seedWorkingFolder(const QString& shippedData, const QString& working)
{
    if (auto error = ensureFolder(working)) {
        return {*error};
    }
    QList<FolderError> errors;
    const QDir target(working);
    const QFileInfoList shipped = QDir(shippedData).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo& file : shipped) {
        const QString copy = target.filePath(file.fileName());
        QFile source(file.filePath());
        if (!QFileInfo::exists(copy) && !source.copy(copy)) {
            errors.append(
                {QStringLiteral("Unable to copy file."), copy + QStringLiteral("  ") + source.errorString()});
        }
    }
    // A first start continues an empty log rather than failing on a missing one.
    const QString log = target.filePath(QStringLiteral("log.txt"));
    QFile empty(log);
    if (!QFileInfo::exists(log) && !empty.open(QIODevice::WriteOnly)) {
        errors.append(
            {QStringLiteral("Unable to create file."), log + QStringLiteral("  ") + empty.errorString()});
    }
    return errors;
}

QString safeCallForFileName(const QString& call)
{
    qsizetype length = 0;
    while (length < call.size()) {
        const QChar c = call.at(length);
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const bool upper = c >= QLatin1Char('A') && c <= QLatin1Char('Z');
        if (!digit && !upper) {
            break;
        }
        ++length;
    }
    if (length == 0) {
        return QStringLiteral("YourCall");
    }
    return call.left(length);
}

} // namespace velk
