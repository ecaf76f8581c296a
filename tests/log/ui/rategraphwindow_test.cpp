// The activity graph window: the short-log message, the axis labels, what it paints, and the
// background switch, offscreen with the platform fakes.
#include "common/qtprinters.h"
#include "log/contactlog.h"
#include "log/ui/rategraphwindow.h"
#include "support/platformfakes.h"

#include <QDateTime>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace velk {
namespace {

const QString shortLogText = QStringLiteral(
    "The graph will not display with less than 7 contacts.  The graph becomes more meaningful as several "
    "hours of contest logging are accumulated.");

ContactRecord at(qint64 seconds, const QString& band = QStringLiteral("20"))
{
    const QDateTime moment = QDateTime(QDate(2026, 1, 10), QTime(12, 0), Qt::UTC).addSecs(seconds);
    return {QStringLiteral("W1AW"),
            QStringLiteral("HIRAM"),
            QStringLiteral("CT"),
            moment.toString(QStringLiteral("yyyy/MM/dd")),
            moment.toString(QStringLiteral("HH:mm:ss")),
            band,
            QStringLiteral("NA"),
            QStringLiteral("LEE"),
            QString()};
}

class RateGraphWindowTest : public ::testing::Test, protected velk::testing::PlatformFakes
{
protected:
    ContactLog log;
    std::unique_ptr<RateGraphWindow> window;

    void useLog(const std::vector<ContactRecord>& records)
    {
        QByteArray bytes;
        for (const ContactRecord& record : records) {
            bytes += ContactLog::encodeLine(record);
        }
        ASSERT_TRUE(log.loadBytes(bytes).ok);
    }

    void open()
    {
        window = std::make_unique<RateGraphWindow>(platform, log);
        window->load();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // What the window itself paints, without its labels and button.
    QImage painted() const
    {
        QImage image(window->size(), QImage::Format_RGB32);
        image.fill(Qt::gray);
        window->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        return image;
    }

    static bool isCurve(QRgb pixel) { return qBlue(pixel) > 200 && qRed(pixel) < 90 && qGreen(pixel) < 90; }

    // Rows that hold a pixel of the blue curve.
    static std::set<int> curveRows(const QImage& image)
    {
        std::set<int> rows;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (isCurve(image.pixel(x, y))) {
                    rows.insert(y);
                    break;
                }
            }
        }
        return rows;
    }

    static int count(const QImage& image, QColor colour)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                n += image.pixel(x, y) == colour.rgb() ? 1 : 0;
            }
        }
        return n;
    }

    template <typename Test> static int countWhere(const QImage& image, Test test)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                n += test(image.pixel(x, y)) ? 1 : 0;
            }
        }
        return n;
    }

    QString label(const QString& name) const { return window->findChild<QLabel*>(name)->text(); }
    QPushButton* switchButton() const
    {
        return window->findChild<QPushButton*>(QStringLiteral("backgroundButton"));
    }
};

TEST_F(RateGraphWindowTest, AShortLogIsExplainedAndNothingIsDrawn)
{
    useLog({at(0), at(60), at(120), at(180), at(240), at(300)});
    open();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, shortLogText);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Not Enough Contacts to Graph."));
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral(" Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)"));
    EXPECT_TRUE(label(QStringLiteral("timeLabel_0")).isEmpty());
    EXPECT_TRUE(label(QStringLiteral("rateLabel_16")).isEmpty());
    EXPECT_TRUE(curveRows(painted()).empty());
}

