// The logger: builds the platform services and the station once, then runs the main window.
#include "app/station.h"
#include "app/ui/mainwindow.h"
#include "common/platform/qt/qtdevices.h"
#include "common/platform/qt/qtplatform.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELK"));
    QApplication::setOrganizationName(QStringLiteral("Varno_Software"));

    velk::QtPrompter prompter;
    velk::SystemClock clock;
    velk::QtSettingsStore settings;
    velk::ProcessEnvironment environment;
    velk::QtDevices devices(environment, settings);
    velk::Platform platform{prompter, clock, settings, environment, devices};

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
    const int code = QApplication::exec();
    // However the run ended, no transmitter stays keyed and the radio and links are closed.
    station.shutDown();
    return code;
}
