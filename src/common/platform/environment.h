#pragma once
// Environment: the process environment variables the program consults (USERPROFILE, APPDATA,
// HOME). Reads the real environment; tests hand in a fixed map.
#include <QString>

namespace velk {

class Environment
{
public:
    virtual ~Environment() = default;
    // Empty when the variable is not set.
    virtual QString value(const QString& name) const = 0;
};

} // namespace velk
