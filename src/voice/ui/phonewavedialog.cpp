#include "voice/ui/phonewavedialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace velk {

namespace {

const QString invalidPortText = QStringLiteral(
    "The port you have selected for Phone keying is invalid.  Please select another or enter 0 for none.");

QPushButton* makeButton(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* makeBox(const QString& objectName, const QString& accessibleName, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setAccessibleName(accessibleName);
    return box;
}

// A double quote would break the settings file.
QValidator* noQuotes(QObject* parent)
{
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^\"]*")), parent);
}

} // namespace

PhoneWaveDialog::PhoneWaveDialog(Platform& platform, VoiceKeyer& keyer, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_keyer(keyer)
{
    setObjectName(QStringLiteral("phoneWaveDialog"));
    setWindowTitle(QStringLiteral("Phone Wave Selections"));
    auto* layout = new QVBoxLayout(this);

    auto* hookup = new QLabel(
        tr("Connect the sound output chosen below to the transmitter's audio input. With a PTT port, "
           "the chosen line keys the transmitter while a message plays; with port 0 key it by VOX "
           "or by hand.\nCaution, RF feedback can damage your PC!"),
        this);
    hookup->setObjectName(QStringLiteral("hookupText"));
    hookup->setWordWrap(true);
    layout->addWidget(hookup);

    auto* files = new QGridLayout;
    for (int key = 1; key <= 9; ++key) {
        auto* caption = new QLabel(QStringLiteral("F%1").arg(key), this);
        QLineEdit* box =
            makeBox(QStringLiteral("waveFileBox%1").arg(key), tr("F%1 wave file").arg(key), this);
        box->setValidator(noQuotes(box));
        caption->setBuddy(box);
        QPushButton* browseButton = makeButton(QStringLiteral("browseButton%1").arg(key), tr("Browse"), this);
        browseButton->setAccessibleName(tr("Browse for F%1").arg(key));
        connect(browseButton, &QPushButton::clicked, this, [this, key] { browse(key); });
        files->addWidget(caption, key - 1, 0);
        files->addWidget(box, key - 1, 1);
        files->addWidget(browseButton, key - 1, 2);
        m_files[static_cast<size_t>(key - 1)] = box;
    }
    layout->addLayout(files);

    auto* ptt = new QGridLayout;
    m_port = makeBox(QStringLiteral("pttPortBox"), tr("PTT com port"), this);
    m_port->setValidator(noQuotes(m_port));
    auto* portCaption = new QLabel(tr("PTT com port (0 = none)"), this);
    portCaption->setBuddy(m_port);
    ptt->addWidget(portCaption, 0, 0);
    ptt->addWidget(m_port, 0, 1);
    auto* lines = new QHBoxLayout;
    m_rts = new QRadioButton(QStringLiteral("RTS"), this);
    m_rts->setObjectName(QStringLiteral("rtsOption"));
    m_dtr = new QRadioButton(QStringLiteral("DTR"), this);
    m_dtr->setObjectName(QStringLiteral("dtrOption"));
    m_parallel = new QRadioButton(QStringLiteral("Parallel"), this);
    m_parallel->setObjectName(QStringLiteral("parallelOption"));
    lines->addWidget(m_rts);
    lines->addWidget(m_dtr);
    lines->addWidget(m_parallel);
    ptt->addLayout(lines, 0, 2);
    m_parallelAddress = makeBox(QStringLiteral("parallelAddressBox"), tr("Parallel port address"), this);
    m_parallelAddress->setValidator(noQuotes(m_parallelAddress));
    auto* addressCaption = new QLabel(tr("Parallel address"), this);
    addressCaption->setBuddy(m_parallelAddress);
    ptt->addWidget(addressCaption, 1, 0);
    ptt->addWidget(m_parallelAddress, 1, 1);
    m_loop = makeBox(QStringLiteral("loopBox"), tr("Loop seconds"), this);
    m_loop->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), m_loop));
    auto* loopCaption = new QLabel(QStringLiteral("Loop (Sec)"), this);
    loopCaption->setBuddy(m_loop);
    ptt->addWidget(loopCaption, 2, 0);
    ptt->addWidget(m_loop, 2, 1);
    m_output = new QComboBox(this);
    m_output->setObjectName(QStringLiteral("outputDeviceBox"));
    m_output->setAccessibleName(tr("Sound output"));
    auto* outputCaption = new QLabel(tr("Sound output"), this);
    outputCaption->setBuddy(m_output);
    ptt->addWidget(outputCaption, 3, 0);
    ptt->addWidget(m_output, 3, 1, 1, 2);
    layout->addLayout(ptt);

    auto* buttons = new QHBoxLayout;
    QPushButton* testButton = makeButton(QStringLiteral("testButton"), tr("Test"), this);
    testButton->setToolTip(tr("Plays F1 Command"));
    m_stop = makeButton(QStringLiteral("stopButton"), tr("Stop"), this);
    m_stop->hide();
    m_done = makeButton(QStringLiteral("doneButton"), tr("Done"), this);
    buttons->addWidget(testButton);
    buttons->addWidget(m_stop);
    buttons->addStretch(1);
    buttons->addWidget(m_done);
    layout->addLayout(buttons);

    connect(m_port, &QLineEdit::editingFinished, this, &PhoneWaveDialog::leavePortBox);
    connect(m_loop, &QLineEdit::editingFinished, this, &PhoneWaveDialog::leaveLoopBox);
    connect(m_parallelAddress, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int cursor = m_parallelAddress->cursorPosition();
        m_parallelAddress->setText(text.toUpper());
        m_parallelAddress->setCursorPosition(cursor);
    });
    connect(testButton, &QPushButton::clicked, this, &PhoneWaveDialog::test);
    connect(m_stop, &QPushButton::clicked, this, &PhoneWaveDialog::stopTest);
    connect(m_done, &QPushButton::clicked, this, &PhoneWaveDialog::done);
    connect(&m_keyer, &VoiceKeyer::repeatChanged, this, [this](bool repeating) {
        if (!repeating) {
            m_stop->hide();
        }
    });
}

