#include "log/ui/statusline.h"

#include "common/colours.h"
#include "common/ui/announcer.h"

#include <QLabel>
#include <QVBoxLayout>

namespace velk {

namespace {

QString background(std::uint32_t bgr)
{
    return QStringLiteral("background-color: %1;").arg(styleSheetColour(bgr));
}

} // namespace

StatusLine::StatusLine(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("statusLine"));
    m_status->setAccessibleName(tr("Status"));
    QFont statusFont = m_status->font();
    statusFont.setPointSize(15);
    statusFont.setBold(true);
    m_status->setFont(statusFont);
    m_status->setMinimumHeight(QFontMetrics(statusFont).height() + 16);
    m_status->setContentsMargins(10, 4, 10, 4);
    // A long report wraps; it never widens the main window past the screen.
    m_status->setWordWrap(true);
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(m_status);
    setColour(colour::statusNormal);

    m_partialDupes = new QLabel(this);
    m_partialDupes->setObjectName(QStringLiteral("partialDupeLine"));
    m_partialDupes->setAccessibleName(tr("Partial dupes"));
    m_partialDupes->setWordWrap(true);
    m_partialDupes->setMinimumHeight(QFontMetrics(m_partialDupes->font()).height() * 2 + 8);
    m_partialDupes->setContentsMargins(8, 2, 8, 2);
    m_partialDupes->setAutoFillBackground(true);
    layout->addWidget(m_partialDupes);
    resetPartialDupes();
}

QString StatusLine::text() const
{
    return m_status->text();
}

void StatusLine::showText(const QString& text)
{
    m_status->setText(text);
    if (m_announcer) {
        m_announcer->statusShown(text);
    }
}

void StatusLine::showUnsaid(const QString& text)
{
    m_status->setText(text);
}

void StatusLine::setColour(std::uint32_t bgr)
{
    m_status->setStyleSheet(background(bgr) + QStringLiteral(" color: black;"));
}

void StatusLine::showPartialDupes(const QString& text, std::uint32_t bgr)
{
    m_partialDupes->setStyleSheet(background(bgr));
    m_partialDupes->setText(text);
}

void StatusLine::showPartialDupes(const QString& text)
{
    m_partialDupes->setText(text);
}

void StatusLine::resetPartialDupes()
{
    showPartialDupes(QString(), colour::buttonFace);
}

} // namespace velk
