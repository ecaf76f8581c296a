// The call box tells where the other station is; the location box completes DX countries.
#include "mainwindow_fixture.h"

namespace velk::testing {

namespace {

class MainWindowLookupTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // Newington, Connecticut.
        session.prefs.ownLatitude = 41.714775f;
        session.prefs.ownLongitude = 72.72726f;
        writePreferences();
    }

    QString label(const char* name) const { return child<QLabel>(name)->text(); }
    QString location() const { return box("locationBox")->text(); }
    // Continent, bearing and distance as the window shows them.
    QStringList where() const
    {
        return {label("continentDisplay"), label("bearingDisplay"), label("distanceDisplay")};
    }
    void newCall(const QString& call)
    {
        box("callBox")->clear();
        type("callBox", call);
    }
    void writeTable(const QString& folder, const char* dlCountry)
    {
        writeFile(folder + QStringLiteral("/arrlpre2.txt"),
                  QByteArray("\"DL\",\"") + dlCountry + "\",\"EU\",-10,51,14,28,-1\r\n");
    }
};

TEST_F(MainWindowLookupTest, DxCallShowsCountryContinentBearingAndDistance)
{
    start();
    newCall(QStringLiteral("dl1abc"));
    EXPECT_EQ(location(), QStringLiteral("Germany"));
    EXPECT_EQ(box("locationBox")->selectedText(), QStringLiteral("Germany")); // typing replaces it
    EXPECT_EQ(where(), QStringList({"EU", "50 ", "3,783 "}));

    newCall(QStringLiteral("XE1ABC"));
    EXPECT_EQ(location(), QStringLiteral("Mexico"));
    EXPECT_EQ(where(), QStringList({"NA", "232 ", "2,198 "}));
}

TEST_F(MainWindowLookupTest, HomeCountriesLeaveTheLocationToTheOperator)
{
    start();
    for (const char* call : {"K1ABC", "VE3XYZ", "W1AW/VO1"}) {
        newCall(QString::fromLatin1(call));
        EXPECT_TRUE(location().isEmpty()) << call;
        EXPECT_EQ(label("continentDisplay"), QStringLiteral("NA")) << call;
    }
}

TEST_F(MainWindowLookupTest, UnknownPrefixReadsNotFoundAndClearsTheDisplays)
{
    start();
    newCall(QStringLiteral("DL1ABC"));
    newCall(QStringLiteral("QQ1ABC"));
    EXPECT_EQ(location(), QStringLiteral("Not Found"));
    EXPECT_EQ(box("locationBox")->selectedText(), QStringLiteral("Not Found"));
    EXPECT_EQ(where(), QStringList({"", "", ""}));
}

TEST_F(MainWindowLookupTest, AlaskaHawaiiAndDesignatorsAfterTheSlash)
{
    start();
    newCall(QStringLiteral("KL7XX"));
    EXPECT_EQ(location(), QStringLiteral("AK"));
    newCall(QStringLiteral("W1AW/KH6"));
    EXPECT_EQ(location(), QStringLiteral("HI"));
    EXPECT_EQ(where(), QStringList({"OC", "282 ", "4,975 "}));
    newCall(QStringLiteral("K1XYZ/4"));
    EXPECT_TRUE(location().isEmpty());

    // The abbreviation the lookup filled is what gets logged.
    newCall(QStringLiteral("KL7XX"));
    type("nameBox", QStringLiteral("BOB"));
    press("nameBox", Qt::Key_Return);
    ASSERT_EQ(session.log.count(), 1);
    EXPECT_EQ(session.log.record(1).location, QStringLiteral("AK"));
    EXPECT_EQ(session.log.record(1).continent, QStringLiteral("NA"));
}

TEST_F(MainWindowLookupTest, Kg4CallsAreGuantanamoBayOnlyWithFiveCharacters)
{
    start();
    box("callBox")->setFocus();
    const struct
    {
        const char* key;
        const char* location;
    } steps[] = {{"K", ""}, {"G", ""}, {"4", "Guantanamo Bay"}, {"A", ""}, {"B", "Guantanamo Bay"},
                 {"C", ""}};
    for (const auto& step : steps) {
        QTest::keyClicks(box("callBox"), QString::fromLatin1(step.key));
        EXPECT_EQ(location(), QString::fromLatin1(step.location)) << box("callBox")->text().toStdString();
    }
    // KG4ABC is stateside: continent and position of the USA entry.
    EXPECT_EQ(where(), QStringList({"NA", "261 ", "1,000 "}));
}

