#include "rig/ui/rigsetupwindow.h"

#include "common/formats.h"
#include "rig/ui/frequencytestwindow.h"
#include "rig/ui/hamlibsettingsbox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velk {

namespace {

const QStringList baudCaptions{"1.2", "2.4", "4.8", "9.6", "14.4", "19.2", "28.8", "38.4", "56"};
const QList<int> baudRates{1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400, 56000};
const QString parityLetters = QStringLiteral("NOE");
const QString powerLetters = QStringLiteral("NRD");
const QString pollLetters = QStringLiteral("FMSR");

QLabel* makeLabel(const QString& objectName, const QString& accessibleName, QWidget* parent,
                  const QString& text = {})
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setAccessibleName(accessibleName);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPushButton* makePushButton(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setMinimumHeight(32);
    return button;
}

} // namespace

RigSetupWindow::RigSetupWindow(Platform& platform, RigLink& rig, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_rig(rig)
{
    setObjectName(QStringLiteral("rigSetupWindow"));
    setWindowTitle(QStringLiteral(" Rig Interface Setup"));
    build();
    connect(&m_rig, &RigLink::replyDecoded, this, &RigSetupWindow::showReply);
    connect(&m_rig, &RigLink::pollingChanged, this, &RigSetupWindow::showPolling);
    loadFromLink();
}

void RigSetupWindow::showPolling(bool polling)
{
    m_polling->setVisible(polling);
    m_endTest->setEnabled(polling);
}

void RigSetupWindow::showForCorrection()
{
    if (!isVisible()) {
        setWindowModality(Qt::ApplicationModal);
    }
    show();
    raise();
    activateWindow();
}

void RigSetupWindow::hideEvent(QHideEvent* event)
{
    // Modal only until the settings have been corrected.
    setWindowModality(Qt::NonModal);
    QDialog::hideEvent(event);
}

QButtonGroup* RigSetupWindow::addOptions(QGridLayout* grid, int row, const QString& title,
                                         const QStringList& captions, const QString& namePrefix)
{
    auto* box = new QGroupBox(title, this);
    box->setObjectName(namePrefix + QStringLiteral("Group"));
    auto* layout = new QHBoxLayout(box);
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < captions.size(); ++i) {
        auto* option = new QRadioButton(captions.at(i), box);
        option->setObjectName(namePrefix + QString::number(i));
        option->setAccessibleName(title + QLatin1Char(' ') + captions.at(i));
        layout->addWidget(option);
        group->addButton(option, i);
    }
    layout->addStretch();
    grid->addWidget(box, row, 0, 1, 2);
    return group;
}

