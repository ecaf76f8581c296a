// velk-export: writes the Cabrillo file, the ADIF file and the Tobrel transfer file from a
// working folder's log.txt and VELKpref.txt without opening a window, prints the claimed score,
// and makes a call-history file from past logs. Uses the same writers as the logger's menus.
#include "common/programinfo.h"
#include "log/callhistorybuilder.h"
#include "log/contactlog.h"
#include "log/folders.h"
#include "log/multipliers.h"
#include "log/preferences.h"
#include "output/adif.h"
#include "output/cabrillo.h"
#include "output/countrytable.h"
#include "output/exportfile.h"
#include "output/transferfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>
#include <optional>

namespace {

using namespace velk;

constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

class ProcessEnvironment : public Environment
{
public:
    QString value(const QString& name) const override
    {
        return qEnvironmentVariable(name.toLocal8Bit().constData());
    }
};

struct Failure
{
    QString message;
    int code = exitFailure;
};

void printError(const QString& message)
{
    QTextStream err(stderr);
    err << "velk-export: " << message << Qt::endl;
}

const char* helpText = R"(Commands:
  cabrillo   Write the Cabrillo 2.0 file for contest submission (default file:
             <own call>.log in the working folder). Uses --operators,
             --category, --power-category, --name, --address1, --address2,
             --email and --soapbox for the summary sheet.
  adif       Write the ADIF file (default file: VELK.adi in the working folder).
             Uses --tx-power (default 100), --comment (default "VELK Contest")
             and --country-table.
  transfer   Write LogExp.txt for the Tobrel import (always LogExp.txt in the
             working folder unless --output is given). Uses --tx-power (default
             empty) and --mode (default the log's mode: CW, SSB or RTTY).
  score      Print the contacts, the multipliers and the claimed score.
  history [LOG...]
             Write a call-history file (!!Order!!,Call,Name,Loc1) with the most
             recent name and location of each call in the given logs (log.txt
             or archived *.log files; default: the working folder's log.txt).
             Default file: CallHistory.txt in the working folder.

The working folder (--folder) must hold log.txt (history: unless logs are
given); cabrillo, adif and transfer also read the station's call, location and
mode from VELKpref.txt there.
Exit status: 0 on success, 1 when a file cannot be read or written, 2 for a
mistake on the command line.)";

struct Options
{
    QString command;
    QString folder;
    QString output;
    QStringList logs; // history: the logs to read
};

QString requireChoice(const QCommandLineParser& parser, const QString& option, const QStringList& choices,
                      const QString& fallback)
{
    if (!parser.isSet(option)) {
        return fallback;
    }
    const QString value = parser.value(option).trimmed().toLower();
    if (!choices.contains(value)) {
        throw Failure{QStringLiteral("--%1 must be one of %2, not \"%3\"")
                          .arg(option, choices.join(QStringLiteral(", ")), parser.value(option)),
                      exitUsage};
    }
    return value;
}

ContactLog loadLogFile(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        throw Failure{QStringLiteral("cannot find the log file %1").arg(QDir::toNativeSeparators(path))};
    }
    ContactLog log;
    const LoadResult loaded = log.load(path);
    if (!loaded.ok) {
        QString message =
            QStringLiteral("cannot read %1: %2").arg(QDir::toNativeSeparators(path), loaded.error);
        if (loaded.line > 0) {
            message += QStringLiteral(" (line %1)").arg(loaded.line);
        }
        throw Failure{message};
    }
    return log;
}

ContactLog loadLog(const QString& folder)
{
    return loadLogFile(folder + QStringLiteral("/log.txt"));
}

Preferences loadPrefs(const QString& folder)
{
    const QString path = folder + QStringLiteral("/VELKpref.txt");
    Preferences prefs;
    switch (loadPreferences(path, prefs)) {
    case PrefLoadStatus::Loaded:
        break;
    case PrefLoadStatus::Missing:
        throw Failure{
            QStringLiteral("cannot find the preferences file %1").arg(QDir::toNativeSeparators(path))};
    case PrefLoadStatus::Unreadable:
        throw Failure{
            QStringLiteral("cannot read the preferences file %1").arg(QDir::toNativeSeparators(path))};
    }
    prefs.ownCall = prefs.ownCall.trimmed();
    return prefs;
}

void writeOut(const QString& path, const QByteArray& bytes)
{
    const WriteResult written = writeExportFile(path, bytes);
    if (!written.ok) {
        throw Failure{QStringLiteral("Unable to write file. %1: %2")
                          .arg(QDir::toNativeSeparators(path), written.error)};
    }
    QTextStream(stdout) << QDir::toNativeSeparators(path) << Qt::endl;
}

// Every log is read before anything is written, so a bad one leaves no half-made file.
int writeHistory(const Options& options)
{
    const QStringList logs =
        options.logs.isEmpty() ? QStringList{options.folder + QStringLiteral("/log.txt")} : options.logs;
    CallHistoryBuilder builder;
    for (const QString& path : logs) {
        builder.addLog(loadLogFile(path));
    }
    const QString path =
        options.output.isEmpty() ? options.folder + QStringLiteral("/CallHistory.txt") : options.output;
    writeOut(path, builder.encode(programName()));
    QTextStream err(stderr);
    err << "velk-export: " << builder.stationCount() << " stations from " << logs.size() << " logs";
    if (builder.skippedContacts() > 0) {
        err << "; " << builder.skippedContacts() << " contacts without a valid call left out";
    }
    err << Qt::endl;
    return 0;
}

int run(const QCommandLineParser& parser, const Options& options)
{
    if (options.command == QLatin1String("history")) {
        return writeHistory(options);
    }
    const ContactLog log = loadLog(options.folder);
    Multipliers multipliers;
    multipliers.rebuild(log);

    if (options.command == QLatin1String("score")) {
        QTextStream out(stdout);
        out << "Contacts: " << log.count() << Qt::endl;
        out << "Multipliers: " << multipliers.total() << Qt::endl;
        out << "Claimed score: " << score(log.count(), multipliers.total()) << Qt::endl;
        return 0;
    }

    const Preferences prefs = loadPrefs(options.folder);
    if (options.command == QLatin1String("cabrillo")) {
        CabrilloSummary summary;
        summary.operators = parser.value(QStringLiteral("operators")).toUpper();
        summary.multiTwo = requireChoice(parser, QStringLiteral("category"),
                                         {QStringLiteral("single"), QStringLiteral("multi-two")},
                                         QStringLiteral("single")) == QLatin1String("multi-two");
        const QString power = requireChoice(
            parser, QStringLiteral("power-category"),
            {QStringLiteral("high"), QStringLiteral("low"), QStringLiteral("qrp"), QStringLiteral("none")},
            QStringLiteral("low"));
        summary.power = power == QLatin1String("high")   ? CabrilloPower::High
                        : power == QLatin1String("qrp")  ? CabrilloPower::Qrp
                        : power == QLatin1String("none") ? CabrilloPower::None
                                                         : CabrilloPower::Low;
        summary.name = parser.value(QStringLiteral("name"));
        summary.address1 = parser.value(QStringLiteral("address1"));
        summary.address2 = parser.value(QStringLiteral("address2"));
        summary.email = parser.value(QStringLiteral("email"));
        summary.soapbox = parser.value(QStringLiteral("soapbox"));

        CabrilloStation station;
        station.ownCall = prefs.ownCall;
        station.ownLocation = prefs.ownSpc;
        station.mode = prefs.mode;
        station.createdBy = programName();
        const QString path = options.output.isEmpty()
                                 ? options.folder + QLatin1Char('/') + safeCallForFileName(prefs.ownCall) +
                                       QStringLiteral(".log")
                                 : options.output;
        writeOut(path, writeCabrillo(log.records(), station, summary, multipliers.total()));
        return 0;
    }

    if (options.command == QLatin1String("adif")) {
        QStringList candidates;
        if (parser.isSet(QStringLiteral("country-table"))) {
            candidates << parser.value(QStringLiteral("country-table"));
        } else {
            ProcessEnvironment environment;
            candidates = countryTableCandidates(resolveFolders(environment, options.folder));
        }
        QString error;
        const std::optional<CountryTable> table = CountryTable::load(candidates, &error);
        if (!table) {
            throw Failure{QStringLiteral("Unable to write file. %1").arg(error)};
        }
        AdifOptions adif;
        adif.mode = prefs.mode;
        adif.power = parser.isSet(QStringLiteral("tx-power")) ? parser.value(QStringLiteral("tx-power"))
                                                              : QStringLiteral("100");
        adif.comment = parser.isSet(QStringLiteral("comment")) ? parser.value(QStringLiteral("comment"))
                                                               : QStringLiteral("VELK Contest");
        adif.createdBy = programName();
        adif.exportedOn = exportDateText(QDateTime::currentDateTime());
        const QString path =
            options.output.isEmpty() ? options.folder + QStringLiteral("/VELK.adi") : options.output;
        writeOut(path, writeAdif(log.records(), *table, adif));
        return 0;
    }

    // transfer
    TransferOptions transfer;
    transfer.power = parser.value(QStringLiteral("tx-power"));
    transfer.mode =
        parser.isSet(QStringLiteral("mode")) ? parser.value(QStringLiteral("mode")) : adifMode(prefs.mode);
    const QString path =
        options.output.isEmpty() ? options.folder + QStringLiteral("/LogExp.txt") : options.output;
    writeOut(path, writeTransferFile(log.records(), transfer));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velk-export"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELK_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "Writes the VELK contest log's Cabrillo, ADIF and transfer files and prints its score.\n\n") +
        QString::fromUtf8(helpText));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("cabrillo, adif, transfer, score or history"));
    parser.addPositionalArgument(QStringLiteral("logs"), QStringLiteral("history: the logs to read"),
                                 QStringLiteral("[LOG...]"));
    parser.addOptions({
        {{QStringLiteral("f"), QStringLiteral("folder")},
         QStringLiteral("Working folder holding log.txt and VELKpref.txt (default: the current folder)."),
         QStringLiteral("folder")},
        {{QStringLiteral("o"), QStringLiteral("output")},
         QStringLiteral("File to write instead of the command's default file."),
         QStringLiteral("file")},
        {QStringLiteral("operators"),
         QStringLiteral(
             "cabrillo: calls of all operators of a multi-operator station (default: the own call)."),
         QStringLiteral("calls")},
        {QStringLiteral("category"), QStringLiteral("cabrillo: single or multi-two (default: single)."),
         QStringLiteral("category")},
        {QStringLiteral("power-category"), QStringLiteral("cabrillo: high, low, qrp or none (default: low)."),
         QStringLiteral("power")},
        {QStringLiteral("name"), QStringLiteral("cabrillo: your name for the NAME line."),
         QStringLiteral("text")},
        {QStringLiteral("address1"), QStringLiteral("cabrillo: first ADDRESS line."), QStringLiteral("text")},
        {QStringLiteral("address2"), QStringLiteral("cabrillo: second ADDRESS line."),
         QStringLiteral("text")},
        {QStringLiteral("email"), QStringLiteral("cabrillo: e-mail address for the ADDRESS (e-mail) line."),
         QStringLiteral("address")},
        {QStringLiteral("soapbox"),
         QStringLiteral("cabrillo: comments about the contest; each line becomes a SOAPBOX line."),
         QStringLiteral("text")},
        {QStringLiteral("tx-power"),
         QStringLiteral(
             "adif, transfer: transmitter power for every contact (adif default: 100; an empty value "
             "leaves it out)."),
         QStringLiteral("power")},
        {QStringLiteral("comment"),
         QStringLiteral(
             "adif: comment for every contact (default: \"VELK Contest\"; an empty value leaves it out)."),
         QStringLiteral("text")},
        {QStringLiteral("mode"),
         QStringLiteral("transfer: mode for every contact (default: the log's mode)."),
         QStringLiteral("mode")},
        {QStringLiteral("country-table"),
         QStringLiteral(
             "adif: the ADIFCnt.txt to read (default: the first found in the shared, data and working "
             "folders)."),
         QStringLiteral("file")},
    });

    if (!parser.parse(QCoreApplication::arguments())) {
        printError(parser.errorText());
        return exitUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        QTextStream(stdout) << "velk-export " << QCoreApplication::applicationVersion() << Qt::endl;
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    static const QStringList commands{QStringLiteral("cabrillo"), QStringLiteral("adif"),
                                      QStringLiteral("transfer"), QStringLiteral("score"),
                                      QStringLiteral("history")};
    const bool takesLogs = !positional.isEmpty() && positional.first() == QLatin1String("history");
    if (positional.isEmpty() || !commands.contains(positional.first()) ||
        (positional.size() > 1 && !takesLogs)) {
        printError(positional.isEmpty() ? QStringLiteral("no command given; try --help")
                                        : QStringLiteral("unknown command \"%1\"; try --help")
                                              .arg(positional.join(QLatin1Char(' '))));
        return exitUsage;
    }

    Options options;
    options.command = positional.first();
    options.folder = QDir(parser.isSet(QStringLiteral("folder")) ? parser.value(QStringLiteral("folder"))
                                                                 : QDir::currentPath())
                         .absolutePath();
    options.output = parser.value(QStringLiteral("output"));
    for (const QString& log : positional.mid(1)) {
        options.logs << QFileInfo(log).absoluteFilePath();
    }
    if (!QFileInfo(options.folder).isDir()) {
        printError(QStringLiteral("the working folder %1 does not exist")
                       .arg(QDir::toNativeSeparators(options.folder)));
        return exitFailure;
    }
    try {
        return run(parser, options);
    } catch (const Failure& failure) {
        printError(failure.message);
        return failure.code;
    }
}
