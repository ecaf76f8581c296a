// The main window around the entry: list of previous contacts, bands, menus, options, help.
#include "mainwindow_fixture.h"

#include "app/ui/helpwindow.h"

#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>

#include <algorithm>

namespace velk::testing {

namespace {

// A menu as its texts in order, "-" for a separator.
QStringList itemsOf(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* item : menu->actions()) {
        texts << (item->isSeparator() ? QStringLiteral("-") : item->text());
    }
    return texts;
}

QMenu* subMenu(const QMenu* menu, const QString& text)
{
    for (QAction* item : menu->actions()) {
        if (item->text() == text) {
            return item->menu();
        }
    }
    return nullptr;
}

std::vector<int> asNumbers(const QStringList& cells)
{
    std::vector<int> numbers;
    for (const QString& cell : cells) {
        numbers.push_back(cell.toInt());
    }
    return numbers;
}

template <typename T> bool sortedEitherWay(const std::vector<T>& values)
{
    return std::is_sorted(values.begin(), values.end()) || std::is_sorted(values.rbegin(), values.rend());
}

} // namespace

class MainWindowShellTest : public MainWindowTest
{
protected:
    void clickHeader(int column)
    {
        QHeaderView* header = form->contactList().view()->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    void clickListRow(int row, Qt::MouseButton button = Qt::LeftButton)
    {
        QTableView* view = form->contactList().view();
        QTest::mouseClick(view->viewport(), button, {}, view->visualRect(listed()->index(row, 1)).center());
    }
    QMenu* topMenu(const QString& text) const
    {
        for (QAction* item : form->menuBar()->actions()) {
            if (item->text() == text) {
                return item->menu();
            }
        }
        return nullptr;
    }
};

TEST_F(MainWindowShellTest, ListShowsTheLastTwentyNewestFirst)
{
    writeFile(session.folders.logFile(), numberedContacts(25));
    start();
    QStringList headers;
    for (int column = 0; column < listed()->columnCount(); ++column) {
        headers << listed()->headerData(column, Qt::Horizontal).toString();
    }
    EXPECT_EQ(headers,
              (QStringList{QStringLiteral("Rec#"), QStringLiteral("Call"), QStringLiteral("Name"),
                           QStringLiteral("SPC"), QStringLiteral("Cont"), QStringLiteral("Date/Time"),
                           QStringLiteral("Bnd"), QStringLiteral("Name Snt")}));
    ASSERT_EQ(listed()->rowCount(), 20);
    std::vector<int> expected;
    for (int n = 25; n >= 6; --n) {
        expected.push_back(n);
    }
    EXPECT_EQ(asNumbers(listedColumn(0)), expected);
    QStringList first;
    for (int column = 0; column < listed()->columnCount(); ++column) {
        first << listed()->index(0, column).data().toString();
    }
    EXPECT_EQ(first, (QStringList{QStringLiteral("25"), QStringLiteral("W25AA"), QStringLiteral("OP25"),
                                  QStringLiteral("CT"), QStringLiteral("NA"), QStringLiteral("01/10 17:25"),
                                  QStringLiteral("20"), QStringLiteral("LEE")}));

    // A new contact goes on top and the oldest listed one drops off.
    enterContact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"));
    ASSERT_EQ(listed()->rowCount(), 20);
    EXPECT_EQ(listedColumn(0).first(), QStringLiteral("26"));
    EXPECT_EQ(listedColumn(1).first(), QStringLiteral("K1XYZ"));
    EXPECT_EQ(listedColumn(5).first(), QStringLiteral("01/10 18:04"));
    EXPECT_EQ(listedColumn(0).last(), QStringLiteral("7"));
}

TEST_F(MainWindowShellTest, ListButtonTogglesBetweenAllAndTheLastTwenty)
{
    writeFile(session.folders.logFile(), numberedContacts(25));
    start();
    QPushButton* list = button("listAllButton");
    EXPECT_EQ(list->text(), QStringLiteral("All"));

    QTest::mouseClick(list, Qt::LeftButton);
    EXPECT_TRUE(form->contactList().listAll());
    EXPECT_EQ(list->text(), QStringLiteral("Last 20"));
    ASSERT_EQ(listed()->rowCount(), 25);
    EXPECT_EQ(listedColumn(0).first(), QStringLiteral("25"));
    EXPECT_EQ(listedColumn(0).last(), QStringLiteral("1"));
    EXPECT_TRUE(hasFocus("callBox"));

    enterContact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"));
    EXPECT_EQ(listed()->rowCount(), 26);

    QTest::mouseClick(list, Qt::LeftButton);
    EXPECT_FALSE(form->contactList().listAll());
    EXPECT_EQ(list->text(), QStringLiteral("All"));
    EXPECT_EQ(listed()->rowCount(), 20);
    EXPECT_TRUE(hasFocus("callBox"));
}

TEST_F(MainWindowShellTest, ClickingAColumnHeaderSortsTheList)
{
    writeFile(session.folders.logFile(), numberedContacts(25));
    start();
    clickHeader(1);
    const QStringList calls = listedColumn(1);
    ASSERT_EQ(calls.size(), 20);
    EXPECT_TRUE(sortedEitherWay(std::vector<QString>(calls.begin(), calls.end())))
        << calls.join(' ').toStdString();
    EXPECT_NE(calls.first(), QStringLiteral("W25AA")) << "the order changed";

    // Record numbers sort as numbers, both ways.
    clickHeader(0);
    const std::vector<int> once = asNumbers(listedColumn(0));
    clickHeader(0);
    const std::vector<int> twice = asNumbers(listedColumn(0));
    EXPECT_TRUE(sortedEitherWay(once)) << listedColumn(0).join(' ').toStdString();
    EXPECT_TRUE(sortedEitherWay(twice));
    EXPECT_NE(once, twice);
}

TEST_F(MainWindowShellTest, CopyListedItemsPutsHeadersAndRowsOnTheClipboard)
{
    writeFile(session.folders.logFile(), numberedContacts(2));
    start();
    action("copyListAction")->trigger();
    EXPECT_EQ(prompter.clipboard, QStringLiteral("Rec#\tCall\tName\tSPC\tCont\tDate/Time\tBnd\tName Snt\r\n"
                                                 "2\tW2AA\tOP2\tCT\tNA\t01/10 17:02\t20\tLEE\r\n"
                                                 "1\tW1AA\tOP1\tCT\tNA\t01/10 17:01\t20\tLEE\r\n"));

    // What is listed is what is copied: all of them once "All" is chosen.
    writeFile(session.folders.logFile(), numberedContacts(22));
    action("openLogAction")->trigger();
    action("copyListAction")->trigger();
    EXPECT_EQ(prompter.clipboard.count(QStringLiteral("\r\n")), 21);
    QTest::mouseClick(button("listAllButton"), Qt::LeftButton);
    action("copyListAction")->trigger();
    EXPECT_EQ(prompter.clipboard.count(QStringLiteral("\r\n")), 23);
}

TEST_F(MainWindowShellTest, ClickingAListedContactOffersEditAndDelete)
{
    writeFile(session.folders.logFile(), numberedContacts(3));
    start();
    ASSERT_FALSE(button("editContactButton")->isVisible());
    clickListRow(0);
    EXPECT_TRUE(button("editContactButton")->isVisible());
    EXPECT_TRUE(button("deleteContactButton")->isVisible());

    // Back in the call box they go away again.
    focusOn("callBox");
    EXPECT_FALSE(button("editContactButton")->isVisible());
    EXPECT_FALSE(button("deleteContactButton")->isVisible());

    QSignalSpy edit(&form->contactList(), &ContactListPanel::editRequested);
    clickListRow(1, Qt::RightButton);
    ASSERT_EQ(edit.count(), 1);
    EXPECT_EQ(edit.at(0).at(0).toInt(), 2);
}

TEST_F(MainWindowShellTest, PartialDupeButtonToggles)
{
    start();
    QPushButton* dup = button("partialDupesButton");
    EXPECT_EQ(dup->text(), QStringLiteral("On"));
    QTest::mouseClick(dup, Qt::LeftButton);
    EXPECT_FALSE(form->entryPanel().partialDupesOn());
    EXPECT_EQ(dup->text(), QStringLiteral("Off"));
    EXPECT_TRUE(hasFocus("callBox"));
    QTest::mouseClick(dup, Qt::LeftButton);
    EXPECT_TRUE(form->entryPanel().partialDupesOn());
    EXPECT_EQ(dup->text(), QStringLiteral("On"));
}

TEST_F(MainWindowShellTest, BandLabelStepsToTheNextBand)
{
    session.prefs.currentBand = QStringLiteral("10");
    writePreferences();
    start();
    QLabel* band = child<QLabel>("bandDisplay");
    QTest::mouseClick(band, Qt::LeftButton);
    EXPECT_EQ(session.prefs.currentBand, QStringLiteral("160"));
    EXPECT_EQ(band->text(), QStringLiteral("160"));
    EXPECT_TRUE(action("band160Action")->isChecked());
    EXPECT_FALSE(action("band10Action")->isChecked());
    EXPECT_EQ(preferenceLine(12), QByteArray("\"160\""));

    QStringList seen;
    for (int i = 0; i < 6; ++i) {
        QTest::mouseClick(band, Qt::LeftButton);
        seen << band->text();
    }
    EXPECT_EQ(seen, (QStringList{QStringLiteral("80"), QStringLiteral("40"), QStringLiteral("20"),
                                 QStringLiteral("15"), QStringLiteral("10"), QStringLiteral("160")}));
}

TEST_F(MainWindowShellTest, BandLabelDoesNothingOnSixMetres)
{
    session.prefs.currentBand = QStringLiteral("6");
    writePreferences();
    start();
    QTest::mouseClick(child<QLabel>("bandDisplay"), Qt::LeftButton);
    EXPECT_EQ(session.prefs.currentBand, QStringLiteral("6"));
    EXPECT_EQ(child<QLabel>("bandDisplay")->text(), QStringLiteral("6"));
    EXPECT_TRUE(action("band6Action")->isChecked());
}

TEST_F(MainWindowShellTest, BandMenuChoiceSavesTheBandAndReloadsTheLog)
{
    writeFile(session.folders.logFile(), numberedContacts(1));
    start();
    ASSERT_EQ(session.log.count(), 1);
    // A contact that reached the file behind the window's back shows up after the reload.
    writeFile(session.folders.logFile(), numberedContacts(2));

    action("band40Action")->trigger();
    EXPECT_EQ(session.prefs.currentBand, QStringLiteral("40"));
    EXPECT_EQ(child<QLabel>("bandDisplay")->text(), QStringLiteral("40"));
    for (const char* name : {"band160Action", "band80Action", "band40Action", "band20Action", "band15Action",
                             "band10Action", "band6Action"}) {
        EXPECT_EQ(action(name)->isChecked(), QByteArray(name) == "band40Action") << name;
    }
    EXPECT_EQ(preferenceLine(12), QByteArray("\"40\""));
    EXPECT_EQ(session.log.count(), 2);
    EXPECT_EQ(listed()->rowCount(), 2);

    // The next contact is logged on the new band; 6 m comes only from the menu.
    enterContact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"));
    EXPECT_EQ(session.log.record(3).band, QStringLiteral("40"));
    action("band6Action")->trigger();
    EXPECT_EQ(preferenceLine(12), QByteArray("\"6\""));
    enterContact(QStringLiteral("W1AW"), QStringLiteral("HIRAM"), QStringLiteral("CT"));
    EXPECT_EQ(session.log.record(4).band, QStringLiteral("6"));
}

TEST_F(MainWindowShellTest, FormSizeIsKeptBetweenThirtyAndOneHundred)
{
    start();
    struct Case
    {
        const char* answer;
        const char* stored;
    };
    for (const Case& c : {Case{"150", "100"}, Case{"10", "30"}, Case{"85", "85"}}) {
        SCOPED_TRACE(c.answer);
        prompter.messages.clear();
        prompter.inputAnswers.push_back(QString::fromLatin1(c.answer));
        action("formSizeAction")->trigger();
        const ShownInput& asked = prompter.inputs.back();
        EXPECT_EQ(asked.title, QStringLiteral("Please enter screen percentage."));
        EXPECT_EQ(asked.prompt,
                  QStringLiteral("Enter the % of the screen you would like the form to cover.  Try "
                                 "between 90 and 100 for best results.  Values below 75 do not "
                                 "display well."));
        EXPECT_EQ(preferenceLine(9), QByteArray(c.stored));
        EXPECT_EQ(session.prefs.formSizePercent, QByteArray(c.stored).toInt());
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(
            prompter.messages[0].text,
            QStringLiteral("This program must be closed and restarted for this setting to take effect."));
        EXPECT_EQ(prompter.messages[0].title,
                  QStringLiteral("For this setting to take effect please restart this program."));
    }
    // The box offers the value now stored.
    prompter.inputAnswers.push_back(QStringLiteral("abc"));
    prompter.messages.clear();
    action("formSizeAction")->trigger();
    EXPECT_EQ(prompter.inputs.back().initial, QStringLiteral("85"));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, QStringLiteral("Please enter only numeric values."));
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Numeric Values Required"));
    EXPECT_EQ(session.prefs.formSizePercent, 85);
    EXPECT_EQ(preferenceLine(9), QByteArray("85"));
}