void RigSetupWindow::build()
{
    auto* outer = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Select Rig:"), this));
    m_types = new QListWidget(this);
    m_types->setObjectName(QStringLiteral("rigTypeList"));
    m_types->setAccessibleName(QStringLiteral("Select Rig"));
    // The list shows each type's caption; the stored name rides along.
    for (const RadioType& type : radioTypes()) {
        auto* item = new QListWidgetItem(radioTypeCaption(type), m_types);
        item->setData(Qt::UserRole, type.name);
    }
    m_types->setMinimumWidth(180);
    left->addWidget(m_types, 1);
    outer->addLayout(left);

    auto* grid = new QGridLayout;
    int row = 0;
    m_baud =
        addOptions(grid, row++, QStringLiteral("Baud Rate (k):"), baudCaptions, QStringLiteral("baudOption"));
    m_parity = addOptions(grid, row++, QStringLiteral("Parity:"), {"None", "Odd", "Even"},
                          QStringLiteral("parityOption"));
    m_dataBits =
        addOptions(grid, row++, QStringLiteral("Data Bits:"), {"7", "8"}, QStringLiteral("dataBitsOption"));
    m_stopBits =
        addOptions(grid, row++, QStringLiteral("Stop Bits:"), {"1", "2"}, QStringLiteral("stopBitsOption"));
    QStringList ports;
    for (int n = 1; n <= 10; ++n) {
        ports << QString::number(n);
    }
    m_port = addOptions(grid, row++, QStringLiteral("Comm Port:"), ports, QStringLiteral("commPortOption"));
    m_portPath = makeLabel(QStringLiteral("portPathDisplay"), QStringLiteral("Device of the port"), this);
    grid->addWidget(m_portPath, row++, 0, 1, 2);
    m_power = addOptions(grid, row++, QStringLiteral("Connection Power:"), {"None", "RTS", "DTR"},
                         QStringLiteral("powerOption"));
    for (QButtonGroup* group : {m_baud, m_parity, m_dataBits, m_stopBits, m_port, m_power}) {
        m_serialOnly << group->button(0)->parentWidget();
    }
    m_serialOnly << m_portPath;
    m_hamlib = new HamlibSettingsBox(this);
    m_hamlib->hide();
    grid->addWidget(m_hamlib, row++, 0, 1, 2);
    m_pollRate = addOptions(grid, row++, QStringLiteral("Radio Polling Rate:"),
                            {"100 ms", "500 ms", "2 Sec", "10 Sec"}, QStringLiteral("pollRateOption"));
    m_modeSource = addOptions(grid, row++, QStringLiteral("Mode by:"), {"Rig", "Frequency", "Don't Use"},
                              QStringLiteral("modeSourceOption"));

    auto* frequencyLabel = new QLabel(QStringLiteral("String to read frequency:"), this);
    grid->addWidget(frequencyLabel, row, 0);
    m_frequencyQuery = new QLineEdit(this);
    m_frequencyQuery->setObjectName(QStringLiteral("frequencyQueryBox"));
    m_frequencyQuery->setAccessibleName(QStringLiteral("String to read frequency"));
    m_frequencyQuery->setMaxLength(200);
    grid->addWidget(m_frequencyQuery, row++, 1);
    auto* modeLabel = new QLabel(QStringLiteral("String to read mode:"), this);
    grid->addWidget(modeLabel, row, 0);
    m_modeQuery = new QLineEdit(this);
    m_modeQuery->setObjectName(QStringLiteral("modeQueryBox"));
    m_modeQuery->setAccessibleName(QStringLiteral("String to read mode"));
    m_modeQuery->setMaxLength(200);
    grid->addWidget(m_modeQuery, row++, 1);

    auto* checks = new QHBoxLayout;
    m_sendAsHex = new QCheckBox(QStringLiteral("Convert to Hex"), this);
    m_sendAsHex->setObjectName(QStringLiteral("sendAsHexCheck"));
    m_useFrequency = new QCheckBox(QStringLiteral("Use Frequency"), this);
    m_useFrequency->setObjectName(QStringLiteral("useFrequencyCheck"));
    m_catSwitch = new QCheckBox(QStringLiteral("FT-847 (CAT on/off)"), this);
    m_catSwitch->setObjectName(QStringLiteral("yaesuCatSwitchCheck"));
    m_catSwitch->setAccessibleName(QStringLiteral("The Yaesu is an FT-847: switch CAT on and off"));
    m_catSwitch->setToolTip(QStringLiteral("Only the FT-847 needs CAT switched on; on an FT-817, 857 or 897 "
                                           "the same bytes lock the dial."));
    m_serialOnly << frequencyLabel << m_frequencyQuery << modeLabel << m_modeQuery << m_sendAsHex;
    checks->addWidget(m_sendAsHex);
    checks->addWidget(m_useFrequency);
    checks->addWidget(m_catSwitch);
    checks->addStretch();
    grid->addLayout(checks, row++, 0, 1, 2);

    m_icomHint =
        new QLabel(QStringLiteral("Icom radio users will have to replace the 64 in the string with the ID "
                                  "for your particular radio.  Please check your Icom user's manual "
                                  "for details."),
                   this);
    m_icomHint->setObjectName(QStringLiteral("icomHint"));
    m_icomHint->setWordWrap(true);
    m_icomHint->hide();
    grid->addWidget(m_icomHint, row++, 0, 1, 2);

    auto* display = new QGridLayout;
    display->addWidget(new QLabel(QStringLiteral("Frequency:"), this), 0, 0);
    m_frequency = makeLabel(QStringLiteral("rigFrequencyDisplay"), QStringLiteral("Radio frequency"), this);
    display->addWidget(m_frequency, 0, 1);
    display->addWidget(new QLabel(QStringLiteral("Mode:"), this), 1, 0);
    m_mode = makeLabel(QStringLiteral("rigModeDisplay"), QStringLiteral("Radio mode"), this);
    display->addWidget(m_mode, 1, 1);
    display->addWidget(new QLabel(QStringLiteral("Should be PH or CW"), this), 1, 2);
    display->addWidget(new QLabel(QStringLiteral("Unprocessed data returned:"), this), 2, 0);
    m_raw = makeLabel(QStringLiteral("unprocessedDataDisplay"), QStringLiteral("Unprocessed data returned"),
                      this);
    m_raw->setWordWrap(true);
    m_raw->setMinimumWidth(300);
    display->addWidget(m_raw, 2, 1, 1, 2);
    m_showHex = new QCheckBox(QStringLiteral("Convert from Hex"), this);
    m_showHex->setObjectName(QStringLiteral("showHexCheck"));
    display->addWidget(m_showHex, 3, 1);
    m_polling = new QLabel(QStringLiteral("Polling Rig"), this);
    m_polling->setObjectName(QStringLiteral("pollingLabel"));
    m_polling->hide();
    display->addWidget(m_polling, 3, 2);
    grid->addLayout(display, row++, 0, 1, 2);
    // Spare height goes below the displays, never into the option frames.
    grid->setRowStretch(row++, 1);

    auto* buttons = new QHBoxLayout;
    auto* testButton = makePushButton(QStringLiteral("testButton"), QStringLiteral("Test"), this);
    m_endTest = makePushButton(QStringLiteral("endTestButton"), QStringLiteral("End Test"), this);
    m_endTest->setEnabled(false);
    auto* change =
        makePushButton(QStringLiteral("changeFrequencyButton"), QStringLiteral("Change Frequency"), this);
    auto* copy = makePushButton(QStringLiteral("copyDataButton"),
                                QStringLiteral("Copy unprocessed data to clipboard"), this);
    m_doneButton = makePushButton(QStringLiteral("doneButton"), QStringLiteral("&Done"), this);
    for (QPushButton* button : {testButton, m_endTest, change, copy, m_doneButton}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    grid->addLayout(buttons, row++, 0, 1, 2);
    outer->addLayout(grid, 1);

    connect(testButton, &QPushButton::clicked, this, &RigSetupWindow::test);
    connect(m_endTest, &QPushButton::clicked, this, &RigSetupWindow::endTest);
    connect(m_doneButton, &QPushButton::clicked, this, &RigSetupWindow::done);
    connect(change, &QPushButton::clicked, this, &RigSetupWindow::openTestWindow);
    connect(copy, &QPushButton::clicked, this, [this] {
        m_platform.prompter.setClipboardText(m_raw->text());
        m_doneButton->setFocus();
    });
    connect(m_types, &QListWidget::currentItemChanged, this, [this] { pickType(currentTypeName()); });
    connect(m_sendAsHex, &QCheckBox::toggled, m_showHex, &QCheckBox::setChecked);
    connect(m_modeSource, &QButtonGroup::idClicked, this, [this] {
        m_mode->setText(QStringLiteral("No Response"));
        m_rig.clearMode();
    });
    connect(m_port, &QButtonGroup::idClicked, this, [this](int id) {
        m_portPath->setText(serialDevicePath(id + 1, m_platform.environment, m_platform.settings));
    });
    // A query string is never edited while polling.
    m_frequencyQuery->installEventFilter(this);
    m_modeQuery->installEventFilter(this);
}

bool RigSetupWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == m_frequencyQuery || watched == m_modeQuery)) {
        endTest();
    }
    return QDialog::eventFilter(watched, event);
}

