#include "rig/pegasus.h"

#include "common/quotedlist.h"
#include "common/wholefile.h"

#include <QFile>

namespace velk {

RigReading readPegasusReply(const QString& folder)
{
    RigReading reading;
    QFile file(folder + QStringLiteral("/PEGASUS.OUT"));
    if (!file.open(QIODevice::ReadOnly)) {
        return reading;
    }
    QStringList values;
    QuotedListReader reader(file.read(4096));
    while (!reader.atEnd() && values.size() < 2) {
        const auto line = reader.nextLine();
        if (!line) {
            return reading;
        }
        values << *line;
    }
    if (values.size() < 2) {
        return reading;
    }
    if (const auto mhz = parseSettingsNumber(values.at(0))) {
        reading.mhz = saneMhz(*mhz);
    }
    const QString mode = values.at(1).trimmed();
    if (!mode.isEmpty()) {
        reading.mode = mode == QLatin1String("CW") ? mode : QStringLiteral("PH");
    }
    return reading;
}

bool writePegasusCommand(const QString& folder, double mhz, const QString& mode, QString* error)
{
    const QByteArray bytes =
        formatSettingsNumber(static_cast<float>(mhz)).toLatin1() + "\r\n" + mode.toLatin1() + "\r\n";
    if (const auto cause = replaceFileContents(folder + QStringLiteral("/PEGASUS.IN"), bytes)) {
        if (error) {
            *error = *cause;
        }
        return false;
    }
    return true;
}

} // namespace velk
