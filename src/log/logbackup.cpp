#include "common/formats.h"
#include "log/contactlog.h"

#include <QDir>
#include <QFileInfo>

namespace velk {

namespace {

// The minute's name, or the first free numbered one after it: two backups in one minute (an
// automatic one, then a new log) must both survive.
QString freeBackupPath(const QString& backupFolder, const QDateTime& localNow)
{
    const QString stem =
        backupFolder + QLatin1Char('/') + formatDateTime(localNow, QStringLiteral("yyyymmddhhnn"));
    QString path = stem + QStringLiteral(".log");
    for (int number = 2; QFileInfo::exists(path); ++number) {
        path = stem + QLatin1Char('-') + QString::number(number) + QStringLiteral(".log");
    }
    return path;
}

QString copyToBackupFolder(const QString& logPath, const QString& backupFolder, const QDateTime& localNow)
{
    if (!QDir().mkpath(backupFolder)) {
        return {};
    }
    const QString target = freeBackupPath(backupFolder, localNow);
    if (!copyFileAtomically(logPath, target).ok) {
        return {};
    }
    return target;
}

} // namespace

QString backupLog(const ContactLog& log, const QString& logPath, const QString& backupFolder,
                  const QDateTime& localNow)
{
    if (log.count() == 0 || log.count() == log.loadedBaseline()) {
        return {};
    }
    return copyToBackupFolder(logPath, backupFolder, localNow);
}

QString backupLogFile(const QString& logPath, const QString& backupFolder, const QDateTime& localNow)
{
    if (QFileInfo(logPath).size() <= 0) {
        return {};
    }
    return copyToBackupFolder(logPath, backupFolder, localNow);
}

} // namespace velk
