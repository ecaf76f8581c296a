#pragma once
// Waits, letting events and timers run, until a condition holds or the time is up. Unlike QtTest's
// QTRY_ macros, a miss is reported to GoogleTest by the caller's ASSERT.
#include <QDeadlineTimer>
#include <QTest>

namespace velk::testing {

template <typename Condition> bool waitFor(Condition done, int timeoutMs = 5000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(2);
    }
    return true;
}

} // namespace velk::testing
