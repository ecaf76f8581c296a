#pragma once
// SpotMapView: paints the spot ring on frequency axes, one axis for the band map or eleven for
// the HF spectrum map, with a zoom-in and a zoom-out button beside each axis. A right click on a
// spot label asks to tune to the spot and offers its call; any other click withdraws the spot from
// the ring; the pointer resting on a label reports the spot. From the keyboard the arrow keys walk
// the spots in frequency order, Enter tunes as the right click does, Delete withdraws as the left
// click does, + and - zoom; a screen reader reads the spots as a list. Reads the ring and the
// clock only.
#include "common/platform/clock.h"
#include "spots/bandmapgeometry.h"

#include <QHash>
#include <QRegion>
#include <QStaticText>
#include <QWidget>
#include <array>
#include <vector>

class QToolButton;

namespace velk {

class SpotMapView : public QWidget
{
    Q_OBJECT
public:
    enum class Kind { BandMap, Spectrum };

    SpotMapView(Kind kind, SpotRing& ring, const Clock& clock, QWidget* parent = nullptr);

    // The band map's band; the spectrum map has all of its axes.
    void setBand(const QString& band);
    QString band() const { return m_band; }
    // Draws the ring again as it is now.
    void refresh();

    int axisCount() const { return static_cast<int>(m_zoomLevels.size()); }
    int zoomLevel(int axis) const { return m_zoomLevels.at(static_cast<std::size_t>(axis)); }
    void zoomIn(int axis);
    void zoomOut(int axis);

    const MapPicture& picture() const { return m_picture; }
    // Where the label of a ring slot is drawn; empty when the slot has no label on the map.
    QRect labelRect(int slot) const;

    // The drawn spots in frequency order (lowest first), for the keyboard and a screen reader.
    int spotCount() const { return static_cast<int>(m_order.size()); }
    const SpotLabel& spotAt(int index) const;
    QRect spotRect(int index) const;
    // The spot the keyboard is on, -1 for none.
    int currentSpot() const { return m_current; }
    void setCurrentSpot(int index);
    // As the right and the left click on the current spot's label.
    void tuneToCurrentSpot();
    void withdrawCurrentSpot();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void tuneRequested(double mhz);
    void callChosen(const QString& call);
    void spotWithdrawn();
    void spotHovered(const QString& text);

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    Kind m_kind;
    SpotRing& m_ring;
    const Clock& m_clock;
    QString m_band;
    std::vector<int> m_zoomLevels;
    std::vector<QToolButton*> m_zoomInButtons;
    std::vector<QToolButton*> m_zoomOutButtons;

    MapPicture m_picture;
    std::vector<QRect> m_labelRects; // parallel to m_picture.labels
    int m_hoveredLabel = -1;
    std::vector<int> m_order; // indexes into m_picture.labels by frequency
    int m_current = -1;       // into m_order
    // Laid-out captions by text: prefixes and scale values repeat from one redraw to the next.
    mutable QHash<QString, QStaticText> m_labelTexts;
    mutable QHash<QString, QStaticText> m_scaleTexts;

    void addZoomButtons(int axis, const QString& bandName);
    void updateZoomButtons();
    void placeZoomButtons();
    int rowHeight() const;
    QRect rowArea(int axis) const;
    QRegion changedArea(const MapPicture& before, const std::vector<QRect>& rectsBefore) const;
    const QStaticText& cachedText(QHash<QString, QStaticText>& cache, const QString& text,
                                  const QFont& font) const;
    const QStaticText& labelText(const QString& caption) const;
    const QStaticText& scaleText(const QString& caption) const;
    int axisY(int axis) const;
    int labelHeight() const;
    // The topmost label under a point, as an index into the picture's labels; -1 for none.
    int labelAt(const QPoint& point) const;
    // The ring slot that still holds the labelled spot, or -1 once the spot has left the ring.
    int slotOf(const SpotLabel& label) const;
    void orderSpots();
    void tune(const SpotLabel& label);
    void withdraw(const SpotLabel& label);
    void tellScreenReaderFocus();
};

} // namespace velk
