#pragma once
// A real main window on a temporary working folder, with the platform fakes.
#include "app/ui/cwplug.h"
#include "app/ui/mainwindow.h"
#include "app/ui/spotsplug.h"
#include "common/qtprinters.h"
#include "log/ui/contactlistpanel.h"
#include "log/ui/entrypanel.h"
#include "log/ui/logfileactions.h"
#include "log/ui/stationdialog.h"
#include "support/files.h"
#include "support/platformfakes.h"
#include "support/waitfor.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace velk::testing {

class MainWindowTest : public ::testing::Test, protected PlatformFakes
{
protected:
    QTemporaryDir dir;
    Station station{platform};
    LogSession& session = station.session();
    std::unique_ptr<MainWindow> form;
    // What the last start() returned: false when the start-up stopped on a failure.
    bool started = false;
    // How the station dialog of the start-up is answered: "Done" with what it holds. A test may
    // replace it before start().
    MainWindow::StationDialogRunner stationDialog = [](StationDialog& dialog) {
        dialog.accept();
        return dialog.result();
    };

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        useFolders(dir.path());
        writeFile(session.folders.logFile(), {});
        writeFile(session.folders.working + QStringLiteral("/arrlpre2.txt"), smallPrefixTable());
    }

    // The profile and working folders under root, as the logger finds them; the clock and the
    // preferences of a fresh start.
    void useFolders(const QString& root)
    {
        environment.values[QStringLiteral("USERPROFILE")] = root + QStringLiteral("/profile");
        QDir().mkpath(root + QStringLiteral("/profile/Documents"));
        QDir().mkpath(root + QStringLiteral("/work"));
        session.folders = resolveFolders(environment, root + QStringLiteral("/work"));
        session.xml.open(session.folders.xmlStoreFile());
        // Local time 13:04:31 on 2026/01/10, UTC five hours ahead.
        clock.setUtcMinusLocalHours(5);
        session.prefs.utcOffsetHours = 5;
        session.prefs.ownFirstName = QStringLiteral("LEE");
    }

    // A few real prefixes, sorted by prefix, in the shipped table's format.
    static QByteArray smallPrefixTable()
    {
        return QByteArray("\"A\",\"USA\",\"NA\",91.0,38.0,5,8,5\r\n"
                          "\"DL\",\"Germany\",\"EU\",-10.0,51.0,14,28,-1\r\n"
                          "\"K\",\"USA\",\"NA\",91.0,38.0,5,8,5\r\n"
                          "\"KG4\",\"Guantanamo Bay\",\"NA\",75.0,20.0,8,11,5\r\n"
                          "\"KH6\",\"Hawaii\",\"OC\",157.0,21.0,31,61,10\r\n"
                          "\"KL\",\"Alaska\",\"NA\",150.0,61.0,1,1,9\r\n"
                          "\"N\",\"USA\",\"NA\",91.0,38.0,5,8,5\r\n"
                          "\"VE\",\"Canada\",\"NA\",80.0,45.0,5,9,5\r\n"
                          "\"VO\",\"Canada\",\"NA\",60.0,53.0,5,9,3.5\r\n"
                          "\"VY\",\"Canada\",\"NA\",135.0,60.0,1,2,7\r\n"
                          "\"W\",\"USA\",\"NA\",91.0,38.0,5,8,5\r\n"
                          "\"XE\",\"Mexico\",\"NA\",99.0,19.0,6,10,6\r\n");
    }

    void TearDown() override
    {
        if (form) {
            form->hide();
            form.reset();
        }
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        ASSERT_TRUE(velk::testing::writeFile(path, bytes));
    }
    static QByteArray readFile(const QString& path) { return readAll(path); }

    void writePreferences()
    {
        ASSERT_TRUE(savePreferences(session.folders.preferencesFile(), session.prefs).ok);
    }

    // Builds the window and runs the start-up, answering "Open existing log?" with Yes. Any
    // window that opens modally during the start-up (the station dialog) is accepted as it is.
    void start(MessageAnswer openExisting = MessageAnswer::Yes)
    {
        prompter.messageAnswers.push_back(openExisting);
        QTimer modalCloser;
        QObject::connect(&modalCloser, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialog->accept();
            }
        });
        modalCloser.start(10);
        form = std::make_unique<MainWindow>(station);
        form->setStationDialogRunner(stationDialog);
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        started = form->startUp();
        // A dialog of the start-up may have taken the activation; the operator's keys go to
        // the main window again.
        if (QApplication::activeWindow() != form.get()) {
            QApplication::setActiveWindow(form.get());
            ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        }
    }

    template <typename T> T* child(const char* name) const
    {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
    QLineEdit* box(const char* name) const { return child<QLineEdit>(name); }
    QString status() const { return child<QLabel>("statusLine")->text(); }

    void type(const char* boxName, const QString& text)
    {
        QLineEdit* target = box(boxName);
        target->setFocus(Qt::TabFocusReason); // as the operator moves: Tab or a click
        QTest::keyClicks(target, text);
    }
    void press(const char* boxName, Qt::Key key) { QTest::keyClick(box(boxName), key); }
    void enterContact(const QString& call, const QString& name, const QString& location)
    {
        type("callBox", call);
        type("nameBox", name);
        type("locationBox", location);
        press("locationBox", Qt::Key_Return);
    }

    // Keys as an operator types them: each one goes to whichever widget has the focus then,
    // so Space and Enter move on exactly as they would at the keyboard.
    static void keys(const QString& text)
    {
        for (const QChar c : text) {
            QWidget* target = QApplication::focusWidget();
            ASSERT_NE(target, nullptr);
            QTest::keyClick(target, c.toLatin1());
        }
    }
    static void keyAtFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key, modifiers);
    }
    // Gives a box the focus and lets its deferred focus handling (selection) run.
    void focusOn(const char* boxName)
    {
        box(boxName)->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }
    bool hasFocus(const char* boxName) const { return QApplication::focusWidget() == box(boxName); }

    QAction* action(const char* name) const { return child<QAction>(name); }
    QPushButton* button(const char* name) const { return child<QPushButton>(name); }

    // One log.txt line of nine quoted fields.
    static QByteArray logLine(const QStringList& fields)
    {
        QByteArray line;
        for (const QString& field : fields) {
            if (!line.isEmpty()) {
                line += ',';
            }
            line += '"' + field.toLatin1() + '"';
        }
        return line + "\r\n";
    }
    // Contacts 1..n as log.txt lines: call W<n>AA, name OP<n>, one minute apart on 20 m.
    static QByteArray numberedContacts(int n)
    {
        QByteArray bytes;
        for (int i = 1; i <= n; ++i) {
            bytes += logLine({QStringLiteral("W%1AA").arg(i), QStringLiteral("OP%1").arg(i),
                              QStringLiteral("CT"), QStringLiteral("2026/01/10"),
                              QStringLiteral("17:%1:00").arg(i, 2, 10, QLatin1Char('0')),
                              QStringLiteral("20"), QStringLiteral("NA"), QStringLiteral("LEE"), QString()});
        }
        return bytes;
    }

    // Line n (1-based) of VELKpref.txt as written, without its CR LF.
    QByteArray preferenceLine(int n) const
    {
        const QList<QByteArray> lines = readFile(session.folders.preferencesFile()).split('\n');
        return n >= 1 && n <= lines.size() ? lines.at(n - 1).chopped(lines.at(n - 1).endsWith('\r') ? 1 : 0)
                                           : QByteArray();
    }

    // The list of previous contacts as the view shows it (after any sorting).
    QAbstractItemModel* listed() const { return form->contactList().view()->model(); }
    QStringList listedColumn(int column) const
    {
        QStringList cells;
        for (int row = 0; row < listed()->rowCount(); ++row) {
            cells << listed()->index(row, column).data().toString();
        }
        return cells;
    }
};

} // namespace velk::testing
