#include "spots/ui/spotmapview.h"

#include "common/ui/accessibility.h"
#include "spots/ui/spotmapaccessible.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <tuple>

namespace velk {

namespace {

// The age colours are meant for a dark background.
const QColor mapBackground(16, 24, 48);
const QColor axisColour(170, 170, 170);
const QColor scaleColour(200, 200, 200);
const QColor labelBorder(96, 104, 136);
constexpr int labelPadding = 3;
constexpr int bandMapLabelGap = 3; // between a band-map label and its axis
constexpr int scaleGap = 4;        // between an axis and its scale captions
constexpr int tickLength = 4;
constexpr int zoomButtonGap = 24; // from the right end of an axis to its zoom buttons
constexpr int buttonWidth = 26;
constexpr int buttonHeight = 22;

QColor toColour(const Rgb& rgb)
{
    return QColor(rgb.red, rgb.green, rgb.blue);
}

QFont labelFont(const QFont& base)
{
    QFont font = base;
    font.setBold(true);
    return font;
}

} // namespace

SpotMapView::SpotMapView(Kind kind, SpotRing& ring, const Clock& clock, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_ring(ring), m_clock(clock)
{
    const bool spectrum = kind == Kind::Spectrum;
    setObjectName(spectrum ? QStringLiteral("spectrumMapView") : QStringLiteral("bandMapView"));
    setAccessibleName(spectrum ? tr("HF spectrum map") : tr("Band map"));
    QAccessible::installFactory(spotMapInterface);
    // Reached with Tab; a click leaves the keyboard with the entry boxes.
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    const int axes = spectrum ? spectrumAxisCount : 1;
    m_zoomLevels.assign(static_cast<std::size_t>(axes), zoom::fitSpots);
    for (int axis = 0; axis < axes; ++axis) {
        addZoomButtons(axis, spectrum ? spectrumAxes().at(static_cast<std::size_t>(axis)).name : QString());
    }
    updateZoomButtons();
    dropEarlyAccessibleInterface(this);
}

void SpotMapView::addZoomButtons(int axis, const QString& bandName)
{
    const QString suffix = m_kind == Kind::Spectrum ? QString::number(axis) : QString();
    const QString which = bandName.isEmpty() ? QString() : QStringLiteral(" ") + bandName;
    auto* out = new QToolButton(this);
    out->setObjectName(QStringLiteral("zoomOutButton") + suffix);
    out->setText(QStringLiteral("\u2212"));
    out->setToolTip(tr("Zoom out"));
    out->setAccessibleName(tr("Zoom out") + which);
    auto* in = new QToolButton(this);
    in->setObjectName(QStringLiteral("zoomInButton") + suffix);
    in->setText(QStringLiteral("+"));
    in->setToolTip(tr("Zoom in"));
    in->setAccessibleName(tr("Zoom in") + which);
    for (QToolButton* button : {out, in}) {
        button->setFixedSize(buttonWidth, buttonHeight);
        button->setFocusPolicy(Qt::NoFocus); // the keyboard stays with the entry boxes
    }
    connect(out, &QToolButton::clicked, this, [this, axis] { zoomOut(axis); });
    connect(in, &QToolButton::clicked, this, [this, axis] { zoomIn(axis); });
    m_zoomOutButtons.push_back(out);
    m_zoomInButtons.push_back(in);
}

void SpotMapView::setBand(const QString& band)
{
    m_band = band;
    refresh();
}

void SpotMapView::zoomIn(int axis)
{
    int& level = m_zoomLevels.at(static_cast<std::size_t>(axis));
    level = zoomedIn(level);
    updateZoomButtons();
    refresh();
}

void SpotMapView::zoomOut(int axis)
{
    int& level = m_zoomLevels.at(static_cast<std::size_t>(axis));
    level = zoomedOut(level);
    updateZoomButtons();
    refresh();
}

void SpotMapView::updateZoomButtons()
{
    for (std::size_t axis = 0; axis < m_zoomLevels.size(); ++axis) {
        m_zoomInButtons[axis]->setEnabled(m_zoomLevels[axis] < zoom::closest);
        m_zoomOutButtons[axis]->setEnabled(m_zoomLevels[axis] > zoom::wholeBand);
    }
}

void SpotMapView::refresh()
{
    const QDateTime now = m_clock.utcNow();
    MapPicture before = std::move(m_picture);
    std::vector<QRect> rectsBefore = std::move(m_labelRects);
    if (m_kind == Kind::BandMap) {
        m_picture = bandMapPicture(m_ring, m_band, m_zoomLevels.front(), width(), now);
    } else {
        std::array<int, spectrumAxisCount> levels{};
        std::copy(m_zoomLevels.begin(), m_zoomLevels.end(), levels.begin());
        m_picture = spectrumPicture(m_ring, levels, width(), now);
    }

    const int height = labelHeight();
    const int gap = m_kind == Kind::BandMap ? bandMapLabelGap : 0;
    m_labelRects.clear();
    m_labelRects.reserve(m_picture.labels.size());
    for (const SpotLabel& label : m_picture.labels) {
        const int labelWidth =
            static_cast<int>(std::ceil(labelText(label.caption).size().width())) + 2 * labelPadding;
        const int left = labelLeft(label.centreX, labelWidth, width());
        m_labelRects.emplace_back(left, axisY(label.axis) - gap - height, labelWidth, height);
    }
    m_hoveredLabel = -1;
    // While the keyboard is on the map it stays on its spot; coming to the map starts at the lowest.
    const std::optional<SpotLabel> current =
        hasFocus() && m_current >= 0 && static_cast<std::size_t>(m_current) < m_order.size()
            ? std::optional(
                  before.labels[static_cast<std::size_t>(m_order[static_cast<std::size_t>(m_current)])])
            : std::nullopt;
    orderSpots();
    m_current = spotCount() == 0 ? -1 : (hasFocus() ? std::clamp(m_current, 0, spotCount() - 1) : 0);
    if (current) {
        for (int i = 0; i < spotCount(); ++i) {
            const SpotLabel& label = spotAt(i);
            if (label.call == current->call && label.frequencyMhz == current->frequencyMhz) {
                m_current = i;
            }
        }
    }
    setAccessibleDescription(spotCount() == 1 ? tr("1 spot") : tr("%1 spots").arg(spotCount()));
    if (QAccessible::isActive()) {
        QAccessibleEvent reorder(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&reorder);
        if (hasFocus()) {
            tellScreenReaderFocus();
        }
    }
    update(changedArea(before, rectsBefore));
}

void SpotMapView::orderSpots()
{
    m_order.resize(m_picture.labels.size());
    std::iota(m_order.begin(), m_order.end(), 0);
    std::stable_sort(m_order.begin(), m_order.end(), [this](int a, int b) {
        return m_picture.labels[static_cast<std::size_t>(a)].frequencyMhz <
               m_picture.labels[static_cast<std::size_t>(b)].frequencyMhz;
    });
}

const SpotLabel& SpotMapView::spotAt(int index) const
{
    return m_picture.labels.at(static_cast<std::size_t>(m_order.at(static_cast<std::size_t>(index))));
}

QRect SpotMapView::spotRect(int index) const
{
    return m_labelRects.at(static_cast<std::size_t>(m_order.at(static_cast<std::size_t>(index))));
}

void SpotMapView::setCurrentSpot(int index)
{
    if (index < 0 || index >= spotCount()) {
        return;
    }
    if (m_current >= 0 && m_current < spotCount()) {
        update(spotRect(m_current));
    }
    m_current = index;
    update(spotRect(m_current));
    if (hasFocus()) {
        emit spotHovered(spotAt(index).toolTip);
        tellScreenReaderFocus();
    }
}

void SpotMapView::tellScreenReaderFocus()
{
    if (m_current < 0) {
        return;
    }
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(m_current);
    QAccessible::updateAccessibility(&focus);
}

void SpotMapView::tuneToCurrentSpot()
{
    if (m_current >= 0) {
        tune(spotAt(m_current));
    }
}

void SpotMapView::withdrawCurrentSpot()
{
    if (m_current >= 0) {
        withdraw(SpotLabel(spotAt(m_current)));
    }
}

void SpotMapView::keyPressEvent(QKeyEvent* event)
{
    const int last = spotCount() - 1;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        setCurrentSpot(std::max(0, m_current - 1));
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        setCurrentSpot(std::min(last, m_current + 1));
        break;
    case Qt::Key_Home:
        setCurrentSpot(0);
        break;
    case Qt::Key_End:
        setCurrentSpot(last);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        tuneToCurrentSpot();
        break;
    case Qt::Key_Delete:
        withdrawCurrentSpot();
        break;
    case Qt::Key_Plus:
    case Qt::Key_Minus: {
        const int axis = m_current >= 0 ? spotAt(m_current).axis : 0;
        event->key() == Qt::Key_Plus ? zoomIn(axis) : zoomOut(axis);
        break;
    }
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void SpotMapView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (m_current < 0 && spotCount() > 0) {
        m_current = 0;
    }
    if (m_current >= 0) {
        update(spotRect(m_current));
        emit spotHovered(spotAt(m_current).toolTip);
        // After Qt has told of the map itself getting the focus, the spot within it is told.
        QTimer::singleShot(0, this, [this] {
            if (hasFocus()) {
                tellScreenReaderFocus();
            }
        });
    }
}

void SpotMapView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (m_current >= 0) {
        update(spotRect(m_current));
    }
}

// What a redraw has to paint again: the rows of the axes whose scale or labels changed, with
// every label they had and have, so a spot arriving on one band leaves the other rows alone.
QRegion SpotMapView::changedArea(const MapPicture& before, const std::vector<QRect>& rectsBefore) const
{
    if (before.axes.size() != m_picture.axes.size() || before.extent.x1 != m_picture.extent.x1 ||
        before.extent.x2 != m_picture.extent.x2) {
        return QRegion(rect());
    }
    const auto labelsOf = [](const MapPicture& picture, const std::vector<QRect>& rects, std::size_t axis) {
        std::vector<std::tuple<QString, QRect, SpotAge, bool>> drawn;
        for (std::size_t i = 0; i < picture.labels.size(); ++i) {
            const SpotLabel& label = picture.labels[i];
            if (label.axis == static_cast<int>(axis)) {
                drawn.emplace_back(label.caption, rects[i], label.age, label.clamped);
            }
        }
        return drawn;
    };
    QRegion changed;
    for (std::size_t b = 0; b < m_picture.axes.size(); ++b) {
        const auto old = labelsOf(before, rectsBefore, b);
        const auto now = labelsOf(m_picture, m_labelRects, b);
        if (old == now && before.axes[b].scale.captions == m_picture.axes[b].scale.captions) {
            continue;
        }
        changed += rowArea(static_cast<int>(b));
        for (const auto& label : old) {
            changed += std::get<1>(label);
        }
        for (const auto& label : now) {
            changed += std::get<1>(label);
        }
    }
    return changed;
}

QRect SpotMapView::rowArea(int axis) const
{
    // The labels above the axis to the scale captions below it, left of the zoom buttons.
    const int y = axisY(axis);
    const int top = y - labelHeight() - bandMapLabelGap;
    const int bottom = y + scaleGap + fontMetrics().height() + 1;
    return QRect(0, top, static_cast<int>(m_picture.extent.x2) + zoomButtonGap, bottom - top);
}

const QStaticText& SpotMapView::cachedText(QHash<QString, QStaticText>& cache, const QString& text,
                                           const QFont& font) const
{
    auto it = cache.find(text);
    if (it == cache.end()) {
        if (cache.size() > 2000) {
            cache.clear(); // calls come and go; keep the cache to the ones seen lately
        }
        QStaticText prepared(text);
        prepared.setTextFormat(Qt::PlainText);
        prepared.prepare(QTransform(), font);
        it = cache.insert(text, prepared);
    }
    return *it;
}

const QStaticText& SpotMapView::labelText(const QString& caption) const
{
    return cachedText(m_labelTexts, caption, labelFont(font()));
}

const QStaticText& SpotMapView::scaleText(const QString& caption) const
{
    return cachedText(m_scaleTexts, caption, font());
}

QRect SpotMapView::labelRect(int slot) const
{
    for (std::size_t i = 0; i < m_picture.labels.size(); ++i) {
        if (m_picture.labels[i].slot == slot) {
            return m_labelRects[i];
        }
    }
    return {};
}

int SpotMapView::labelHeight() const
{
    return QFontMetrics(labelFont(font())).height() + 2;
}

int SpotMapView::rowHeight() const
{
    return std::max(1, height() / axisCount());
}

int SpotMapView::axisY(int axis) const
{
    // The labels above the axis and the scale captions below it, as one block in the middle of
    // the axis' row.
    const int gap = m_kind == Kind::BandMap ? bandMapLabelGap : 0;
    const int block = labelHeight() + gap + scaleGap + fontMetrics().height();
    const int top = axis * rowHeight() + std::max(0, (rowHeight() - block) / 2);
    return top + labelHeight() + gap;
}

QSize SpotMapView::minimumSizeHint() const
{
    const int row = labelHeight() + bandMapLabelGap + scaleGap + fontMetrics().height() + 6;
    return {420, row * axisCount()};
}

QSize SpotMapView::sizeHint() const
{
    const QSize minimum = minimumSizeHint();
    return {1000, minimum.height() + 8 * axisCount()};
}

void SpotMapView::placeZoomButtons()
{
    const int left = static_cast<int>(m_picture.extent.x2) + zoomButtonGap;
    for (int axis = 0; axis < axisCount(); ++axis) {
        const int top = axisY(axis) - buttonHeight / 2;
        m_zoomOutButtons[static_cast<std::size_t>(axis)]->move(left, top);
        m_zoomInButtons[static_cast<std::size_t>(axis)]->move(left + buttonWidth + 4, top);
    }
}

void SpotMapView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    refresh();
    placeZoomButtons();
}

