#include "form1_fixture.h"

#include "common/qtprinters.h"

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

class Form1ScoreTest : public Form1Test
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
        return form->findChild<QLabel*>(QStringLiteral("Label10_%1").arg(index));
    }
    bool painted(int index, const char* colour) const
    {
        return location(index)->styleSheet().contains(QLatin1String(colour));
    }
    QStringList dxList() const
    {
        QStringList items;
        const auto* list = child<QListWidget>("List1");
        for (int i = 0; i < list->count(); ++i) {
            items << list->item(i)->text();
        }
        return items;
    }
    void triggerMenu(const char* name) { child<QAction>(name)->trigger(); }
};

TEST_F(Form1ScoreTest, GridShowsTheCurrentBandAndFollowsABandChange)
{
    writeFile(session.folders.logFile(), line("TX", "20") + line("on", "40") + line("NWT", "40"));
    startActive();
    EXPECT_TRUE(painted(24, workedRed));
    EXPECT_TRUE(painted(54, notWorkedBlack));
    EXPECT_EQ(location(59)->text(), QStringLiteral("NWT"));
    EXPECT_EQ(location(59)->toolTip(), QStringLiteral("Northwest Territories"));
    EXPECT_EQ(label("Label4")->text(), QStringLiteral("1"));

    triggerMenu("mnuBand40Ch");
    EXPECT_TRUE(painted(24, notWorkedBlack));
    EXPECT_TRUE(painted(54, workedRed));
    EXPECT_TRUE(painted(59, workedRed));
    EXPECT_EQ(label("Label4")->text(), QStringLiteral("2"));
    EXPECT_EQ(label("lblsectogo")->text(), QStringLiteral("3"));
    EXPECT_EQ(label("lblStation5")->text(), QStringLiteral("NA DX 40 - 0"));
}

TEST_F(Form1ScoreTest, LoggedStatesAddMultipliersOncePerBand)
{
    startActive();
    enterContact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"));
    EXPECT_TRUE(painted(1, workedRed));
    EXPECT_EQ(label("lblTotCon")->text(), QStringLiteral("1"));
    EXPECT_EQ(label("lblsectogo")->text(), QStringLiteral("1"));
    EXPECT_EQ(label("lblTotScore")->text(), QStringLiteral("1"));
    EXPECT_EQ(label("lblAQSO20")->text(), QStringLiteral("3"));
    EXPECT_EQ(label("lblAQSO60")->text(), QStringLiteral("1"));

    enterContact(QStringLiteral("W1ABC"), QStringLiteral("BOB"), QStringLiteral("CT"));
    EXPECT_EQ(label("lblsectogo")->text(), QStringLiteral("1"));
    EXPECT_EQ(label("lblTotScore")->text(), QStringLiteral("2"));
    EXPECT_EQ(label("Label4")->text(), QStringLiteral("1"));
}

TEST_F(Form1ScoreTest, DxCountriesFillTheBandListAndTheNewMultiplierIndicator)
{
    writeFile(session.folders.logFile(), line("Mexico", "20") + line("Bahamas", "20") + line("Cuba", "40") +
                                             line("Germany", "20", "EU"));
    startActive();
    EXPECT_EQ(dxList(), (QStringList{QStringLiteral("Mexico"), QStringLiteral("Bahamas")}));
    EXPECT_EQ(label("lblStation5")->text(), QStringLiteral("NA DX 20 - 2"));
    EXPECT_EQ(label("lblsectogo")->text(), QStringLiteral("3"));

    auto indicatorFor = [&](const QString& country) {
        label("Label19")->setText(QStringLiteral("NA"));
        box("txtCntry")->setText(country);
        return !label("Label3")->isHidden();
    };
    EXPECT_FALSE(indicatorFor(QStringLiteral("MEXICO")));
    EXPECT_FALSE(indicatorFor(QStringLiteral("Canada")));
    EXPECT_TRUE(indicatorFor(QStringLiteral("Cuba")));

    type("txtCall", QStringLiteral("CO2AA"));
    type("txtRSTR", QStringLiteral("JUAN"));
    EXPECT_TRUE(indicatorFor(QStringLiteral("Cuba")));
    box("txtCntry")->setFocus();
    press("txtCntry", Qt::Key_Return);
    ASSERT_EQ(session.log.count(), 5);
    EXPECT_EQ(dxList().last(), QStringLiteral("Cuba"));
    EXPECT_EQ(label("lblStation5")->text(), QStringLiteral("NA DX 20 - 3"));
    EXPECT_EQ(label("lblsectogo")->text(), QStringLiteral("4"));
    EXPECT_EQ(label("lblTotScore")->text(), QStringLiteral("20"));
    EXPECT_TRUE(label("Label3")->isHidden());
    EXPECT_FALSE(indicatorFor(QStringLiteral("Cuba")));
}

TEST_F(Form1ScoreTest, TotalsAreGroupedInThousands)
{
    QByteArray bytes;
    for (int i = 0; i < 1234; ++i) {
        bytes += line("CT", "20");
    }
    writeFile(session.folders.logFile(), bytes + line("TX", "20"));
    startActive();
    EXPECT_EQ(label("lblTotCon")->text(), QStringLiteral("1,235"));
    EXPECT_EQ(label("lblsectogo")->text(), QStringLiteral("2"));
    EXPECT_EQ(label("lblTotScore")->text(), QStringLiteral("2,470"));
}

TEST_F(Form1ScoreTest, HoverShowsTheBandBreakdownAndClickFillsTheLocation)
{
    writeFile(session.folders.logFile(),
              line("TX", "160") + line("TX", "20") + line("tx", "20") + line("TX", "6"));
    startActive();
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(location(24), &enter);
    EXPECT_EQ(label("lblDupe")->text(),
              QStringLiteral(" Texas    Total = 3\n  160 = 1  80 = 0  40 = 0  20 = 2  15 = 0  10 = 0"));

    QTest::mouseClick(location(24), Qt::LeftButton);
    EXPECT_EQ(box("txtCntry")->text(), QStringLiteral("TX"));
}

TEST_F(Form1ScoreTest, ColoursWindowStoresBothColoursAndRepaintsTheGrid)
{
    writeFile(session.folders.logFile(), line("TX", "20"));
    startActive();
    prompter.colourAnswers = {0x00FF00, 0xFF0000};
    QString title;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        dialog->findChild<QPushButton*>(QStringLiteral("cmdWorked"))->click();
        dialog->findChild<QPushButton*>(QStringLiteral("cmdRemaining"))->click();
        EXPECT_TRUE(dialog->findChild<QLabel*>(QStringLiteral("lblWorked"))
                        ->styleSheet()
                        .contains(QStringLiteral("#00ff00")));
        dialog->findChild<QPushButton*>(QStringLiteral("cmdDone"))->click();
    });
    triggerMenu("mnuColors");

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
