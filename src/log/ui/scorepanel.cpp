#include "log/ui/scorepanel.h"

#include "common/bands.h"
#include "common/colours.h"
#include "common/formats.h"
#include "log/logsession.h"
#include "log/rates.h"
#include "log/stationtime.h"
#include "log/ui/widgetparts.h"

#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace velk {

ScorePanel::ScorePanel(Platform& platform, LogSession& session, QWidget* parent)
    : QWidget(parent), m_platform(platform), m_session(session)
{
    setObjectName(QStringLiteral("scorePanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildLocationGrid());
    layout->addWidget(buildTotals());
    connect(&m_session, &LogSession::logReloaded, this, &ScorePanel::showAll);
    connect(&m_session, &LogSession::contactLogged, this, &ScorePanel::markContact);
}

QWidget* ScorePanel::buildLocationGrid()
{
    auto* box = new QGroupBox(tr("States and provinces"), this);
    auto* grid = new QGridLayout(box);
    grid->setSpacing(2);
    constexpr int columns = 9;
    const auto& table = locationTable();
    for (int i = 0; i < locationCount; ++i) {
        const Location& location = table[static_cast<size_t>(i)];
        auto* label = new QLabel(QString::fromLatin1(location.abbreviation), box);
        label->setObjectName(QStringLiteral("location_%1").arg(QString::fromLatin1(location.abbreviation)));
        label->setToolTip(QString::fromLatin1(location.name));
        label->setAccessibleName(QString::fromLatin1(location.name));
        label->setAlignment(Qt::AlignCenter);
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
        label->setMinimumWidth(QFontMetrics(font).horizontalAdvance(QStringLiteral("NWT")) + 8);
        label->installEventFilter(this);
        m_locations[static_cast<size_t>(i)] = label;
        grid->addWidget(label, i / columns, i % columns);
    }
    return box;
}

QWidget* ScorePanel::buildTotals()
{
    auto* panel = new QWidget(this);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);

    auto* dx = new QVBoxLayout;
    m_dxHeading = new QLabel(panel);
    m_dxHeading->setObjectName(QStringLiteral("dxListHeading"));
    m_dxList = new QListWidget(panel);
    m_dxList->setObjectName(QStringLiteral("dxList"));
    m_dxList->setAccessibleName(tr("DX countries worked on this band"));
    m_dxList->setFocusPolicy(Qt::NoFocus);
    dx->addWidget(m_dxHeading);
    dx->addWidget(m_dxList);
    row->addLayout(dx, 1);

    auto* totals = new QFormLayout;
    m_contacts = makeDisplay(QStringLiteral("contactsTotal"), tr("Contacts"), panel, QStringLiteral("0"));
    m_multipliers =
        makeDisplay(QStringLiteral("multipliersTotal"), tr("Multipliers"), panel, QStringLiteral("0"));
    m_score = makeDisplay(QStringLiteral("scoreTotal"), tr("Score"), panel, QStringLiteral("0"));
    m_bandMultipliers = makeDisplay(QStringLiteral("bandMultipliers"), tr("Multipliers on this band"), panel,
                                    QStringLiteral("0"));
    m_rate20 =
        makeDisplay(QStringLiteral("rate20Minutes"), tr("Rate, last 20 minutes"), panel, QStringLiteral("0"));
    m_rate60 =
        makeDisplay(QStringLiteral("rate60Minutes"), tr("Rate, last 60 minutes"), panel, QStringLiteral("0"));
    totals->addRow(tr("Contacts:"), m_contacts);
    totals->addRow(tr("Multipliers:"), m_multipliers);
    totals->addRow(tr("Score:"), m_score);
    totals->addRow(tr("Multipliers worked on current band:"), m_bandMultipliers);
    totals->addRow(tr("Rate, last 20 minutes (per hour):"), m_rate20);
    totals->addRow(tr("Rate, last 60 minutes:"), m_rate60);
    row->addLayout(totals, 2);
    return panel;
}

void ScorePanel::markContact(const ContactRecord& record, const MultiplierChange& change)
{
    if (record.band.compare(m_session.prefs.currentBand, Qt::CaseInsensitive) != 0) {
        return;
    }
    if (change.locationIndex > 0) {
        paintLocation(change.locationIndex, true);
    }
    if (change.newDx) {
        showDxList();
    }
}

void ScorePanel::showDxList()
{
    const QStringList& countries = m_session.multipliers.dxList(bandIndex(m_session.prefs.currentBand));
    m_dxList->clear();
    m_dxList->addItems(countries);
    m_dxHeading->setText(dxHeading(m_session.prefs.currentBand, static_cast<int>(countries.size())));
}

void ScorePanel::showTotals()
{
    const int contacts = m_session.log.count();
    const Multipliers& multipliers = m_session.multipliers;
    m_contacts->setText(formatNumber(contacts, QStringLiteral("###,##0")));
    m_multipliers->setText(QString::number(multipliers.total()));
    m_score->setText(formatNumber(static_cast<double>(score(contacts, multipliers.total())),
                                  QStringLiteral("###,###,###,##0")));
    m_bandMultipliers->setText(
        QString::number(multipliers.bandTotal(bandIndex(m_session.prefs.currentBand))));
    showRates();
}

void ScorePanel::showRates()
{
    // A record whose date or time cannot be read leaves the rates as they were.
    const QDateTime now = stationUtcNow(m_platform.clock, m_session.prefs.utcOffsetHours);
    if (const auto tally = rateTally(m_session.log, now)) {
        m_rate20->setText(QString::number(tally->perHour20()));
        m_rate60->setText(QString::number(tally->perHour60()));
    }
}

void ScorePanel::paintLocation(int location, bool worked)
{
    const std::uint32_t bgr = worked ? m_session.prefs.workedColour : m_session.prefs.notWorkedColour;
    QLabel* label = m_locations[static_cast<std::size_t>(location - 1)];
    label->setStyleSheet(QStringLiteral("color: %1;").arg(styleSheetColour(bgr)));
    // The colour says it to the eye; the description says it to a screen reader.
    label->setAccessibleDescription(worked ? tr("worked on %1 metres").arg(m_session.prefs.currentBand)
                                           : tr("not worked on %1 metres").arg(m_session.prefs.currentBand));
}

void ScorePanel::paintLocationGrid()
{
    const int band = bandIndex(m_session.prefs.currentBand);
    for (int location = 1; location <= locationCount; ++location) {
        paintLocation(location, m_session.multipliers.isWorked(band, location));
    }
}

void ScorePanel::showAll()
{
    paintLocationGrid();
    showDxList();
    showTotals();
}

bool ScorePanel::eventFilter(QObject* watched, QEvent* event)
{
    const auto found = std::find(m_locations.begin(), m_locations.end(), watched);
    if (found == m_locations.end()) {
        return QWidget::eventFilter(watched, event);
    }
    const Location& location = locationTable()[static_cast<std::size_t>(found - m_locations.begin())];
    const QString abbreviation = QString::fromLatin1(location.abbreviation);
    if (event->type() == QEvent::Enter) {
        emit locationHovered(locationBreakdown(QString::fromLatin1(location.name),
                                               locationBandCounts(m_session.log, abbreviation)));
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        emit locationClicked(abbreviation);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace velk
