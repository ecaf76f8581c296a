// The " Amateur Station I.D." dialog on its own, and as the main window shows and applies it.
#include "mainwindow_fixture.h"

#include "log/prefixtable.h"
#include "log/ui/stationdialog.h"
#include "log/xmlstore.h"
#include "support/platformfakes.h"

#include <QCheckBox>
#include <QRadioButton>

namespace velk::testing {

namespace {

// Shows the dialog as the operator would see it, so that focus and visibility are real.
void showActive(QWidget& window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

class StationDialogTest : public ::testing::Test, protected PlatformFakes
{
protected:
    QTemporaryDir dir;
    XmlStore xml;
    PrefixTable table{{
        {QStringLiteral("EA8"), QStringLiteral("Canary Islands"), QStringLiteral("AF"), 15.5f, 28.25f},
        {QStringLiteral("VE"), QStringLiteral("Canada"), QStringLiteral("NA"), 80.0f, 45.0f},
    }};
    Preferences prefs;
    std::unique_ptr<StationDialog> dialog;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        xml.open(xmlPath());
        prefs.ownCall = QStringLiteral("K1ABC");
        prefs.ownSpc = QStringLiteral("CT");
        prefs.utcOffsetHours = 5;
        prefs.ownCountry = QStringLiteral("USA");
        prefs.ownLongitude = 72.5f;
        prefs.ownLatitude = 41.75f;
        prefs.ownContinent = QStringLiteral("NA");
        prefs.ownFirstName = QStringLiteral("LEE");
    }

    QString xmlPath() const { return dir.path() + QStringLiteral("/SharedUserPreferences.xml"); }

    void open()
    {
        dialog = std::make_unique<StationDialog>(platform, xml, table);
        dialog->load(prefs);
        showActive(*dialog);
    }

    QLineEdit* box(const char* name) const
    {
        return dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    QString text(const char* name) const { return box(name)->text(); }
    template <typename T> T* child(const char* name) const
    {
        return dialog->findChild<T*>(QString::fromLatin1(name));
    }
    void typeInto(const char* name, const QString& keys)
    {
        box(name)->setFocus();
        QTest::keyClicks(box(name), keys);
    }
    bool linkOptionShown() const
    {
        return child<QCheckBox>("rttyLinkCheck")->isVisible() && child<QLabel>("rttyLinkLabel")->isVisible();
    }
};

TEST_F(StationDialogTest, OpensWithTheStationAsStored)
{
    prefs.mode = QStringLiteral("RY");
    settings.values[QStringLiteral("UserDumoOption")] = QStringLiteral("1");
    open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral(" Amateur Station I.D."));
    EXPECT_EQ(text("callBox"), QStringLiteral("K1ABC"));
    EXPECT_EQ(text("locationBox"), QStringLiteral("CT"));
    EXPECT_EQ(text("utcOffsetBox"), QStringLiteral("5"));
    EXPECT_EQ(text("countryBox"), QStringLiteral("USA"));
    EXPECT_EQ(text("longitudeBox"), QStringLiteral("72.5"));
    EXPECT_EQ(text("latitudeBox"), QStringLiteral("41.75"));
    EXPECT_EQ(text("continentBox"), QStringLiteral("NA"));
    EXPECT_EQ(text("firstNameBox"), QStringLiteral("LEE"));
    EXPECT_TRUE(child<QRadioButton>("rttyOption")->isChecked());
    EXPECT_TRUE(linkOptionShown());
    EXPECT_TRUE(child<QCheckBox>("rttyLinkCheck")->isChecked());
    EXPECT_EQ(child<QLabel>("rttyLinkLabel")->text(), QStringLiteral("Connect to Dumo RTTY?"));
    EXPECT_EQ(child<QPushButton>("doneButton")->text(), QStringLiteral("Done"));
}

TEST_F(StationDialogTest, NoStoredLinkOptionAndCwModeHideTheLink)
{
    open();
    EXPECT_TRUE(child<QRadioButton>("cwOption")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("rttyLinkCheck")->isChecked());
    EXPECT_FALSE(linkOptionShown());
}

TEST_F(StationDialogTest, ContestOptionsShowTheRttyLinkOnlyForRtty)
{
    open();
    child<QRadioButton>("rttyOption")->click();
    EXPECT_TRUE(linkOptionShown());
    child<QCheckBox>("rttyLinkCheck")->setChecked(true);
    EXPECT_EQ(dialog->logMode(), QStringLiteral("RY"));
    child<QRadioButton>("phoneOption")->click();
    EXPECT_FALSE(linkOptionShown());
    EXPECT_EQ(dialog->logMode(), QStringLiteral("PH"));
    EXPECT_TRUE(child<QCheckBox>("rttyLinkCheck")->isChecked()); // hidden, not changed
    child<QRadioButton>("cwOption")->click();
    EXPECT_EQ(dialog->logMode(), QStringLiteral("CW"));

    dialog->pressDone();
    EXPECT_EQ(settings.values.value(QStringLiteral("UserDumoOption")), QStringLiteral("1"));
}

TEST_F(StationDialogTest, TextBoxesUpperCaseAndEnterActsAsDone)
{
    open();
    for (const char* name : {"callBox", "locationBox", "continentBox", "firstNameBox"}) {
        box(name)->clear();
        typeInto(name, QStringLiteral("ab\"c1"));
        EXPECT_EQ(text(name), QStringLiteral("ABC1")) << name;
    }
    QTest::keyClick(box("locationBox"), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(StationDialogTest, EnterInTheCountryAndPositionBoxesIsNotDone)
{
    open();
    for (const char* name : {"countryBox", "longitudeBox", "latitudeBox"}) {
        box(name)->setFocus();
        QTest::keyClick(box(name), Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible()) << name;
    }
}

TEST_F(StationDialogTest, UtcOffsetTakesOnlyNumbersAndAPastedWordBecomesZero)
{
    open();
    box("utcOffsetBox")->clear();
    typeInto("utcOffsetBox", QStringLiteral("-3x.5h/"));
    EXPECT_EQ(text("utcOffsetBox"), QStringLiteral("-3.5/"));

    // Leaving the box with a non-number rings the bell and comes back.
    box("utcOffsetBox")->setText(QStringLiteral("five"));
    const int bells = prompter.bells;
    QTest::keyClick(box("utcOffsetBox"), Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_EQ(prompter.bells - bells, 1);
    EXPECT_TRUE(box("utcOffsetBox")->hasFocus());

    box("longitudeBox")->setText(QStringLiteral("west"));
    dialog->pressDone();
    EXPECT_EQ(text("utcOffsetBox"), QStringLiteral("0"));
    EXPECT_EQ(text("longitudeBox"), QStringLiteral("0"));
    EXPECT_EQ(text("latitudeBox"), QStringLiteral("41.75"));
    EXPECT_EQ(dialog->utcOffsetHours(), 0.0f);
}

TEST_F(StationDialogTest, CountryCompletesExactlyAndFillsThePosition)
{
    open();
    box("countryBox")->clear();
    typeInto("countryBox", QStringLiteral("Can"));
    EXPECT_EQ(text("countryBox"), QStringLiteral("Canada"));
    EXPECT_EQ(box("countryBox")->selectedText(), QStringLiteral("ada"));
    EXPECT_EQ(text("longitudeBox"), QStringLiteral("80"));
    EXPECT_EQ(text("latitudeBox"), QStringLiteral("45"));
    EXPECT_EQ(text("continentBox"), QStringLiteral("NA"));

    QTest::keyClicks(box("countryBox"), QStringLiteral("ar"));
    EXPECT_EQ(text("countryBox"), QStringLiteral("Canary Islands"));
    EXPECT_EQ(box("countryBox")->selectedText(), QStringLiteral("y Islands"));
    EXPECT_EQ(text("longitudeBox"), QStringLiteral("15.5"));
    EXPECT_EQ(text("latitudeBox"), QStringLiteral("28.25"));
    EXPECT_EQ(text("continentBox"), QStringLiteral("AF"));

    // The first letter is upper-cased; the rest must match exactly.
    box("countryBox")->clear();
    typeInto("countryBox", QStringLiteral("can"));
    EXPECT_EQ(text("countryBox"), QStringLiteral("Canada"));
    box("countryBox")->clear();
    typeInto("countryBox", QStringLiteral("CAN"));
    EXPECT_EQ(text("countryBox"), QStringLiteral("CAN"));
    EXPECT_FALSE(box("countryBox")->hasSelectedText());
}

TEST_F(StationDialogTest, DoneWritesTheEightStationElementsAsTyped)
{
    QFile old(xmlPath());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("<?xml version=\"1.0\" encoding=\"UTF-8\" "
              "?>\r\n<OWN_CALL>N0CALL</OWN_CALL>\r\n<OTHER>kept</OTHER>\r\n");
    old.close();
    xml.open(xmlPath());
    open();
    box("callBox")->setText(QStringLiteral("VE3XYZ"));
    box("locationBox")->setText(QStringLiteral("ON"));
    box("utcOffsetBox")->setText(QStringLiteral("4"));
    box("countryBox")->setText(QStringLiteral("Canada"));
    box("longitudeBox")->setText(QStringLiteral("79.38"));
    box("latitudeBox")->setText(QStringLiteral("43.65"));
    box("continentBox")->setText(QStringLiteral("NA"));
    box("firstNameBox")->setText(QStringLiteral("Kim"));
    QTest::mouseClick(child<QPushButton>("doneButton"), Qt::LeftButton);

    QFile file(xmlPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                                         "<OWN_CALL>VE3XYZ</OWN_CALL>\r\n"
                                         "<OTHER>kept</OTHER>\r\n"
                                         "<OWN_SPC>ON</OWN_SPC>\r\n"
                                         "<OWN_UTC>4</OWN_UTC>\r\n"
                                         "<OWN_COUNTRY>Canada</OWN_COUNTRY>\r\n"
                                         "<OWN_LONGITUDE>79.38</OWN_LONGITUDE>\r\n"
                                         "<OWN_LATITUDE>43.65</OWN_LATITUDE>\r\n"
                                         "<OWN_CONTINENT>NA</OWN_CONTINENT>\r\n"
                                         "<OWN_FIRST_NAME>Kim</OWN_FIRST_NAME>\r\n"));
    EXPECT_EQ(settings.values.value(QStringLiteral("UserDumoOption")), QStringLiteral("0"));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(StationDialogTest, FailedXmlWriteIsReported)
{
    xml.open(dir.path() + QStringLiteral("/missing-folder/SharedUserPreferences.xml"));
    open();
    dialog->pressDone();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages.front().title, QStringLiteral("Unable to save the station information"));
}

// ---------------------------------------------------------------------------------------------
// The main window shows the dialog at start-up and from "&Setup", then applies it.

class MainWindowStationTest : public MainWindowTest
{
protected:
    int shown = 0;

    // Start-up with a runner in place of the operator: `fill` types into the shown dialog, then
    // the runner presses "Done" (or closes the dialog when `done` is false).
    void startWith(std::function<void(StationDialog&)> fill, bool done = true)
    {
        prompter.messageAnswers.push_back(MessageAnswer::Yes);
        form = std::make_unique<MainWindow>(station);
        useRunner(std::move(fill), done);
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->startUp();
    }

    void useRunner(std::function<void(StationDialog&)> fill, bool done = true)
    {
        form->setStationDialogRunner([this, fill, done](StationDialog& dialog) {
            ++shown;
            showActive(dialog);
            fill(dialog);
            if (done) {
                QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("doneButton")),
                                  Qt::LeftButton);
            } else {
                dialog.reject();
            }
            return dialog.result();
        });
    }

    static QLineEdit* boxOf(StationDialog& dialog, const char* name)
    {
        return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static void retype(StationDialog& dialog, const char* name, const QString& keys)
    {
        QLineEdit* target = boxOf(dialog, name);
        target->clear();
        target->setFocus();
        QTest::keyClicks(target, keys);
    }
    QString label(const char* name) const { return child<QLabel>(name)->text(); }
};

TEST_F(MainWindowStationTest, StartUpAsksForTheStationAndStoresIt)
{
    startWith([](StationDialog& dialog) {
        retype(dialog, "callBox", QStringLiteral("n0call"));
        retype(dialog, "locationBox", QStringLiteral("mn"));
        retype(dialog, "utcOffsetBox", QStringLiteral("6"));
        retype(dialog, "countryBox", QStringLiteral("Mex")); // fills position and continent
        retype(dialog, "firstNameBox", QStringLiteral("pat"));
        dialog.findChild<QRadioButton*>(QStringLiteral("phoneOption"))->click();
    });
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(label("ownCallDisplay"), QStringLiteral("N0CALL"));
    EXPECT_EQ(label("ownLocationDisplay"), QStringLiteral("MN"));
    EXPECT_EQ(label("ownNameDisplay"), QStringLiteral("PAT"));

    Preferences saved;
    ASSERT_EQ(loadPreferences(session.folders.preferencesFile(), saved), PrefLoadStatus::Loaded);
    EXPECT_EQ(saved.ownCall, QStringLiteral("N0CALL"));
    EXPECT_EQ(saved.ownSpc, QStringLiteral("MN"));
    EXPECT_EQ(saved.utcOffsetHours, 6.0f);
    EXPECT_EQ(saved.mode, QStringLiteral("PH"));
    EXPECT_EQ(saved.ownCountry, QStringLiteral("Mexico"));
    EXPECT_EQ(saved.ownLongitude, 99.0f);
    EXPECT_EQ(saved.ownLatitude, 19.0f);
    EXPECT_EQ(saved.ownContinent, QStringLiteral("NA"));
    EXPECT_EQ(saved.ownFirstName, QStringLiteral("PAT"));
    EXPECT_EQ(saved, session.prefs);

    const QByteArray stored = readFile(session.folders.xmlStoreFile());
    EXPECT_TRUE(stored.contains("\r\n<OWN_CALL>N0CALL</OWN_CALL>\r\n"));
    EXPECT_TRUE(stored.contains("\r\n<OWN_COUNTRY>Mexico</OWN_COUNTRY>\r\n"));
    EXPECT_TRUE(stored.endsWith("\r\n<OWN_FIRST_NAME>PAT</OWN_FIRST_NAME>\r\n"));

    // The new own position is where bearings start: a Mexican call is here, no direction.
    type("callBox", QStringLiteral("XE1ABC"));
    EXPECT_EQ(box("locationBox")->text(), QStringLiteral("Mexico"));
    EXPECT_TRUE(label("bearingDisplay").isEmpty());
}

TEST_F(MainWindowStationTest, SetupReopensWithTheCurrentStationAndClosingChangesNothing)
{
    startWith([](StationDialog& dialog) { retype(dialog, "callBox", QStringLiteral("w1aw")); });
    const Preferences before = session.prefs;
    const QByteArray prefsFile = readFile(session.folders.preferencesFile());

    QString seen;
    useRunner(
        [&seen](StationDialog& dialog) {
            seen = boxOf(dialog, "callBox")->text();
            retype(dialog, "callBox", QStringLiteral("k9zz"));
        },
        false);
    form->findChild<QAction*>(QStringLiteral("setupAction"))->trigger();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(seen, QStringLiteral("W1AW"));
    EXPECT_EQ(session.prefs, before);
    EXPECT_EQ(readFile(session.folders.preferencesFile()), prefsFile);
    EXPECT_EQ(label("ownCallDisplay"), QStringLiteral("W1AW"));

    useRunner([](StationDialog& dialog) {
        retype(dialog, "callBox", QStringLiteral("k9zz"));
        dialog.findChild<QRadioButton*>(QStringLiteral("rttyOption"))->click();
        dialog.findChild<QCheckBox*>(QStringLiteral("rttyLinkCheck"))->setChecked(true);
    });
    form->findChild<QAction*>(QStringLiteral("setupAction"))->trigger();
    EXPECT_EQ(label("ownCallDisplay"), QStringLiteral("K9ZZ"));
    EXPECT_EQ(session.prefs.mode, QStringLiteral("RY"));
    EXPECT_EQ(settings.values.value(QStringLiteral("UserDumoOption")), QStringLiteral("1"));
}

} // namespace

} // namespace velk::testing
