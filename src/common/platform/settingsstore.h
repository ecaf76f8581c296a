#pragma once
// SettingsStore: the per-user key/value store (application "Varno_Software", section "Settings").
// Backed by QSettings; tests use an in-memory fake.
#include <QString>
#include <optional>

namespace velk {

class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<QString> value(const QString& key) const = 0;
    virtual void setValue(const QString& key, const QString& value) = 0;
};

} // namespace velk
