#include "log/scpfile.h"

#include "log/boundedlines.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>

namespace velk {

namespace {

// Blank, or "#" after any blanks.
bool isComment(const QByteArray& line)
{
    for (const char c : line) {
        if (c != ' ' && c != '\t' && c != '\r') {
            return c == '#';
        }
    }
    return true;
}

QString counted(int count, const char* what)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(what));
}

} // namespace

ScpRead readScp(QIODevice& device, const QString& name)
{
    ScpRead result;
    BoundedLineReader lines(device, scpLimits::maxBytes, scpLimits::maxLineBytes);
    auto calls = std::make_shared<CallIndex>();
    // About seven bytes a line in the community's file.
    if (!device.isSequential()) {
        calls->reserve(static_cast<std::size_t>(std::min<qint64>(device.size(), scpLimits::maxBytes) / 7));
    }
    int notCalls = 0;
    int duplicates = 0;
    bool full = false;
    QByteArray line;
    while (lines.next(line) && !lines.looksBinary()) {
        if (isComment(line)) {
            continue;
        }
        const std::string call =
            CallIndex::normalized(std::string_view(line.constData(), static_cast<std::size_t>(line.size())));
        if (call.empty()) {
            ++notCalls;
            continue;
        }
        if (static_cast<int>(calls->size()) >= scpLimits::maxCalls) {
            full = true;
            break;
        }
        if (!calls->insert(call).second) {
            ++duplicates;
        }
    }

    if (lines.looksBinary()) {
        result.report = QStringLiteral("%1 is not a text file; no calls read").arg(name);
        return result;
    }
    QStringList notes;
    if (notCalls > 0) {
        notes << counted(notCalls, "lines not a call skipped");
    }
    if (lines.overlongLines() > 0) {
        notes << counted(lines.overlongLines(), "overlong lines skipped");
    }
    if (duplicates > 0) {
        notes << counted(duplicates, "duplicate calls");
    }
    if (full) {
        notes << QStringLiteral("stopped at %1 calls").arg(scpLimits::maxCalls);
    } else if (lines.stoppedAtBound()) {
        notes << QStringLiteral("read stopped after %1 MB").arg(scpLimits::maxBytes / (1024 * 1024));
    }
    const QString tail = notes.isEmpty()
                             ? QString()
                             : QStringLiteral(" (") + notes.join(QStringLiteral(", ")) + QLatin1Char(')');
    if (calls->isEmpty()) {
        result.report = QStringLiteral("%1 holds no calls").arg(name) + tail;
        return result;
    }
    calls->squeeze();
    result.report = QStringLiteral("%1: %2 calls").arg(name).arg(calls->size()) + tail;
    result.calls = std::move(calls);
    return result;
}

ScpRead readScpFile(const QString& path)
{
    QFile file(path);
    const QString name = QFileInfo(path).fileName();
    if (const QString problem = unreadableFileProblem(file); !problem.isEmpty()) {
        return ScpRead{nullptr, problem};
    }
    return readScp(file, name);
}

} // namespace velk