void SpotMapView::paintEvent(QPaintEvent* event)
{
    const QRect area = event->rect();
    QPainter painter(this);
    painter.fillRect(area, mapBackground);
    const AxisExtent& extent = m_picture.extent;
    const int x1 = static_cast<int>(extent.x1);
    const int x2 = static_cast<int>(extent.x2);
    const int captionHeight = fontMetrics().height();

    for (std::size_t b = 0; b < m_picture.axes.size(); ++b) {
        if (!rowArea(static_cast<int>(b)).intersects(area)) {
            continue;
        }
        const MapAxis& axis = m_picture.axes[b];
        const int y = axisY(static_cast<int>(b));
        painter.setPen(axisColour);
        painter.drawLine(x1, y, x2, y);
        painter.setPen(scaleColour);
        if (m_kind == Kind::Spectrum) {
            // Above the axis' left end, clear of the scale caption centred under it; the band
            // map names its band in its header.
            const QStaticText& name = scaleText(axis.band.name);
            painter.drawStaticText(QPointF(x1 - 24 - name.size().width(), y - captionHeight - 1), name);
        }
        for (int k = 0; k < 5; ++k) {
            const int x = x1 + (x2 - x1) * k / 4;
            painter.setPen(axisColour);
            painter.drawLine(x, y, x, y + tickLength);
            const QStaticText& caption = scaleText(axis.scale.captions[static_cast<std::size_t>(k)]);
            const int captionWidth = static_cast<int>(std::ceil(caption.size().width()));
            painter.setPen(scaleColour);
            painter.drawStaticText(QPointF(labelLeft(x, captionWidth, width()), y + scaleGap), caption);
        }
    }

    // Oldest first: the newest label covers the ones it overlaps.
    painter.setFont(labelFont(font()));
    for (std::size_t i = 0; i < m_picture.labels.size(); ++i) {
        const QRect& box = m_labelRects[i];
        if (!box.intersects(area)) {
            continue;
        }
        const SpotLabel& label = m_picture.labels[i];
        painter.fillRect(box, mapBackground);
        painter.setPen(QPen(labelBorder, 1, label.clamped ? Qt::DotLine : Qt::SolidLine));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.setPen(toColour(ageColour(label.age)));
        painter.drawStaticText(QPointF(box.left() + labelPadding, box.top() + 1), labelText(label.caption));
    }
    if (hasFocus() && m_current >= 0) {
        painter.setPen(QPen(Qt::white, 2));
        painter.drawRect(spotRect(m_current).adjusted(1, 1, -1, -1));
    }
}

