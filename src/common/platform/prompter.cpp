#include "common/platform/prompter.h"

#include <QRegularExpression>

namespace velk {

namespace {

// The patterns of a filter: after the bar of "Description | patterns", else inside the
// parentheses of "Description (patterns)", else the filter itself.
QString patternsOf(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    if (parts.size() > 1) {
        return parts.at(1);
    }
    const auto open = filter.lastIndexOf(QLatin1Char('('));
    const auto close = filter.lastIndexOf(QLatin1Char(')'));
    if (open >= 0 && close > open) {
        return filter.mid(open + 1, close - open - 1);
    }
    return filter;
}

} // namespace

QString defaultSuffixOf(const QString& filter)
{
    static const QRegularExpression separators(QStringLiteral("[;,\\s]+"));
    const QStringList patterns = patternsOf(filter).split(separators, Qt::SkipEmptyParts);
    if (patterns.isEmpty()) {
        return {};
    }
    const QString& first = patterns.constFirst();
    if (!first.startsWith(QStringLiteral("*."))) {
        return {};
    }
    const QString suffix = first.mid(2);
    // "*.*" or "*.lo?" names no extension the dialog could add.
    static const QRegularExpression wildcard(QStringLiteral("[*?\\[\\]]"));
    if (suffix.isEmpty() || suffix.contains(wildcard)) {
        return {};
    }
    return suffix;
}

QString withDefaultSuffix(const QString& path, const QString& filter)
{
    const QString suffix = defaultSuffixOf(filter);
    const auto nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    const QStringView name = QStringView(path).mid(nameStart);
    // As the file dialog does: any dot in the name is the operator's own extension.
    if (suffix.isEmpty() || name.isEmpty() || name.contains(QLatin1Char('.'))) {
        return path;
    }
    return path + QLatin1Char('.') + suffix;
}

} // namespace velk
