#pragma once
// FrequencyTestWindow: "Test Change Frequency Function": sends a typed raw command to the radio,
// or tunes it to a typed frequency through the RigLink.
#include "rig/riglink.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace velk {

class FrequencyTestWindow : public QDialog
{
    Q_OBJECT
public:
    explicit FrequencyTestWindow(RigLink& rig, QWidget* parent = nullptr);

    // "Send" of the raw command: the text trimmed, as spaced hex when "Convert to Hex" is on.
    void sendCommand();
    // "Send" of the frequency: tunes the radio there.
    void sendFrequency();

private:
    RigLink& m_rig;
    QLineEdit* m_command = nullptr;
    QCheckBox* m_hex = nullptr;
    QLineEdit* m_frequency = nullptr;
};

} // namespace velk