void PhoneWaveDialog::showSettings()
{
    fillBoxes();
    show();
    raise();
    activateWindow();
}

void PhoneWaveDialog::fillBoxes()
{
    const VoiceSettings& settings = m_keyer.settings();
    for (size_t index = 0; index < m_files.size(); ++index) {
        m_files[index]->setText(settings.files[index]);
    }
    m_port->setText(settings.pttPort);
    (settings.pttLine == PttLine::Dtr        ? m_dtr
     : settings.pttLine == PttLine::Parallel ? m_parallel
                                             : m_rts)
        ->setChecked(true);
    m_parallelAddress->setText(settings.parallelAddress);
    m_loop->setText(settings.loopSeconds);
    fillOutputs();
}

void PhoneWaveDialog::fillOutputs()
{
    m_output->clear();
    const QString chosen = m_keyer.outputId();
    for (const AudioOutput& output : m_keyer.player().outputs()) {
        m_output->addItem(output.description, output.id);
    }
    int index = m_output->findData(chosen);
    if (index < 0) {
        // An output unplugged for now stays chosen until the operator picks another.
        m_output->addItem(tr("%1 (not connected)").arg(chosen), chosen);
        index = m_output->count() - 1;
    }
    m_output->setCurrentIndex(index);
}

VoiceSettings PhoneWaveDialog::settingsFromBoxes() const
{
    VoiceSettings settings;
    for (size_t index = 0; index < m_files.size(); ++index) {
        settings.files[index] = m_files[index]->text().trimmed();
    }
    settings.pttPort = m_port->text();
    settings.pttLine = m_dtr->isChecked()        ? PttLine::Dtr
                       : m_parallel->isChecked() ? PttLine::Parallel
                                                 : PttLine::Rts;
    settings.parallelAddress = m_parallelAddress->text();
    settings.loopSeconds = m_loop->text();
    return settings;
}

void PhoneWaveDialog::browse(int key)
{
    FileDialogRequest request;
    request.title = tr("F%1 wave file").arg(key);
    request.filter = QStringLiteral("(*.wav)|*.wav");
    const std::optional<QString> chosen = m_platform.prompter.openFile(request);
    if (!chosen) {
        m_platform.prompter.bell();
        return;
    }
    m_files[static_cast<size_t>(key - 1)]->setText(QDir::toNativeSeparators(*chosen));
    m_done->setFocus();
}

void PhoneWaveDialog::leavePortBox()
{
    bool numeric = false;
    m_port->text().trimmed().toInt(&numeric);
    if (!numeric) {
        m_port->setText(QStringLiteral("0"));
    }
    m_keyer.setSettings(settingsFromBoxes());
    QString error;
    if (!m_keyer.checkPttPort(error)) {
        reportInvalidPort();
    }
}

void PhoneWaveDialog::reportInvalidPort()
{
    m_platform.prompter.bell();
    m_platform.prompter.message(invalidPortText, QStringLiteral("Invalid port."), MessageIcon::Information);
    if (!isVisible()) {
        showSettings();
    }
}

void PhoneWaveDialog::leaveLoopBox()
{
    if (!loopPauseMs(m_loop->text())) {
        m_loop->setText(QStringLiteral("0"));
        m_platform.prompter.bell();
    }
}

void PhoneWaveDialog::test()
{
    m_keyer.setSettings(settingsFromBoxes());
    m_keyer.setOutputId(m_output->currentData().toString());
    m_keyer.playKey(1);
    if (isVisible()) {
        m_done->setFocus();
    }
    m_stop->setVisible(m_keyer.isRepeating());
}

void PhoneWaveDialog::stopTest()
{
    // Ends the repeat and the message playing, including a repetition still to come.
    m_keyer.stop();
    m_stop->hide();
}

void PhoneWaveDialog::done()
{
    hide();
    m_keyer.setSettings(settingsFromBoxes());
    m_keyer.setOutputId(m_output->currentData().toString());
    const WriteResult written = saveVoiceSettings(m_keyer.settingsFile(), m_keyer.settings());
    if (!written.ok) {
        m_platform.prompter.bell();
        m_platform.prompter.message(written.error, tr("Voice settings not saved"), MessageIcon::Critical);
    }
}

void PhoneWaveDialog::closeEvent(QCloseEvent* event)
{
    m_keyer.stop();
    m_stop->hide();
    QDialog::closeEvent(event);
}

} // namespace velk
