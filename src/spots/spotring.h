#pragma once
// SpotRing: the 50 most recent spots with a numeric frequency, oldest in slot 0 and newest in
// slot 49, that both band maps draw from. Filled by the spot feed; a slot is withdrawn by a newer
// spot of the same call or by a click on its band-map label.
#include <QDateTime>
#include <QString>
#include <array>

namespace velk {

struct Spot
{
    QString call;
    double frequencyMhz = 0; // 0: empty or withdrawn
    QDateTime receivedUtc;   // UTC, so ages never jump with daylight saving
    QString prefix;          // callPrefix(call)

    bool isShown() const { return frequencyMhz > 0; }
};

class SpotRing
{
public:
    static constexpr int slotCount = 50;
    static constexpr int newestSlot = slotCount - 1;

    const Spot& slot(int index) const { return m_slots.at(static_cast<std::size_t>(index)); }
    // Shifts the ring down by one, stores the spot in the newest slot and withdraws the previous
    // spot of the same call (slots 48 down to 1, the first match only).
    void add(const QString& call, double frequencyMhz, const QDateTime& receivedUtc);
    void withdraw(int index);

private:
    std::array<Spot, slotCount> m_slots;
};

// The prefix shown on a band-map label: letters and digit before the suffix, or what a slash adds
// ("W1AW/4" -> "W4", "DL/W1AW" -> "DL"); empty for a call of fewer than three characters.
QString callPrefix(const QString& call);

} // namespace velk
