#include "spots/ui/bandmappanel.h"

#include "spots/ui/spotmapview.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace velk {

BandMapPanel::BandMapPanel(SpotRing& ring, const Clock& clock, const QString& band, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("bandMapPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_header = new QLabel(this);
    m_header->setObjectName(QStringLiteral("bandMapHeader"));
    m_header->setAccessibleName(tr("Band map header"));
    m_header->setToolTip(tr("Click: spot window. Double click: HF spectrum map."));
    m_header->installEventFilter(this);
    m_view = new SpotMapView(SpotMapView::Kind::BandMap, ring, clock, this);
    layout->addWidget(m_header);
    layout->addWidget(m_view, 1);

    m_idleTimer = new QTimer(this);
    m_idleTimer->setObjectName(QStringLiteral("bandMapIdleTimer"));
    m_idleTimer->setSingleShot(true);
    m_idleTimer->setInterval(idleRedrawMs);
    connect(m_idleTimer, &QTimer::timeout, this, &BandMapPanel::refresh);

    connect(m_view, &SpotMapView::tuneRequested, this, &BandMapPanel::tuneRequested);
    connect(m_view, &SpotMapView::callChosen, this, &BandMapPanel::callChosen);
    connect(m_view, &SpotMapView::spotHovered, this, &BandMapPanel::spotHovered);
    connect(m_view, &SpotMapView::spotWithdrawn, m_idleTimer, qOverload<>(&QTimer::start));
    setBand(band);
}

void BandMapPanel::refresh()
{
    if (!isVisible()) {
        m_stale = true;
        return;
    }
    m_stale = false;
    m_view->refresh();
    m_idleTimer->start();
}

void BandMapPanel::setBand(const QString& band)
{
    showBandInHeader(band);
    m_view->setBand(band);
    if (isVisible()) {
        m_idleTimer->start();
    }
}

void BandMapPanel::showBandInHeader(const QString& band)
{
    m_header->setText(tr("DX Band Map  %1 m").arg(band));
}

void BandMapPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_stale) {
        refresh();
    }
}

bool BandMapPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_header) {
        if (event->type() == QEvent::MouseButtonPress) {
            emit spotWindowRequested();
            return true;
        }
        if (event->type() == QEvent::MouseButtonDblClick) {
            emit spectrumMapRequested();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace velk
