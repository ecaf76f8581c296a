// The partial-match line beside the real entry boxes, wired as the main window wires it: typing
// shows the matches, a key or a click takes one into the call box, leaving the box pre-fills
// from the call history, and the contact is logged with the history's name.
#include "log/logsession.h"
#include "log/supercheck.h"
#include "log/ui/entrypanel.h"
#include "log/ui/partialmatchfilesdialog.h"
#include "log/ui/partialmatchpanel.h"
#include "log/ui/partialmatchplug.h"
#include "log/ui/statusline.h"
#include "support/platformfakes.h"

#include "common/platform/fake/fakeplatform.h"
#include "common/qtprinters.h"
#include "support/waitfor.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace velk;
using velk::testing::waitFor;

namespace {

// The shell's part: keys reach the plug before the box.
class KeysToPlug : public QObject
{
public:
    explicit KeysToPlug(PartialMatchPlug& plug) : m_plug(plug) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return (event->type() == QEvent::KeyPress && m_plug.handleKey(static_cast<QKeyEvent*>(event))) ||
               QObject::eventFilter(watched, event);
    }

private:
    PartialMatchPlug& m_plug;
};

class PartialMatchWindowTest : public ::testing::Test, protected velk::testing::PlatformFakes
{
protected:
    QTemporaryDir dir;
    LogSession session;
    SuperCheck superCheck{settings, {}};
    QWidget window;
    EntryPanel* entry = nullptr;
    PartialMatchPlug* plug = nullptr;
    QStringList statusLines;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        session.folders.working = dir.path();
        session.prefs.currentBand = QStringLiteral("20");
        session.prefs.ownFirstName = QStringLiteral("LEE");
        session.prefixes = PrefixTable::parse("\"A\",\"USA\",\"NA\",91.0,38.0,5,8,5\r\n"
                                              "\"K\",\"USA\",\"NA\",91.0,38.0,5,8,5\r\n"
                                              "\"W\",\"USA\",\"NA\",91.0,38.0,5,8,5\r\n");
        writeFile(session.folders.logFile(),
                  "\"K1ABD\",\"JIM\",\"NH\",\"2026/01/10\",\"18:04:31\",\"20\",\"NA\",\"LEE\",\"\"\r\n"
                  "\"K1AR\",\"JOHN\",\"MA\",\"2026/01/10\",\"18:06:00\",\"40\",\"NA\",\"LEE\",\"\"\r\n");
        ASSERT_TRUE(session.reload().ok);
        writeFile(dir.filePath(QStringLiteral("MASTER.SCP")),
                  "# test\r\nAK1AB\r\nK1ABC\r\nK1ABD\r\nK1AR\r\nW1AW\r\n");
        writeFile(dir.filePath(QStringLiteral("history.txt")),
                  "!!Order!!,Call,Name,Loc1\r\nK1ABC,Bob,ma\r\nK1AR,Jack,VT\r\n");
        settings.values[SuperCheck::databaseKey] = dir.filePath(QStringLiteral("MASTER.SCP"));
        settings.values[SuperCheck::historyKey] = dir.filePath(QStringLiteral("history.txt"));

        auto* status = new StatusLine(&window);
        entry = new EntryPanel(platform, session, *status, &window);
        plug = new PartialMatchPlug(platform, session, superCheck, &window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(entry);
        layout->addWidget(plug->panel());
        window.resize(800, 400);

        // The wiring the main window adds.
        QObject::connect(entry->callBox(), &QLineEdit::textChanged, plug, &PartialMatchPlug::showMatchesFor);
        QObject::connect(plug, &PartialMatchPlug::callChosen, entry, &EntryPanel::enterCall);
        QObject::connect(entry->callBox(), &QLineEdit::editingFinished, plug, [this] {
            plug->prefill(entry->callBox()->text(), entry->nameBox(), entry->locationBox());
        });
        QObject::connect(plug, &PartialMatchPlug::statusText,
                         [this](const QString& line) { statusLines << line; });
        entry->callBox()->installEventFilter(new KeysToPlug(*plug));

        ASSERT_TRUE(waitFor([&] { return !superCheck.isLoading(); }));
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        entry->focusCallBox();
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QString line() const { return plug->panel()->accessibleDescription(); }
    QLineEdit* callBox() const { return entry->callBox(); }
};

} // namespace

