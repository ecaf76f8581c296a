#pragma once
// BandPlanWindow: " Frequency Privileges": one bar per band for a licence class, its CW segments
// blue and phone segments green, read from BandPlan.txt.
#include "common/platform/prompter.h"
#include "rig/bandplan.h"

#include <QDialog>

class QLabel;
class QWidget;

namespace velk {

class BandPlanWindow : public QDialog
{
    Q_OBJECT
public:
    BandPlanWindow(Prompter& prompter, QWidget* parent = nullptr);

    // Reads the file and draws the Extra chart; says "Band data not available." when unreadable.
    void load(const QString& path);
    // Draws the chart for a class letter ("N", "T", "P", "G", "A", "E").
    void drawPrivileges(const QString& classCode);
    const QList<ChartBand>& chart() const { return m_chart; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeLabels();

    Prompter& m_prompter;
    BandPlan m_plan;
    QList<ChartBand> m_chart;
    QLabel* m_effective = nullptr;
    QLabel* m_heading = nullptr;
    QWidget* m_area = nullptr;
};

} // namespace velk
