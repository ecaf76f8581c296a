#include "log/ui/mainwindow_fixture.h"

#include "common/qtprinters.h"
#include "voice/voicesettings.h"

#include <QComboBox>
#include <QRadioButton>

namespace velk::testing {

class VoiceWindowTest : public MainWindowTest
{
protected:
    FakeAudioPlayer* player = nullptr;    // the voice messages
    FakeAudioPlayer* cuePlayer = nullptr; // the spoken cues
    std::vector<bool> pttAtPlay;

    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_EQ(devices.audioPlayers.size(), 2u);
        player = devices.audioPlayers[0];
        cuePlayer = devices.audioPlayers[1];
        player->onPlay = [this] { pttAtPlay.push_back(pttDown()); };
        for (const char* cue : {"Call", "Name", "SPC", "Dupe", "NavEn", "NavDis"}) {
            writeFile(working(QString::fromLatin1(cue) + QStringLiteral(".wav")), "RIFF");
        }
        writeFile(working(QStringLiteral("cq.wav")), "RIFF");
        writeFile(working(QStringLiteral("report.wav")), "RIFF");
    }

    QString working(const QString& name) const { return session.folders.working + QLatin1Char('/') + name; }

    // A phone log whose wave2.txt keys PTT on RTS of port 2.
    void startPhoneLog(int navigationLevel = 0)
    {
        session.prefs.mode = QStringLiteral("PH");
        session.prefs.audioFeedbackLevel = navigationLevel;
        writePreferences();
        VoiceSettings voice;
        voice.files[0] = working(QStringLiteral("cq.wav"));
        voice.files[1] = working(QStringLiteral("report.wav"));
        voice.pttPort = QStringLiteral("2");
        ASSERT_TRUE(saveVoiceSettings(working(QStringLiteral("wave2.txt")), voice).ok);
        start();
        ASSERT_TRUE(started);
        // The start-up's own focus cue is not part of what the tests listen for.
        cuePlayer->played.clear();
    }

    bool pttDown()
    {
        const FakeKeyLine* line = devices.ports.line(PortUser::VoicePtt);
        return line != nullptr && line->down;
    }

    QDialog* dialog(const char* name) const { return form->findChild<QDialog*>(QString::fromLatin1(name)); }
    template <typename T> T* in(QDialog* window, const char* name) const
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
};

TEST_F(VoiceWindowTest, FunctionKeyKeysPttPlaysAndReleasesWhenTheSoundHasEnded)
{
    startPhoneLog();
    focusOn("callBox");
    keyAtFocus(Qt::Key_F2);
    EXPECT_EQ(player->played, QStringList{QStringLiteral("report.wav")});
    EXPECT_EQ(pttAtPlay, std::vector<bool>{true});
    EXPECT_EQ(devices.ports.targets[PortUser::VoicePtt].comPort, 2);
    EXPECT_TRUE(box("callBox")->text().isEmpty()); // the key types nothing
    player->finish();
    EXPECT_FALSE(pttDown());
    EXPECT_EQ(devices.ports.events.last(), QStringLiteral("close VoicePtt"));

    // An empty key neither plays nor keys.
    devices.ports.events.clear();
    keyAtFocus(Qt::Key_F5);
    EXPECT_EQ(player->played.size(), 1);
    EXPECT_TRUE(devices.ports.events.isEmpty());
}

TEST_F(VoiceWindowTest, EscStopsThePlaybackAndReleasesPtt)
{
    startPhoneLog();
    type("callBox", QStringLiteral("W1A"));
    keyAtFocus(Qt::Key_F1);
    ASSERT_TRUE(pttDown());
    keyAtFocus(Qt::Key_Escape);
    EXPECT_FALSE(pttDown());
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("W1A")); // consumed: the entry stays
}

TEST_F(VoiceWindowTest, MissingFileIsReportedInTheStatusLineWithoutKeying)
{
    startPhoneLog();
    QFile::remove(working(QStringLiteral("cq.wav")));
    const int bells = prompter.bells;
    focusOn("callBox");
    keyAtFocus(Qt::Key_F1);
    EXPECT_FALSE(devices.ports.line(PortUser::VoicePtt));
    EXPECT_TRUE(devices.ports.events.isEmpty());
    EXPECT_TRUE(status().startsWith(QStringLiteral("F1 not played: ")));
    EXPECT_GT(prompter.bells, bells);
}