void RigSetupWindow::loadFromLink()
{
    m_loading = true;
    m_hamlib->showSettings(m_rig.hamlibSettings());
    showSettings(m_rig.settings());
    // On load the hint is for the Icom type only; picking "Icom 735" shows it too.
    m_icomHint->setVisible(m_rig.settings().rigType == QLatin1String("Icom"));
    m_catSwitch->setChecked(m_rig.yaesuCatSwitch());
    m_loading = false;
    showPolling(m_rig.isPolling());
}

void RigSetupWindow::showSettings(const RigSettings& s)
{
    const int baud = baudRates.indexOf(s.baudText.trimmed().toInt());
    if (baud >= 0) {
        m_baud->button(baud)->setChecked(true);
    }
    m_parity->button(std::max(0, static_cast<int>(parityLetters.indexOf(QLatin1Char(s.parity)))))
        ->setChecked(true);
    m_dataBits->button(s.dataBits == 7 ? 0 : 1)->setChecked(true);
    m_stopBits->button(s.stopBits == 2 ? 1 : 0)->setChecked(true);
    m_port->button(std::clamp(s.commPort, 1, 10) - 1)->setChecked(true);
    m_portPath->setText(serialDevicePath(s.commPort, m_platform.environment, m_platform.settings));
    m_power->button(std::max(0, static_cast<int>(powerLetters.indexOf(QLatin1Char(s.connectionPower)))))
        ->setChecked(true);
    m_pollRate->button(std::max(0, static_cast<int>(pollLetters.indexOf(QLatin1Char(s.pollRate)))))
        ->setChecked(true);
    m_modeSource->button(static_cast<int>(s.modeSource) - 1)->setChecked(true);
    m_frequencyQuery->setText(s.frequencyQuery);
    m_modeQuery->setText(s.modeQuery);
    m_sendAsHex->setChecked(s.sendAsHex);
    m_useFrequency->setChecked(s.useFrequency);
    for (int row = 0; row < m_types->count(); ++row) {
        if (m_types->item(row)->data(Qt::UserRole).toString() == s.rigType) {
            m_types->setCurrentRow(row);
        }
    }
    updateTypeHints(s.rigType);
}

QString RigSetupWindow::currentTypeName() const
{
    return m_types->currentItem() ? m_types->currentItem()->data(Qt::UserRole).toString() : QString();
}

