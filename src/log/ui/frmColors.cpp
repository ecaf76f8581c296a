#include "log/ui/frmColors.h"

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

frmColors::frmColors(Prompter& prompter, std::uint32_t worked, std::uint32_t notWorked, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_worked(worked), m_notWorked(notWorked)
{
    setObjectName(QStringLiteral("frmColors"));
    setWindowTitle(QStringLiteral(" Modify Multiplier Color Selections"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    lblWorked =
        makeSample(QStringLiteral("lblWorked"), QStringLiteral("Appearance of multiplier worked"), this);
    lblRemaining = makeSample(QStringLiteral("lblRemaining"),
                              QStringLiteral("Appearance of multiplier remaining"), this);
    auto* cmdWorked =
        makeButton(QStringLiteral("cmdWorked"), QStringLiteral("Change \"Worked\" Color"), this);
    auto* cmdRemaining =
        makeButton(QStringLiteral("cmdRemaining"), QStringLiteral("Change \"Remaining\" Color"), this);
    auto* cmdDone = makeButton(QStringLiteral("cmdDone"), QStringLiteral("Done"), this);
    layout->addWidget(lblWorked);
    layout->addWidget(lblRemaining);
    layout->addWidget(cmdWorked);
    layout->addWidget(cmdRemaining);
    layout->addWidget(cmdDone);

    connect(cmdWorked, &QPushButton::clicked, this, &frmColors::cmdWorked_Click);
    connect(cmdRemaining, &QPushButton::clicked, this, &frmColors::cmdRemaining_Click);
    connect(cmdDone, &QPushButton::clicked, this, &QDialog::accept);
    paintSamples();
}

void frmColors::cmdWorked_Click()
{
    // The platform dialog starts from black and hands that back when cancelled.
    m_worked = m_prompter.chooseColour(0);
    paintSamples();
}

void frmColors::cmdRemaining_Click()
{
    m_notWorked = m_prompter.chooseColour(0);
    paintSamples();
}

void frmColors::paintSamples()
{
    lblWorked->setStyleSheet(QStringLiteral("color: %1;").arg(styleSheetColour(m_worked)));
    lblRemaining->setStyleSheet(QStringLiteral("color: %1;").arg(styleSheetColour(m_notWorked)));
}

} // namespace velk