TEST_F(VoiceWindowTest, PlayerFailureReleasesPttAndSaysWhatFailed)
{
    startPhoneLog();
    focusOn("callBox");
    keyAtFocus(Qt::Key_F1);
    ASSERT_TRUE(pttDown());
    player->fail(QStringLiteral("the sound output failed"));
    EXPECT_FALSE(pttDown());
    EXPECT_EQ(status(), QStringLiteral("F1 stopped, PTT released: the sound output failed"));
}

TEST_F(VoiceWindowTest, ClosingTheWindowReleasesPtt)
{
    startPhoneLog();
    focusOn("callBox");
    keyAtFocus(Qt::Key_F1);
    ASSERT_TRUE(pttDown());
    form->close();
    EXPECT_FALSE(pttDown());
    EXPECT_FALSE(player->isPlaying());
}

TEST_F(VoiceWindowTest, AnyKeyEndsTheRepeat)
{
    startPhoneLog();
    VoiceSettings settings = station.voice().settings();
    settings.loopSeconds = QStringLiteral("3");
    station.voice().setSettings(settings);
    focusOn("callBox");
    keyAtFocus(Qt::Key_F1);
    EXPECT_TRUE(station.voice().isRepeating());
    keys(QStringLiteral("K"));
    EXPECT_FALSE(station.voice().isRepeating());
    EXPECT_TRUE(pttDown()); // the message playing ends normally
    player->finish();
    EXPECT_FALSE(pttDown());
}

TEST_F(VoiceWindowTest, FunctionKeysPlayNothingInACwLog)
{
    session.prefs.mode = QStringLiteral("CW");
    writePreferences();
    start();
    focusOn("callBox");
    keyAtFocus(Qt::Key_F1);
    EXPECT_TRUE(player->played.isEmpty());
}

TEST_F(VoiceWindowTest, PhoneWaveSelectionsChoosesFilesAndDoneWritesWave2)
{
    startPhoneLog();
    focusOn("callBox");
    keyAtFocus(Qt::Key_P, Qt::ControlModifier);
    QDialog* window = dialog("phoneWaveDialog");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Phone Wave Selections"));
    EXPECT_EQ(in<QLineEdit>(window, "waveFileBox1")->text(), working(QStringLiteral("cq.wav")));
    EXPECT_EQ(in<QLineEdit>(window, "pttPortBox")->text(), QStringLiteral("2"));
    EXPECT_TRUE(in<QRadioButton>(window, "rtsOption")->isChecked());

    // Browse: the chosen file goes into the key's box; a cancel beeps and changes nothing.
    prompter.fileAnswers.push_back(QStringLiteral("/home/op/qrz.wav"));
    in<QPushButton>(window, "browseButton3")->click();
    EXPECT_EQ(prompter.fileDialogs.back().filter, QStringLiteral("(*.wav)|*.wav"));
    EXPECT_EQ(in<QLineEdit>(window, "waveFileBox3")->text(), QStringLiteral("/home/op/qrz.wav"));
    const int bells = prompter.bells;
    in<QPushButton>(window, "browseButton3")->click();
    EXPECT_EQ(prompter.bells, bells + 1);
    EXPECT_EQ(in<QLineEdit>(window, "waveFileBox3")->text(), QStringLiteral("/home/op/qrz.wav"));

    in<QRadioButton>(window, "dtrOption")->click();
    in<QLineEdit>(window, "loopBox")->setText(QStringLiteral("4"));
    auto* outputs = in<QComboBox>(window, "outputDeviceBox");
    ASSERT_EQ(outputs->count(), 2);
    outputs->setCurrentIndex(1);
    in<QPushButton>(window, "doneButton")->click();
    EXPECT_FALSE(window->isVisible());

    VoiceSettings saved;
    ASSERT_EQ(loadVoiceSettings(working(QStringLiteral("wave2.txt")), saved), VoiceSettingsLoad::Loaded);
    EXPECT_EQ(saved.files[2], QStringLiteral("/home/op/qrz.wav"));
    EXPECT_EQ(saved.pttLine, PttLine::Dtr);
    EXPECT_EQ(saved.loopSeconds, QStringLiteral("4"));
    EXPECT_EQ(readFile(working(QStringLiteral("wave2.txt"))).count("\r\n"), 13);
    EXPECT_EQ(settings.values.value(QStringLiteral("VoiceOutputDevice")), QStringLiteral("usb-radio"));

    // The keys play what was chosen, on the chosen output and line.
    focusOn("callBox");
    press("callBox", Qt::Key_F1);
    EXPECT_EQ(player->loadedOutput, QStringLiteral("usb-radio"));
    EXPECT_EQ(devices.ports.targets[PortUser::VoicePtt].kind, KeyLineKind::Dtr);
}