TEST_F(RateGraphWindowTest, DrawsTheCurveTheBandBarAndTheAxes)
{
    std::vector<ContactRecord> records;
    for (int i = 0; i < 120; ++i) {
        records.push_back(at(i * 60, i < 60 ? QStringLiteral("20") : QStringLiteral("40")));
    }
    useLog(records);
    open();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(label(QStringLiteral("timeLabel_0")), QStringLiteral("12:00"));
    EXPECT_EQ(label(QStringLiteral("dateLabel_0")), QStringLiteral("01/10"));
    EXPECT_EQ(label(QStringLiteral("timeLabel_14")), QStringLiteral("13:59"));
    EXPECT_EQ(label(QStringLiteral("rateLabel_16")), QStringLiteral("60.0"));
    EXPECT_EQ(label(QStringLiteral("bandCaption")), QStringLiteral("Band "));
    EXPECT_EQ(label(QStringLiteral("bandLabel_2")), QStringLiteral("40"));

    const QImage image = painted();
    EXPECT_GT(curveRows(image).size(), 10u);
    // Both bands appear in the bar, in about equal parts.
    const int green = count(image, QColor(0, 255, 0));
    const int red = count(image, QColor(255, 0, 0));
    EXPECT_GT(green, 100);
    EXPECT_GT(red, 100);
    EXPECT_LT(std::abs(green - red), (green + red) / 5);
}

TEST_F(RateGraphWindowTest, TheBackgroundSwitchesToBlackAndBackIdentically)
{
    std::vector<ContactRecord> records;
    for (int i = 0; i < 30; ++i) {
        records.push_back(at(i * 97));
    }
    useLog(records);
    open();
    EXPECT_EQ(switchButton()->text(), QStringLiteral("White Background"));
    const QImage first = window->grab().toImage();
    const QRect time = window->findChild<QLabel*>(QStringLiteral("timeLabel_3"))->geometry();
    EXPECT_GT(countWhere(first.copy(time), [](QRgb p) { return qGray(p) < 100; }), 0);
    EXPECT_EQ(painted().pixel(2, 2), QColor(Qt::white).rgb());

    QTest::mouseClick(switchButton(), Qt::LeftButton);
    EXPECT_EQ(switchButton()->text(), QStringLiteral("Black Background"));
    EXPECT_TRUE(window->blackBackground());
    EXPECT_EQ(painted().pixel(2, 2), QColor(Qt::black).rgb());
    // The axis labels are written in white on the black background.
    EXPECT_GT(countWhere(window->grab().toImage().copy(time), [](QRgb p) { return qGray(p) > 155; }), 0);

    QTest::mouseClick(switchButton(), Qt::LeftButton);
    EXPECT_EQ(switchButton()->text(), QStringLiteral("White Background"));
    EXPECT_EQ(window->grab().toImage(), first);
}

TEST_F(RateGraphWindowTest, ContactsInOneSecondDrawALevelLineHalfWayUp)
{
    useLog(std::vector<ContactRecord>(12, at(0)));
    open();
    EXPECT_TRUE(window->graph().flat);
    const std::set<int> rows = curveRows(painted());
    ASSERT_FALSE(rows.empty());
    EXPECT_LE(*rows.rbegin() - *rows.begin(), 3);
    const int middle = (*rows.begin() + *rows.rbegin()) / 2;
    // Half way between the top of the plot and the band bar, give or take the frame.
    EXPECT_GT(middle, window->height() / 4);
    EXPECT_LT(middle, window->height() * 3 / 4);
    EXPECT_EQ(label(QStringLiteral("rateLabel_0")), QStringLiteral("72.0"));
    EXPECT_EQ(label(QStringLiteral("rateLabel_16")), QStringLiteral("72.0"));
}

TEST_F(RateGraphWindowTest, AnEvenRateAndAHugeLogDrawWithoutTrouble)
{
    std::vector<ContactRecord> even;
    for (int i = 0; i <= rateGraphColumns; ++i) {
        even.push_back(at(600LL * i));
    }
    useLog(even);
    open();
    EXPECT_TRUE(window->graph().flat);
    EXPECT_FALSE(curveRows(painted()).empty());

    std::vector<ContactRecord> huge;
    huge.reserve(100000);
    for (int i = 0; i < 100000; ++i) {
        huge.push_back(at(i * 2, i % 3 == 0 ? QStringLiteral("80") : QStringLiteral("15")));
    }
    useLog(huge);
    window->drawGraph();
    EXPECT_FALSE(window->graph().flat);
    EXPECT_GT(curveRows(painted()).size(), 5u);
}

} // namespace
} // namespace velk
