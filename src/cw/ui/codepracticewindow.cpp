#include "cw/ui/codepracticewindow.h"

#include "common/formats.h"
#include "cw/ui/cwboxes.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTimer>
#include <QVBoxLayout>

namespace velk {

QString practiceCharacters(bool lettersOnly)
{
    const QString all = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,?/-");
    return lettersOnly ? all.left(26) : all;
}

QString practiceGroups(int groups, int length, bool lettersOnly, const std::function<int(int)>& pick)
{
    const QString characters = practiceCharacters(lettersOnly);
    const int count = static_cast<int>(characters.size());
    QString text;
    for (int group = 0; group < groups; ++group) {
        for (int i = 0; i < length; ++i) {
            text += characters.at(std::clamp(pick(count), 0, count - 1));
        }
        text += QLatin1Char(' ');
    }
    return text;
}

namespace {

QPushButton* button(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* made = new QPushButton(text, parent);
    made->setObjectName(objectName);
    return made;
}

QPlainTextEdit* textBox(const QString& objectName, const QString& accessibleName, QWidget* parent)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(objectName);
    box->setAccessibleName(accessibleName);
    return box;
}

} // namespace

CodePracticeWindow::CodePracticeWindow(Platform& platform, Keyer& keyer, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_keyer(keyer)
{
    setObjectName(QStringLiteral("codePracticeWindow"));
    setWindowTitle(tr("On the Air Code Practice"));
    auto* layout = new QVBoxLayout(this);
    auto* intro =
        new QLabel(tr("You can transmit morse code practice using randomly generated characters, copying "
                      "and pasting text or typing text into the \"Text to Send\" text box.  Click Send to "
                      "send the characters."),
                   this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* generateRow = new QHBoxLayout;
    auto* generateButton = button(QStringLiteral("generateButton"), tr("&Generate Random Characters"), this);
    m_groups = new QLineEdit(QStringLiteral("10"), this);
    m_groups->setObjectName(QStringLiteral("groupCountBox"));
    m_groups->setAccessibleName(tr("Number of groups"));
    m_groupLength = new QLineEdit(QStringLiteral("5"), this);
    m_groupLength->setObjectName(QStringLiteral("groupLengthBox"));
    m_groupLength->setAccessibleName(tr("Characters per group"));
    generateRow->addWidget(generateButton);
    generateRow->addWidget(new QLabel(tr("Generate"), this));
    generateRow->addWidget(m_groups);
    generateRow->addWidget(new QLabel(tr("groups of"), this));
    generateRow->addWidget(m_groupLength);
    generateRow->addWidget(new QLabel(tr("characters each."), this));
    auto* include = new QGroupBox(tr("Include:"), this);
    auto* includeLayout = new QHBoxLayout(include);
    m_lettersOnly = new QRadioButton(tr("Letters Only"), include);
    m_lettersOnly->setObjectName(QStringLiteral("lettersOnlyOption"));
    m_lettersOnly->setChecked(true);
    auto* all = new QRadioButton(tr("All"), include);
    all->setObjectName(QStringLiteral("allCharactersOption"));
    includeLayout->addWidget(m_lettersOnly);
    includeLayout->addWidget(all);
    generateRow->addWidget(include);
    layout->addLayout(generateRow);

    layout->addWidget(new QLabel(tr(" Text to Send"), this));
    m_toSend = textBox(QStringLiteral("textToSendBox"), tr("Text to Send"), this);
    installCapitalFilter(m_toSend);
    layout->addWidget(m_toSend);
    layout->addWidget(new QLabel(tr(" Text Sent"), this));
    m_sent = textBox(QStringLiteral("textSentBox"), tr("Text Sent"), this);
    m_sent->setReadOnly(true);
    layout->addWidget(m_sent);
    layout->addWidget(new QLabel(tr("Type characters here to send text from keyboard:"), this));
    m_keyboard = new QLineEdit(this);
    m_keyboard->setObjectName(QStringLiteral("practiceKeyboardBox"));
    m_keyboard->setAccessibleName(tr("Type characters here to send text from keyboard"));
    m_keyboard->installEventFilter(this);
    layout->addWidget(m_keyboard);

    auto* buttons = new QHBoxLayout;
    auto* sendButton = button(QStringLiteral("practiceSendButton"), tr("&Send"), this);
    auto* stopButton = button(QStringLiteral("practiceStopButton"), tr("S&top"), this);
    auto* paste = button(QStringLiteral("pasteButton"), tr("&Paste from Clipboard"), this);
    auto* clearToSend = button(QStringLiteral("clearToSendButton"), tr("&Clear"), this);
    auto* clearSent = button(QStringLiteral("clearSentButton"), tr("Cl&ear"), this);
    auto* faster = button(QStringLiteral("practiceFasterButton"), tr("&Faster"), this);
    auto* slower = button(QStringLiteral("practiceSlowerButton"), tr("S&lower"), this);
    m_speed = new QLabel(this);
    m_speed->setObjectName(QStringLiteral("practiceSpeedLabel"));
    for (QWidget* widget : std::initializer_list<QWidget*>{sendButton, stopButton, paste, clearToSend,
                                                           clearSent, faster, slower, m_speed}) {
        buttons->addWidget(widget);
    }
    buttons->addWidget(new QLabel(tr("WPM"), this));
    layout->addLayout(buttons);

    connect(generateButton, &QPushButton::clicked, this, &CodePracticeWindow::generate);
    connect(sendButton, &QPushButton::clicked, this, &CodePracticeWindow::send);
    connect(stopButton, &QPushButton::clicked, this, &CodePracticeWindow::stop);
    connect(paste, &QPushButton::clicked, this,
            [this] { m_toSend->setPlainText(QApplication::clipboard()->text()); });
    connect(clearToSend, &QPushButton::clicked, m_toSend, &QPlainTextEdit::clear);
    connect(clearSent, &QPushButton::clicked, m_sent, &QPlainTextEdit::clear);
    connect(faster, &QPushButton::clicked, &m_keyer, &Keyer::speedUp);
    connect(slower, &QPushButton::clicked, &m_keyer, &Keyer::speedDown);
    connect(&m_keyer, &Keyer::speedChanged, this, &CodePracticeWindow::showSpeed);
    connect(&m_keyer, &Keyer::characterSent, this, &CodePracticeWindow::onCharacterSent);
    showSpeed();
}

void CodePracticeWindow::showSpeed()
{
    m_speed->setText(QString::number(m_keyer.speed()));
}

void CodePracticeWindow::generate()
{
    bool ok = false;
    int groups = m_groups->text().toInt(&ok);
    if (!ok) {
        m_groups->setText(QStringLiteral("10"));
        groups = 10;
    }
    int length = m_groupLength->text().toInt(&ok);
    if (!ok) {
        m_groupLength->setText(QStringLiteral("5"));
        length = 5;
    }
    // Bounded so a slip of the keyboard cannot build megabytes of text.
    groups = std::clamp(groups, 0, 1000);
    length = std::clamp(length, 0, 100);
    QRandomGenerator random(static_cast<quint32>(m_platform.clock.tickMs()) ^
                            QRandomGenerator::system()->generate());
    m_toSend->setPlainText(practiceGroups(groups, length, m_lettersOnly->isChecked(),
                                          [&random](int n) { return static_cast<int>(random.bounded(n)); }));
}

void CodePracticeWindow::send()
{
    m_running = true;
    m_position = 0;
    sendNext();
}

void CodePracticeWindow::stop()
{
    m_running = false;
    m_waiting = false;
    m_keyer.escape();
}

// The text is read again for each character: edits made while sending count.
void CodePracticeWindow::sendNext()
{
    const QString text = m_toSend->toPlainText();
    if (!m_running || m_position >= text.size()) {
        m_running = false;
        return;
    }
    const QChar character = text.at(m_position);
    ++m_position;
    QTextCursor caret = m_toSend->textCursor();
    caret.setPosition(m_position);
    m_toSend->setTextCursor(caret);
    m_sent->moveCursor(QTextCursor::End);
    m_sent->insertPlainText(QString(character));
    m_waiting = true;
    m_keyer.send(QString(character));
    if (!m_keyer.isSending()) {
        // Nothing keys (no keyer chosen): the text passes at once, one step per event.
        m_waiting = false;
        QTimer::singleShot(0, this, &CodePracticeWindow::sendNext);
    }
}

void CodePracticeWindow::onCharacterSent(QChar)
{
    // The next practice character follows once nothing is waiting in the keyer, typed text included.
    if (m_running && m_waiting && m_keyer.unsentText().isEmpty()) {
        m_waiting = false;
        sendNext();
    }
}

bool CodePracticeWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_keyboard && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Backspace) {
            if (m_keyer.backspace()) {
                QString sent = m_sent->toPlainText();
                sent.chop(1);
                m_sent->setPlainText(sent);
            }
            return true;
        }
        const QString text = key->text();
        if (text.size() == 1 && text.at(0).unicode() >= 32) {
            const QString typed(capital(text.at(0)));
            m_sent->moveCursor(QTextCursor::End);
            m_sent->insertPlainText(typed);
            m_keyer.send(typed);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CodePracticeWindow::closeEvent(QCloseEvent* event)
{
    if (m_keyer.isSending()) {
        event->ignore();
        return;
    }
    m_running = false;
    m_keyer.escape();
    QDialog::closeEvent(event);
}

void CodePracticeWindow::reject()
{
    if (m_keyer.isSending()) {
        return;
    }
    m_running = false;
    m_keyer.escape();
    QDialog::reject();
}

} // namespace velk
