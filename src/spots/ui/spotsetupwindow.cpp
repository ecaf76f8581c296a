#include "spots/ui/spotsetupwindow.h"

#include "spots/spotfeed.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

namespace velk {

namespace {

struct Choice
{
    const char* caption;
    const char* value;
    const char* objectName;
};

const Choice baudChoices[] = {{"1.2k", "1200", "baud1200Option"},    {"2.4k", "2400", "baud2400Option"},
                              {"4.8k", "4800", "baud4800Option"},    {"9.6k", "9600", "baud9600Option"},
                              {"14.4k", "14400", "baud14400Option"}, {"19.2k", "19200", "baud19200Option"}};
const Choice parityChoices[] = {
    {"Odd", "O", "parityOddOption"}, {"None", "N", "parityNoneOption"}, {"Even", "E", "parityEvenOption"}};
const Choice dataBitChoices[] = {{"7", "7", "dataBits7Option"}, {"8", "8", "dataBits8Option"}};
const Choice stopBitChoices[] = {{"1", "1", "stopBits1Option"}, {"2", "2", "stopBits2Option"}};
const Choice powerChoices[] = {
    {"None", "N", "powerNoneOption"}, {"RTS", "R", "powerRtsOption"}, {"DTR", "D", "powerDtrOption"}};
const Choice handshakeChoices[] = {{"None", "1", "handshakeNoneOption"},
                                   {"Xon Xoff", "2", "handshakeXonXoffOption"},
                                   {"RTS", "3", "handshakeRtsOption"},
                                   {"RTS OnOff", "4", "handshakeRtsXonXoffOption"}};

template <std::size_t N>
QGroupBox* optionGroup(const QString& title, const Choice (&choices)[N], QButtonGroup*& group,
                       QWidget* parent, int columns = 1)
{
    auto* box = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(box);
    group = new QButtonGroup(box);
    for (std::size_t i = 0; i < N; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(choices[i].caption), box);
        option->setObjectName(QString::fromLatin1(choices[i].objectName));
        option->setProperty("value", QString::fromLatin1(choices[i].value));
        option->setAccessibleName(title + QLatin1Char(' ') + option->text());
        group->addButton(option, static_cast<int>(i));
        grid->addWidget(option, static_cast<int>(i) / columns, static_cast<int>(i) % columns);
    }
    return box;
}

QString checkedValue(const QButtonGroup* group)
{
    const QAbstractButton* button = group->checkedButton();
    return button ? button->property("value").toString() : QString();
}

void checkValue(QButtonGroup* group, const QString& value)
{
    for (QAbstractButton* button : group->buttons()) {
        if (button->property("value").toString() == value.trimmed()) {
            button->setChecked(true);
        }
    }
}

QLineEdit* labelledBox(const QString& caption, const QString& objectName, QGridLayout* grid, int row,
                       QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setAccessibleName(caption);
    label->setBuddy(box);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    return box;
}

QPushButton* button(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}

} // namespace

SpotSetupWindow::SpotSetupWindow(SpotFeed& feed, QWidget* parent) : QWidget(parent, Qt::Window), m_feed(feed)
{
    setObjectName(QStringLiteral("spotSetupWindow"));
    setWindowTitle(feed.caption());
    build();
    m_monitorRefresh = new QTimer(this);
    m_monitorRefresh->setSingleShot(true);
    m_monitorRefresh->setInterval(50); // a burst of spots repaints the monitor once
    connect(m_monitorRefresh, &QTimer::timeout, this, &SpotSetupWindow::refreshMonitor);
    connect(&m_feed, &SpotFeed::monitorText, this, [this] {
        if (!m_monitorRefresh->isActive()) {
            m_monitorRefresh->start();
        }
    });
    connect(&m_feed, &SpotFeed::stateChanged, this, &SpotSetupWindow::showListening);
    connect(&m_feed, &SpotFeed::captionChanged, this, &QWidget::setWindowTitle);
    connect(&m_feed, &SpotFeed::showRequested, this, [this] {
        show();
        raise();
    });
}

