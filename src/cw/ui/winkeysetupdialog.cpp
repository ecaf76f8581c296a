#include "cw/ui/winkeysetupdialog.h"

#include "cw/winkeysettingsfile.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace velk {

namespace {

struct Choice
{
    const char* objectName;
    const char* text;
    int value;
};

constexpr Choice pinChoices[] = {
    {"pinKey5Out3Off", "P5 Key Out, P3 Off", 8},
    {"pinKey5Off3Out", "P5 Off, P3 Key Out", 4},
    {"pinTone", "Tone", 6},
    {"pinPtt", "PTT", 5},
};

constexpr Choice modeChoices[] = {
    {"modeIambicB", "Iambic B", 0},
    {"modeIambicA", "Iambic A", 16},
    {"modeUltimatic", "Ultimatic", 32},
    {"modeBug", "Bug Keyer", 48},
};

QPushButton* button(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* made = new QPushButton(text, parent);
    made->setObjectName(objectName);
    made->setAutoDefault(false);
    return made;
}

QButtonGroup* addChoices(QWidget* parent, QVBoxLayout* layout, const QString& title,
                         const QString& objectName, const Choice* choices, int count)
{
    auto* frame = new QGroupBox(title, parent);
    frame->setObjectName(objectName);
    auto* column = new QVBoxLayout(frame);
    auto* group = new QButtonGroup(frame);
    for (int i = 0; i < count; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(choices[i].text), frame);
        option->setObjectName(QString::fromLatin1(choices[i].objectName));
        group->addButton(option, choices[i].value);
        column->addWidget(option);
    }
    layout->addWidget(frame);
    return group;
}

} // namespace

QString winKeyConnectionFailedText(int port)
{
    return QStringLiteral("Unable to establish connection with WinKey on com port ") + QString::number(port) +
           QStringLiteral(
               ".  Please check to make sure that you have specified the correct port and that the "
               "Winkey device is properly connected.");
}

