#include "rig/radiotype.h"

namespace velk {

namespace {

RadioType make(const char* name, RadioFamily family, std::optional<int> baud, std::optional<int> data,
               std::optional<int> stop, std::optional<char> parity, const char* frequencyQuery,
               const char* modeQuery, bool hex, int firstPause, int secondPause = 0)
{
    RadioType type;
    type.name = QString::fromLatin1(name);
    type.family = family;
    type.baud = baud;
    type.dataBits = data;
    type.stopBits = stop;
    type.parity = parity;
    type.frequencyQuery = QString::fromLatin1(frequencyQuery);
    type.modeQuery = QString::fromLatin1(modeQuery);
    type.hexQueries = hex;
    type.firstPauseMs = firstPause;
    type.secondPauseMs = secondPause;
    return type;
}

RadioType yaesuStatus(const char* name, YaesuModel model, const char* query, int pause = 205)
{
    RadioType type = make(name, RadioFamily::YaesuStatus, 4800, 8, 2, 'N', query, "", true, pause);
    type.yaesuModel = model;
    return type;
}

QList<RadioType> buildTypes()
{
    using F = RadioFamily;
    const auto none = std::nullopt;
    QList<RadioType> types;
    types << make("None", F::None, none, none, none, none, "", "", false, 0);
    // The Elecraft needs a second before it takes a frequency after a mode change.
    types << make("Elecraft", F::Kenwood, 4800, 8, 2, 'N', "FA;", "MD;", false, 205, 1000);
    types << make("Icom", F::CiV, 1200, 8, 1, 'N', "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true, 140);
    RadioType ic735 =
        make("Icom 735", F::CiV, 1200, 8, 1, 'N', "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true, 140);
    ic735.civFrequencyBytes = 4;
    types << ic735;
    types << make("Kenwood", F::Kenwood, 4800, 8, 2, 'N', "FA;", "MD;", false, 205);
    types << make("Kenwood 2", F::KenwoodIf, 4800, 8, 2, 'N', "IF;", "", false, 205);
    types << make("Ten Tec Omni VI", F::CiV, 1200, 8, 1, 'N', "FE FE 04 E0 03 FD", "FE FE 04 E0 04 FD", true,
                  140, 220);
    types << make("Ten Tec Orion", F::TenTecOrion, 56000, 8, 1, 'N', "?AF", "?RMM", false, 205);
    types << make("Ten Tec Fnt Pnl", F::TenTecPanel, 56000, 8, 1, 'N', "3F 41 0D", "3F 4D 0D", true, 205);
    types << make("Ten Tec Pegasus", F::Pegasus, none, none, none, none, "", "", false, 205);
    types << make("Yaesu", F::Yaesu5, 4800, 8, 2, 'N', "00 00 00 00 03", "", true, 205);
    types << yaesuStatus("Yaesu 757 GX II", YaesuModel::Ft757, "00 00 00 00 10");
    types << yaesuStatus("Yaesu 890", YaesuModel::Ft890, "00 00 00 02 10");
    types << yaesuStatus("Yaesu 920", YaesuModel::Ft920, "00 00 00 02 10");
    types << yaesuStatus("Yaesu 990", YaesuModel::Ft990, "00 00 00 02 10");
    types << yaesuStatus("Yaesu 1000 D", YaesuModel::Ft1000D, "00 00 00 02 10");
    types << yaesuStatus("Yaesu 1000", YaesuModel::Ft1000, "00 00 00 02 10", 10);
    types << make("Yaesu FTdx9000", F::FtDx9000, 4800, none, none, none, "FA;", "MD0;", false, 205);
    types << make("Other", F::Other, none, none, none, none, "", "", false, 0);
    // Our own addition: rigctld answers each command once it is done, so no pause is needed.
    RadioType hamlib = make("Hamlib", F::Hamlib, none, none, none, none, "", "", false, 0);
    hamlib.caption = QStringLiteral("Hamlib (rigctld)");
    types << hamlib;
    return types;
}

} // namespace

const QList<RadioType>& radioTypes()
{
    static const QList<RadioType> types = buildTypes();
    return types;
}

const RadioType& radioType(const QString& name)
{
    for (const RadioType& type : radioTypes()) {
        if (type.name == name) {
            return type;
        }
    }
    return radioTypes().front();
}

QStringList radioTypeNames()
{
    QStringList names;
    for (const RadioType& type : radioTypes()) {
        names << type.name;
    }
    return names;
}

QString radioTypeCaption(const RadioType& type)
{
    return type.caption.isEmpty() ? type.name : type.caption;
}

} // namespace velk
