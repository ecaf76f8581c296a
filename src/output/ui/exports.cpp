#include "output/ui/exports.h"

#include "common/programinfo.h"
#include "log/logsession.h"
#include "output/adif.h"
#include "output/countrytable.h"
#include "output/exportfile.h"
#include "output/transferfile.h"
#include "output/ui/summarysheetdialog.h"

#include <QDir>

namespace velk {

namespace {

const QString failureTitle = QStringLiteral("Unable to write file.");

// The country table once read in this run, kept with the main window that exports.
class CountryTableHolder : public QObject
{
public:
    explicit CountryTableHolder(QObject* parent) : QObject(parent)
    {
        setObjectName(QStringLiteral("countryTableHolder"));
    }
    std::optional<CountryTable> table;
};

CountryTableHolder* holderFor(QWidget* mainWindow)
{
    if (mainWindow == nullptr) {
        return nullptr;
    }
    // The holder has no meta-object of its own: find it by name, then check its type.
    auto* holder = dynamic_cast<CountryTableHolder*>(
        mainWindow->findChild<QObject*>(QStringLiteral("countryTableHolder"), Qt::FindDirectChildrenOnly));
    return holder != nullptr ? holder : new CountryTableHolder(mainWindow);
}

void reportFailure(Platform& platform, const QString& error)
{
    platform.prompter.bell();
    platform.prompter.message(error, failureTitle, MessageIcon::Critical);
}

} // namespace

void runCabrilloExport(Platform& platform, LogSession& session, QWidget* mainWindow)
{
    const QString title = mainWindow != nullptr ? mainWindow->windowTitle() : programName();
    SummarySheetDialog window(platform, session, title, mainWindow);
    window.exec();
}

void runAdifExport(Platform& platform, const LogSession& session, QWidget* mainWindow)
{
    Prompter& prompter = platform.prompter;
    const QString power =
        prompter
            .input(QStringLiteral(
                       "Please enter the power value that you would like to record.  This is an optional "
                       "value that will be included in each QSO record and displayed in Tobrel's power "
                       "output column."),
                   QStringLiteral("Please enter your transmitter output power."), QStringLiteral("100"))
            .value_or(QString());
    const QString comment =
        prompter
            .input(QStringLiteral(
                       "Please enter a comment that you would like to appear on each QSO record.  This is "
                       "an optional description that will be displayed in Tobrel's Comments column."),
                   QStringLiteral("Please enter a comment."), QStringLiteral("VELK Contest"))
            .value_or(QString());

    // Read once a run; a failed read is tried again at the next export.
    CountryTableHolder* holder = holderFor(mainWindow);
    std::optional<CountryTable> loaded;
    std::optional<CountryTable>& table = holder != nullptr ? holder->table : loaded;
    if (!table) {
        QString error;
        table = CountryTable::load(countryTableCandidates(session.folders), &error);
        if (!table) {
            reportFailure(platform, error);
            return;
        }
    }

    FileDialogRequest request;
    request.title = QStringLiteral("Export ADIF Format");
    request.folder = session.folders.data;
    request.filter = QStringLiteral("ADIF Files (*.adi) | *.adi");
    request.proposedName = session.folders.data + QStringLiteral("/VELK.adi");
    const std::optional<QString> path = prompter.saveFile(request);
    if (!path) {
        return;
    }

    AdifOptions options;
    options.mode = session.prefs.mode;
    options.power = power;
    options.comment = comment;
    options.createdBy =
        programNameFromTitle(mainWindow != nullptr ? mainWindow->windowTitle() : programName(), 40);
    options.exportedOn = exportDateText(platform.clock.localNow());
    const WriteResult written = writeExportFile(*path, writeAdif(session.log.records(), *table, options));
    if (!written.ok) {
        reportFailure(platform, written.error);
        return;
    }
    prompter.message(QStringLiteral("The file was successfully written to the directory:\r\n\r\n") +
                         QDir::toNativeSeparators(*path) + QLatin1Char('.'),
                     QStringLiteral("File Written Successfully."), MessageIcon::Information);
}

void runTransferExport(Platform& platform, const LogSession& session)
{
    Prompter& prompter = platform.prompter;
    TransferOptions options;
    options.power = prompter
                        .input(QStringLiteral("Please enter the power value you would like to record."),
                               QStringLiteral("Please enter the power value."))
                        .value_or(QString());
    options.mode = prompter
                       .input(QStringLiteral("Please enter the mode you would like to record."),
                              QStringLiteral("Please enter your contest mode."))
                       .value_or(QString())
                       .toUpper();

    const QString path = session.folders.working + QStringLiteral("/LogExp.txt");
    const WriteResult written = writeExportFile(path, writeTransferFile(session.log.records(), options));
    if (!written.ok) {
        reportFailure(platform, written.error);
        return;
    }
    prompter.bell();
    prompter.message(
        QStringLiteral("LogExp.txt has been written to this program's working directory ") +
            QDir::toNativeSeparators(session.folders.working) +
            QStringLiteral(
                ".  Import these contacts into the Tobrel program by clicking File, Import, and navigating "
                "to this directory from the Tobrel program.  If you wish to include the continent, please "
                "transfer these records to Tobrel using the ADIF export.  ADIF is now the prefered method "
                "for transferring data to Tobrel."),
        QStringLiteral("Export Successful!"), MessageIcon::Information);
}

} // namespace velk
