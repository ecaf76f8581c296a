// The help window: shows the help texts of the working folder.
#include "app/ui/helpwindow.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace velk {
namespace {

class HelpWindowTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;

    void write(const QString& name, const QByteArray& bytes)
    {
        QFile file(dir.path() + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    static QPushButton* button(const HelpWindow& window, const char* name)
    {
        return window.findChild<QPushButton*>(QString::fromLatin1(name));
    }
};

TEST_F(HelpWindowTest, ShowsEitherHelpTextAndCloses)
{
    ASSERT_TRUE(dir.isValid());
    // Latin-1, CR LF, as the shipped files are.
    write(QStringLiteral("readvelk.txt"), QByteArray("VELK logger\r\nPress Enter to log \xB7 73\r\n"));
    write(QStringLiteral("HelpTRZ.txt"), QByteArray("Second text\r\n"));
    HelpWindow window(dir.path());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Help Page"));
    window.showText(QStringLiteral("readvelk.txt"));
    window.show();
    EXPECT_EQ(window.shownText(), QStringLiteral("VELK logger\nPress Enter to log \u00B7 73\n"));

    QTest::mouseClick(button(window, "secondHelpButton"), Qt::LeftButton);
    EXPECT_EQ(window.shownText(), QStringLiteral("Second text\n"));
    QTest::mouseClick(button(window, "operatingHelpButton"), Qt::LeftButton);
    EXPECT_TRUE(window.shownText().startsWith(QStringLiteral("VELK logger")));

    QPushButton* close = button(window, "closeButton");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), QStringLiteral("Close"));
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(HelpWindowTest, MissingHelpFileIsNamed)
{
    ASSERT_TRUE(dir.isValid());
    HelpWindow window(dir.path());
    window.showText(QStringLiteral("readvelk.txt"));
    EXPECT_TRUE(window.shownText().contains(QStringLiteral("readvelk.txt")))
        << window.shownText().toStdString();
}

} // namespace
} // namespace velk
