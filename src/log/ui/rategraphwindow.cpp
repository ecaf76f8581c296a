#include "log/ui/rategraphwindow.h"

#include "common/bands.h"
#include "common/colours.h"
#include "log/contactlog.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace velk {

namespace {

const QString blackCaption = QStringLiteral("Black Background");
const QString whiteCaption = QStringLiteral("White Background");

QColor qtColour(std::uint32_t bgr)
{
    const Rgb rgb = toRgb(bgr);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

constexpr int labelWidth = 44;
constexpr int labelHeight = 16;

} // namespace

RateGraphWindow::RateGraphWindow(Platform& platform, const ContactLog& log, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_log(log)
{
    setObjectName(QStringLiteral("RateGraphWindow"));
    setWindowTitle(QStringLiteral(" Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)"));
    setMinimumSize(640, 420);
    buildWindow();
    m_graph = computeRateGraph({}, fromRgb(255, 255, 255));
}

void RateGraphWindow::buildWindow()
{
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    const auto makeLabel = [&](const QString& name) {
        auto* label = new QLabel(this);
        label->setObjectName(name);
        label->setFont(small);
        label->setAlignment(Qt::AlignCenter);
        label->resize(labelWidth, labelHeight);
        return label;
    };
    for (int k = 0; k < 15; ++k) {
        timeLabels[static_cast<size_t>(k)] = makeLabel(QStringLiteral("timeLabel_%1").arg(k));
        dateLabels[static_cast<size_t>(k)] = makeLabel(QStringLiteral("dateLabel_%1").arg(k));
    }
    for (int k = 0; k <= 16; ++k) {
        QLabel* label = makeLabel(QStringLiteral("rateLabel_%1").arg(k));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        rateLabels[static_cast<size_t>(k)] = label;
    }
    bandCaption = new QLabel(QStringLiteral("Band "), this);
    bandCaption->setObjectName(QStringLiteral("bandCaption"));
    bandCaption->adjustSize();
    for (int k = 0; k < bandCount; ++k) {
        const QString band = bandTexts().at(k);
        auto* label = new QLabel(band, this);
        label->setObjectName(QStringLiteral("bandLabel_%1").arg(k));
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet(QStringLiteral("background-color: %1; color: black; border: 1px solid gray;")
                                 .arg(styleSheetColour(rateGraphBandColour(band).value_or(0))));
        label->resize(labelWidth, labelHeight + 4);
        bandLabels[static_cast<size_t>(k)] = label;
    }
    backgroundButton = new QPushButton(whiteCaption, this);
    backgroundButton->setObjectName(QStringLiteral("backgroundButton"));
    backgroundButton->setAutoDefault(false);
    backgroundButton->adjustSize();
    backgroundButton->resize(backgroundButton->sizeHint().width() + 16,
                             backgroundButton->sizeHint().height());
    connect(backgroundButton, &QPushButton::clicked, this, &RateGraphWindow::toggleBackground);
    applyLook();
}

void RateGraphWindow::load()
{
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        const QSize size(std::max(minimumWidth(), available.width() * 9 / 10),
                         std::max(minimumHeight(), available.height() * 8 / 10));
        resize(size);
        move(available.center() - QPoint(size.width() / 2, size.height() / 2));
    }
    drawGraph();
}

void RateGraphWindow::drawGraph()
{
    if (m_log.count() < rateGraphMinimumContacts) {
        m_platform.prompter.message(
            QStringLiteral("The graph will not display with less than 7 contacts.  The graph becomes more "
                           "meaningful as several hours of contest logging are accumulated."),
            QStringLiteral("Not Enough Contacts to Graph."));
    }
    const std::uint32_t background = m_black ? fromRgb(0, 0, 0) : fromRgb(255, 255, 255);
    m_graph = computeRateGraph(m_log.records(), background);
    for (int k = 0; k < 15; ++k) {
        const auto uk = static_cast<size_t>(k);
        timeLabels[uk]->setText(m_graph.drawable ? m_graph.timeLabels[uk] : QString());
        dateLabels[uk]->setText(m_graph.drawable ? m_graph.dateLabels[uk] : QString());
    }
    for (int k = 0; k <= 16; ++k) {
        const auto uk = static_cast<size_t>(k);
        rateLabels[uk]->setText(m_graph.drawable ? m_graph.rateLabels[uk] : QString());
    }
    placeLabels();
    update();
}

void RateGraphWindow::toggleBackground()
{
    if (backgroundButton->text() != blackCaption) {
        backgroundButton->setText(blackCaption);
        m_black = true;
    } else {
        backgroundButton->setText(whiteCaption);
        m_black = false;
    }
    applyLook();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    drawGraph();
    repaint();
    QApplication::restoreOverrideCursor();
}

void RateGraphWindow::applyLook()
{
    const QString ink = m_black ? QStringLiteral("white") : QStringLiteral("black");
    const QString style = QStringLiteral("color: %1; background: transparent;").arg(ink);
    for (QLabel* label : timeLabels) {
        label->setStyleSheet(style);
    }
    for (QLabel* label : dateLabels) {
        label->setStyleSheet(style);
    }
    for (QLabel* label : rateLabels) {
        label->setStyleSheet(style);
    }
    bandCaption->setStyleSheet(style);
}

// ---------------------------------------------------------------------------------------------
// Geometry: the rate axis labels on the left, the band bar, time, date and legend rows below.

double RateGraphWindow::plotLeft() const
{
    return labelWidth + 16;
}

double RateGraphWindow::plotRight() const
{
    return width() - 20;
}

double RateGraphWindow::plotTop() const
{
    return 20;
}

double RateGraphWindow::plotBaseline() const
{
    return height() - 130;
}

double RateGraphWindow::barTop() const
{
    return plotBaseline() + 8;
}

double RateGraphWindow::barBottom() const
{
    return plotBaseline() + 24;
}

double RateGraphWindow::columnWidth() const
{
    return (plotRight() - plotLeft()) / rateGraphColumns;
}

double RateGraphWindow::columnX(double column) const
{
    return plotLeft() + 10 + (column - 2) * columnWidth();
}

void RateGraphWindow::placeLabels()
{
    const double spanColumns = rateGraphColumns - 1;
    for (int k = 0; k < 15; ++k) {
        const double x = columnX(1 + k * spanColumns / 14.0);
        const int left = static_cast<int>(x) - labelWidth / 2;
        timeLabels[static_cast<size_t>(k)]->move(left, static_cast<int>(barBottom()) + 6);
        dateLabels[static_cast<size_t>(k)]->move(left, static_cast<int>(barBottom()) + 6 + labelHeight);
    }
    const RatePlotScale scale(m_graph, plotTop(), plotBaseline());
    for (int k = 0; k <= 16; ++k) {
        double y = plotBaseline() - k * (plotBaseline() - plotTop()) / 16.0;
        if (m_graph.drawable && !m_graph.flat) {
            y = scale.y(m_graph.minRate + k * (m_graph.maxRate - m_graph.minRate) / 16.0);
        }
        rateLabels[static_cast<size_t>(k)]->move(2, static_cast<int>(y) - labelHeight / 2);
    }
    const int legendY = height() - 36;
    int x = static_cast<int>(plotLeft());
    bandCaption->move(x, legendY + 2);
    x += bandCaption->width() + 4;
    for (QLabel* label : bandLabels) {
        label->move(x, legendY);
        x += label->width() + 4;
    }
    backgroundButton->move(width() - backgroundButton->width() - 20, legendY - 4);
}

void RateGraphWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeLabels();
}

