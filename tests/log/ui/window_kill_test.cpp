// The whole logger killed in the middle of a contest session: a child process runs the real main
// window, an operator's keys log contact after contact and change band now and then, and the
// child is killed with SIGKILL at random moments. After every kill log.txt must load and hold
// every contact whose Enter had returned (and at most the one in flight), the preferences must
// read, and the window must start again on what was left.
//
// The child is this test executable run again with WindowKillChild.DISABLED_Run selected; it
// reports each finished step on its standard output.
#include "common/formats.h"
#include "log/preferences.h"
#include "mainwindow_fixture.h"
#include "support/childtest.h"

#include <random>

namespace velk::testing {
namespace {

const char* const folderVariable = "VELK_WINDOW_KILL_FOLDER";
const char* const firstStepVariable = "VELK_WINDOW_KILL_FIRST_STEP";
const QByteArray readyLine = "READY";
const QByteArray loggedTag = "LOGGED ";
const QByteArray bandTag = "BAND ";
// The child stops on its own after this many steps, so a lost parent cannot leave it running.
constexpr int childStepLimit = 20000;

// Every seventh step changes band (a preferences rewrite and a reload of the log); the others
// log a new station.
bool isBandChange(int step)
{
    return step % 7 == 0;
}

QString callForStep(int step)
{
    QString suffix;
    for (int n = step; suffix.size() < 3; n /= 26) {
        suffix += QChar('A' + n % 26);
    }
    return QStringLiteral("W%1%2").arg(step % 10).arg(suffix);
}

QStringList callsIn(const ContactLog& log)
{
    QStringList calls;
    for (const ContactRecord& record : log.records()) {
        calls << record.call;
    }
    return calls;
}

class WindowKillChild : public MainWindowTest
{
protected:
    void SetUp() override { useFolders(qEnvironmentVariable(folderVariable)); }
};

} // namespace

// The child: starts the logger on the folder the parent prepared and operates it.
TEST_F(WindowKillChild, DISABLED_Run)
{
    ASSERT_FALSE(qEnvironmentVariable(folderVariable).isEmpty());
    start();
    if (!started) {
        sayToParent("STARTFAIL");
        FAIL() << "the window did not start";
    }
    sayToParent(readyLine);
    const int first = qEnvironmentVariableIntValue(firstStepVariable);
    const char* const bands[] = {"band40Action", "band20Action", "band80Action"};
    for (int step = first; step < first + childStepLimit; ++step) {
        if (isBandChange(step)) {
            action(bands[step % 3])->trigger();
            sayToParent(bandTag + QByteArray::number(step));
            continue;
        }
        const int before = session.log.count();
        enterContact(callForStep(step), QStringLiteral("OP"), QStringLiteral("CT"));
        if (session.log.count() != before + 1) {
            sayToParent("NOTLOGGED " + status().toLatin1());
            FAIL() << status().toStdString();
        }
        sayToParent(loggedTag + QByteArray::number(step));
    }
}

TEST_F(MainWindowTest, KilledAtAnyMomentTheLoggerStartsAgainWithEveryLoggedContact)
{
    const int rounds = qEnvironmentVariableIsSet("VELK_WINDOW_KILL_ROUNDS")
                           ? qEnvironmentVariableIntValue("VELK_WINDOW_KILL_ROUNDS")
                           : 40;
    std::mt19937 random(20260111);
    QStringList logged; // calls whose Enter had returned, in order
    int nextStep = 1;
    int killsInFlight = 0;

    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE(::testing::Message() << "round " << round << ", next step " << nextStep);
        QProcess child;
        startChildTest(child, QStringLiteral("WindowKillChild.DISABLED_Run"),
                       {{QString::fromLatin1(folderVariable), dir.path()},
                        {QString::fromLatin1(firstStepVariable), QString::number(nextStep)}});
        ASSERT_TRUE(child.waitForStarted(60000)) << child.errorString().toStdString();

        // Let some steps finish, then kill the child a random while into the next ones.
        const int wanted = static_cast<int>(random() % 12);
        int done = -1; // -1 until the window has started
        QByteArray pending;
        const auto takeLines = [&] {
            for (const QByteArray& line : takeCompleteLines(pending)) {
                if (line == readyLine) {
                    done = 0;
                } else if (line.startsWith(loggedTag) || line.startsWith(bandTag)) {
                    const bool loggedStep = line.startsWith(loggedTag);
                    const int step = line.mid((loggedStep ? loggedTag : bandTag).size()).toInt();
                    EXPECT_EQ(step, nextStep) << "steps reported out of order";
                    if (loggedStep) {
                        logged << callForStep(step);
                    }
                    ++nextStep;
                    ++done;
                } else if (line.startsWith("STARTFAIL") || line.startsWith("NOTLOGGED")) {
                    ADD_FAILURE() << line.toStdString();
                    done = wanted;
                }
            }
        };
        while (done < wanted && child.state() == QProcess::Running) {
            if (!child.waitForReadyRead(60000)) {
                break;
            }
            pending += child.readAllStandardOutput();
            takeLines();
        }
        ASSERT_GE(done, 0) << "the child never started: " << child.readAllStandardError().toStdString();
        QTest::qSleep(static_cast<int>(random() % 8));
        child.kill();
        ASSERT_TRUE(child.waitForFinished(60000));
        pending += child.readAllStandardOutput();
        takeLines();
        if (HasFailure()) {
            return;
        }

        ContactLog onDisk;
        ASSERT_TRUE(onDisk.load(session.folders.logFile()).ok);
        const QStringList calls = callsIn(onDisk);
        if (calls.size() == logged.size() + 1 && !isBandChange(nextStep) &&
            calls.last() == callForStep(nextStep)) {
            // Logged on disk, killed before the window had said so.
            logged << calls.last();
            ++nextStep;
            ++killsInFlight;
        }
        ASSERT_EQ(calls, logged);
        Preferences prefs;
        ASSERT_EQ(loadPreferences(session.folders.preferencesFile(), prefs), PrefLoadStatus::Loaded);
    }
    EXPECT_GT(logged.size(), rounds) << "the children hardly logged anything";

    // The operator starts the logger again: no error, every contact counted.
    start();
    ASSERT_TRUE(started);
    for (const ShownMessage& message : prompter.messages) {
        EXPECT_NE(message.title, QStringLiteral("File Error")) << message.text.toStdString();
    }
    EXPECT_EQ(session.log.count(), logged.size());
    EXPECT_EQ(child<QLabel>("contactsTotal")->text(),
              formatNumber(static_cast<double>(logged.size()), QStringLiteral("###,##0")));
    std::printf("%d kills, %lld contacts logged, %d kills landed after a contact reached the disk\n", rounds,
                static_cast<long long>(logged.size()), killsInFlight);
}

} // namespace velk::testing
