#pragma once
// A real main window on a temporary working folder, with the platform fakes.
#include "common/platform/fake/fakeplatform.h"
#include "log/ui/Form1.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace velk::testing {

class Form1Test : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    FakePrompter prompter;
    FakeClock clock;
    FakeSettingsStore settings;
    FakeEnvironment environment;
    Platform platform{prompter, clock, settings, environment};
    LogSession session;
    std::unique_ptr<Form1> form;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        environment.values[QStringLiteral("USERPROFILE")] = dir.path() + QStringLiteral("/profile");
        QDir().mkpath(dir.path() + QStringLiteral("/profile/Documents"));
        QDir().mkpath(dir.path() + QStringLiteral("/work"));
        session.folders = resolveFolders(environment, dir.path() + QStringLiteral("/work"));
        session.xml.open(session.folders.xmlStoreFile());
        // Local time 13:04:31 on 2026/01/10, UTC five hours ahead.
        clock.setUtcMinusLocalHours(5);
        session.prefs.utcOffsetHours = 5;
        session.prefs.ownFirstName = QStringLiteral("LEE");
        writeFile(session.folders.logFile(), {});
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
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void writePreferences()
    {
        ASSERT_TRUE(savePreferences(session.folders.preferencesFile(), session.prefs).ok);
    }

    // Builds the window and runs the start-up, answering "Open existing log?" with Yes.
    void start(MessageAnswer openExisting = MessageAnswer::Yes)
    {
        prompter.messageAnswers.push_back(openExisting);
        form = std::make_unique<Form1>(platform, session);
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->startUp();
    }

    template <typename T> T* child(const char* name) const
    {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
    QLineEdit* box(const char* name) const { return child<QLineEdit>(name); }
    QString status() const { return child<QLabel>("lblDialog")->text(); }

    void type(const char* boxName, const QString& text)
    {
        QLineEdit* target = box(boxName);
        target->setFocus();
        QTest::keyClicks(target, text);
    }
    void press(const char* boxName, Qt::Key key) { QTest::keyClick(box(boxName), key); }
    void enterContact(const QString& call, const QString& name, const QString& location)
    {
        type("txtCall", call);
        type("txtRSTR", name);
        type("txtCntry", location);
        press("txtCntry", Qt::Key_Return);
    }
};

} // namespace velk::testing