void SpotMapView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_labelTexts.clear();
        m_scaleTexts.clear();
        refresh();
    }
}

int SpotMapView::labelAt(const QPoint& point) const
{
    for (int i = static_cast<int>(m_labelRects.size()) - 1; i >= 0; --i) {
        if (m_labelRects[static_cast<std::size_t>(i)].contains(point)) {
            return i;
        }
    }
    return -1;
}

int SpotMapView::slotOf(const SpotLabel& label) const
{
    const auto holds = [&](int slot) {
        const Spot& spot = m_ring.slot(slot);
        return spot.isShown() && spot.frequencyMhz == label.frequencyMhz && spot.call == label.call;
    };
    // Normally the ring has not moved since the map was drawn; if it has, the spot is found again.
    if (holds(label.slot)) {
        return label.slot;
    }
    for (int slot = SpotRing::newestSlot; slot >= 0; --slot) {
        if (holds(slot)) {
            return slot;
        }
    }
    return -1;
}

void SpotMapView::mousePressEvent(QMouseEvent* event)
{
    const int index = labelAt(event->position().toPoint());
    if (index < 0) {
        QWidget::mousePressEvent(event);
        return;
    }
    const SpotLabel label = m_picture.labels[static_cast<std::size_t>(index)];
    if (event->button() == Qt::RightButton) {
        tune(label);
    } else {
        withdraw(label);
    }
}

