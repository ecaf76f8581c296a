#pragma once
// The Super Check Partial database (MASTER.SCP): one call a line, "#" starts a comment line.
// Reads it into a CallIndex with bounds on size and a one-line report of what was left out;
// reads files only, writes nothing.
#include "log/callindex.h"

#include <QIODevice>
#include <QString>
#include <memory>

namespace velk {

struct ScpRead
{
    std::shared_ptr<CallIndex> calls; // null when the file gave no call
    QString report;                   // one line for the status line
};

namespace scpLimits {
// Well beyond the 85,000 calls of the community database; keeps the index under about 20 MB.
inline constexpr int maxCalls = 200000;
inline constexpr qint64 maxBytes = 32 * 1024 * 1024;
inline constexpr int maxLineBytes = 256;
} // namespace scpLimits

// `name` is how the report names the file.
ScpRead readScp(QIODevice& device, const QString& name);
ScpRead readScpFile(const QString& path);

} // namespace velk