TEST_F(MainWindowShellTest, TaskbarOptionNeedsTheFullFormSize)
{
    session.prefs.formSizePercent = 90;
    writePreferences();
    start();
    QAction* taskbar = action("taskbarAction");
    taskbar->trigger();
    EXPECT_FALSE(taskbar->isChecked());
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[1].text,
              QStringLiteral("The form size must be set to 100% to use the taskbar display option."));
    EXPECT_EQ(prompter.messages[1].title,
              QStringLiteral("Please set your form size to 100% to use this option."));
    EXPECT_EQ(preferenceLine(17), QByteArray("0"));

    prompter.inputAnswers.push_back(QStringLiteral("100"));
    action("formSizeAction")->trigger();
    taskbar->trigger();
    EXPECT_TRUE(taskbar->isChecked());
    EXPECT_EQ(preferenceLine(17), QByteArray("1"));
    taskbar->trigger();
    EXPECT_FALSE(taskbar->isChecked());
    EXPECT_EQ(preferenceLine(17), QByteArray("0"));
}

TEST_F(MainWindowShellTest, ListPreviousContactsOptionIsStored)
{
    session.prefs.listPrevious = 1;
    writePreferences();
    start();
    QAction* listPrevious = action("listPreviousAction");
    EXPECT_TRUE(listPrevious->isCheckable());
    EXPECT_TRUE(listPrevious->isChecked());
    listPrevious->trigger();
    EXPECT_FALSE(listPrevious->isChecked());
    EXPECT_EQ(preferenceLine(18), QByteArray("0"));
    listPrevious->trigger();
    EXPECT_EQ(preferenceLine(18), QByteArray("1"));
}

