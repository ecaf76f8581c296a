// The " Amateur Station I.D." dialog on its own, and as the main window shows and applies it.
#include "form1_fixture.h"

#include "common/platform/fake/fakeplatform.h"
#include "log/prefixtable.h"
#include "log/ui/frmStationID.h"
#include "log/xmlstore.h"

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

class StationDialogTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    FakePrompter prompter;
    FakeClock clock;
    FakeSettingsStore settings;
    FakeEnvironment environment;
    Platform platform{prompter, clock, settings, environment};
    XmlStore xml;
    PrefixTable table{{
        {QStringLiteral("EA8"), QStringLiteral("Canary Islands"), QStringLiteral("AF"), 15.5f, 28.25f},
        {QStringLiteral("VE"), QStringLiteral("Canada"), QStringLiteral("NA"), 80.0f, 45.0f},
    }};
    Preferences prefs;
    std::unique_ptr<frmStationID> dialog;

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
        dialog = std::make_unique<frmStationID>(platform, xml, table);
        dialog->Form_Load(prefs);
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
        return child<QCheckBox>("chkDumoRtty")->isVisible() && child<QLabel>("lblConnectDumo")->isVisible();
    }
};

TEST_F(StationDialogTest, OpensWithTheStationAsStored)
{
    prefs.mode = QStringLiteral("RY");
    settings.values[QStringLiteral("UserDumoOption")] = QStringLiteral("1");
    open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral(" Amateur Station I.D."));
    EXPECT_EQ(text("Text1"), QStringLiteral("K1ABC"));
    EXPECT_EQ(text("Text5"), QStringLiteral("CT"));
    EXPECT_EQ(text("Text6"), QStringLiteral("5"));
    EXPECT_EQ(text("Text2"), QStringLiteral("USA"));
    EXPECT_EQ(text("Text3"), QStringLiteral("72.5"));
    EXPECT_EQ(text("Text4"), QStringLiteral("41.75"));
    EXPECT_EQ(text("Text7"), QStringLiteral("NA"));
    EXPECT_EQ(text("Text8"), QStringLiteral("LEE"));
    EXPECT_TRUE(child<QRadioButton>("Option3")->isChecked());
    EXPECT_TRUE(linkOptionShown());
    EXPECT_TRUE(child<QCheckBox>("chkDumoRtty")->isChecked());
    EXPECT_EQ(child<QLabel>("lblConnectDumo")->text(), QStringLiteral("Connect to Dumo RTTY?"));
    EXPECT_EQ(child<QPushButton>("Command1")->text(), QStringLiteral("Done"));
}

TEST_F(StationDialogTest, NoStoredLinkOptionAndCwModeHideTheLink)
{
    open();
    EXPECT_TRUE(child<QRadioButton>("Option1")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("chkDumoRtty")->isChecked());
    EXPECT_FALSE(linkOptionShown());
}

TEST_F(StationDialogTest, ContestOptionsShowTheRttyLinkOnlyForRtty)
{
    open();
    child<QRadioButton>("Option3")->click();
    EXPECT_TRUE(linkOptionShown());
    child<QCheckBox>("chkDumoRtty")->setChecked(true);
    EXPECT_EQ(dialog->logMode(), QStringLiteral("RY"));
    child<QRadioButton>("Option2")->click();
    EXPECT_FALSE(linkOptionShown());
    EXPECT_EQ(dialog->logMode(), QStringLiteral("PH"));
    EXPECT_TRUE(child<QCheckBox>("chkDumoRtty")->isChecked()); // hidden, not changed
    child<QRadioButton>("Option1")->click();
    EXPECT_EQ(dialog->logMode(), QStringLiteral("CW"));

    dialog->Command1_Click();
    EXPECT_EQ(settings.values.value(QStringLiteral("UserDumoOption")), QStringLiteral("1"));
}

