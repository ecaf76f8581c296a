#pragma once
// RigTuningWindow: " Change Frequency and Mode (Ctrl G (Go))": tunes the radio from the keyboard:
// a typed frequency, band buttons, up/down steps, mode buttons and an upward scan between limits.
#include "rig/riglink.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QTimer;

namespace velk {

class RigTuningWindow : public QDialog
{
    Q_OBJECT
public:
    explicit RigTuningWindow(RigLink& rig, QWidget* parent = nullptr);

    // "Go": tunes the radio to the frequency box when it holds a number and a radio is set.
    void go();
    // One scan step (the 299 ms timer's work while "Scan" is checked); while the radio is still
    // taking the last step, the next one waits for it.
    void scanStep();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void step(double mhz);
    void frequencyEdited();

    RigLink& m_rig;
    QLineEdit* m_frequency = nullptr;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QCheckBox* m_scan = nullptr;
    QButtonGroup* m_scanSteps = nullptr;
    QPushButton* m_go = nullptr;
    QPushButton* m_done = nullptr;
    QList<QPushButton*> m_stepButtons;
    QTimer* m_scanTimer = nullptr;
    bool m_scanDue = false;
};

} // namespace velk
