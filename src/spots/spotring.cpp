#include "spots/spotring.h"

#include <algorithm>

namespace velk {

void SpotRing::add(const QString& call, double frequencyMhz, const QDateTime& receivedUtc)
{
    std::move(m_slots.begin() + 1, m_slots.end(), m_slots.begin());
    m_slots[newestSlot] = Spot{call, frequencyMhz, receivedUtc, callPrefix(call)};
    for (int i = newestSlot - 1; i >= 1; --i) {
        if (m_slots[static_cast<std::size_t>(i)].call.compare(call, Qt::CaseInsensitive) == 0) {
            m_slots[static_cast<std::size_t>(i)].frequencyMhz = 0;
            break;
        }
    }
}

void SpotRing::withdraw(int index)
{
    if (index >= 0 && index < slotCount) {
        m_slots[static_cast<std::size_t>(index)].frequencyMhz = 0;
    }
}

QString callPrefix(const QString& call)
{
    const qsizetype length = call.size();
    if (length < 3) {
        return {};
    }
    qsizetype slash = -1;
    qsizetype lastDigit = 0; // 1-based position of the last digit
    for (qsizetype i = 0; i < length; ++i) {
        if (call[i] == QLatin1Char('/')) {
            slash = i;
        } else if (call[i].isDigit() && call[i].unicode() < 128) {
            lastDigit = i + 1;
        }
    }
    if (lastDigit == 0) {
        lastDigit = length;
    }
    if (slash < 0) {
        return call.left(lastDigit);
    }
    // A slash before the middle (1-based position below 1 + length / 2, halves included) marks a
    // prefix written in front: "EA8/K1A" is EA8. Doubled to stay in whole numbers.
    if (2 * (slash + 1) < 2 + length) {
        return call.left(slash);
    }
    const QString after = call.mid(slash + 1, lastDigit);
    bool numeric = false;
    after.toInt(&numeric);
    if (!numeric) {
        return after;
    }
    const auto firstDigit = std::find_if(call.begin(), call.end(), [](QChar c) { return c.isDigit(); });
    return call.left(firstDigit - call.begin()) + after;
}

} // namespace velk
