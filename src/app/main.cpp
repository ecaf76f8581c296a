// The logger: builds the platform services and the session once, then runs the main window.
#include "common/platform/qt/qtplatform.h"
#include "log/ui/Form1.h"

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
    velk::Platform platform{prompter, clock, settings, environment};

    velk::LogSession session;
    session.folders = velk::resolveFolders(environment, QDir::currentPath());
    for (const QString& error : session.folders.errors) {
        platform.prompter.message(error, QStringLiteral("Unable to create directory."),
                                  velk::MessageIcon::Warning);
    }
    session.xml.open(session.folders.xmlStoreFile());

    velk::Form1 form(platform, session);
    QObject::connect(&form, &velk::Form1::programEnded, &app, &QApplication::exit, Qt::QueuedConnection);
    form.show();
    if (!form.startUp() && form.hasEnded()) {
        return 1;
    }
    return QApplication::exec();
}
