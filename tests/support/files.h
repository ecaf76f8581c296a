#pragma once
// Whole files in and out, for tests that check what was written byte for byte.
#include <QByteArray>
#include <QFile>
#include <QString>

namespace velk::testing {

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// "46 41 3B" for bytes in messages about serial traffic.
inline std::string hex(const QByteArray& bytes)
{
    return bytes.toHex(' ').toUpper().toStdString();
}

} // namespace velk::testing