TEST_F(VoiceWindowTest, DoneThatCannotWriteWave2SaysSoAndKeepsTheFile)
{
    startPhoneLog();
    const QByteArray before = readFile(working(QStringLiteral("wave2.txt")));
    keyAtFocus(Qt::Key_P, Qt::ControlModifier);
    QDialog* window = dialog("phoneWaveDialog");
    ASSERT_NE(window, nullptr);
    // A name outside Latin-1 would come back damaged from the file.
    in<QLineEdit>(window, "waveFileBox4")->setText(QStringLiteral("/home/op/\u4f60\u597d.wav"));
    const size_t shown = prompter.messages.size();
    in<QPushButton>(window, "doneButton")->click();
    ASSERT_EQ(prompter.messages.size(), shown + 1);
    EXPECT_EQ(prompter.messages.back().title, QStringLiteral("Voice settings not saved"));
    EXPECT_TRUE(prompter.messages.back().text.contains(QStringLiteral("wave2.txt")));
    EXPECT_EQ(readFile(working(QStringLiteral("wave2.txt"))), before);
}

TEST_F(VoiceWindowTest, TestPlaysF1AndStopEndsTheRepeat)
{
    startPhoneLog();
    form->findChild<QAction*>(QStringLiteral("voiceSetupAction"))->trigger();
    QDialog* window = dialog("phoneWaveDialog");
    ASSERT_NE(window, nullptr);
    auto* stop = in<QPushButton>(window, "stopButton");
    in<QLineEdit>(window, "loopBox")->setText(QStringLiteral("2"));
    in<QPushButton>(window, "testButton")->click();
    EXPECT_EQ(player->played, QStringList{QStringLiteral("cq.wav")});
    EXPECT_TRUE(pttDown());
    EXPECT_FALSE(stop->isHidden());
    stop->click();
    EXPECT_TRUE(stop->isHidden());
    EXPECT_FALSE(pttDown());
    EXPECT_FALSE(station.voice().isRepeating());
}

TEST_F(VoiceWindowTest, PortAndLoopBoxesCorrectWhatTheyCannotUse)
{
    startPhoneLog();
    keyAtFocus(Qt::Key_P, Qt::ControlModifier);
    QDialog* window = dialog("phoneWaveDialog");
    ASSERT_NE(window, nullptr);
    auto* loop = in<QLineEdit>(window, "loopBox");
    loop->setText(QStringLiteral("75"));
    const int bells = prompter.bells;
    emit loop->editingFinished();
    EXPECT_EQ(loop->text(), QStringLiteral("0"));
    EXPECT_EQ(prompter.bells, bells + 1);

    auto* port = in<QLineEdit>(window, "pttPortBox");
    const size_t shown = prompter.messages.size();
    port->setText(QStringLiteral("COM"));
    emit port->editingFinished();
    EXPECT_EQ(port->text(), QStringLiteral("0"));
    EXPECT_EQ(prompter.messages.size(), shown);

    devices.ports.openError = QStringLiteral("Invalid port.");
    port->setText(QStringLiteral("7"));
    emit port->editingFinished();
    ASSERT_EQ(prompter.messages.size(), shown + 1);
    EXPECT_EQ(prompter.messages.back().title, QStringLiteral("Invalid port."));
    EXPECT_EQ(
        prompter.messages.back().text,
        QStringLiteral("The port you have selected for Phone keying is invalid.  Please select another or "
                       "enter 0 for none."));
}

TEST_F(VoiceWindowTest, UnreadableWave2IsReportedAndTheLogStillStarts)
{
    session.prefs.mode = QStringLiteral("PH");
    writePreferences();
    writeFile(working(QStringLiteral("wave2.txt")), "\"unclosed\r\n");
    start();
    EXPECT_TRUE(started);
    ASSERT_FALSE(prompter.messages.empty());
    EXPECT_EQ(prompter.messageTitles().filter(QStringLiteral("Error opeining file")).size(), 1);
    EXPECT_EQ(station.voice().settings(), VoiceSettings{});
}

