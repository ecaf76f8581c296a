// A child process appends to and rewrites log.txt and is killed with SIGKILL at random moments,
// over and over. After every kill the file must load, hold every contact whose append had
// returned, and be exactly the log before or after the operation that was in flight.
//
// The child is this test executable run again with the disabled test LogKillChild.DISABLED_Run
// selected; it reports each finished operation on its standard output.
#include "log/contactedit.h"
#include "log/contactlog.h"
#include "log/logbuilder.h"
#include "support/childtest.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <thread>

using namespace velk;
using namespace velk::testing;

namespace {

const char* const childFolderVariable = "VELK_KILL_CHILD_FOLDER";
const char* const childFirstOpVariable = "VELK_KILL_CHILD_FIRST_OP";
// Each operation the child finished is one line "DONE <op>"; other lines are the test runner's.
const QByteArray doneTag = "DONE ";
const QByteArray readyLine = "READY";

// The child stops on its own after this many operations, so a lost parent cannot leave it running.
constexpr int childOperationLimit = 100000;

ContactRecord contactForOperation(int op)
{
    static const char* const locations[] = {"CT", "ON", "TX", "Mexico", "BC", "Cuba", "NY", "QC"};
    static const char* const bands[] = {"160", "80", "40", "20", "15", "10", "6"};
    QString suffix;
    for (int n = op; suffix.size() < 3; n /= 26) {
        suffix += QChar('A' + n % 26);
    }
    const QString location = QString::fromLatin1(locations[op % 8]);
    return {QStringLiteral("%1%2%3")
                .arg(QLatin1String(op % 3 == 0   ? "K"
                                   : op % 3 == 1 ? "W"
                                                 : "VE"))
                .arg(op % 10)
                .arg(suffix),
            QStringLiteral("OP%1").arg(op),
            location,
            QStringLiteral("2026/01/%1").arg(10 + op / 1440 % 18, 2, 10, QLatin1Char('0')),
            QStringLiteral("%1:%2:%3")
                .arg(op / 60 % 24, 2, 10, QLatin1Char('0'))
                .arg(op % 60, 2, 10, QLatin1Char('0'))
                .arg(op * 7 % 60, 2, 10, QLatin1Char('0')),
            QString::fromLatin1(bands[op % 7]),
            QStringLiteral("NA"),
            QStringLiteral("LEE"),
            op % 4 == 0 ? QString() : QStringLiteral("%1.%2").arg(14).arg(op % 350, 3, 10, QLatin1Char('0'))};
}

enum class Operation { Append, Edit, Delete };

// Most operations log a contact; every fifth edits one, every thirteenth deletes one (both
// rewrite the whole file).
Operation operationKind(int op, int count)
{
    if (count > 2 && op % 13 == 0) {
        return Operation::Delete;
    }
    if (count > 0 && op % 5 == 0) {
        return Operation::Edit;
    }
    return Operation::Append;
}

int targetRecord(int op, int count)
{
    return op * 7919 % count + 1;
}

// What operation `op` does to the records, in memory only.
void simulate(std::vector<ContactRecord>& records, int op)
{
    const int count = static_cast<int>(records.size());
    switch (operationKind(op, count)) {
    case Operation::Append:
        records.push_back(contactForOperation(op));
        break;
    case Operation::Edit:
        records[static_cast<size_t>(targetRecord(op, count) - 1)].name = QStringLiteral("ED%1").arg(op);
        break;
    case Operation::Delete:
        records.erase(records.begin() + (targetRecord(op, count) - 1));
        break;
    }
}

// The same operation as the logger does it, on the file.
WriteResult perform(ContactLog& log, int op, const QString& path)
{
    switch (operationKind(op, log.count())) {
    case Operation::Append:
        return log.append(contactForOperation(op), path);
    case Operation::Edit: {
        const int number = targetRecord(op, log.count());
        ContactRecord edited = log.record(number);
        edited.name = QStringLiteral("ED%1").arg(op);
        return replaceContact(log, number, edited, path);
    }
    case Operation::Delete:
        return deleteContact(log, targetRecord(op, log.count()), path);
    }
    return {false, QStringLiteral("unknown operation")};
}

} // namespace

