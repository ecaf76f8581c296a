// Multipliers, totals and rates on the main window. The grid colours, DX lists and rates arrive
// with the multiplier release; the contact total is kept here already.
#include "log/ui/Form1.h"

#include "common/formats.h"

#include <QLabel>

namespace velk {

void Form1::MarkLocation(const ContactRecord& record)
{
    Q_UNUSED(record);
}

void Form1::NewMultiplierIndicator()
{
    Label3->hide();
}

void Form1::Labeldisplay()
{
    lblTotCon->setText(formatNumber(m_session.log.count(), QStringLiteral("###,##0")));
}

void Form1::TimeStats() {}

void Form1::rebuildScoreDisplays()
{
    TimeStats();
    Labeldisplay();
}

bool Form1::locationLabelEvent(int index, QEvent* event)
{
    Q_UNUSED(index);
    Q_UNUSED(event);
    return false;
}

void Form1::mnuColors_Click() {}

} // namespace velk
