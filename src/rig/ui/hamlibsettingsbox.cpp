#include "rig/ui/hamlibsettingsbox.h"

#include <QComboBox>
#include <QCompleter>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QVBoxLayout>

namespace velk {

namespace {

const QList<int> speeds{1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
// `rigctl -l` prints about 300 lines; anything past this is not its list.
constexpr qint64 maxListingBytes = 1024 * 1024;

} // namespace

HamlibSettingsBox::HamlibSettingsBox(QWidget* parent) : QGroupBox(QStringLiteral("Hamlib (rigctld):"), parent)
{
    setObjectName(QStringLiteral("hamlibGroup"));
    auto* outer = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    outer->addLayout(form);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    m_model = new QComboBox(this);
    m_model->setObjectName(QStringLiteral("hamlibModelBox"));
    m_model->setAccessibleName(QStringLiteral("Hamlib radio model"));
    m_model->setEditable(true);
    m_model->setInsertPolicy(QComboBox::NoInsert);
    m_model->setMinimumContentsLength(28);
    m_model->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // Typing "ts-2" or "7300" finds the model wherever the words sit.
    m_model->completer()->setFilterMode(Qt::MatchContains);
    m_model->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    m_model->completer()->setCompletionMode(QCompleter::PopupCompletion);
    m_model->lineEdit()->setPlaceholderText(QStringLiteral("maker, model or number"));
    form->addRow(QStringLiteral("Radio model:"), m_model);

    auto* line = new QHBoxLayout;
    m_device = new QLineEdit(this);
    m_device->setObjectName(QStringLiteral("hamlibDeviceBox"));
    m_device->setAccessibleName(QStringLiteral("Radio device"));
    m_device->setMaxLength(200);
    line->addWidget(m_device, 1);
    line->addWidget(new QLabel(QStringLiteral("Speed:"), this));
    m_speed = new QComboBox(this);
    m_speed->setObjectName(QStringLiteral("hamlibSpeedBox"));
    m_speed->setAccessibleName(QStringLiteral("Radio speed in baud"));
    for (const int speed : speeds) {
        m_speed->addItem(QString::number(speed), speed);
    }
    line->addWidget(m_speed);
    form->addRow(QStringLiteral("Radio device:"), line);

    auto* address = new QHBoxLayout;
    m_host = new QLineEdit(this);
    m_host->setObjectName(QStringLiteral("rigctldHostBox"));
    m_host->setAccessibleName(QStringLiteral("rigctld address"));
    m_host->setMaxLength(200);
    address->addWidget(m_host, 1);
    address->addWidget(new QLabel(QStringLiteral("Port:"), this));
    m_port = new QSpinBox(this);
    m_port->setObjectName(QStringLiteral("rigctldPortBox"));
    m_port->setAccessibleName(QStringLiteral("rigctld port"));
    m_port->setRange(1, 65535);
    address->addWidget(m_port);
    form->addRow(QStringLiteral("rigctld address:"), address);

    auto* choice = new QHBoxLayout;
    m_startDaemon = new QRadioButton(QStringLiteral("The logger starts rigctld"), this);
    m_startDaemon->setObjectName(QStringLiteral("startRigctldOption"));
    m_runningDaemon = new QRadioButton(QStringLiteral("Connect to a running rigctld"), this);
    m_runningDaemon->setObjectName(QStringLiteral("runningRigctldOption"));
    choice->addWidget(m_startDaemon);
    choice->addWidget(m_runningDaemon);
    choice->addStretch();
    form->addRow(choice);
    // Hints below the fields, taking no room while hidden.
    m_modelHint = new QLabel(this);
    m_modelHint->setObjectName(QStringLiteral("hamlibModelHint"));
    m_modelHint->setWordWrap(true);
    m_modelHint->hide();
    outer->addWidget(m_modelHint);
    m_environmentHint = new QLabel(this);
    m_environmentHint->setObjectName(QStringLiteral("rigctldEnvironmentHint"));
    m_environmentHint->setWordWrap(true);
    m_environmentHint->hide();
    outer->addWidget(m_environmentHint);

    connect(m_startDaemon, &QRadioButton::toggled, this, &HamlibSettingsBox::updateDaemonChoice);
}

void HamlibSettingsBox::updateDaemonChoice()
{
    // A daemon already running has its own radio settings.
    const bool starts = m_startDaemon->isChecked();
    m_device->setEnabled(starts);
    m_speed->setEnabled(starts);
}

void HamlibSettingsBox::showSettings(const HamlibSettings& settings)
{
    selectModel(settings.model);
    m_device->setText(settings.device);
    if (m_speed->findData(settings.speed) < 0) {
        m_speed->addItem(QString::number(settings.speed), settings.speed);
    }
    m_speed->setCurrentIndex(m_speed->findData(settings.speed));
    m_host->setText(settings.host);
    m_port->setValue(settings.port);
    (settings.startDaemon ? m_startDaemon : m_runningDaemon)->setChecked(true);
    updateDaemonChoice();
}

HamlibSettings HamlibSettingsBox::collect(HamlibSettings settings) const
{
    // The chosen entry, or a number typed or left in the text ("Kenwood TS-2000 (2014)", "2014").
    const int index = m_model->findText(m_model->currentText(), Qt::MatchFixedString);
    if (index >= 0) {
        settings.model = m_model->itemData(index).toInt();
    } else {
        static const QRegularExpression number(QStringLiteral("(\\d+)\\)?\\s*$"));
        const auto match = number.match(m_model->currentText());
        if (match.hasMatch() && match.captured(1).toInt() > 0) {
            settings.model = match.captured(1).toInt();
        }
    }
    settings.device = m_device->text().trimmed();
    settings.speed = m_speed->currentData().toInt();
    const QString host = m_host->text().trimmed();
    settings.host = host.isEmpty() ? HamlibSettings{}.host : host;
    settings.port = m_port->value();
    settings.startDaemon = m_startDaemon->isChecked();
    return settings;
}

void HamlibSettingsBox::showEnvironmentDaemon(const QString& address)
{
    m_environmentHint->setText(
        QStringLiteral("VELK_RIGCTLD names a running rigctld at %1: the logger connects "
                       "there and starts none.")
            .arg(address));
    m_environmentHint->setVisible(!address.isEmpty());
}

void HamlibSettingsBox::loadModels(const QString& program)
{
    if (m_listing || m_model->count() > 1) {
        return;
    }
    m_listing = new QProcess(this);
    m_listing->setStandardErrorFile(QProcess::nullDevice());
    connect(m_listing, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            m_modelHint->setText(QStringLiteral("rigctl is not installed (Debian package libhamlib-utils): "
                                                "type the model's number."));
            m_modelHint->show();
        }
    });
    connect(m_listing, &QProcess::readyReadStandardOutput, this, [this] {
        if (m_listing->bytesAvailable() > maxListingBytes) {
            m_listing->kill();
        }
    });
    connect(m_listing, &QProcess::finished, this, [this] {
        fillModels(parseHamlibModels(m_listing->readAllStandardOutput().left(maxListingBytes)));
    });
    m_listing->start(program, {QStringLiteral("-l")});
}

void HamlibSettingsBox::fillModels(const QList<HamlibModel>& models)
{
    if (models.isEmpty()) {
        return;
    }
    const int wanted = collect({}).model;
    m_model->clear();
    for (const HamlibModel& model : models) {
        m_model->addItem(model.caption(), model.number);
    }
    selectModel(wanted);
}

void HamlibSettingsBox::selectModel(int number)
{
    const int index = m_model->findData(number);
    if (index >= 0) {
        m_model->setCurrentIndex(index);
    } else {
        m_model->setEditText(QStringLiteral("Model %1").arg(number));
    }
}

} // namespace velk
