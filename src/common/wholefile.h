#pragma once
// Replacing a whole settings or export file safely: the bytes go to a temporary file in the same
// folder, which is renamed over the old one only when every byte has reached the disk.
#include <QByteArray>
#include <QString>
#include <optional>

namespace velk {

// Nothing on success; otherwise why the write failed (the old file is left as it was).
std::optional<QString> replaceFileContents(const QString& path, const QByteArray& bytes);

} // namespace velk
