#include "cw/ui/keyerwindow.h"

#include "common/formats.h"
#include "common/platform/serialdevice.h"
#include "common/quotedlist.h"
#include "cw/morse.h"
#include "cw/ui/codepracticewindow.h"
#include "cw/ui/cwboxes.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

namespace velk {

namespace {

constexpr std::array<KeyerType, 5> keyerTypeOrder{KeyerType::None, KeyerType::Rts, KeyerType::Dtr,
                                                  KeyerType::Parallel, KeyerType::WinKey};
const std::array<QString, 3> timingNames{QStringLiteral("Timer"), QStringLiteral("Sleep"),
                                         QStringLiteral("Loop")};

QPushButton* button(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* made = new QPushButton(text, parent);
    made->setObjectName(objectName);
    return made;
}

} // namespace

KeyerWindow::KeyerWindow(Platform& platform, Keyer& keyer, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_keyer(keyer)
{
    setObjectName(QStringLiteral("keyerWindow"));
    setWindowTitle(tr("CW String Selections"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildMessages());
    auto* settingsRow = new QHBoxLayout;
    settingsRow->addWidget(buildLine());
    settingsRow->addWidget(buildTiming());
    layout->addLayout(settingsRow);
    layout->addWidget(buildButtons());

    connect(&m_keyer, &Keyer::speedChanged, this,
            [this](int wpm) { m_speed->setText(QString::number(wpm)); });
    connect(&m_keyer, &Keyer::sendingFinished, m_sendingLabel, &QLabel::hide);
    connect(&m_keyer, &Keyer::keyingPriorityChanged, this, &KeyerWindow::showPriority);
    refresh();
}

QLineEdit* KeyerWindow::addBox(const QString& objectName, const QString& accessibleName)
{
    auto* box = new QLineEdit(this);
    box->setObjectName(objectName);
    box->setAccessibleName(accessibleName);
    return box;
}

QWidget* KeyerWindow::buildMessages()
{
    auto* group = new QGroupBox(tr("Messages"), this);
    auto* grid = new QGridLayout(group);
    for (int i = 0; i < cwMessageCount; ++i) {
        const QString key = QStringLiteral("F%1").arg(i + 1);
        QLineEdit* box = addBox(QStringLiteral("cwMessage%1").arg(i + 1), key + tr(" message"));
        installCapitalFilter(box);
        connect(box, &QLineEdit::textEdited, this,
                [this, i](const QString& text) { m_keyer.setMessage(i, text); });
        auto* caption = new QLabel(key, group);
        caption->setBuddy(box);
        grid->addWidget(caption, i, 0);
        grid->addWidget(box, i, 1);
        m_messages[static_cast<size_t>(i)] = box;
    }
    grid->addWidget(
        new QLabel(tr("Wildcards are $ for Call, * for RST  and # for Number (where applicable)."), group),
        cwMessageCount, 0, 1, 2);
    grid->addWidget(new QLabel(tr("A ! in the string enters the contact."), group), cwMessageCount + 1, 0, 1,
                    2);
    grid->addWidget(new QLabel(tr("Prosigns:  = BT   [ AR   \\ CL   ] SK   ; KN"), group), cwMessageCount + 2,
                    0, 1, 2);
    return group;
}

QWidget* KeyerWindow::buildLine()
{
    auto* group = new QGroupBox(tr("Keying"), this);
    auto* grid = new QGridLayout(group);
    const std::array<QString, 5> names{tr("None"), tr("RTS"), tr("DTR"), tr("Printer"), tr("WinKey")};
    const std::array<QString, 5> objectNames{QStringLiteral("keyerNone"), QStringLiteral("keyerRts"),
                                             QStringLiteral("keyerDtr"), QStringLiteral("keyerParallel"),
                                             QStringLiteral("keyerWinKey")};
    auto* types = new QHBoxLayout;
    auto* typeGroup = new QButtonGroup(this);
    for (size_t i = 0; i < names.size(); ++i) {
        auto* option = new QRadioButton(names[i], group);
        option->setObjectName(objectNames[i]);
        typeGroup->addButton(option);
        types->addWidget(option);
        connect(option, &QRadioButton::clicked, this, [this, i] { chooseKeyerType(keyerTypeOrder[i]); });
        m_keyerTypes[i] = option;
    }
    grid->addLayout(types, 0, 0, 1, 4);

    m_comPort = addBox(QStringLiteral("comPortBox"), tr("Serial port number"));
    installDigitFilter(m_comPort, QString());
    connect(m_comPort, &QLineEdit::editingFinished, this, &KeyerWindow::leaveComPort);
    m_portPath = new QLabel(group);
    m_portPath->setObjectName(QStringLiteral("comPortPath"));
    grid->addWidget(new QLabel(tr("Com Port"), group), 1, 0);
    grid->addWidget(m_comPort, 1, 1);
    grid->addWidget(m_portPath, 1, 2, 1, 2);

    m_parallelAddress = addBox(QStringLiteral("parallelAddressBox"), tr("Parallel port address"));
    connect(m_parallelAddress, &QLineEdit::textEdited, &m_keyer, &Keyer::setParallelAddress);
    grid->addWidget(new QLabel(tr("Printer Port Address"), group), 2, 0);
    grid->addWidget(m_parallelAddress, 2, 1);

    m_speed = addBox(QStringLiteral("speedBox"), tr("WPM"));
    installDigitFilter(m_speed, QString());
    connect(m_speed, &QLineEdit::editingFinished, this, &KeyerWindow::leaveSpeed);
    auto* faster = button(QStringLiteral("fasterButton"), tr("Faster"), group);
    auto* slower = button(QStringLiteral("slowerButton"), tr("Slower"), group);
    connect(faster, &QPushButton::clicked, &m_keyer, &Keyer::speedUp);
    connect(slower, &QPushButton::clicked, &m_keyer, &Keyer::speedDown);
    grid->addWidget(new QLabel(tr("WPM"), group), 3, 0);
    grid->addWidget(m_speed, 3, 1);
    grid->addWidget(faster, 3, 2);
    grid->addWidget(slower, 3, 3);

    m_wordSpace = addBox(QStringLiteral("wordSpaceBox"), tr("Word Space"));
    installDigitFilter(m_wordSpace, QStringLiteral("-."));
    connect(m_wordSpace, &QLineEdit::textEdited, this, &KeyerWindow::editWordSpace);
    connect(m_wordSpace, &QLineEdit::editingFinished, this, &KeyerWindow::leaveWordSpace);
    auto* less = button(QStringLiteral("lessButton"), tr("Less"), group);
    auto* more = button(QStringLiteral("moreButton"), tr("More"), group);
    connect(less, &QPushButton::clicked, this, [this] { stepWordSpace(-1); });
    connect(more, &QPushButton::clicked, this, [this] { stepWordSpace(1); });
    grid->addWidget(new QLabel(tr("Word Space"), group), 4, 0);
    grid->addWidget(m_wordSpace, 4, 1);
    grid->addWidget(less, 4, 2);
    grid->addWidget(more, 4, 3);

    m_repeat = addBox(QStringLiteral("repeatBox"), tr("Loop (Sec)"));
    installDigitFilter(m_repeat, QStringLiteral("."));
    connect(m_repeat, &QLineEdit::editingFinished, this, &KeyerWindow::leaveRepeat);
    grid->addWidget(new QLabel(tr("Loop (Sec)"), group), 5, 0);
    grid->addWidget(m_repeat, 5, 1);

    m_showText = new QCheckBox(tr("Display CW text on main form (NA for WinKey)."), group);
    m_showText->setObjectName(QStringLiteral("showTextCheck"));
    connect(m_showText, &QCheckBox::toggled, &m_keyer, &Keyer::setShowText);
    grid->addWidget(m_showText, 6, 0, 1, 4);
    return group;
}

QWidget* KeyerWindow::buildTiming()
{
    auto* group = new QGroupBox(tr("Timing Options:"), this);
    auto* layout = new QVBoxLayout(group);
    auto* timingGroup = new QButtonGroup(this);
    const std::array<QString, 3> objectNames{QStringLiteral("timingTimer"), QStringLiteral("timingSleep"),
                                             QStringLiteral("timingLoop")};
    for (size_t i = 0; i < timingNames.size(); ++i) {
        auto* option = new QRadioButton(timingNames[i], group);
        option->setObjectName(objectNames[i]);
        timingGroup->addButton(option);
        layout->addWidget(option);
        connect(option, &QRadioButton::clicked, this, [this, i] { chooseTiming(timingNames[i]); });
        m_timings[i] = option;
    }
    layout->addWidget(new QLabel(tr("Timer is the preferred option on most systems."), group));
    auto* loopRow = new QHBoxLayout;
    m_loop = addBox(QStringLiteral("loopOffsetBox"), tr("Loops per 60 ms"));
    connect(m_loop, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (const auto value = parseSettingsNumber(text.trimmed());
            value && std::isfinite(*value) && *value >= 0) {
            m_keyer.setLoopOffset(*value);
        }
    });
    m_loopFaster = button(QStringLiteral("loopFasterButton"), tr("F"), group);
    m_loopFaster->setToolTip(tr("Speed up CW"));
    m_loopSlower = button(QStringLiteral("loopSlowerButton"), tr("S"), group);
    m_loopSlower->setToolTip(tr("Slow Down CW"));
    connect(m_loopFaster, &QPushButton::clicked, this, [this] { scaleLoop(0.9); });
    connect(m_loopSlower, &QPushButton::clicked, this, [this] { scaleLoop(1.111111111111); });
    loopRow->addWidget(new QLabel(tr("Loops per 60 ms"), group));
    loopRow->addWidget(m_loop);
    loopRow->addWidget(m_loopFaster);
    loopRow->addWidget(m_loopSlower);
    layout->addLayout(loopRow);
    auto* advice =
        new QLabel(tr("For the most precise timing, do not run any other programs, virus software etc. "
                      "while transmitting."),
                   group);
    advice->setWordWrap(true);
    layout->addWidget(advice);
    m_priority = new QLabel(group);
    m_priority->setObjectName(QStringLiteral("keyingPriorityLabel"));
    m_priority->setAccessibleName(tr("Keying thread priority"));
    m_priority->setWordWrap(true);
    layout->addWidget(m_priority);
    return group;
}

QWidget* KeyerWindow::buildButtons()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    auto* note =
        new QLabel(tr("Make sure your transceiver produces a side tone and the frequency is clear before "
                      "testing."),
                   row);
    note->setWordWrap(true);
    layout->addWidget(note, 1);
    m_sendingLabel = new QLabel(tr("Sending!"), row);
    m_sendingLabel->setObjectName(QStringLiteral("sendingLabel"));
    m_sendingLabel->hide();
    layout->addWidget(m_sendingLabel);
    auto* testButton = button(QStringLiteral("testButton"), tr("&Test"), row);
    connect(testButton, &QPushButton::clicked, this, &KeyerWindow::test);
    auto* practice = button(QStringLiteral("codePracticeButton"), tr("Send Code Practice"), row);
    connect(practice, &QPushButton::clicked, this, [this] {
        auto* window = new CodePracticeWindow(m_platform, m_keyer, this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->open();
    });
    m_winKeyButton = button(QStringLiteral("configureWinKeyButton"), tr("Configure Winkey"), row);
    m_winKeyButton->setVisible(false);
    connect(m_winKeyButton, &QPushButton::clicked, &m_keyer, &Keyer::requestWinKeyConfiguration);
    m_doneButton = button(QStringLiteral("doneButton"), tr("Done"), row);
    connect(m_doneButton, &QPushButton::clicked, this, &KeyerWindow::done);
    layout->addWidget(testButton);
    layout->addWidget(practice);
    layout->addWidget(m_winKeyButton);
    layout->addWidget(m_doneButton);
    return row;
}

void KeyerWindow::showEvent(QShowEvent* event)
{
    refresh();
    QDialog::showEvent(event);
}

void KeyerWindow::refresh()
{
    const CwSettings& settings = m_keyer.settings();
    for (int i = 0; i < cwMessageCount; ++i) {
        m_messages[static_cast<size_t>(i)]->setText(settings.messages[static_cast<size_t>(i)]);
    }
    m_comPort->setText(settings.comPort);
    m_speed->setText(QString::number(m_keyer.speed()));
    m_wordSpace->setText(settings.wordSpace);
    m_parallelAddress->setText(settings.parallelAddress);
    m_repeat->setText(settings.repeatSeconds);
    m_showText->setChecked(settings.showText);
    for (size_t i = 0; i < keyerTypeOrder.size(); ++i) {
        m_keyerTypes[i]->setChecked(keyerTypeOrder[i] == settings.keyerType);
    }
    m_winKeyButton->setVisible(m_winKeyButton->isVisible() || settings.keyerType == KeyerType::WinKey);
    for (size_t i = 0; i < timingNames.size(); ++i) {
        m_timings[i]->setChecked(timingNames[i] == m_keyer.timingMethod());
    }
    const bool loop = m_keyer.timingMethod() == QLatin1String("Loop");
    m_loop->setText(formatSettingsNumber(m_keyer.loopOffset()));
    m_loop->setEnabled(loop);
    m_loopFaster->setEnabled(loop);
    m_loopSlower->setEnabled(loop);
    showPortPath();
    showPriority();
}

void KeyerWindow::showPriority()
{
    m_priority->setText(tr("Keying thread: %1").arg(describeThreadPriority(m_keyer.keyingPriority())));
}

void KeyerWindow::chooseKeyerType(KeyerType type)
{
    m_keyer.setKeyerType(type);
    if (type == KeyerType::WinKey) {
        m_winKeyButton->setVisible(true);
    }
}

void KeyerWindow::showPortPath()
{
    const int port = m_comPort->text().toInt();
    m_portPath->setText(port > 0 ? serialDevicePath(port, m_platform.environment, m_platform.settings)
                                 : QString());
}

void KeyerWindow::leaveComPort()
{
    bool numeric = false;
    m_comPort->text().toInt(&numeric);
    if (!numeric) {
        m_comPort->setText(QStringLiteral("0"));
    }
    m_keyer.setComPort(m_comPort->text());
    showPortPath();
    const KeyerType type = m_keyer.keyerType();
    if ((type == KeyerType::Rts || type == KeyerType::Dtr) && m_comPort->text().toInt() > 0) {
        m_keyer.setUpPort();
    }
}

void KeyerWindow::leaveSpeed()
{
    // Speeds outside 5-99 are never keyed: the box shows what will be used.
    m_keyer.setSpeed(m_speed->text().toInt());
}

void KeyerWindow::editWordSpace()
{
    const auto value = parseSettingsNumber(m_wordSpace->text());
    if (value && *value < minimumWordSpace) {
        m_wordSpace->setText(QString::number(minimumWordSpace));
    }
}

void KeyerWindow::leaveWordSpace()
{
    bool whole = false;
    const int units = m_wordSpace->text().trimmed().toInt(&whole);
    m_keyer.setWordSpace(whole ? units : 0);
    m_wordSpace->setText(m_keyer.settings().wordSpace);
}

void KeyerWindow::stepWordSpace(int step)
{
    bool whole = false;
    const int units = m_wordSpace->text().trimmed().toInt(&whole);
    m_keyer.setWordSpace((whole ? units : 0) + step);
    m_wordSpace->setText(m_keyer.settings().wordSpace);
}

void KeyerWindow::leaveRepeat()
{
    if (!m_keyer.setRepeatSeconds(m_repeat->text())) {
        if (m_repeat->text().trimmed() != QLatin1String("0")) {
            m_platform.prompter.bell();
        }
        m_repeat->setText(QStringLiteral("0"));
    }
}

void KeyerWindow::chooseTiming(const QString& method)
{
    m_keyer.setTimingMethod(method);
    refresh();
}

void KeyerWindow::scaleLoop(double factor)
{
    const auto value = parseSettingsNumber(m_loop->text().trimmed());
    const double scaled = std::nearbyint((value && std::isfinite(*value) ? *value : 0) * factor);
    m_keyer.setLoopOffset(scaled);
    m_loop->setText(formatSettingsNumber(scaled));
    m_doneButton->setFocus();
}

void KeyerWindow::test()
{
    m_sendingLabel->show();
    m_keyer.sendFunctionKey(9);
    if (!m_keyer.isSending()) {
        m_sendingLabel->hide();
    }
    if (isVisible()) {
        m_messages[0]->setFocus();
    }
}

void KeyerWindow::done()
{
    leaveSpeed();
    leaveWordSpace();
    leaveRepeat();
    m_keyer.saveSettings();
    hide();
    emit doneClicked();
}

} // namespace velk