TEST_F(PartialMatchWindowTest, TypeTakeAMatchAndLogItWithTheHistorysName)
{
    PartialMatchPanel* panel = plug->panel();
    EXPECT_EQ(statusLines,
              QStringList{QStringLiteral(
                  "Partial matches from MASTER.SCP: 5 calls; call history from history.txt: 2 stations")});
    EXPECT_EQ(panel->accessibleName(), QStringLiteral("Partial matches"));

    QTest::keyClicks(callBox(), QStringLiteral("k"));
    EXPECT_EQ(line(), QStringLiteral("No matches")); // from the second character on
    QTest::keyClicks(callBox(), QStringLiteral("1a"));
    ASSERT_EQ(callBox()->text(), QStringLiteral("K1A"));
    EXPECT_EQ(line(), QStringLiteral("K1ABC, K1ABD dupe, K1AR worked on another band, AK1AB"));
    ASSERT_EQ(panel->visibleCount(), 4);

    // Ctrl+Down walks along the line, Ctrl+Up back; the line stays while a taken call is shown.
    QTest::keyClick(callBox(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(callBox()->text(), QStringLiteral("K1ABC"));
    QTest::keyClick(callBox(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(callBox()->text(), QStringLiteral("K1ABD"));
    QTest::keyClick(callBox(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(callBox()->text(), QStringLiteral("K1ABC"));
    EXPECT_EQ(panel->takenIndex(), 0);
    EXPECT_EQ(panel->visibleCount(), 4);

    // A click takes a call as well.
    QSignalSpy chosen(panel, &PartialMatchPanel::callChosen);
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->matchRect(3).center());
    EXPECT_EQ(chosen.size(), 1);
    EXPECT_EQ(callBox()->text(), QStringLiteral("AK1AB"));
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->matchRect(0).center());
    EXPECT_EQ(callBox()->text(), QStringLiteral("K1ABC"));
    EXPECT_TRUE(callBox()->hasFocus());

    // Leaving the box: not in the log, so the history fills name and location.
    QTest::keyClick(callBox(), Qt::Key_Tab);
    EXPECT_EQ(entry->nameBox()->text(), QStringLiteral("BOB"));
    EXPECT_EQ(entry->locationBox()->text(), QStringLiteral("MA"));
    QTest::keyClick(entry->nameBox(), Qt::Key_Return);
    ASSERT_EQ(session.log.count(), 3);
    EXPECT_EQ(session.log.record(3).call, QStringLiteral("K1ABC"));
    EXPECT_EQ(session.log.record(3).name, QStringLiteral("BOB"));
    EXPECT_EQ(session.log.record(3).location, QStringLiteral("MA"));
    EXPECT_EQ(line(), QStringLiteral("No matches"));

    // The new contact is a dupe on the line at once.
    QTest::keyClicks(callBox(), QStringLiteral("K1AB"));
    EXPECT_EQ(line(), QStringLiteral("K1ABC dupe, K1ABD dupe, AK1AB"));
}

TEST_F(PartialMatchWindowTest, LogContactsWinOverTheHistoryAndTypingIsNeverOverwritten)
{
    // K1AR is in the log (JOHN, MA on 40) and in the history (JACK, VT).
    QTest::keyClicks(callBox(), QStringLiteral("K1AR"));
    QTest::keyClick(callBox(), Qt::Key_Tab);
    EXPECT_EQ(entry->nameBox()->text(), QStringLiteral("JOHN"));
    EXPECT_EQ(entry->locationBox()->text(), QStringLiteral("MA"));

    entry->clearEntry();
    entry->focusCallBox();
    QTest::keyClicks(callBox(), QStringLiteral("K1ABC"));
    QTest::keyClick(callBox(), Qt::Key_Space); // to the name box, as operators move on
    QTest::keyClicks(entry->nameBox(), QStringLiteral("ROBERT"));
    QTest::mouseClick(callBox(), Qt::LeftButton);
    QTest::keyClick(callBox(), Qt::Key_Tab);
    EXPECT_EQ(entry->nameBox()->text(), QStringLiteral("ROBERT"));
    EXPECT_EQ(entry->locationBox()->text(), QStringLiteral("MA"));
}

TEST_F(PartialMatchWindowTest, TheFileChoiceIsStoredAndAMissingFileIsOneStatusLine)
{
    plug->filesAction()->trigger();
    PartialMatchFilesDialog* dialog = plug->filesDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->databaseBox()->text(), dir.filePath(QStringLiteral("MASTER.SCP")));
    // Browse goes through the prompter.
    prompter.fileAnswers.push_back(dir.filePath(QStringLiteral("missing.scp")));
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("databaseFileBoxBrowse")),
                      Qt::LeftButton);
    EXPECT_EQ(dialog->databaseFile(), dir.filePath(QStringLiteral("missing.scp")));
    dialog->historyBox()->clear();
    dialog->accept();

    ASSERT_TRUE(waitFor([&] { return statusLines.size() == 2; }));
    EXPECT_EQ(statusLines.last(), QStringLiteral("Partial matches off: cannot read %1: no such file")
                                      .arg(dir.filePath(QStringLiteral("missing.scp"))));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(settings.values.value(SuperCheck::databaseKey), dir.filePath(QStringLiteral("missing.scp")));
    EXPECT_EQ(settings.values.value(SuperCheck::historyKey), QString());

    QTest::keyClicks(callBox(), QStringLiteral("K1A"));
    EXPECT_EQ(line(), QStringLiteral("No matches"));
    QTest::keyClick(callBox(), Qt::Key_Down, Qt::ControlModifier); // nothing to take
    EXPECT_EQ(callBox()->text(), QStringLiteral("K1A"));
}

TEST(PartialMatchPanel, ShowsWhatFitsAndMarksNearMatches)
{
    PartialMatchPanel panel;
    MatchList list;
    list.nearMatches = true;
    for (const char* call : {"K1ABC", "K1ABD", "K1ABE", "K1ABF", "K1ABG", "K1ABH", "K1ABI", "K1ABJ"}) {
        list.calls.push_back({QString::fromLatin1(call), MatchStatus::New});
    }
    list.calls[1].status = MatchStatus::Dupe;
    panel.resize(panel.fontMetrics().horizontalAdvance(QStringLiteral("N+1 K1ABC K1ABD K1ABE")) + 60, 30);
    panel.showMatches(list);
    ASSERT_GE(panel.visibleCount(), 2);
    ASSERT_LT(panel.visibleCount(), 8);
    EXPECT_TRUE(panel.accessibleDescription().startsWith(QLatin1String("Near matches: K1ABC, K1ABD dupe")));
    for (int i = 1; i < panel.visibleCount(); ++i) {
        EXPECT_GT(panel.matchRect(i).left(), panel.matchRect(i - 1).right()); // one line, in order
        EXPECT_EQ(panel.matchRect(i).top(), panel.matchRect(0).top());
    }
    // The take key goes round what is shown.
    QSignalSpy chosen(&panel, &PartialMatchPanel::callChosen);
    for (int i = 0; i <= panel.visibleCount(); ++i) {
        panel.takeNext();
    }
    EXPECT_EQ(chosen.last().at(0).toString(), QStringLiteral("K1ABC"));
    panel.takePrevious();
    EXPECT_EQ(chosen.last().at(0).toString(),
              list.calls[static_cast<std::size_t>(panel.visibleCount() - 1)].call);
}
