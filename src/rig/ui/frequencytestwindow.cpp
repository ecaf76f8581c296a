#include "rig/ui/frequencytestwindow.h"

#include "common/quotedlist.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velk {

FrequencyTestWindow::FrequencyTestWindow(RigLink& rig, QWidget* parent) : QDialog(parent), m_rig(rig)
{
    setObjectName(QStringLiteral("frequencyTestWindow"));
    setWindowTitle(QStringLiteral("Test Change Frequency Function"));
    auto* layout = new QVBoxLayout(this);
    const auto note = [this, layout](const QString& text) {
        auto* label = new QLabel(text, this);
        label->setWordWrap(true);
        layout->addWidget(label);
    };
    note(QStringLiteral(
        "Please use the text box below to enter a complete command to send to your radio.  The "
        "default example is the command used for Kenwood radios."));
    note(QStringLiteral(
        "If your radio requires a hexidecimal format, please enter in the format of XX XX XX "
        "(using spaces between each two digits) and click the Convert to Hex check box below."));
    auto* commandRow = new QHBoxLayout;
    // rigctld takes its own commands ("F 28475000", "f"), not the radio's.
    const bool hamlib = radioType(m_rig.radioType()).family == RadioFamily::Hamlib;
    m_command = new QLineEdit(hamlib ? QStringLiteral("F 28475000") : QStringLiteral("FA00028475000;"), this);
    m_command->setObjectName(QStringLiteral("rawCommandBox"));
    m_command->setAccessibleName(QStringLiteral("Command to send"));
    m_command->setMaxLength(200);
    auto* sendCommandButton = new QPushButton(QStringLiteral("Send"), this);
    sendCommandButton->setObjectName(QStringLiteral("sendCommandButton"));
    commandRow->addWidget(m_command, 1);
    commandRow->addWidget(sendCommandButton);
    layout->addLayout(commandRow);
    m_hex = new QCheckBox(QStringLiteral("Convert to Hex"), this);
    m_hex->setObjectName(QStringLiteral("commandHexCheck"));
    layout->addWidget(m_hex);
    note(QStringLiteral(
        "Most Elecrafts, Icoms, Kenwoods and Yaesus are now supported. For any supported radio, "
        "you should be able to enter a frequency in Mhz, click send and your radio should switch "
        "to the specified frequency."));
    auto* frequencyRow = new QHBoxLayout;
    m_frequency = new QLineEdit(QStringLiteral("28.475"), this);
    m_frequency->setObjectName(QStringLiteral("testFrequencyBox"));
    m_frequency->setAccessibleName(QStringLiteral("Frequency in MHz"));
    m_frequency->setMaxLength(20);
    auto* sendFrequencyButton = new QPushButton(QStringLiteral("Send"), this);
    sendFrequencyButton->setObjectName(QStringLiteral("sendFrequencyButton"));
    frequencyRow->addWidget(m_frequency, 1);
    frequencyRow->addWidget(sendFrequencyButton);
    layout->addLayout(frequencyRow);
    for (QPushButton* button : {sendCommandButton, sendFrequencyButton}) {
        button->setAutoDefault(false);
        button->setMinimumHeight(32);
    }
    connect(sendCommandButton, &QPushButton::clicked, this, &FrequencyTestWindow::sendCommand);
    connect(sendFrequencyButton, &QPushButton::clicked, this, &FrequencyTestWindow::sendFrequency);
}

void FrequencyTestWindow::sendCommand()
{
    const QString text = m_command->text().trimmed();
    // A failure (port closed, text not convertible) ends the click without a message.
    m_rig.sendRaw(m_hex->isChecked() ? spacedHexToBytes(text) : text.toLatin1());
}

void FrequencyTestWindow::sendFrequency()
{
    if (const auto mhz = parseSettingsNumber(m_frequency->text().trimmed())) {
        m_rig.changeFrequency(static_cast<float>(*mhz));
    }
}

} // namespace velk
