// The logger: builds the platform services and the station once, then runs the main window.
#include "app/station.h"
#include "app/ui/mainwindow.h"
#include "common/platform/qt/qtdevices.h"
#include "common/platform/qt/qtplatform.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

#include <optional>

namespace {

const QString folderOption = QStringLiteral("folder");

void describeCommandLine(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Varno's VELK Contest Log: logs the contacts of the VELK contest (CW, phone or RTTY) and "
        "drives the station's radio, keyer, voice messages, DX spots and RTTY terminal."));
    // Qt's own options (-platform, -style) are single-dash words, not bundles of letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({folderOption,
                      QStringLiteral("Working folder holding log.txt and VELKpref.txt (default: $VELK_HOME, "
                                     "else ~/VELK). Files of the shipped data it lacks are copied into it."),
                      QStringLiteral("folder")});
}

// Help and version are answered before the application connects to a display, so that they work
// in any terminal and the manual page can be made from them at build time. Qt's own options
// (-platform, -style) are not known yet and are checked once the application exists.
std::optional<int> answerWithoutDisplay(QCommandLineParser& parser, int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    parser.parse(arguments);
    const bool help = parser.isSet(QStringLiteral("help"));
    if (!help && !parser.isSet(QStringLiteral("version"))) {
        return std::nullopt;
    }
    const QCoreApplication withoutDisplay(argc, argv);
    QTextStream out(stdout);
    if (help) {
        out << parser.helpText();
    } else {
        out << "velk " << QCoreApplication::applicationVersion() << Qt::endl;
    }
    return 0;
}

// The data the program ships, installed beside it under share/velk.
QString shippedDataFolder()
{
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral(VELK_DATA_FROM_BIN));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication::setApplicationName(QStringLiteral("VELK"));
    QApplication::setOrganizationName(QStringLiteral("Varno_Software"));
    QApplication::setApplicationVersion(QStringLiteral(VELK_VERSION));
    QCommandLineParser parser;
    describeCommandLine(parser);
    if (const std::optional<int> exitCode = answerWithoutDisplay(parser, argc, argv)) {
        return *exitCode;
    }
    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral(VELK_DESKTOP_ID));
    parser.process(app);

    velk::QtPrompter prompter;
    velk::SystemClock clock;
    velk::QtSettingsStore settings;
    velk::ProcessEnvironment environment;
    velk::QtDevices devices(environment, settings);
    velk::Platform platform{prompter, clock, settings, environment, devices};

    const QString working = parser.isSet(folderOption) ? QDir(parser.value(folderOption)).absolutePath()
                                                       : velk::defaultWorkingFolder(environment);
    const QList<velk::FolderError> seedErrors = velk::seedWorkingFolder(shippedDataFolder(), working);
    for (const velk::FolderError& error : seedErrors) {
        platform.prompter.message(error.text, error.title, velk::MessageIcon::Warning);
    }
    if (!QDir::setCurrent(working)) {
        return 1;
    }

    velk::Station station(platform);
    velk::LogSession& session = station.session();
    session.folders = velk::resolveFolders(environment, QDir::currentPath());
    for (const velk::FolderError& error : session.folders.errors) {
        platform.prompter.message(error.text, error.title, velk::MessageIcon::Warning);
    }
    session.xml.open(session.folders.xmlStoreFile());

    velk::MainWindow window(station);
    QObject::connect(&window, &velk::MainWindow::programEnded, &app, &QApplication::exit,
                     Qt::QueuedConnection);
    window.show();
    if (!window.startUp() && window.hasEnded()) {
        return 1;
    }
    // The run ends when the station has closed its devices (the radio's CAT-off bytes sent), not
    // the moment the window closes.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&station, &velk::Station::shutDownFinished, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    const int code = QApplication::exec();
    // However the run ended, no transmitter stays keyed and the radio and links are closed.
    station.shutDown();
    return code;
}
