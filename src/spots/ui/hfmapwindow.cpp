#include "spots/ui/hfmapwindow.h"

#include "spots/ui/spotmapview.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace velk {

SpectrumMapWindow::SpectrumMapWindow(SpotRing& ring, const Clock& clock, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("spectrumMapWindow"));
    setWindowTitle(QStringLiteral(" HF Spectrum Map"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_view = new SpotMapView(SpotMapView::Kind::Spectrum, ring, clock, this);
    layout->addWidget(m_view);

    connect(m_view, &SpotMapView::tuneRequested, this, &SpectrumMapWindow::tuneRequested);
    connect(m_view, &SpotMapView::spotHovered, this, &SpectrumMapWindow::spotHovered);
    connect(m_view, &SpotMapView::spotWithdrawn, this, &SpectrumMapWindow::spotWithdrawn);
    connect(m_view, &SpotMapView::callChosen, this, [this](const QString& call) {
        emit callChosen(call);
        close();
    });

    // Nearly the whole screen, so that the eleven axes have room.
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(area.width() * 9 / 10, area.height() * 9 / 10);
        move(area.center() - rect().center());
    }
}

void SpectrumMapWindow::refresh()
{
    if (isVisible()) {
        m_view->refresh();
    }
}

void SpectrumMapWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_view->refresh();
}

void SpectrumMapWindow::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        m_view->refresh();
    }
}

} // namespace velk
