// Where the other station is: prefix lookup, location completion and the short-location check.
// The prefix table arrives with the lookup release; the location check works already.
#include "log/ui/Form1.h"

#include "log/locations.h"

#include <QLabel>
#include <QLineEdit>

namespace velk {

void Form1::LoadPrefixTable() {}

void Form1::LookupCall() {}

bool Form1::CompleteLocation(int key)
{
    Q_UNUSED(key);
    return false;
}

void Form1::CheckShortLocation()
{
    if (locationIndex(txtCntry->text()) > 0) {
        m_locationInvalid = false;
        if (Label19->text().isEmpty()) {
            Label19->setText(QStringLiteral("NA"));
        }
        return;
    }
    m_locationInvalid = true;
    m_platform.prompter.bell();
    setStatus(QStringLiteral("Invald Section!"));
    txtCntry->setFocus();
}

} // namespace velk