// The child: loads log.txt the way the logger does at start-up, then performs operations from
// the one it was told, reporting each as soon as it returned.
TEST(LogKillChild, DISABLED_Run)
{
    const QString folder = qEnvironmentVariable(childFolderVariable);
    ASSERT_FALSE(folder.isEmpty());
    const int firstOp = qEnvironmentVariableIntValue(childFirstOpVariable);
    const QString path = folder + QStringLiteral("/log.txt");
    ContactLog log;
    const LoadResult loaded = log.load(path);
    if (!loaded.ok) {
        sayToParent("LOADFAIL " + loaded.error.toLatin1());
        FAIL() << loaded.error.toStdString();
    }
    sayToParent(readyLine);
    for (int op = firstOp; op < firstOp + childOperationLimit; ++op) {
        const WriteResult written = perform(log, op, path);
        if (!written.ok) {
            sayToParent("WRITEFAIL " + written.error.toLatin1());
            FAIL() << written.error.toStdString();
        }
        sayToParent(doneTag + QByteArray::number(op));
    }
}

TEST(LogKill, EveryKillLeavesTheLastFinishedOrTheNextLog)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    {
        QFile empty(path);
        ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    }

    const int rounds = qEnvironmentVariableIsSet("VELK_KILL_ROUNDS")
                           ? qEnvironmentVariableIntValue("VELK_KILL_ROUNDS")
                           : 120;
    std::mt19937 random(20260110);
    std::vector<ContactRecord> finished; // the log after the last operation the child reported
    int nextOp = 1;
    int killsBetweenOperations = 0;
    int killsInFlight = 0;

    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE(::testing::Message() << "round " << round << ", next operation " << nextOp);
        QProcess child;
        startChildTest(child, QStringLiteral("LogKillChild.DISABLED_Run"),
                       {{QString::fromLatin1(childFolderVariable), dir.path()},
                        {QString::fromLatin1(childFirstOpVariable), QString::number(nextOp)}});
        ASSERT_TRUE(child.waitForStarted(60000)) << child.errorString().toStdString();

        // Let a random number of operations finish, then kill the child in the middle of the next.
        const int wanted = static_cast<int>(random() % 16);
        const int spin = static_cast<int>(random() % 400);
        int done = -1; // -1 until the child has loaded the log
        QByteArray pending;
        const auto takeLines = [&] {
            for (const QByteArray& line : takeCompleteLines(pending)) {
                if (line == readyLine) {
                    done = 0;
                } else if (line.startsWith(doneTag)) {
                    const int op = line.mid(doneTag.size()).toInt();
                    EXPECT_EQ(op, nextOp) << "operations reported out of order";
                    simulate(finished, nextOp);
                    ++nextOp;
                    ++done;
                } else if (line.startsWith("LOADFAIL") || line.startsWith("WRITEFAIL")) {
                    ADD_FAILURE() << line.toStdString();
                    done = wanted; // nothing more will come
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
        ASSERT_GE(done, 0) << "the child never loaded the log: "
                           << child.readAllStandardError().toStdString();
        for (int i = 0; i < spin; ++i) {
            std::this_thread::yield();
        }
        child.kill();
        ASSERT_TRUE(child.waitForFinished(60000));
        // Operations reported before the kill landed have returned too.
        pending += child.readAllStandardOutput();
        takeLines();
        if (::testing::Test::HasFailure()) {
            return;
        }

        const QByteArray onDisk = readBytes(path);
        const QByteArray before = encodeAll(finished);
        if (onDisk == before) {
            ++killsBetweenOperations;
        } else {
            std::vector<ContactRecord> after = finished;
            simulate(after, nextOp);
            ASSERT_EQ(onDisk, encodeAll(after))
                << "log.txt is neither the log before nor after operation " << nextOp;
            // The operation was complete on disk though not yet reported.
            finished = std::move(after);
            ++nextOp;
            ++killsInFlight;
        }
        ContactLog reloaded;
        ASSERT_TRUE(reloaded.load(path).ok);
        ASSERT_TRUE(reloaded.records() == finished);
    }
    EXPECT_GT(nextOp, rounds) << "the children hardly got any work done";
    std::printf("%d kills, %d operations; %d kills left the finished log, %d the one in flight\n", rounds,
                nextOp - 1, killsBetweenOperations, killsInFlight);
}