void SpotMapView::tune(const SpotLabel& label)
{
    if (slotOf(label) < 0) {
        refresh(); // the spot left the ring since this picture was drawn
        return;
    }
    emit tuneRequested(label.frequencyMhz);
    emit callChosen(label.call);
}

void SpotMapView::withdraw(const SpotLabel& label)
{
    const int slot = slotOf(label);
    if (slot < 0) {
        refresh();
        return;
    }
    m_ring.withdraw(slot);
    refresh();
    emit spotWithdrawn();
}

void SpotMapView::mouseMoveEvent(QMouseEvent* event)
{
    const int index = labelAt(event->position().toPoint());
    if (index != m_hoveredLabel) {
        m_hoveredLabel = index;
        if (index >= 0) {
            emit spotHovered(m_picture.labels[static_cast<std::size_t>(index)].toolTip);
        }
    }
    QWidget::mouseMoveEvent(event);
}

void SpotMapView::leaveEvent(QEvent* event)
{
    m_hoveredLabel = -1;
    QWidget::leaveEvent(event);
}

bool SpotMapView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = labelAt(help->pos());
        if (index >= 0) {
            QToolTip::showText(help->globalPos(), m_picture.labels[static_cast<std::size_t>(index)].toolTip,
                               this, m_labelRects[static_cast<std::size_t>(index)]);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

} // namespace velk
