#include "rig/ui/rigtuningwindow.h"

#include "common/formats.h"
#include "common/quotedlist.h"
#include "rig/tuning.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace velk {

namespace {

QPushButton* makeButton(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setMinimumHeight(32);
    return button;
}

QLineEdit* makeBox(const QString& objectName, const QString& accessibleName, const QString& text,
                   QWidget* parent)
{
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(objectName);
    box->setAccessibleName(accessibleName);
    box->setMaxLength(20);
    return box;
}

std::optional<double> number(const QLineEdit* box)
{
    return parseSettingsNumber(box->text().trimmed());
}

} // namespace

RigTuningWindow::RigTuningWindow(RigLink& rig, QWidget* parent) : QDialog(parent), m_rig(rig)
{
    setObjectName(QStringLiteral("rigTuningWindow"));
    setWindowTitle(QStringLiteral(" Change Frequency and Mode (Ctrl G (Go))"));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Frequency in MHz:"), this));
    m_frequency = makeBox(QStringLiteral("tuneFrequencyBox"), QStringLiteral("Frequency in MHz"), {}, this);
    top->addWidget(m_frequency, 1);
    m_go = makeButton(QStringLiteral("goButton"), QStringLiteral("&Go"), this);
    m_done = makeButton(QStringLiteral("tuneDoneButton"), QStringLiteral("&Done"), this);
    top->addWidget(m_go);
    top->addWidget(m_done);
    layout->addLayout(top);

    auto* modes = new QHBoxLayout;
    for (const char* mode : {"AM", "CW", "FM", "LSB", "RTTY", "USB"}) {
        const QString name = QString::fromLatin1(mode);
        auto* button = makeButton(QStringLiteral("mode%1Button").arg(name), QLatin1Char('&') + name, this);
        // Needs a chosen radio, not a running poll (a closed port is reported).
        connect(button, &QPushButton::clicked, this, [this, name] {
            m_rig.changeMode(0.0, name);
            m_done->setFocus();
        });
        modes->addWidget(button);
    }
    layout->addLayout(modes);

    auto* bands = new QGridLayout;
    int index = 0;
    for (const BandButton& band : bandButtons()) {
        auto* button = makeButton(QStringLiteral("band%1Button").arg(band.caption), band.caption, this);
        const double mhz = band.mhz;
        connect(button, &QPushButton::clicked, this, [this, mhz] {
            m_frequency->setText(formatSteppedFrequency(mhz));
            go();
        });
        bands->addWidget(button, index / 8, index % 8);
        ++index;
    }
    layout->addLayout(bands);

    auto* steps = new QGridLayout;
    steps->addWidget(new QLabel(QStringLiteral(" UP"), this), 0, 0);
    steps->addWidget(new QLabel(QStringLiteral("Down"), this), 1, 0);
    int column = 1;
    for (const TuneStep& tune : tuneSteps()) {
        for (int down = 0; down < 2; ++down) {
            auto* button = makeButton(
                QStringLiteral("step%1%2Button").arg(down ? "Down" : "Up", tune.caption).remove(' '),
                tune.caption, this);
            button->setAccessibleName((down ? QStringLiteral("Down ") : QStringLiteral("Up ")) +
                                      tune.caption);
            const double delta = down ? -tune.mhz : tune.mhz;
            connect(button, &QPushButton::clicked, this, [this, delta] { step(delta); });
            steps->addWidget(button, down, column);
            m_stepButtons << button;
        }
        ++column;
    }
    layout->addLayout(steps);

    auto* scanRow = new QHBoxLayout;
    m_scan = new QCheckBox(QStringLiteral("Scan"), this);
    m_scan->setObjectName(QStringLiteral("scanCheck"));
    scanRow->addWidget(m_scan);
    scanRow->addWidget(new QLabel(QStringLiteral("From:"), this));
    m_from = makeBox(QStringLiteral("scanFromBox"), QStringLiteral("Scan from"), QStringLiteral("1.8"), this);
    scanRow->addWidget(m_from);
    scanRow->addWidget(new QLabel(QStringLiteral("To:"), this));
    m_to = makeBox(QStringLiteral("scanToBox"), QStringLiteral("Scan to"), QStringLiteral("54"), this);
    scanRow->addWidget(m_to);
    layout->addLayout(scanRow);
    auto* stepBox = new QGroupBox(QStringLiteral("Scan Steps"), this);
    auto* stepLayout = new QHBoxLayout(stepBox);
    m_scanSteps = new QButtonGroup(this);
    for (int i = 0; i < scanSteps().size(); ++i) {
        auto* option = new QRadioButton(scanSteps().at(i).caption, stepBox);
        option->setObjectName(QStringLiteral("scanStep%1").arg(i));
        m_scanSteps->addButton(option, i);
        stepLayout->addWidget(option);
    }
    m_scanSteps->button(3)->setChecked(true); // 10 Hz
    layout->addWidget(stepBox);

    m_scanTimer = new QTimer(this);
    m_scanTimer->setObjectName(QStringLiteral("scanTimer"));
    m_scanTimer->setInterval(299);
    connect(m_scanTimer, &QTimer::timeout, this, &RigTuningWindow::scanStep);
    m_scanTimer->start();
    // A tune can take longer than a tick: the step that came due meanwhile follows it at once, and
    // the ticks count on from there.
    connect(&m_rig, &RigLink::changeFinished, this, [this] {
        if (m_scanDue) {
            m_scanDue = false;
            m_scanTimer->start();
            scanStep();
        }
    });

    connect(m_go, &QPushButton::clicked, this, &RigTuningWindow::go);
    connect(m_done, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_frequency, &QLineEdit::textChanged, this, &RigTuningWindow::frequencyEdited);
    connect(m_scan, &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            if (!number(m_frequency)) {
                m_frequency->setText(m_from->text());
            }
            m_go->setFocus();
        }
    });
    for (QLineEdit* box : {m_frequency, m_from, m_to}) {
        box->installEventFilter(this);
    }
    frequencyEdited();
}

