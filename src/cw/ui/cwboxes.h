#pragma once
// Key filters of the keyer's boxes: messages take capitals and never a double quote (it would
// break cw.txt); number boxes take digits, Backspace and the extra characters given.
#include <QString>

class QLineEdit;
class QPlainTextEdit;

namespace velk {

void installCapitalFilter(QLineEdit* box);
void installCapitalFilter(QPlainTextEdit* box);
void installDigitFilter(QLineEdit* box, const QString& alsoAllowed);

} // namespace velk
