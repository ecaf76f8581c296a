#include "log/ui/stationbar.h"

#include "common/formats.h"
#include "log/logsession.h"
#include "log/stationtime.h"
#include "log/ui/widgetparts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velk {

namespace {

QLabel* makeValue(const QString& objectName, const QString& accessibleName, int pointSize, QWidget* parent)
{
    QLabel* label = makeDisplay(objectName, accessibleName, parent);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

StationBar::StationBar(Platform& platform, LogSession& session, QWidget* parent)
    : QWidget(parent), m_platform(platform), m_session(session)
{
    setObjectName(QStringLiteral("stationBar"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    auto addValue = [&](const QString& caption, QWidget* value) {
        auto* box = new QVBoxLayout;
        box->setSpacing(0);
        box->addWidget(makeCaption(caption, this));
        box->addWidget(value);
        row->addLayout(box);
        row->addSpacing(18);
    };
    m_ownCall = makeValue(QStringLiteral("ownCallDisplay"), tr("Own call"), 13, this);
    m_ownLocation = makeValue(QStringLiteral("ownLocationDisplay"), tr("Own location"), 13, this);
    m_ownName = makeValue(QStringLiteral("ownNameDisplay"), tr("Own name"), 13, this);
    addValue(tr("CALL"), m_ownCall);
    addValue(tr("SPC"), m_ownLocation);
    addValue(tr("NAME"), m_ownName);
    row->addStretch(1);

    m_band = makeValue(QStringLiteral("bandDisplay"), tr("Band"), 22, this);
    m_band->setToolTip(tr("Click for the next band"));
    m_band->setCursor(Qt::PointingHandCursor);
    m_band->setMinimumWidth(QFontMetrics(m_band->font()).horizontalAdvance(QStringLiteral("160")) + 12);
    m_band->installEventFilter(this);
    addValue(tr("BAND (m)"), m_band);

    m_utc = makeValue(QStringLiteral("utcClock"), tr("UTC time"), 13, this);
    addValue(tr("UTC"), m_utc);

    auto* local = new QWidget(this);
    auto* localRow = new QHBoxLayout(local);
    localRow->setContentsMargins(0, 0, 0, 0);
    localRow->setSpacing(4);
    m_local = makeValue(QStringLiteral("localClock"), tr("Local time"), 13, local);
    m_amPm = makeValue(QStringLiteral("localAmPm"), tr("AM or PM"), 13, local);
    localRow->addWidget(m_local);
    localRow->addWidget(m_amPm);
    addValue(tr("LOCAL"), local);

    m_operatingTime = makeValue(QStringLiteral("operatingTimeDisplay"), tr("Operating time"), 13, this);
    m_operatingTime->setText(QStringLiteral("00:00:00"));
    addValue(tr("OPERATING TIME"), m_operatingTime);

    connect(&m_session, &LogSession::bandChanged, this, &StationBar::showBand);
}

void StationBar::showStation()
{
    m_ownCall->setText(m_session.prefs.ownCall);
    m_ownLocation->setText(m_session.prefs.ownSpc);
    m_ownName->setText(m_session.prefs.ownFirstName);
}

void StationBar::showBand(const QString& band)
{
    m_band->setText(band);
}

void StationBar::tick()
{
    m_utc->setText(formatDateTime(stationUtcNow(m_platform.clock, m_session.prefs.utcOffsetHours),
                                  QStringLiteral("hh:nn:ss")));
    const QDateTime now = localNow(m_platform.clock);
    const QString local = formatDateTime(now, QStringLiteral("h:nn:ss AMPM"));
    m_local->setText(local.left(local.size() - 3));
    m_amPm->setText(local.right(2));
    if (m_session.operatingClock.isRunning()) {
        m_session.operatingClock.update(m_session.prefs.accumulatedSeconds, now);
        showOperatingTime();
    }
}

void StationBar::showOperatingTime()
{
    m_operatingTime->setText(formatOperatingTime(m_session.operatingClock.seconds()));
}

bool StationBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_band && event->type() == QEvent::MouseButtonRelease) {
        emit bandClicked();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace velk
