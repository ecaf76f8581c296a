#include "log/ui/multipliercoloursdialog.h"

#include "common/colours.h"
#include "common/platform/prompter.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velk {

namespace {

QPushButton* makeButton(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    return button;
}

QLabel* makeSample(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSize(12);
    label->setFont(font);
    return label;
}

} // namespace

MultiplierColoursDialog::MultiplierColoursDialog(Prompter& prompter, std::uint32_t worked,
                                                 std::uint32_t notWorked, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_worked(worked), m_notWorked(notWorked)
{
    setObjectName(QStringLiteral("MultiplierColoursDialog"));
    setWindowTitle(QStringLiteral(" Modify Multiplier Color Selections"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    workedSample =
        makeSample(QStringLiteral("workedSample"), QStringLiteral("Appearance of multiplier worked"), this);
    remainingSample = makeSample(QStringLiteral("remainingSample"),
                                 QStringLiteral("Appearance of multiplier remaining"), this);
    auto* workedColourButton =
        makeButton(QStringLiteral("workedColourButton"), QStringLiteral("Change \"Worked\" Color"), this);
    auto* remainingColourButton = makeButton(QStringLiteral("remainingColourButton"),
                                             QStringLiteral("Change \"Remaining\" Color"), this);
    auto* doneButton = makeButton(QStringLiteral("doneButton"), QStringLiteral("Done"), this);
    layout->addWidget(workedSample);
    layout->addWidget(remainingSample);
    layout->addWidget(workedColourButton);
    layout->addWidget(remainingColourButton);
    layout->addWidget(doneButton);

    connect(workedColourButton, &QPushButton::clicked, this, &MultiplierColoursDialog::chooseWorkedColour);
    connect(remainingColourButton, &QPushButton::clicked, this,
            &MultiplierColoursDialog::chooseRemainingColour);
    connect(doneButton, &QPushButton::clicked, this, &QDialog::accept);
    paintSamples();
}

void MultiplierColoursDialog::chooseWorkedColour()
{
    // The platform dialog starts from black and hands that back when cancelled.
    m_worked = m_prompter.chooseColour(0);
    paintSamples();
}

void MultiplierColoursDialog::chooseRemainingColour()
{
    m_notWorked = m_prompter.chooseColour(0);
    paintSamples();
}

void MultiplierColoursDialog::paintSamples()
{
    workedSample->setStyleSheet(QStringLiteral("color: %1;").arg(styleSheetColour(m_worked)));
    remainingSample->setStyleSheet(QStringLiteral("color: %1;").arg(styleSheetColour(m_notWorked)));
}

} // namespace velk
