// Duplicate checks on the call box. The full scan of the log arrives with the duplicate-check
// release; until then every contact is accepted.
#include "log/ui/Form1.h"

#include "common/colours.h"

#include <QLabel>

namespace velk {

void Form1::DupCheck()
{
    m_dupeFound = false;
}

void Form1::PartialDupeCheck(int key)
{
    Q_UNUSED(key);
    setStatusColour(colour::statusNormal);
    resetPartialDupeDisplay();
}

void Form1::WaitDupeHold()
{
    m_dupeFound = false;
}

} // namespace velk