void RigSetupWindow::updateTypeHints(const QString& name)
{
    const bool hamlib = radioType(name).family == RadioFamily::Hamlib;
    m_sendAsHex->setEnabled(name == QLatin1String("Other"));
    m_icomHint->setVisible(name == QLatin1String("Icom") || name == QLatin1String("Icom 735"));
    m_catSwitch->setVisible(name == QLatin1String("Yaesu"));
    for (QWidget* widget : std::as_const(m_serialOnly)) {
        widget->setVisible(!hamlib);
    }
    const bool switched = m_hamlib->isVisibleTo(this) != hamlib;
    m_hamlib->setVisible(hamlib);
    if (switched && isVisible()) {
        adjustSize();
    }
    if (hamlib) {
        m_hamlib->showEnvironmentDaemon(
            m_platform.environment.value(QStringLiteral("VELK_RIGCTLD")).trimmed());
        m_hamlib->loadModels();
    }
}

void RigSetupWindow::applyScreen()
{
    m_rig.setSettings(collect());
    m_rig.setHamlibSettings(m_hamlib->collect(m_rig.hamlibSettings()));
    m_rig.setYaesuCatSwitch(m_catSwitch->isChecked());
}

RigSettings RigSetupWindow::collect() const
{
    RigSettings s = m_rig.settings();
    s.baudText = paddedBaudText(baudRates.value(std::max(0, m_baud->checkedId()), 56000));
    s.parity = parityLetters.at(std::max(0, m_parity->checkedId())).toLatin1();
    s.dataBits = m_dataBits->checkedId() == 0 ? 7 : 8;
    s.stopBits = m_stopBits->checkedId() == 1 ? 2 : 1;
    s.commPort = std::max(0, m_port->checkedId()) + 1;
    s.connectionPower = powerLetters.at(std::max(0, m_power->checkedId())).toLatin1();
    s.pollRate = pollLetters.at(std::max(0, m_pollRate->checkedId())).toLatin1();
    s.modeSource = static_cast<ModeSource>(std::max(0, m_modeSource->checkedId()) + 1);
    s.frequencyQuery = m_frequencyQuery->text();
    s.modeQuery = m_modeQuery->text();
    s.sendAsHex = m_sendAsHex->isChecked();
    s.useFrequency = m_useFrequency->isChecked();
    if (m_types->currentItem()) {
        s.rigType = currentTypeName();
    }
    return s;
}

void RigSetupWindow::pickType(const QString& name)
{
    if (m_loading || name.isEmpty()) {
        return;
    }
    endTest();
    RigSettings settings = collect();
    applyTypeDefaults(settings, radioType(name));
    settings.rigType = name;
    m_loading = true;
    showSettings(settings);
    m_loading = false;
    m_rig.setSettings(settings);
}

void RigSetupWindow::test()
{
    applyScreen();
    if (!m_rig.hasRadio()) {
        return;
    }
    m_mode->setText(QStringLiteral("No Response"));
    m_frequency->setText(QStringLiteral("No Response"));
    m_endTest->setEnabled(true);
    m_polling->show();
    if (!m_rig.start()) {
        m_endTest->setEnabled(false);
        m_polling->hide();
    }
}

void RigSetupWindow::endTest()
{
    m_mode->clear();
    m_frequency->clear();
    m_raw->clear();
    m_rig.stop();
    m_polling->hide();
    m_endTest->setEnabled(false);
}

void RigSetupWindow::done()
{
    applyScreen();
    if (m_rig.hasRadio()) {
        test();
    }
    emit savePreferencesRequested(m_rig.radioType());
    QString error;
    if (!m_rig.saveSettings(&error)) {
        m_platform.prompter.message(QStringLiteral("The rig settings could not be saved: ") + error,
                                    QStringLiteral("Error Saving Rig Settings"), MessageIcon::Critical);
    }
    hide();
}

void RigSetupWindow::showReply(float mhz, const QString& mode, const QByteArray& raw)
{
    if (!isVisible()) {
        return;
    }
    if (mhz > 0.0f) {
        m_frequency->setText(formatNumber(mhz, QStringLiteral("###.####0")));
    }
    m_mode->setText(mode);
    m_raw->setText(m_showHex->isChecked() ? bytesToSpacedHex(raw) : QString::fromLatin1(raw));
}

void RigSetupWindow::openTestWindow()
{
    if (!m_rig.isPolling()) {
        m_platform.prompter.message(
            QStringLiteral(
                "You must be polling your rig to test this function.  Please select your rig type and "
                "click the Test command button."),
            QStringLiteral("You must be polling your rig to test this function."), MessageIcon::Information);
        return;
    }
    FrequencyTestWindow window(m_rig, this);
    if (m_testRunner) {
        m_testRunner(window);
    } else {
        window.exec();
    }
}

} // namespace velk