void SpotSetupWindow::build()
{
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    m_sources = new QListWidget(this);
    m_sources->setObjectName(QStringLiteral("spotSourceList"));
    m_sources->setAccessibleName(tr("Spot source"));
    for (SpotSource source : {SpotSource::None, SpotSource::Tnc, SpotSource::Telnet, SpotSource::Agw}) {
        m_sources->addItem(spotSourceName(source));
    }
    m_sources->setMaximumWidth(170);
    connect(m_sources, &QListWidget::currentRowChanged, this, [this] {
        if (!m_loading) {
            chooseSource();
        }
    });
    top->addWidget(m_sources);
    top->addWidget(buildSerialSettings(), 1);

    auto* right = new QVBoxLayout;
    auto* telnetGrid = new QGridLayout;
    m_telnetHost = labelledBox(tr("Telnet Host:"), QStringLiteral("telnetHostBox"), telnetGrid, 0, this);
    m_telnetPort = labelledBox(tr("Telnet Port:"), QStringLiteral("telnetPortBox"), telnetGrid, 1, this);
    m_telnetPort->setMaxLength(5);
    m_agwHost = labelledBox(tr("AGW Host:"), QStringLiteral("agwHostBox"), telnetGrid, 2, this);
    m_agwPort = labelledBox(tr("AGW Port:"), QStringLiteral("agwPortBox"), telnetGrid, 3, this);
    m_agwPort->setMaxLength(5);
    m_agwPort->setValidator(new QIntValidator(1, 65535, m_agwPort));
    right->addLayout(telnetGrid);
    auto* display = new QGroupBox(tr("Main Form Display"), this);
    auto* displayLayout = new QVBoxLayout(display);
    m_bandMapOption = new QRadioButton(tr("Band Map"), display);
    m_bandMapOption->setObjectName(QStringLiteral("bandMapOption"));
    m_listOption = new QRadioButton(tr("List"), display);
    m_listOption->setObjectName(QStringLiteral("listOption"));
    displayLayout->addWidget(m_bandMapOption);
    displayLayout->addWidget(m_listOption);
    right->addWidget(display);
    m_listDxOnly = new QCheckBox(tr("List DX Only (also controls main form)"), this);
    m_listDxOnly->setObjectName(QStringLiteral("listDxOnlyBox"));
    connect(m_listDxOnly, &QCheckBox::toggled, this, [this](bool on) { m_feed.setListDxOnly(on); });
    right->addWidget(m_listDxOnly);
    m_listening = new QLabel(tr("Listening"), this);
    m_listening->setObjectName(QStringLiteral("listeningLabel"));
    m_listening->hide();
    right->addWidget(m_listening);
    right->addStretch(1);
    top->addLayout(right);
    layout->addLayout(top);

    m_monitor = new QPlainTextEdit(this);
    m_monitor->setObjectName(QStringLiteral("spotMonitor"));
    m_monitor->setAccessibleName(tr("Received from the spot source"));
    m_monitor->setReadOnly(true);
    m_monitor->setUndoRedoEnabled(false);
    m_monitor->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_monitor->setMinimumHeight(220);
    layout->addWidget(m_monitor, 1);

    m_sendLabel = new QLabel(tr("Type text to send and press enter:"), this);
    m_sendLabel->setObjectName(QStringLiteral("sendLabel"));
    m_send = new QLineEdit(this);
    m_send->setObjectName(QStringLiteral("sendBox"));
    m_send->setAccessibleName(tr("Text to send"));
    m_sendLabel->setBuddy(m_send);
    m_send->installEventFilter(this);
    connect(m_send, &QLineEdit::textChanged, this, &SpotSetupWindow::wrapPacketLine);
    layout->addWidget(m_sendLabel);
    layout->addWidget(m_send);

    auto* buttons = new QHBoxLayout;
    m_openButton = button(QStringLiteral("openPortButton"), tr("Open Port"), this);
    m_closeButton = button(QStringLiteral("closePortButton"), tr("Close Port"), this);
    m_spotLastButton = button(QStringLiteral("spotLastButton"), tr("&Spot Last"), this);
    m_doneButton = button(QStringLiteral("doneButton"), tr("&Done"), this);
    for (QPushButton* b : {m_openButton, m_closeButton, m_spotLastButton, m_doneButton}) {
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(m_openButton, &QPushButton::clicked, this, &SpotSetupWindow::openSource);
    connect(m_closeButton, &QPushButton::clicked, this, [this] { m_feed.close(); });
    connect(m_spotLastButton, &QPushButton::clicked, this, &SpotSetupWindow::spotLast);
    connect(m_doneButton, &QPushButton::clicked, this, &SpotSetupWindow::finish);
    resize(860, 640);
}

QWidget* SpotSetupWindow::buildSerialSettings()
{
    m_serialBox = new QGroupBox(tr("TNC"), this);
    m_serialBox->setObjectName(QStringLiteral("serialSettings"));
    auto* grid = new QGridLayout(m_serialBox);
    grid->addWidget(optionGroup(tr("Baud Rate of Com Port to TNC (not necessarily transmitted baud rate)"),
                                baudChoices, m_baud, m_serialBox, 3),
                    0, 0, 1, 3);
    grid->addWidget(optionGroup(tr("Parity"), parityChoices, m_parity, m_serialBox), 1, 0);
    grid->addWidget(optionGroup(tr("Data Bits"), dataBitChoices, m_dataBits, m_serialBox), 1, 1);
    grid->addWidget(optionGroup(tr("Stop Bits"), stopBitChoices, m_stopBits, m_serialBox), 1, 2);
    auto* ports = new QGroupBox(tr("Comm Port"), m_serialBox);
    auto* portGrid = new QGridLayout(ports);
    m_commPort = new QButtonGroup(ports);
    for (int port = 1; port <= 10; ++port) {
        auto* option = new QRadioButton(QString::number(port), ports);
        option->setObjectName(QStringLiteral("commPort%1Option").arg(port));
        option->setAccessibleName(tr("Comm Port %1").arg(port));
        m_commPort->addButton(option, port);
        portGrid->addWidget(option, (port - 1) / 5, (port - 1) % 5);
    }
    grid->addWidget(ports, 2, 0, 1, 3);
    grid->addWidget(optionGroup(tr("Connection Power"), powerChoices, m_power, m_serialBox), 3, 0);
    grid->addWidget(optionGroup(tr("Handshaking"), handshakeChoices, m_handshaking, m_serialBox), 3, 1);
    auto* hexGrid = new QGridLayout;
    m_commandHex = labelledBox(tr("TNC cmd mode hex character:"), QStringLiteral("commandHexBox"), hexGrid, 0,
                               m_serialBox);
    m_commandHex->setMaxLength(2);
    m_convertToHex = new QCheckBox(tr("Convert to Hex"), m_serialBox);
    m_convertToHex->setObjectName(QStringLiteral("convertToHexBox"));
    hexGrid->addWidget(m_convertToHex, 1, 0, 1, 2);
    grid->addLayout(hexGrid, 3, 2);
    return m_serialBox;
}

void SpotSetupWindow::load()
{
    m_loading = true;
    m_feed.loadSettings();
    const SpotSettings& s = m_feed.settings();
    showSettings(s);
    const AgwAddress agw = m_feed.agwAddress();
    m_agwHost->setText(agw.host);
    m_agwPort->setText(agw.port);
    m_sources->setCurrentRow(static_cast<int>(s.source));
    m_listDxOnly->setChecked(false);
    m_loading = false;
    enableForSource(s.source);
    if (s.source == SpotSource::None) {
        m_feed.replaceMonitor(spotHelpText(SpotSource::None));
    } else {
        openSource();
    }
    refreshMonitor();
}

void SpotSetupWindow::showSettings(const SpotSettings& s)
{
    checkValue(m_baud, s.baud);
    checkValue(m_parity, s.parity);
    checkValue(m_dataBits, s.dataBits);
    checkValue(m_stopBits, s.stopBits);
    if (QAbstractButton* port = m_commPort->button(s.commPort)) {
        port->setChecked(true);
    }
    checkValue(m_power, s.power);
    checkValue(m_handshaking, QString::number(s.handshaking));
    m_commandHex->setText(s.commandHex);
    m_convertToHex->setChecked(s.convertToHex != 0);
    m_telnetHost->setText(s.telnetHost);
    m_telnetPort->setText(s.telnetPort);
    (s.listMode ? m_listOption : m_bandMapOption)->setChecked(true);
}

void SpotSetupWindow::gatherSettings()
{
    SpotSettings& s = m_feed.settings();
    s.source = selectedSource();
    s.baud = checkedValue(m_baud);
    s.parity = checkedValue(m_parity);
    s.dataBits = checkedValue(m_dataBits);
    s.stopBits = checkedValue(m_stopBits);
    s.commPort = std::max(1, m_commPort->checkedId());
    s.power = checkedValue(m_power);
    s.handshaking = std::clamp(checkedValue(m_handshaking).toInt(), 1, 4);
    s.commandHex = m_commandHex->text();
    s.convertToHex = m_convertToHex->isChecked() ? 1 : 0;
    s.telnetHost = m_telnetHost->text().trimmed();
    s.telnetPort = m_telnetPort->text().trimmed();
    s.listMode = m_listOption->isChecked();
    m_feed.setListDxOnly(m_listDxOnly->isChecked());
    m_feed.setAgwAddress({m_agwHost->text().trimmed(), m_agwPort->text().trimmed()});
}

SpotSource SpotSetupWindow::selectedSource() const
{
    const int row = m_sources->currentRow();
    return row >= 1 && row <= 3 ? static_cast<SpotSource>(row) : SpotSource::None;
}

void SpotSetupWindow::enableForSource(SpotSource source)
{
    const bool any = source != SpotSource::None;
    m_serialBox->setEnabled(source == SpotSource::Tnc);
    m_telnetHost->setEnabled(source == SpotSource::Telnet);
    m_telnetPort->setEnabled(source == SpotSource::Telnet);
    m_agwHost->setEnabled(source == SpotSource::Agw);
    m_agwPort->setEnabled(source == SpotSource::Agw);
    for (QWidget* w : std::initializer_list<QWidget*>{m_send, m_openButton, m_closeButton, m_spotLastButton,
                                                      m_bandMapOption, m_listOption, m_listDxOnly}) {
        w->setEnabled(any);
    }
    switch (source) {
    case SpotSource::Tnc:
        m_sendLabel->setText(tr("Send text  (Ctrl C or Esc for TNC Command mode):"));
        break;
    case SpotSource::Agw:
        m_sendLabel->setText(tr("Send text (use : to send cmds such as :C Varno or :D)"));
        break;
    default:
        m_sendLabel->setText(tr("Type text to send and press enter:"));
        break;
    }
}

void SpotSetupWindow::chooseSource()
{
    gatherSettings();
    const SpotSource source = selectedSource();
    m_listDxOnly->setChecked(false);
    m_feed.selectSource(source);
    showSettings(m_feed.settings());
    enableForSource(source);
    refreshMonitor();
    m_monitor->moveCursor(QTextCursor::Start);
}

void SpotSetupWindow::openSource()
{
    gatherSettings();
    m_feed.open();
    showListening();
    if (m_feed.isListening() && isVisible()) {
        m_send->setFocus();
    }
}

void SpotSetupWindow::finish()
{
    gatherSettings();
    if (m_feed.settings().source != SpotSource::None && !m_feed.isListening()) {
        openSource();
    }
    m_feed.saveSettings();
    emit done();
    hide();
}

void SpotSetupWindow::spotLast()
{
    m_send->setText(m_feed.spotLastText());
    m_send->setFocus();
    m_send->setSelection(3, 16);
}

void SpotSetupWindow::sendTyped()
{
    const QString text = m_send->text();
    gatherSettings();
    m_feed.sendText(text);
    m_send->clear();
    showListening();
}

void SpotSetupWindow::wrapPacketLine(const QString& text)
{
    // Packet lines stay short: a long line goes out at the space that follows its 70th character.
    if (m_feed.settings().source == SpotSource::Agw && m_feed.state() == SpotFeed::State::Open &&
        text.size() > 70 && text.endsWith(QLatin1Char(' '))) {
        m_feed.sendText(text.chopped(1));
        m_send->clear();
    }
}

bool SpotSetupWindow::commandKey(QKeyEvent* event, bool inSendBox)
{
    const bool esc = event->key() == Qt::Key_Escape;
    const bool ctrlC = event->key() == Qt::Key_C && (event->modifiers() & Qt::ControlModifier);
    if (!esc && !ctrlC) {
        return false;
    }
    m_listDxOnly->setChecked(false);
    gatherSettings();
    if (esc && m_feed.settings().source == SpotSource::Agw && inSendBox) {
        m_send->insert(QStringLiteral(":")); // packet commands begin with a colon
        return true;
    }
    m_feed.sendCommandCharacter();
    showListening();
    m_send->setFocus();
    return true;
}

bool SpotSetupWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_send && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            sendTyped();
            return true;
        }
        if (commandKey(key, true)) {
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SpotSetupWindow::keyPressEvent(QKeyEvent* event)
{
    if (!commandKey(event, false)) {
        QWidget::keyPressEvent(event);
    }
}

void SpotSetupWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refreshMonitor();
    if (m_feed.settings().source != SpotSource::None) {
        m_send->setFocus();
    }
}