WinKeySetupDialog::WinKeySetupDialog(Platform& platform, WinKeyLink& link, QString settingsPath,
                                     std::function<QString()> ownCall, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_link(link), m_settingsPath(std::move(settingsPath)),
      m_ownCall(std::move(ownCall))
{
    setObjectName(QStringLiteral("winKeySetupDialog"));
    setWindowTitle(QStringLiteral(" WinKey Setup"));

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    addNumberRow(grid, 0, QStringLiteral("Com Port:"), QStringLiteral("winKeyPortBox"), QString(), m_port, 0,
                 10, 0, QStringLiteral("1-10, 0 = none"));
    m_portPath = new QLabel(this);
    m_portPath->setObjectName(QStringLiteral("winKeyPortPath"));
    m_portPath->setAccessibleName(QStringLiteral("Device of the com port"));
    grid->addWidget(m_portPath, 0, 3);
    addNumberRow(grid, 1, QStringLiteral("WPM:"), QStringLiteral("winKeySpeedBox"), QString(), m_speed,
                 winkey::minSpeed, winkey::maxSpeed, 18, QStringLiteral("5-99"));
    addNumberRow(grid, 2, QStringLiteral("Weight:"), QStringLiteral("winKeyWeightBox"),
                 QStringLiteral("Proportional amount added or subtracted (50 is standard)."), m_weight,
                 winkey::minWeight, winkey::maxWeight, 50, QStringLiteral("10-90"));
    addNumberRow(grid, 3, QStringLiteral("Lead In:"), QStringLiteral("winKeyLeadInBox"),
                 QStringLiteral("Lead in time for transmitter (10 ms increments)."), m_leadIn, 0,
                 winkey::maxLeadTail, 0, QStringLiteral("0-250"));
    addNumberRow(grid, 4, QStringLiteral("Tail:"), QStringLiteral("winKeyTailBox"),
                 QStringLiteral("Tail time after keying has stopped (10 ms increments)."), m_tail, 0,
                 winkey::maxLeadTail, 0, QStringLiteral("0-250"));
    addNumberRow(grid, 5, QStringLiteral("Ratio:"), QStringLiteral("winKeyRatioBox"),
                 QStringLiteral("Ratio of dits to dahs (Range: 33 - 66)."), m_ratio, winkey::minRatio,
                 winkey::maxRatio, 50, QStringLiteral("33-66"));
    layout->addLayout(grid);

    auto* options = new QHBoxLayout;
    auto* pinColumn = new QVBoxLayout;
    auto* modeColumn = new QVBoxLayout;
    m_pinGroup = addChoices(this, pinColumn, QStringLiteral("Pin 5 Configuration"),
                            QStringLiteral("pinFrame"), pinChoices, 4);
    m_modeGroup = addChoices(this, modeColumn, QStringLiteral("Keyer Mode"), QStringLiteral("modeFrame"),
                             modeChoices, 4);
    options->addLayout(pinColumn);
    options->addLayout(modeColumn);
    layout->addLayout(options);
    const auto chosen = [this] {
        if (!m_filling) {
            applyBoxes();
        }
    };
    connect(m_pinGroup, &QButtonGroup::idClicked, this, chosen);
    connect(m_modeGroup, &QButtonGroup::idClicked, this, chosen);

    auto* statusRow = new QHBoxLayout;
    m_openStatus = new QLabel(QStringLiteral("Closed"), this);
    m_openStatus->setObjectName(QStringLiteral("winKeyOpenStatus"));
    m_openStatus->setAccessibleName(QStringLiteral("WinKey link status"));
    m_version = new QLabel(QStringLiteral("Version #"), this);
    m_version->setObjectName(QStringLiteral("winKeyVersion"));
    m_version->setAccessibleName(QStringLiteral("WinKey version"));
    statusRow->addWidget(m_openStatus);
    statusRow->addWidget(m_version);
    layout->addLayout(statusRow);

    m_typing = new QLineEdit(this);
    m_typing->setObjectName(QStringLiteral("winKeyTypingBox"));
    m_typing->setAccessibleName(QStringLiteral("Text to send"));
    m_typing->installEventFilter(this);
    layout->addWidget(m_typing);

    auto* buttons = new QHBoxLayout;
    auto* open = button(QStringLiteral("winKeyOpenButton"), QStringLiteral("Open"), this);
    auto* close = button(QStringLiteral("winKeyCloseButton"), QStringLiteral("Close"), this);
    auto* stop = button(QStringLiteral("winKeyStopButton"), QStringLiteral("Stop"), this);
    auto* test = button(QStringLiteral("winKeyTestButton"), QStringLiteral("Test"), this);
    auto* bufferTest = button(QStringLiteral("winKeyBufferTestButton"), QStringLiteral("Buffer Test"), this);
    auto* defaultsTest =
        button(QStringLiteral("winKeyDefaultsTestButton"), QStringLiteral("Defaults Test"), this);
    m_done = button(QStringLiteral("winKeyDoneButton"), QStringLiteral("&Done"), this);
    for (QPushButton* each : {open, close, stop, test, bufferTest, defaultsTest, m_done}) {
        buttons->addWidget(each);
    }
    layout->addLayout(buttons);
    connect(open, &QPushButton::clicked, this, &WinKeySetupDialog::pressOpen);
    connect(close, &QPushButton::clicked, this, &WinKeySetupDialog::pressClose);
    connect(stop, &QPushButton::clicked, this, &WinKeySetupDialog::pressStop);
    connect(test, &QPushButton::clicked, this, &WinKeySetupDialog::pressTest);
    connect(bufferTest, &QPushButton::clicked, this, &WinKeySetupDialog::pressBufferTest);
    // "Defaults Test" does nothing; the button stays where operators know it.
    connect(m_done, &QPushButton::clicked, this, &WinKeySetupDialog::pressDone);

    connect(&m_link, &WinKeyLink::openFinished, this, &WinKeySetupDialog::onOpenFinished);
    connect(&m_link, &WinKeyLink::closed, this, &WinKeySetupDialog::showClosed);
    showSettings();
}

QLineEdit* WinKeySetupDialog::addNumberRow(QGridLayout* grid, int row, const QString& caption,
                                           const QString& objectName, const QString& hint, NumberBox& number,
                                           int minimum, int maximum, int fallback, const QString& range)
{
    number.box = new QLineEdit(this);
    number.box->setObjectName(objectName);
    number.box->setAccessibleName(caption);
    number.box->setToolTip(hint);
    number.box->setMaximumWidth(60);
    // Digits only (Backspace edits as ever).
    number.box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), number.box));
    number.note = new QLabel(range, this);
    number.note->setObjectName(objectName + QStringLiteral("Note"));
    number.note->setAccessibleName(caption + QStringLiteral(" range"));
    number.minimum = minimum;
    number.maximum = maximum;
    number.fallback = fallback;
    number.range = range;
    auto* label = new QLabel(caption, this);
    label->setBuddy(number.box);
    grid->addWidget(label, row, 0);
    grid->addWidget(number.box, row, 1);
    grid->addWidget(number.note, row, 2);
    connect(number.box, &QLineEdit::editingFinished, this, [this, &number] { leaveBox(number); });
    return number.box;
}

WinKeySetupDialog::~WinKeySetupDialog()
{
    // Hiding the dialog as it goes moves the focus out of a box: its leave step must not run on a
    // half-destroyed window.
    for (QLineEdit* box : findChildren<QLineEdit*>()) {
        box->disconnect(this);
    }
}

