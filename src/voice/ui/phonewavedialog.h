#pragma once
// PhoneWaveDialog: "Phone Wave Selections", the voice keyer's settings: a WAV file for each of
// F1-F9, the PTT port and line, the parallel address, the repeat pause and the sound output;
// "Test" plays F1, "Stop" ends it, "Done" keeps the settings in wave2.txt. Talks to the voice
// keyer and to the operator through the prompter.
#include "common/platform/platform.h"
#include "voice/voicekeyer.h"

#include <QDialog>
#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace velk {

class PhoneWaveDialog : public QDialog
{
    Q_OBJECT
public:
    PhoneWaveDialog(Platform& platform, VoiceKeyer& keyer, QWidget* parent = nullptr);

    // Fills the boxes from the keyer's settings and shows the window.
    void showSettings();
    // The settings as the boxes hold them.
    VoiceSettings settingsFromBoxes() const;
    // The PTT port was refused: the operator is told and the window shown to correct it.
    void reportInvalidPort();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fillBoxes();
    void browse(int key);
    void leavePortBox();
    void leaveLoopBox();
    void test();
    void stopTest();
    void done();
    void fillOutputs();

    Platform& m_platform;
    VoiceKeyer& m_keyer;
    std::array<QLineEdit*, 9> m_files{};
    QLineEdit* m_port = nullptr;
    QRadioButton* m_rts = nullptr;
    QRadioButton* m_dtr = nullptr;
    QRadioButton* m_parallel = nullptr;
    QLineEdit* m_parallelAddress = nullptr;
    QLineEdit* m_loop = nullptr;
    QComboBox* m_output = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_done = nullptr;
};

} // namespace velk