void RateGraphWindow::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const QColor background = m_black ? Qt::black : Qt::white;
    const QColor ink = m_black ? Qt::white : Qt::black;
    painter.fillRect(rect(), background);

    // The frame of the plot and the two lines of the band bar.
    painter.setPen(QPen(ink, 1));
    const double left = plotLeft();
    const double right = plotRight();
    painter.drawLine(QPointF(left, plotTop()), QPointF(left, barBottom()));
    painter.drawLine(QPointF(right, plotTop()), QPointF(right, barBottom()));
    painter.drawLine(QPointF(left, plotTop()), QPointF(right, plotTop()));
    painter.drawLine(QPointF(left, plotBaseline()), QPointF(right, plotBaseline()));
    painter.drawLine(QPointF(left, barTop()), QPointF(right, barTop()));
    painter.drawLine(QPointF(left, barBottom()), QPointF(right, barBottom()));

    if (!m_graph.drawable) {
        return;
    }
    const RatePlotScale scale(m_graph, plotTop(), plotBaseline());
    const auto& rate = m_graph.rate;
    const double width = columnWidth();

    // The band bar: one box per column wherever the rate on either side of it is above zero.
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int x = 1; x <= rateGraphColumns; ++x) {
        const auto ux = static_cast<size_t>(x);
        if (rate[ux] > 0 || rate[ux - 1] > 0) {
            const QColor colour = qtColour(m_graph.bandColour[ux]);
            const QRectF box(QPointF(columnX(x - 1), barTop()), QPointF(columnX(x - 1) + width, barBottom()));
            painter.fillRect(box, colour);
        }
    }

    // The curve, from column 0 (rate 0) through column 1500.
    QPolygonF curve;
    curve.reserve(rateGraphColumns + 1);
    for (int x = 0; x <= rateGraphColumns; ++x) {
        const double value = x == 0 ? 0.0 : rate[static_cast<size_t>(x)];
        curve << QPointF(columnX(x), scale.y(value));
    }
    painter.setClipRect(QRectF(QPointF(left, plotTop()), QPointF(right, plotBaseline() + 1)));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor(0, 0, 255), 1.5));
    painter.drawPolyline(curve);
}

} // namespace velk
