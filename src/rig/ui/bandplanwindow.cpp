#include "rig/ui/bandplanwindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velk {

namespace {

struct ClassButton
{
    const char* caption;
    const char* code;
    const char* heading;
};

constexpr ClassButton classButtons[] = {
    {"Novice", "N", "Novice Frequency Privileges"},
    {"Technician", "T", "Technician Frequency Privileges"},
    {"Tech +", "P", "Technician Plus Frequency Privileges"},
    {"General", "G", "General Frequency Privileges"},
    {"Advanced", "A", "Advanced Frequency Privileges"},
    {"Extra", "E", "Extra Frequency Privileges"},
};

QLabel* chartLabel(QWidget* parent, const QString& name, const QString& text, const QString& tip,
                   const QString& style)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setToolTip(tip);
    label->setAccessibleName(tip);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(style);
    label->show();
    return label;
}

} // namespace

BandPlanWindow::BandPlanWindow(Prompter& prompter, QWidget* parent) : QDialog(parent), m_prompter(prompter)
{
    setObjectName(QStringLiteral("bandPlanWindow"));
    setWindowTitle(QStringLiteral(" Frequency Privileges"));
    resize(900, 640);
    auto* layout = new QVBoxLayout(this);
    m_effective = new QLabel(QStringLiteral("Frequencies Effective: "), this);
    m_effective->setObjectName(QStringLiteral("effectiveLabel"));
    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("privilegesHeading"));
    QFont big = m_heading->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    m_heading->setFont(big);
    auto* legend = new QHBoxLayout;
    legend->addWidget(m_effective, 1);
    legend->addWidget(chartLabel(this, QStringLiteral("cwLegend"), QStringLiteral("CW"), QStringLiteral("CW"),
                                 QStringLiteral("background: blue; color: white; padding: 2px 8px;")));
    legend->addWidget(chartLabel(this, QStringLiteral("phoneLegend"), QStringLiteral("Phone"),
                                 QStringLiteral("Phone"),
                                 QStringLiteral("background: green; color: black; padding: 2px 8px;")));
    layout->addLayout(legend);
    layout->addWidget(m_heading);
    m_area = new QWidget(this);
    m_area->setObjectName(QStringLiteral("privilegesChart"));
    m_area->setMinimumHeight(400);
    layout->addWidget(m_area, 1);
    auto* buttons = new QHBoxLayout;
    for (const ClassButton& entry : classButtons) {
        auto* button = new QPushButton(QString::fromLatin1(entry.caption), this);
        button->setObjectName(QStringLiteral("class%1Button").arg(QString::fromLatin1(entry.code)));
        button->setAutoDefault(false);
        button->setMinimumHeight(32);
        const QString code = QString::fromLatin1(entry.code);
        const QString heading = QString::fromLatin1(entry.heading);
        connect(button, &QPushButton::clicked, this, [this, code, heading] {
            m_heading->setText(heading);
            drawPrivileges(code);
        });
        buttons->addWidget(button);
    }
    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("bandPlanDoneButton"));
    done->setMinimumHeight(32);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(done);
    layout->addLayout(buttons);
}

void BandPlanWindow::load(const QString& path)
{
    const auto plan = loadBandPlan(path);
    if (!plan) {
        m_prompter.message(QStringLiteral("Band data not available."),
                           QStringLiteral("Band Data Not Available."));
        return;
    }
    m_plan = *plan;
    m_effective->setText(QStringLiteral("Frequencies Effective: ") + m_plan.effective);
    m_heading->setText(QStringLiteral("Extra Frequency Privileges"));
    drawPrivileges(QStringLiteral("E"));
}

void BandPlanWindow::drawPrivileges(const QString& classCode)
{
    m_chart = privilegeChart(m_plan, classCode);
    placeLabels();
}

void BandPlanWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeLabels();
}

void BandPlanWindow::placeLabels()
{
    for (QLabel* old : m_area->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        delete old;
    }
    const int width = std::max(m_area->width(), 400);
    const int height = std::max(m_area->height(), 300);
    const int barLeft = width / 10;
    const int barWidth = width * 85 / 100;
    const int barHeight = std::max(18, height * 4 / 100 + 6);
    const int stepY = m_chart.isEmpty() ? 0 : height / static_cast<int>(m_chart.size());
    int number = 0;
    for (const ChartBand& band : m_chart) {
        const int top = number * stepY;
        const QString tip = band.band + QStringLiteral("  ") + edgesText(band.lower, band.upper);
        QLabel* bar = chartLabel(m_area, QStringLiteral("bandBar%1").arg(number), band.band, tip,
                                 QStringLiteral("background: black; color: black; border: 1px solid gray;"));
        bar->setGeometry(barLeft, top, barWidth, barHeight);
        QLabel* name = chartLabel(m_area, QStringLiteral("bandName%1").arg(number), band.band, tip,
                                  QStringLiteral("background: yellow; color: black; font-weight: bold; "
                                                 "font-family: Arial;"));
        name->setGeometry(barLeft - width * 6 / 100, top, width * 5 / 100, barHeight);
        int segmentNumber = 0;
        for (const ChartSegment& segment : band.segments) {
            const QString edges = edgesText(segment.lower, segment.upper);
            const QString style = segment.cw ? QStringLiteral("background: blue; color: white;")
                                             : QStringLiteral("background: green; color: black;");
            QLabel* label =
                chartLabel(m_area, QStringLiteral("segment%1_%2").arg(number).arg(segmentNumber), edges,
                           (segment.cw ? QStringLiteral("CW  ") : QStringLiteral("PH  ")) + edges,
                           style + QStringLiteral(" border: 1px solid white; font-size: 9px;"));
            label->setGeometry(barLeft + static_cast<int>(barWidth * segment.left), top,
                               std::max(1, static_cast<int>(barWidth * segment.width)), barHeight);
            ++segmentNumber;
        }
        ++number;
    }
}

} // namespace velk