TEST_F(StationDialogTest, TextBoxesUpperCaseAndEnterActsAsDone)
{
    open();
    for (const char* name : {"Text1", "Text5", "Text7", "Text8"}) {
        box(name)->clear();
        typeInto(name, QStringLiteral("ab\"c1"));
        EXPECT_EQ(text(name), QStringLiteral("ABC1")) << name;
    }
    QTest::keyClick(box("Text5"), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(StationDialogTest, EnterInTheCountryAndPositionBoxesIsNotDone)
{
    open();
    for (const char* name : {"Text2", "Text3", "Text4"}) {
        box(name)->setFocus();
        QTest::keyClick(box(name), Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible()) << name;
    }
}

TEST_F(StationDialogTest, UtcOffsetTakesOnlyNumbersAndAPastedWordBecomesZero)
{
    open();
    box("Text6")->clear();
    typeInto("Text6", QStringLiteral("-3x.5h/"));
    EXPECT_EQ(text("Text6"), QStringLiteral("-3.5/"));

    // Leaving the box with a non-number rings the bell and comes back.
    box("Text6")->setText(QStringLiteral("five"));
    const int bells = prompter.bells;
    QTest::keyClick(box("Text6"), Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_EQ(prompter.bells - bells, 1);
    EXPECT_TRUE(box("Text6")->hasFocus());

    box("Text3")->setText(QStringLiteral("west"));
    dialog->Command1_Click();
    EXPECT_EQ(text("Text6"), QStringLiteral("0"));
    EXPECT_EQ(text("Text3"), QStringLiteral("0"));
    EXPECT_EQ(text("Text4"), QStringLiteral("41.75"));
    EXPECT_EQ(dialog->utcOffsetHours(), 0.0f);
}

TEST_F(StationDialogTest, CountryCompletesExactlyAndFillsThePosition)
{
    open();
    box("Text2")->clear();
    typeInto("Text2", QStringLiteral("Can"));
    EXPECT_EQ(text("Text2"), QStringLiteral("Canada"));
    EXPECT_EQ(box("Text2")->selectedText(), QStringLiteral("ada"));
    EXPECT_EQ(text("Text3"), QStringLiteral("80"));
    EXPECT_EQ(text("Text4"), QStringLiteral("45"));
    EXPECT_EQ(text("Text7"), QStringLiteral("NA"));

    QTest::keyClicks(box("Text2"), QStringLiteral("ar"));
    EXPECT_EQ(text("Text2"), QStringLiteral("Canary Islands"));
    EXPECT_EQ(box("Text2")->selectedText(), QStringLiteral("y Islands"));
    EXPECT_EQ(text("Text3"), QStringLiteral("15.5"));
    EXPECT_EQ(text("Text4"), QStringLiteral("28.25"));
    EXPECT_EQ(text("Text7"), QStringLiteral("AF"));

    // The first letter is upper-cased; the rest must match exactly.
    box("Text2")->clear();
    typeInto("Text2", QStringLiteral("can"));
    EXPECT_EQ(text("Text2"), QStringLiteral("Canada"));
    box("Text2")->clear();
    typeInto("Text2", QStringLiteral("CAN"));
    EXPECT_EQ(text("Text2"), QStringLiteral("CAN"));
    EXPECT_FALSE(box("Text2")->hasSelectedText());
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
    box("Text1")->setText(QStringLiteral("VE3XYZ"));
    box("Text5")->setText(QStringLiteral("ON"));
    box("Text6")->setText(QStringLiteral("4"));
    box("Text2")->setText(QStringLiteral("Canada"));
    box("Text3")->setText(QStringLiteral("79.38"));
    box("Text4")->setText(QStringLiteral("43.65"));
    box("Text7")->setText(QStringLiteral("NA"));
    box("Text8")->setText(QStringLiteral("Kim"));
    QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton);

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
    dialog->Command1_Click();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages.front().title, QStringLiteral("Unable to save the station information"));
}

// ---------------------------------------------------------------------------------------------
// The main window shows the dialog at start-up and from "&Setup", then applies it.

class Form1StationTest : public Form1Test
{
protected:
    int shown = 0;

    // Start-up with a runner in place of the operator: `fill` types into the shown dialog, then
    // the runner presses "Done" (or closes the dialog when `done` is false).
    void startWith(std::function<void(frmStationID&)> fill, bool done = true)
    {
        prompter.messageAnswers.push_back(MessageAnswer::Yes);
        form = std::make_unique<Form1>(platform, session);
        useRunner(std::move(fill), done);
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->startUp();
    }

    void useRunner(std::function<void(frmStationID&)> fill, bool done = true)
    {
        form->setStationDialogRunner([this, fill, done](frmStationID& dialog) {
            ++shown;
            showActive(dialog);
            fill(dialog);
            if (done) {
                QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
            } else {
                dialog.reject();
            }
            return dialog.result();
        });
    }

    static QLineEdit* boxOf(frmStationID& dialog, const char* name)
    {
        return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static void retype(frmStationID& dialog, const char* name, const QString& keys)
    {
        QLineEdit* target = boxOf(dialog, name);
        target->clear();
        target->setFocus();
        QTest::keyClicks(target, keys);
    }
    QString label(const char* name) const { return child<QLabel>(name)->text(); }
};

TEST_F(Form1StationTest, StartUpAsksForTheStationAndStoresIt)
{
    startWith([](frmStationID& dialog) {
        retype(dialog, "Text1", QStringLiteral("n0call"));
        retype(dialog, "Text5", QStringLiteral("mn"));
        retype(dialog, "Text6", QStringLiteral("6"));
        retype(dialog, "Text2", QStringLiteral("Mex")); // fills position and continent
        retype(dialog, "Text8", QStringLiteral("pat"));
        dialog.findChild<QRadioButton*>(QStringLiteral("Option2"))->click();
    });
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(label("lblOwnCall"), QStringLiteral("N0CALL"));
    EXPECT_EQ(label("lblOwnSpc"), QStringLiteral("MN"));
    EXPECT_EQ(label("lblOwnName"), QStringLiteral("PAT"));

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
    type("txtCall", QStringLiteral("XE1ABC"));
    EXPECT_EQ(box("txtCntry")->text(), QStringLiteral("Mexico"));
    EXPECT_TRUE(label("Label22").isEmpty());
}

TEST_F(Form1StationTest, SetupReopensWithTheCurrentStationAndClosingChangesNothing)
{
    startWith([](frmStationID& dialog) { retype(dialog, "Text1", QStringLiteral("w1aw")); });
    const Preferences before = session.prefs;
    const QByteArray prefsFile = readFile(session.folders.preferencesFile());

    QString seen;
    useRunner(
        [&seen](frmStationID& dialog) {
            seen = boxOf(dialog, "Text1")->text();
            retype(dialog, "Text1", QStringLiteral("k9zz"));
        },
        false);
    form->findChild<QAction*>(QStringLiteral("mnuSetup"))->trigger();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(seen, QStringLiteral("W1AW"));
    EXPECT_EQ(session.prefs, before);
    EXPECT_EQ(readFile(session.folders.preferencesFile()), prefsFile);
    EXPECT_EQ(label("lblOwnCall"), QStringLiteral("W1AW"));

    useRunner([](frmStationID& dialog) {
        retype(dialog, "Text1", QStringLiteral("k9zz"));
        dialog.findChild<QRadioButton*>(QStringLiteral("Option3"))->click();
        dialog.findChild<QCheckBox*>(QStringLiteral("chkDumoRtty"))->setChecked(true);
    });
    form->findChild<QAction*>(QStringLiteral("mnuSetup"))->trigger();
    EXPECT_EQ(label("lblOwnCall"), QStringLiteral("K9ZZ"));
    EXPECT_EQ(session.prefs.mode, QStringLiteral("RY"));
    EXPECT_EQ(settings.values.value(QStringLiteral("UserDumoOption")), QStringLiteral("1"));
}

} // namespace

} // namespace velk::testing
