// The operator's own station: the station information dialog and the labels it fills.
#include "log/ui/Form1.h"

namespace velk {

void Form1::showStationDialog()
{
    showStationLabels();
}

void Form1::mnuSetup_Click()
{
    showStationDialog();
}

} // namespace velk
