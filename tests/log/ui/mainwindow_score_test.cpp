#include "mainwindow_fixture.h"

#include "common/qtprinters.h"
#include "log/locations.h"

#include <QAction>
#include <QEnterEvent>
#include <QListWidget>

namespace velk::testing {

namespace {

// Fixture clock: local 13:04:31, UTC 18:04:31 on 2026/01/10.
QByteArray line(const char* location, const char* band, const char* continent = "NA",
                const char* time = "17:00:00", const char* call = "W1AW")
{
    ContactRecord record{
        QString::fromLatin1(call),      QStringLiteral("PAT"),     QString::fromLatin1(location),
        QStringLiteral("2026/01/10"),   QString::fromLatin1(time), QString::fromLatin1(band),
        QString::fromLatin1(continent), QStringLiteral("LEE"),     QString()};
    return ContactLog::encodeLine(record);
}

constexpr const char* workedRed = "#c00000";      // default worked colour &H0000C0
constexpr const char* notWorkedBlack = "#000000"; // default not-worked colour

} // namespace

class MainWindowScoreTest : public MainWindowTest
{
protected:
    // Starts the window and makes sure it holds the keyboard focus again after the start-up's
    // dialogs, as the operator's window would.
    void startActive()
    {
        start();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    QLabel* label(const char* name) const { return child<QLabel>(name); }
    QLabel* location(int index) const
    {
        const char* abbreviation = locationTable()[static_cast<std::size_t>(index - 1)].abbreviation;
        return form->findChild<QLabel*>(QStringLiteral("location_") + QString::fromLatin1(abbreviation));
    }
    bool painted(int index, const char* colour) const
    {
        return location(index)->styleSheet().contains(QLatin1String(colour));
    }
    QStringList dxList() const
    {
        QStringList items;
        const auto* list = child<QListWidget>("dxList");
        for (int i = 0; i < list->count(); ++i) {
            items << list->item(i)->text();
        }
        return items;
    }
    void triggerMenu(const char* name) { child<QAction>(name)->trigger(); }
};

TEST_F(MainWindowScoreTest, GridShowsTheCurrentBandAndFollowsABandChange)
{
    writeFile(session.folders.logFile(), line("TX", "20") + line("on", "40") + line("NWT", "40"));
    startActive();
    EXPECT_TRUE(painted(24, workedRed));
    EXPECT_TRUE(painted(54, notWorkedBlack));
    EXPECT_EQ(location(59)->text(), QStringLiteral("NWT"));
    EXPECT_EQ(location(59)->toolTip(), QStringLiteral("Northwest Territories"));
    EXPECT_EQ(label("bandMultipliers")->text(), QStringLiteral("1"));

    triggerMenu("band40Action");
    EXPECT_TRUE(painted(24, notWorkedBlack));
    EXPECT_TRUE(painted(54, workedRed));
    EXPECT_TRUE(painted(59, workedRed));
    EXPECT_EQ(label("bandMultipliers")->text(), QStringLiteral("2"));
    EXPECT_EQ(label("multipliersTotal")->text(), QStringLiteral("3"));
    EXPECT_EQ(label("dxListHeading")->text(), QStringLiteral("NA DX 40 - 0"));
}

TEST_F(MainWindowScoreTest, LoggedStatesAddMultipliersOncePerBand)
{
    startActive();
    enterContact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"));
    EXPECT_TRUE(painted(1, workedRed));
    EXPECT_EQ(label("contactsTotal")->text(), QStringLiteral("1"));
    EXPECT_EQ(label("multipliersTotal")->text(), QStringLiteral("1"));
    EXPECT_EQ(label("scoreTotal")->text(), QStringLiteral("1"));
    EXPECT_EQ(label("rate20Minutes")->text(), QStringLiteral("3"));
    EXPECT_EQ(label("rate60Minutes")->text(), QStringLiteral("1"));

    enterContact(QStringLiteral("W1ABC"), QStringLiteral("BOB"), QStringLiteral("CT"));
    EXPECT_EQ(label("multipliersTotal")->text(), QStringLiteral("1"));
    EXPECT_EQ(label("scoreTotal")->text(), QStringLiteral("2"));
    EXPECT_EQ(label("bandMultipliers")->text(), QStringLiteral("1"));
}

TEST_F(MainWindowScoreTest, DxCountriesFillTheBandListAndTheNewMultiplierIndicator)
{
    writeFile(session.folders.logFile(), line("Mexico", "20") + line("Bahamas", "20") + line("Cuba", "40") +
                                             line("Germany", "20", "EU"));
    startActive();
    EXPECT_EQ(dxList(), (QStringList{QStringLiteral("Mexico"), QStringLiteral("Bahamas")}));
    EXPECT_EQ(label("dxListHeading")->text(), QStringLiteral("NA DX 20 - 2"));
    EXPECT_EQ(label("multipliersTotal")->text(), QStringLiteral("3"));

    auto indicatorFor = [&](const QString& country) {
        label("continentDisplay")->setText(QStringLiteral("NA"));
        box("locationBox")->setText(country);
        return !label("newMultiplierIndicator")->isHidden();
    };
    EXPECT_FALSE(indicatorFor(QStringLiteral("MEXICO")));
    EXPECT_FALSE(indicatorFor(QStringLiteral("Canada")));
    EXPECT_TRUE(indicatorFor(QStringLiteral("Cuba")));

    type("callBox", QStringLiteral("CO2AA"));
    type("nameBox", QStringLiteral("JUAN"));
    EXPECT_TRUE(indicatorFor(QStringLiteral("Cuba")));
    box("locationBox")->setFocus();
    press("locationBox", Qt::Key_Return);
    ASSERT_EQ(session.log.count(), 5);
    EXPECT_EQ(dxList().last(), QStringLiteral("Cuba"));
    EXPECT_EQ(label("dxListHeading")->text(), QStringLiteral("NA DX 20 - 3"));
    EXPECT_EQ(label("multipliersTotal")->text(), QStringLiteral("4"));
    EXPECT_EQ(label("scoreTotal")->text(), QStringLiteral("20"));
    EXPECT_TRUE(label("newMultiplierIndicator")->isHidden());
    EXPECT_FALSE(indicatorFor(QStringLiteral("Cuba")));
}

TEST_F(MainWindowScoreTest, TotalsAreGroupedInThousands)
{
    QByteArray bytes;
    for (int i = 0; i < 1234; ++i) {
        bytes += line("CT", "20");
    }
    writeFile(session.folders.logFile(), bytes + line("TX", "20"));
    startActive();
    EXPECT_EQ(label("contactsTotal")->text(), QStringLiteral("1,235"));
    EXPECT_EQ(label("multipliersTotal")->text(), QStringLiteral("2"));
    EXPECT_EQ(label("scoreTotal")->text(), QStringLiteral("2,470"));
}

TEST_F(MainWindowScoreTest, HoverShowsTheBandBreakdownAndClickFillsTheLocation)
{
    writeFile(session.folders.logFile(),
              line("TX", "160") + line("TX", "20") + line("tx", "20") + line("TX", "6"));
    startActive();
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(location(24), &enter);
    EXPECT_EQ(label("partialDupeLine")->text(),
              QStringLiteral(" Texas    Total = 3\n  160 = 1  80 = 0  40 = 0  20 = 2  15 = 0  10 = 0"));

    QTest::mouseClick(location(24), Qt::LeftButton);
    EXPECT_EQ(box("locationBox")->text(), QStringLiteral("TX"));
}

TEST_F(MainWindowScoreTest, ColoursWindowStoresBothColoursAndRepaintsTheGrid)
{
    writeFile(session.folders.logFile(), line("TX", "20"));
    startActive();
    prompter.colourAnswers = {0x00FF00, 0xFF0000};
    QString title;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        dialog->findChild<QPushButton*>(QStringLiteral("workedColourButton"))->click();
        dialog->findChild<QPushButton*>(QStringLiteral("remainingColourButton"))->click();
        EXPECT_TRUE(dialog->findChild<QLabel*>(QStringLiteral("workedSample"))
                        ->styleSheet()
                        .contains(QStringLiteral("#00ff00")));
        dialog->findChild<QPushButton*>(QStringLiteral("doneButton"))->click();
    });
    triggerMenu("coloursAction");

    EXPECT_EQ(title, QStringLiteral(" Modify Multiplier Color Selections"));
    EXPECT_EQ(session.prefs.workedColour, 0x00FF00u);
    EXPECT_EQ(session.prefs.notWorkedColour, 0xFF0000u);
    EXPECT_TRUE(painted(24, "#00ff00"));
    EXPECT_TRUE(painted(1, "#0000ff"));
    Preferences saved;
    ASSERT_EQ(loadPreferences(session.folders.preferencesFile(), saved), PrefLoadStatus::Loaded);
    EXPECT_EQ(saved.workedColour, 0x00FF00u);
}

} // namespace velk::testing