void WinKeySetupDialog::showSettings()
{
    m_filling = true;
    const WinKeySettings& settings = m_link.settings();
    const std::pair<NumberBox*, int> values[] = {{&m_port, settings.port},     {&m_speed, settings.speed},
                                                 {&m_weight, settings.weight}, {&m_leadIn, settings.leadIn},
                                                 {&m_tail, settings.tail},     {&m_ratio, settings.ratio}};
    for (const auto& [number, value] : values) {
        number->box->setText(QString::number(value));
        number->note->setText(number->range);
        number->clampedTo = -1;
    }
    if (auto* pin = m_pinGroup->button(settings.pinConfig)) {
        pin->setChecked(true);
    }
    if (auto* mode = m_modeGroup->button(settings.mode)) {
        mode->setChecked(true);
    }
    showPortPath();
    m_filling = false;
}

int WinKeySetupDialog::settle(NumberBox& number)
{
    bool numeric = false;
    const int typed = number.box->text().toInt(&numeric);
    if (!numeric) {
        number.box->setText(QString::number(number.fallback));
        number.note->setText(number.range);
        number.clampedTo = -1;
        return number.fallback;
    }
    const int value = std::clamp(typed, number.minimum, number.maximum);
    if (value != typed) {
        // The device would misread the value: the box shows what is sent instead.
        number.box->setText(QString::number(value));
        number.note->setText(
            QStringLiteral("%1: %2 is not taken, %3 is used").arg(number.range).arg(typed).arg(value));
        number.clampedTo = value;
    } else if (value != number.clampedTo) {
        number.note->setText(number.range);
        number.clampedTo = -1;
    }
    return value;
}

void WinKeySetupDialog::leaveBox(NumberBox& number)
{
    if (m_filling) {
        return;
    }
    settle(number);
    applyBoxes();
}

void WinKeySetupDialog::applyBoxes()
{
    WinKeySettings settings = m_link.settings();
    settings.port = settle(m_port);
    settings.speed = settle(m_speed);
    settings.weight = settle(m_weight);
    settings.leadIn = settle(m_leadIn);
    settings.tail = settle(m_tail);
    settings.ratio = settle(m_ratio);
    if (m_pinGroup->checkedId() >= 0) {
        settings.pinConfig = m_pinGroup->checkedId();
    }
    if (m_modeGroup->checkedId() >= 0) {
        settings.mode = m_modeGroup->checkedId();
    }
    if (!(settings == m_link.settings())) {
        m_link.setSettings(settings);
    }
    showPortPath();
}

void WinKeySetupDialog::showPortPath()
{
    const int port = m_link.settings().port;
    m_portPath->setText(port >= 1 ? serialDevicePath(port, m_platform.environment, m_platform.settings)
                                  : QStringLiteral("no port"));
}

void WinKeySetupDialog::pressOpen()
{
    applyBoxes();
    m_link.open();
}

void WinKeySetupDialog::onOpenFinished(int result, int version)
{
    if (result != WinKeyAlreadyOpen && version == 0) {
        m_platform.prompter.message(winKeyConnectionFailedText(m_link.settings().port),
                                    QStringLiteral("Unable to establish connection with Winkey."),
                                    MessageIcon::Warning);
    }
    const QString text = winKeyOpenResultText(result);
    if (!text.isEmpty()) {
        m_openStatus->setText(text);
    }
    if (result != WinKeyAlreadyOpen && version != 0) {
        m_version->setText(QStringLiteral("Version # ") + QString::number(version));
    }
    if (isVisible()) {
        m_done->setFocus();
    }
}

void WinKeySetupDialog::pressClose()
{
    m_link.close();
    showClosed();
    if (isVisible()) {
        m_done->setFocus();
    }
}

void WinKeySetupDialog::showClosed()
{
    m_openStatus->setText(QStringLiteral("Closed"));
    m_version->setText(QStringLiteral("Version #"));
}

void WinKeySetupDialog::pressStop()
{
    m_link.stop();
}

void WinKeySetupDialog::pressTest()
{
    m_link.append(QStringLiteral("VVV TEST DE ") + (m_ownCall ? m_ownCall() : QString()));
}

void WinKeySetupDialog::pressBufferTest()
{
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ ");
    m_link.append(alphabet + alphabet + alphabet);
}

void WinKeySetupDialog::pressDone()
{
    applyBoxes();
    if (const auto error = saveWinKeySettings(m_settingsPath, m_link.settings())) {
        m_platform.prompter.message(*error, QStringLiteral("Error!"), MessageIcon::Critical);
    }
    QDialog::accept();
}

void WinKeySetupDialog::accept()
{
    pressDone();
}

bool WinKeySetupDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_typing && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(event)->text().toUpper();
        QString keyed;
        for (const QChar character : typed) {
            if (character.unicode() > 13) {
                keyed += character;
            }
        }
        if (!keyed.isEmpty()) {
            m_link.append(keyed);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void WinKeySetupDialog::showEvent(QShowEvent* event)
{
    // The keyer's speed keys may have changed the speed since the window was last open.
    showSettings();
    if (m_link.isOpen()) {
        m_openStatus->setText(winKeyOpenResultText(WinKeySuccess));
        m_version->setText(QStringLiteral("Version # ") + QString::number(m_link.version()));
    }
    QDialog::showEvent(event);
}

} // namespace velk
