#include "common/wholefile.h"

#include <QSaveFile>

namespace velk {

std::optional<QString> replaceFileContents(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    // commit() does not notice buffered data the disk refused; flush and check it first.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString cause = file.errorString();
        file.cancelWriting();
        return cause;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}

} // namespace velk