void SpotSetupWindow::refreshMonitor()
{
    if (!isVisible()) {
        return; // shown again when the window opens
    }
    // Only what is new is added and what the feed trimmed is taken away: laying out the whole
    // text again for every few lines stalls the window under a flood.
    const QString& text = m_feed.monitor();
    const qint64 fresh = m_feed.monitorAppended() - m_shownAppended;
    QTextDocument* document = m_monitor->document();
    if (m_feed.monitorReplacements() != m_shownReplacements || fresh < 0 || fresh > text.size()) {
        m_monitor->setPlainText(text);
    } else if (fresh > 0) {
        QTextCursor cursor(document);
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(text.right(fresh));
        if (const int excess = document->characterCount() - 1 - static_cast<int>(text.size()); excess > 0) {
            cursor.setPosition(0);
            cursor.setPosition(excess, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        }
        if (document->characterCount() - 1 != text.size()) {
            m_monitor->setPlainText(text); // out of step: start afresh
        }
    }
    m_shownReplacements = m_feed.monitorReplacements();
    m_shownAppended = m_feed.monitorAppended();
    m_monitor->moveCursor(QTextCursor::End);
    m_monitor->verticalScrollBar()->setValue(m_monitor->verticalScrollBar()->maximum());
}

void SpotSetupWindow::showListening()
{
    m_listening->setVisible(m_feed.isListening());
}

} // namespace velk