TEST_F(MainWindowLookupTest, AtTheOwnPositionTheBearingStaysAsItWas)
{
    session.prefs.ownLatitude = 21.0f;
    session.prefs.ownLongitude = 157.0f;
    writePreferences();
    start();
    newCall(QStringLiteral("KH6ABC"));
    EXPECT_EQ(location(), QStringLiteral("HI"));
    EXPECT_EQ(where(), QStringList({"OC", "", ""}));
}

TEST_F(MainWindowLookupTest, LocationBoxCompletesCountriesAsTheyAreTyped)
{
    start();
    newCall(QStringLiteral("K1ABC"));
    const struct
    {
        const char* key;
        const char* text;
        const char* selected;
    } steps[] = {{"M", "M", ""}, {"E", "ME", ""}, {"X", "MEXico", "ico"}, {"I", "Mexico", "co"}};
    for (const auto& step : steps) {
        type("locationBox", QString::fromLatin1(step.key));
        EXPECT_EQ(location(), QString::fromLatin1(step.text)) << step.key;
        EXPECT_EQ(box("locationBox")->selectedText(), QString::fromLatin1(step.selected)) << step.key;
    }
    EXPECT_EQ(where(), QStringList({"NA", "232 ", "2,198 "}));

    // The completed name is logged as it stands.
    type("nameBox", QStringLiteral("JUAN"));
    press("nameBox", Qt::Key_Return);
    ASSERT_EQ(session.log.count(), 1);
    EXPECT_EQ(session.log.record(1).location, QStringLiteral("Mexico"));
}

TEST_F(MainWindowLookupTest, AbbreviationsStayUpperCaseAndSpaceMovesOn)
{
    start();
    newCall(QStringLiteral("K1ABC"));
    type("locationBox", QStringLiteral("ny"));
    EXPECT_EQ(location(), QStringLiteral("NY"));
    EXPECT_FALSE(box("locationBox")->hasSelectedText());
    press("locationBox", Qt::Key_Space);
    EXPECT_EQ(location(), QStringLiteral("NY"));
    EXPECT_FALSE(box("locationBox")->hasFocus());

    // A fourth letter turns an abbreviation into a name: "MEX" style becomes "Mex".
    box("locationBox")->clear();
    type("locationBox", QStringLiteral("ABCD"));
    EXPECT_EQ(location(), QStringLiteral("Abcd"));
}

TEST_F(MainWindowLookupTest, TypingOverTheLookedUpCountryReplacesIt)
{
    start();
    newCall(QStringLiteral("DL1ABC"));
    box("locationBox")->setFocus();
    QTest::keyClicks(box("locationBox"), QStringLiteral("on"));
    EXPECT_EQ(location(), QStringLiteral("ON"));
}

TEST_F(MainWindowLookupTest, ShortLocationOutsideTheTableIsRefused)
{
    start();
    newCall(QStringLiteral("K1ABC"));
    type("nameBox", QStringLiteral("PAT"));
    type("locationBox", QStringLiteral("XX"));
    const int bells = prompter.bells;
    press("locationBox", Qt::Key_Return);
    EXPECT_EQ(status(), QStringLiteral("Invald Section!"));
    EXPECT_EQ(prompter.bells - bells, 1);
    EXPECT_TRUE(box("locationBox")->hasFocus());
    EXPECT_EQ(session.log.count(), 0);
}

TEST_F(MainWindowLookupTest, PrefixFileIsTakenFromSharedThenDataThenWorkingFolder)
{
    writeTable(session.folders.shared, "Shared");
    writeTable(session.folders.data, "Data");
    start();
    newCall(QStringLiteral("DL1ABC"));
    EXPECT_EQ(location(), QStringLiteral("Shared"));

    QFile::remove(session.folders.shared + QStringLiteral("/arrlpre2.txt"));
    session.loadPrefixTable();
    newCall(QStringLiteral("DL1ABC"));
    EXPECT_EQ(location(), QStringLiteral("Data"));

    QFile::remove(session.folders.data + QStringLiteral("/arrlpre2.txt"));
    session.loadPrefixTable();
    newCall(QStringLiteral("DL1ABC"));
    EXPECT_EQ(location(), QStringLiteral("Germany"));

    QFile::remove(session.folders.working + QStringLiteral("/arrlpre2.txt"));
    session.loadPrefixTable();
    newCall(QStringLiteral("DL1ABC"));
    EXPECT_EQ(location(), QStringLiteral("Not Found"));
    EXPECT_TRUE(session.prefixes.isEmpty());
}

} // namespace

} // namespace velk::testing
