#pragma once
// HamlibSettingsBox: the part of the rig setup window for the Hamlib type: the radio model from
// `rigctl -l` (searchable by maker and model), the radio's device and speed, rigctld's address
// and port, and whether the logger starts rigctld or connects to a running one.
#include "rig/hamlibsettings.h"

#include <QGroupBox>

class QComboBox;
class QLabel;
class QLineEdit;
class QProcess;
class QRadioButton;
class QSpinBox;

namespace velk {

class HamlibSettingsBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit HamlibSettingsBox(QWidget* parent = nullptr);

    void showSettings(const HamlibSettings& settings);
    HamlibSettings collect(HamlibSettings settings) const;
    // Says that VELK_RIGCTLD names the daemon (empty: it does not).
    void showEnvironmentDaemon(const QString& address);
    // Asks `rigctl -l` for the models once; the list fills when it answers.
    void loadModels(const QString& program = QStringLiteral("rigctl"));

private:
    void fillModels(const QList<HamlibModel>& models);
    void selectModel(int number);
    void updateDaemonChoice();

    QComboBox* m_model = nullptr;
    QLabel* m_modelHint = nullptr;
    QLineEdit* m_device = nullptr;
    QComboBox* m_speed = nullptr;
    QLineEdit* m_host = nullptr;
    QSpinBox* m_port = nullptr;
    QRadioButton* m_startDaemon = nullptr;
    QRadioButton* m_runningDaemon = nullptr;
    QLabel* m_environmentHint = nullptr;
    QProcess* m_listing = nullptr;
};

} // namespace velk
