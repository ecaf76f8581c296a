#include "output/exportfile.h"

#include "common/formats.h"
#include "common/wholefile.h"

namespace velk {

WriteResult writeExportFile(const QString& path, const QByteArray& bytes)
{
    WriteResult result;
    if (path.isEmpty()) {
        result.error = QStringLiteral("No file name was given.");
        return result;
    }
    if (const auto cause = replaceFileContents(path, bytes)) {
        result.error = *cause;
        return result;
    }
    result.ok = true;
    return result;
}

QString programNameFromTitle(const QString& title, int width)
{
    QString name = title.left(width).trimmed();
    const qsizetype gap = name.indexOf(QLatin1String("  "));
    if (gap > 0) {
        name.truncate(gap);
    }
    return name;
}

QString singleLine(const QString& value)
{
    QString out = value;
    out.replace(QLatin1String("\r\n"), QLatin1String(" "));
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return out;
}

QString exportDateText(const QDateTime& localNow)
{
    return formatShortDate(localNow.date()) + QLatin1Char(' ') +
           formatDateTime(localNow, QStringLiteral("hh:nn:ss"));
}

} // namespace velk
