#pragma once
// For tests that run this test executable again as a child process selecting one disabled test
// (to kill it at random moments), and follow what the child reports, a line per finished step.
#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QProcess>
#include <QString>

#include <cstdio>
#include <utility>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace velk::testing {

// In the child: one line to standard output, out before the call returns (not buffered), so the
// parent knows of every step that finished before a kill.
inline void sayToParent(const QByteArray& line)
{
    const QByteArray out = line + '\n';
    qsizetype written = 0;
    while (written < out.size()) {
#ifdef Q_OS_WIN
        const auto n =
            std::fwrite(out.constData() + written, 1, static_cast<size_t>(out.size() - written), stdout);
        std::fflush(stdout);
#else
        const auto n = ::write(1, out.constData() + written, static_cast<size_t>(out.size() - written));
#endif
        if (n <= 0) {
            return;
        }
        written += n;
    }
}

// In the parent: starts the disabled test `test` ("Suite.DISABLED_Name") of this executable,
// offscreen, with the extra environment variables given.
inline void startChildTest(QProcess& child, const QString& test,
                           const QList<std::pair<QString, QString>>& variables)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : variables) {
        environment.insert(name, value);
    }
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + test,
                                                          QStringLiteral("--gtest_also_run_disabled_tests")});
}

// Takes the complete lines (trimmed) off the front of what the child wrote; a line the kill cut
// short stays in `pending`.
inline QList<QByteArray> takeCompleteLines(QByteArray& pending)
{
    QList<QByteArray> lines;
    qsizetype end;
    while ((end = pending.indexOf('\n')) >= 0) {
        lines << pending.left(end).trimmed();
        pending.remove(0, end + 1);
    }
    return lines;
}

} // namespace velk::testing