TEST_F(MainWindowShellTest, MenusAreInTheirOrder)
{
    start();
    QStringList top;
    for (const QAction* item : form->menuBar()->actions()) {
        top << item->text();
    }
    EXPECT_EQ(top, (QStringList{QStringLiteral("&File"), QStringLiteral("&Options"), QStringLiteral("&Setup"),
                                QStringLiteral("&Band"), QStringLiteral("&Graph"), QStringLiteral("&Help")}));

    QMenu* file = topMenu(QStringLiteral("&File"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(itemsOf(file),
              (QStringList{QStringLiteral("&New"), QStringLiteral("&Open"), QStringLiteral("-"),
                           QStringLiteral("Archive Current &Log"), QStringLiteral("-"),
                           QStringLiteral("&Restore from Archive or Backup"), QStringLiteral("-"),
                           QStringLiteral("&Write Cabrillo File"), QStringLiteral("-"),
                           QStringLiteral("E&xport for Tobrel Import"), QStringLiteral("Ex&port ADIF Format"),
                           QStringLiteral("-"), QStringLiteral("&Copy Listed Items to Clipboard"),
                           QStringLiteral("-"), QStringLiteral("&Exit")}));

    QMenu* options = topMenu(QStringLiteral("&Options"));
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(
        itemsOf(options),
        (QStringList{QStringLiteral("&Transmit"), QStringLiteral("-"), QStringLiteral("&Appearance"),
                     QStringLiteral("-"), QStringLiteral("&Rig Interface"), QStringLiteral("-"),
                     QStringLiteral("&DX Spotting"), QStringLiteral("-"), QStringLiteral("&Voice Navigation"),
                     QStringLiteral("Super &Check Partial Files..."), QStringLiteral("-"),
                     QStringLiteral("&List Previous Contacts"), QStringLiteral("-"),
                     QStringLiteral("&Post Contest Mode")}));
    const struct
    {
        const char* menu;
        QStringList items;
    } subMenus[] = {
        {"&Transmit", {QStringLiteral("&CW Setup"), QStringLiteral("&Voice Setup")}},
        {"&Appearance",
         {QStringLiteral("&Form Size"), QStringLiteral("&Colors"), QStringLiteral("&Taskbar")}},
        {"&DX Spotting", {QStringLiteral("&Configure"), QStringLiteral("&View Spectrum Map")}},
    };
    for (const auto& sub : subMenus) {
        QMenu* menu = subMenu(options, QString::fromLatin1(sub.menu));
        ASSERT_NE(menu, nullptr) << sub.menu;
        EXPECT_EQ(itemsOf(menu), sub.items) << sub.menu;
    }

    QMenu* band = topMenu(QStringLiteral("&Band"));
    ASSERT_NE(band, nullptr);
    EXPECT_EQ(itemsOf(band),
              (QStringList{QStringLiteral("160"), QStringLiteral("80"), QStringLiteral("40"),
                           QStringLiteral("20"), QStringLiteral("15"), QStringLiteral("10"),
                           QStringLiteral("6"), QStringLiteral("-"), QStringLiteral("&Privileges")}));

    // The items other windows and the operator's guide name.
    const struct
    {
        const char* name;
        const char* text;
    } named[] = {{"newLogAction", "&New"},
                 {"archiveLogAction", "Archive Current &Log"},
                 {"restoreLogAction", "&Restore from Archive or Backup"},
                 {"listPreviousAction", "&List Previous Contacts"},
                 {"postContestAction", "&Post Contest Mode"},
                 {"band160Action", "160"},
                 {"band80Action", "80"},
                 {"band40Action", "40"},
                 {"band20Action", "20"},
                 {"band15Action", "15"},
                 {"band10Action", "10"},
                 {"band6Action", "6"}};
    for (const auto& item : named) {
        QAction* found = action(item.name);
        ASSERT_NE(found, nullptr) << item.name;
        EXPECT_EQ(found->text(), QString::fromLatin1(item.text)) << item.name;
    }
    EXPECT_TRUE(action("listPreviousAction")->isCheckable());
    EXPECT_TRUE(action("postContestAction")->isCheckable());
    EXPECT_FALSE(action("postContestAction")->isChecked());
}

TEST_F(MainWindowShellTest, HelpShowsTheOperatingGuideOfTheWorkingFolder)
{
    writeFile(session.folders.working + QStringLiteral("/readvelk.txt"),
              QByteArray(
                  "Operating the logger\r\nType the call, Space, the name, Space, the location, Enter.\r\n"));
    start();
    QAction* help = nullptr;
    for (QAction* item : form->menuBar()->actions()) {
        if (item->text() == QStringLiteral("&Help")) {
            help = item;
        }
    }
    ASSERT_NE(help, nullptr);
    help->trigger();
    auto* window = form->findChild<HelpWindow*>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Help Page"));
    EXPECT_EQ(window->shownText(),
              QStringLiteral(
                  "Operating the logger\nType the call, Space, the name, Space, the location, Enter.\n"));

    // Closing the main window closes the help with it.
    form->close();
    EXPECT_FALSE(window->isVisible());
}

} // namespace velk::testing