TEST_F(VoiceWindowTest, FocusCuesFollowTheNavigationLevel)
{
    startPhoneLog(2);
    cuePlayer->finish(); // the call box's cue at start
    const int stops = cuePlayer->stops;
    focusOn("nameBox");
    focusOn("locationBox");
    focusOn("callBox");
    EXPECT_EQ(cuePlayer->played, (QStringList{QStringLiteral("Name.wav"), QStringLiteral("SPC.wav"),
                                              QStringLiteral("Call.wav")}));
    // Moving on before a cue has ended cuts it.
    EXPECT_EQ(cuePlayer->stops, stops + 2);

    // The window coming back to the front is no move: nothing is said.
    QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(box("nameBox"), &back);
    EXPECT_EQ(cuePlayer->played.size(), 3);
}

TEST_F(VoiceWindowTest, DupeCheckGoesOnOnlyAfterTheDupeCueAtEveryWaitingLevel)
{
    writeFile(session.folders.logFile(),
              logLine({QStringLiteral("W1AW"), QStringLiteral("PAT"), QStringLiteral("CT"),
                       QStringLiteral("2026/01/10"), QStringLiteral("17:00:00"), QStringLiteral("20"),
                       QStringLiteral("NA"), QStringLiteral("LEE"), QString()}));
    for (const int level : {1, 2}) {
        SCOPED_TRACE(level);
        startPhoneLog(level);
        type("callBox", QStringLiteral("W1AW"));
        cuePlayer->played.clear();
        press("callBox", Qt::Key_Tab);
        EXPECT_TRUE(status().startsWith(QStringLiteral("Duplicate W1AW")));
        // The Tab moved into the name box, but "Name" does not cut "Dupe".
        EXPECT_EQ(cuePlayer->played, QStringList{QStringLiteral("Dupe.wav")});
        // Still announcing: the entry is not cleared and the focus has not gone back yet.
        EXPECT_EQ(box("callBox")->text(), QStringLiteral("W1AW"));
        EXPECT_FALSE(hasFocus("callBox"));

        cuePlayer->finish();
        EXPECT_TRUE(box("callBox")->text().isEmpty());
        EXPECT_TRUE(hasFocus("callBox"));
        EXPECT_EQ(cuePlayer->played, (QStringList{QStringLiteral("Dupe.wav"), QStringLiteral("Call.wav")}));
        cuePlayer->finish();
        form.reset();
        clock.advanceMs(5000);
    }
}

TEST_F(VoiceWindowTest, DupeWithNavigationOffIsHeardButDoesNotWait)
{
    writeFile(session.folders.logFile(),
              logLine({QStringLiteral("W1AW"), QStringLiteral("PAT"), QStringLiteral("CT"),
                       QStringLiteral("2026/01/10"), QStringLiteral("17:00:00"), QStringLiteral("20"),
                       QStringLiteral("NA"), QStringLiteral("LEE"), QString()}));
    startPhoneLog(0);
    type("callBox", QStringLiteral("W1AW"));
    press("callBox", Qt::Key_Tab);
    EXPECT_EQ(cuePlayer->played, QStringList{QStringLiteral("Dupe.wav")});
    EXPECT_TRUE(box("callBox")->text().isEmpty());
    EXPECT_TRUE(hasFocus("callBox"));
}

TEST_F(VoiceWindowTest, VoiceNavigationSettingsSoundsAndKeepsTheLevel)
{
    startPhoneLog(0);
    form->findChild<QAction*>(QStringLiteral("voiceNavigationAction"))->trigger();
    QDialog* window = dialog("voiceNavigationDialog");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Voice Navigation Settings"));
    EXPECT_TRUE(in<QRadioButton>(window, "navigationOffOption")->isChecked());
    EXPECT_TRUE(
        in<QLabel>(window, "navigationHint")
            ->text()
            .startsWith(QStringLiteral("Put the audio wave files in this program's working directory: ")));

    in<QRadioButton>(window, "navigationCallOption")->click();
    EXPECT_EQ(cuePlayer->played, QStringList{QStringLiteral("NavEn.wav")});
    cuePlayer->finish();
    EXPECT_EQ(cuePlayer->played, (QStringList{QStringLiteral("NavEn.wav"), QStringLiteral("Call.wav")}));
    in<QRadioButton>(window, "navigationAllOption")->click();
    EXPECT_EQ(cuePlayer->played.last(), QStringLiteral("NavEn.wav"));
    in<QPushButton>(window, "navigationDoneButton")->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(session.prefs.audioFeedbackLevel, 2);
    EXPECT_EQ(preferenceLine(15), QByteArray("2"));

    in<QRadioButton>(window, "navigationOffOption")->click();
    EXPECT_EQ(cuePlayer->played.last(), QStringLiteral("NavDis.wav"));
}

} // namespace velk::testing
