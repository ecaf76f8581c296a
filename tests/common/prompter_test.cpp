#include "common/platform/prompter.h"

#include "common/qtprinters.h"

#include <gtest/gtest.h>

#include <vector>

using namespace velk;

namespace {

const QString logFilter = QStringLiteral("Log Files (*.log) | *.log");
const QString adifFilter = QStringLiteral("ADIF Files (*.adi) | *.adi");
const QString anyFilter = QStringLiteral("All Files (*.*) | *.*");

} // namespace

TEST(SaveDialogSuffix, TakenFromTheFiltersFirstPattern)
{
    struct Case
    {
        QString filter;
        QString suffix;
    };
    const std::vector<Case> cases = {
        {logFilter, QStringLiteral("log")},
        {QStringLiteral("LOG Files (*.log) | *.log"), QStringLiteral("log")},
        {adifFilter, QStringLiteral("adi")},
        {QStringLiteral("Log Files (*.log)"), QStringLiteral("log")},
        {QStringLiteral("*.txt"), QStringLiteral("txt")},
        {QStringLiteral("Text (*.txt)|*.txt|All Files (*.*)|*.*"), QStringLiteral("txt")},
        {QStringLiteral("Logs (*.log *.txt) | *.log;*.txt"), QStringLiteral("log")},
        {QStringLiteral("Archives | *.tar.gz"), QStringLiteral("tar.gz")},
        // Nothing the dialog could add.
        {anyFilter, QString()},
        {QStringLiteral("Anything (*) | *"), QString()},
        {QStringLiteral("Logs (*.lo?) | *.lo?"), QString()},
        {QStringLiteral("Log Files | log"), QString()},
        {QString(), QString()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(defaultSuffixOf(c.filter), c.suffix) << c.filter.toStdString();
    }
}

TEST(SaveDialogSuffix, AddedOnlyToANameWithoutExtension)
{
    struct Case
    {
        QString path;
        QString filter;
        QString expected;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("/d/K1ABC"), logFilter, QStringLiteral("/d/K1ABC.log")},
        {QStringLiteral("/d/VELK"), adifFilter, QStringLiteral("/d/VELK.adi")},
        {QStringLiteral("K1ABC"), logFilter, QStringLiteral("K1ABC.log")},
        // A dot in a folder name is not the file's extension.
        {QStringLiteral("/home/n0.call/K1ABC"), logFilter, QStringLiteral("/home/n0.call/K1ABC.log")},
        // The operator's own extension stays.
        {QStringLiteral("/d/K1ABC.log"), logFilter, QStringLiteral("/d/K1ABC.log")},
        {QStringLiteral("/d/K1ABC.txt"), logFilter, QStringLiteral("/d/K1ABC.txt")},
        {QStringLiteral("/d/N0CALL.2026"), logFilter, QStringLiteral("/d/N0CALL.2026")},
        // No suffix to add, or no name to add it to.
        {QStringLiteral("/d/K1ABC"), anyFilter, QStringLiteral("/d/K1ABC")},
        {QStringLiteral("/d/K1ABC"), QString(), QStringLiteral("/d/K1ABC")},
        {QStringLiteral("/d/"), logFilter, QStringLiteral("/d/")},
        {QString(), logFilter, QString()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(withDefaultSuffix(c.path, c.filter), c.expected)
            << c.path.toStdString() << " with " << c.filter.toStdString();
    }
}
