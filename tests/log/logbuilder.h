#pragma once
// Builds an in-memory log from records through the real log-file encoder and reader.
#include "log/contactlog.h"

#include <gtest/gtest.h>
#include <vector>

namespace velk::testing {

inline ContactLog logOf(const std::vector<ContactRecord>& records)
{
    QByteArray bytes;
    for (const ContactRecord& record : records) {
        bytes += ContactLog::encodeLine(record);
    }
    ContactLog log;
    EXPECT_TRUE(log.loadBytes(bytes).ok);
    return log;
}

} // namespace velk::testing
