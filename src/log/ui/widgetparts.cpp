#include "log/ui/widgetparts.h"

#include "log/ui/entrykeys.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velk {

QLabel* makeCaption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: palette(mid); font-size: 9pt;"));
    return label;
}

QLabel* makeDisplay(const QString& objectName, const QString& accessibleName, QWidget* parent,
                    const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setAccessibleName(accessibleName);
    return label;
}

QPushButton* makeButton(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setFocusPolicy(Qt::TabFocus);
    button->setMinimumHeight(32);
    return button;
}

QLineEdit* addEntryRow(QWidget* dialog, QGridLayout* grid, int row, const QString& caption,
                       const QString& objectName)
{
    auto* box = new QLineEdit(dialog);
    box->setObjectName(objectName);
    box->setAccessibleName(caption);
    box->setValidator(makeEntryValidator(box));
    box->installEventFilter(dialog);
    auto* label = new QLabel(caption, dialog);
    label->setBuddy(box);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    return box;
}

} // namespace velk
