#pragma once
// Builds an in-memory log from records through the real log-file encoder and reader, and reads
// log files back as bytes.
#include "log/contactlog.h"

#include <QFile>
#include <gtest/gtest.h>
#include <vector>

namespace velk::testing {

// The log.txt bytes of the records, as the logger writes them.
inline QByteArray encodeAll(const std::vector<ContactRecord>& records)
{
    QByteArray bytes;
    for (const ContactRecord& record : records) {
        bytes += ContactLog::encodeLine(record);
    }
    return bytes;
}

inline ContactLog logOf(const std::vector<ContactRecord>& records)
{
    ContactLog log;
    EXPECT_TRUE(log.loadBytes(encodeAll(records)).ok);
    return log;
}

// A file's bytes; "<unreadable>" when it cannot be opened, so it never equals a log.
inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace velk::testing
