#pragma once
// The small widgets the log's panels and dialogs are built from, made the same way everywhere:
// named for tests and screen readers, entry boxes guarded against what the files cannot hold.
#include <QString>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace velk {

// The small grey caption above a value or a box.
QLabel* makeCaption(const QString& text, QWidget* parent);
// A label that shows a value to the operator; `text` is what it shows at first.
QLabel* makeDisplay(const QString& objectName, const QString& accessibleName, QWidget* parent,
                    const QString& text = QString());
// A button that Tab reaches but a click does not take the focus to, so typing goes on in the box.
QPushButton* makeButton(const QString& objectName, const QString& text, QWidget* parent);
// A row of `dialog`'s grid: `caption` left, the box right (its buddy), with the entry validator
// and the dialog filtering the box's events.
QLineEdit* addEntryRow(QWidget* dialog, QGridLayout* grid, int row, const QString& caption,
                       const QString& objectName);

} // namespace velk