void RigTuningWindow::frequencyEdited()
{
    const bool numeric = number(m_frequency).has_value();
    for (QPushButton* button : m_stepButtons) {
        button->setEnabled(numeric);
    }
}

void RigTuningWindow::go()
{
    const auto mhz = number(m_frequency);
    if (!mhz || !m_rig.hasRadio()) {
        return;
    }
    m_rig.changeFrequency(static_cast<float>(*mhz));
}

void RigTuningWindow::step(double delta)
{
    const auto mhz = number(m_frequency);
    if (!mhz) {
        return;
    }
    m_frequency->setText(formatSteppedFrequency(*mhz + delta));
    go();
    m_done->setFocus();
}

void RigTuningWindow::scanStep()
{
    if (!m_scan->isChecked()) {
        m_scanDue = false;
        return;
    }
    // The radio has not taken the last step yet: this one waits for it, the box stays.
    if (m_rig.isChanging()) {
        m_scanDue = true;
        return;
    }
    const auto from = number(m_from);
    const auto to = number(m_to);
    const auto current = number(m_frequency);
    if (!from || !to || !current) {
        return;
    }
    const float stepMhz = static_cast<float>(scanSteps().at(std::max(0, m_scanSteps->checkedId())).mhz);
    const float next = nextScanFrequency(static_cast<float>(*current), stepMhz, static_cast<float>(*from),
                                         static_cast<float>(*to));
    // At most five decimals, as the window has always shown a scan step.
    m_frequency->setText(formatSteppedFrequency(std::round(static_cast<double>(next) * 100000.0) / 100000.0));
    go();
}

bool RigTuningWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == m_frequency && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            go();
            m_frequency->setCursorPosition(static_cast<int>(m_frequency->text().size()));
            return true;
        }
        const QString text = key->text();
        const bool editing = key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Left ||
                             key->key() == Qt::Key_Right || key->key() == Qt::Key_Tab ||
                             key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Escape;
        if (!editing && !text.isEmpty()) {
            const ushort c = text.at(0).unicode();
            if (c < 46 || c > 57) {
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void RigTuningWindow::keyPressEvent(QKeyEvent* event)
{
    // A key the window takes stops a scan.
    m_scan->setChecked(false);
    QDialog::keyPressEvent(event);
}

} // namespace velk
