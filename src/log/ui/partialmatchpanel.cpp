#include "log/ui/partialmatchpanel.h"

#include "common/colours.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStringList>

namespace velk {

namespace {

constexpr int gap = 8;     // between two calls
constexpr int padding = 3; // around a call's text, inside its coloured box

QColor colourOf(std::uint32_t bgr)
{
    const Rgb rgb = toRgb(bgr);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

QString nearCaption()
{
    return QStringLiteral("N+1");
}

} // namespace

PartialMatchPanel::PartialMatchPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("partialMatchPanel"));
    setAccessibleName(tr("Partial matches"));
    // Typing stays in the call box; a screen reader reads the line when asked, never by itself.
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setToolTip(tr("Known calls containing the typed text. Red: worked on this band; underlined: worked "
                  "on another band; N+1: one character different. Click one, or Ctrl+Down / Ctrl+Up."));
    describeForScreenReaders();
}

void PartialMatchPanel::showMatches(const MatchList& matches)
{
    m_matches = matches;
    m_taken = -1;
    placeMatches();
    describeForScreenReaders();
    update();
}

QSize PartialMatchPanel::sizeHint() const
{
    return QSize(400, fontMetrics().height() + 2 * padding + 2);
}

QSize PartialMatchPanel::minimumSizeHint() const
{
    return QSize(0, sizeHint().height());
}

void PartialMatchPanel::placeMatches()
{
    m_rects.clear();
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold);
    m_captionWidth = m_matches.nearMatches ? boldMetrics.horizontalAdvance(nearCaption()) + gap : 0;
    int x = m_captionWidth;
    const int height = fontMetrics().height() + 2 * padding;
    for (const CallMatch& match : m_matches.calls) {
        // Dupes are bold, so every call is measured as bold and keeps its place.
        const int width = boldMetrics.horizontalAdvance(match.call) + 2 * padding;
        if (x + width > this->width()) {
            break;
        }
        m_rects.emplace_back(x, 1, width, height);
        x += width + gap;
    }
}

void PartialMatchPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeMatches();
    describeForScreenReaders();
}

void PartialMatchPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor text = palette().color(QPalette::WindowText);
    QFont bold = font();
    bold.setBold(true);
    if (m_matches.nearMatches) {
        painter.setFont(bold);
        painter.setPen(text);
        painter.drawText(QRect(0, 1, m_captionWidth, height() - 2), Qt::AlignLeft | Qt::AlignVCenter,
                         nearCaption());
    }
    for (std::size_t i = 0; i < m_rects.size(); ++i) {
        const CallMatch& match = m_matches.calls[i];
        const QRect box = m_rects[i];
        QFont look = font();
        look.setItalic(m_matches.nearMatches);
        if (match.status == MatchStatus::Dupe) {
            painter.fillRect(box, colourOf(colour::dupeReport));
            look.setBold(true);
            painter.setPen(Qt::white);
        } else {
            look.setUnderline(match.status == MatchStatus::WorkedOtherBand);
            painter.setPen(text);
        }
        painter.setFont(look);
        painter.drawText(box, Qt::AlignCenter, match.call);
        if (static_cast<int>(i) == m_taken) {
            painter.setPen(QPen(text, 1, Qt::DotLine));
            painter.drawRect(box.adjusted(0, 0, -1, -1));
        }
    }
}

void PartialMatchPanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    for (std::size_t i = 0; i < m_rects.size(); ++i) {
        if (m_rects[i].contains(event->position().toPoint())) {
            take(static_cast<int>(i));
            return;
        }
    }
}

void PartialMatchPanel::takeNext()
{
    if (!m_rects.empty()) {
        take((m_taken + 1) % visibleCount());
    }
}

void PartialMatchPanel::takePrevious()
{
    if (!m_rects.empty()) {
        take(m_taken <= 0 ? visibleCount() - 1 : m_taken - 1);
    }
}

void PartialMatchPanel::take(int index)
{
    m_taken = index;
    update();
    emit callChosen(m_matches.calls[static_cast<std::size_t>(index)].call);
}

void PartialMatchPanel::describeForScreenReaders()
{
    // What the line shows, in its order.
    QStringList spoken;
    for (std::size_t i = 0; i < m_rects.size(); ++i) {
        const CallMatch& match = m_matches.calls[i];
        switch (match.status) {
        case MatchStatus::Dupe:
            spoken << tr("%1 dupe").arg(match.call);
            break;
        case MatchStatus::WorkedOtherBand:
            spoken << tr("%1 worked on another band").arg(match.call);
            break;
        case MatchStatus::New:
            spoken << match.call;
            break;
        }
    }
    QString description = spoken.isEmpty() ? tr("No matches") : spoken.join(QStringLiteral(", "));
    if (m_matches.nearMatches && !spoken.isEmpty()) {
        description = tr("Near matches: ") + description;
    }
    setAccessibleDescription(description);
}

} // namespace velk
