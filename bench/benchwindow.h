#pragma once
// WindowRig: the real main window on a copy of a log in a folder of its own, with the platform
// fakes (no dialog waits for a person), started as the operator starts it and ready for keys.
#include "app/ui/mainwindow.h"
#include "benchlogs.h"
#include "common/platform/fake/fakeplatform.h"
#include "log/folders.h"
#include "log/ui/entrypanel.h"
#include "log/ui/stationdialog.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <memory>

namespace velk::bench {

class WindowRig
{
public:
    explicit WindowRig(const QString& log) : m_dir(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"))
    {
        m_environment.values[QStringLiteral("USERPROFILE")] = m_dir.path() + QStringLiteral("/profile");
        QDir().mkpath(m_dir.path() + QStringLiteral("/profile/Documents"));
        QDir().mkpath(m_dir.path() + QStringLiteral("/work"));
        m_session.folders = resolveFolders(m_environment, m_dir.path() + QStringLiteral("/work"));
        m_session.xml.open(m_session.folders.xmlStoreFile());
        // The station clock just after the generated log's last contact (48 hours from 2026/01/10
        // 00:00 UTC), as during the contest.
        m_clock.setLocal(QDateTime(QDate(2026, 1, 11), QTime(19, 0, 30)));
        m_clock.setUtcMinusLocalHours(5);
        m_session.prefs.utcOffsetHours = 5;
        m_session.prefs.ownCall = QStringLiteral("N0CALL");
        m_session.prefs.ownFirstName = QStringLiteral("LEE");
        m_session.prefs.currentBand = QStringLiteral("20");
        savePreferences(m_session.folders.preferencesFile(), m_session.prefs);
        QFile::copy(log, m_session.folders.logFile());
        QFile::copy(sourcePath(QStringLiteral("data/arrlpre2.txt")),
                    m_session.folders.working + QStringLiteral("/arrlpre2.txt"));

        m_prompter.messageAnswers.push_back(MessageAnswer::Yes); // "Open existing log?"
        m_form = std::make_unique<MainWindow>(m_station);
        m_form->setStationDialogRunner([](StationDialog& dialog) {
            dialog.accept();
            return dialog.result();
        });
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        m_started = m_form->startUp();
        QApplication::setActiveWindow(m_form.get());
        m_form->entryPanel().toggleTimeOn(); // "Time On"
        QCoreApplication::processEvents();
    }
    ~WindowRig()
    {
        if (m_form) {
            m_form->hide();
        }
    }
    WindowRig(const WindowRig&) = delete;
    WindowRig& operator=(const WindowRig&) = delete;

    bool started() const { return m_started; }
    MainWindow& form() { return *m_form; }
    Station& station() { return m_station; }
    FakeClock& clock() { return m_clock; }
    const LogSession& session() const { return m_session; }
    QLineEdit* box(const char* name) const
    {
        return m_form->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    QAction* action(const char* name) const { return m_form->findChild<QAction*>(QString::fromLatin1(name)); }

    // A complete new contact in the entry boxes (a call neither the generated log nor an earlier
    // entry holds), focus on the location box as after typing it.
    void fillEntry()
    {
        QString suffix;
        for (long long v = m_entries++; suffix.size() < 4; v /= 26) {
            suffix += QChar('A' + static_cast<int>(v % 26));
        }
        box("callBox")->setText(QStringLiteral("WQ0") + suffix);
        box("nameBox")->setText(QStringLiteral("BOB"));
        box("locationBox")->setText(QStringLiteral("CT"));
        box("locationBox")->setFocus();
    }

private:
    QTemporaryDir m_dir;
    FakePrompter m_prompter;
    FakeClock m_clock;
    FakeSettingsStore m_settings;
    FakeEnvironment m_environment;
    FakeDevices m_devices;
    Platform m_platform{m_prompter, m_clock, m_settings, m_environment, m_devices};
    Station m_station{m_platform};
    LogSession& m_session = m_station.session();
    std::unique_ptr<MainWindow> m_form;
    bool m_started = false;
    long long m_entries = 0;
};

// Closes the windows the window benchmarks opened; main() calls it before the application ends.
void closeWindows();

} // namespace velk::bench
