#include "common/platform/serialdevice.h"

#include "common/platform/environment.h"
#include "common/platform/settingsstore.h"

namespace velk {

QString serialDevicePath(int portNumber, const Environment& environment, const SettingsStore& settings)
{
    const QString number = QString::number(portNumber);
    const QString fromEnvironment = environment.value(QStringLiteral("VELK_COM") + number);
    if (!fromEnvironment.isEmpty()) {
        return fromEnvironment;
    }
    const auto stored = settings.value(QStringLiteral("ComPort") + number);
    if (stored && !stored->isEmpty()) {
        return *stored;
    }
    return QStringLiteral("/dev/ttyS") + QString::number(portNumber - 1);
}

} // namespace velk
