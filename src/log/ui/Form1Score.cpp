// Multipliers, totals and rates on the main window: the grid of the 63 locations, the DX list of
// the current band, the score and the contact rates.
#include "log/ui/Form1.h"

#include "common/bands.h"
#include "common/colours.h"
#include "common/formats.h"
#include "log/locations.h"
#include "log/rates.h"
#include "log/ui/frmColors.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>

namespace velk {

void Form1::MarkLocation(const ContactRecord& record)
{
    const MultiplierChange change = m_multipliers.add(record);
    if (record.band.compare(m_session.prefs.currentBand, Qt::CaseInsensitive) != 0) {
        return;
    }
    if (change.locationIndex > 0) {
        paintLocationLabel(change.locationIndex, true);
    }
    if (change.newDx) {
        ShowDxList();
    }
}

void Form1::NewMultiplierIndicator()
{
    const bool isNew =
        m_multipliers.isNewDx(bandIndex(m_session.prefs.currentBand), txtCntry->text(), Label19->text());
    Label3->setVisible(isNew);
}

void Form1::ShowDxList()
{
    const QStringList& countries = m_multipliers.dxList(bandIndex(m_session.prefs.currentBand));
    List1->clear();
    List1->addItems(countries);
    lblDxHeading->setText(dxHeading(m_session.prefs.currentBand, static_cast<int>(countries.size())));
}

void Form1::Labeldisplay()
{
    const int contacts = m_session.log.count();
    const int multipliers = m_multipliers.total();
    lblTotCon->setText(formatNumber(contacts, QStringLiteral("###,##0")));
    lblsectogo->setText(QString::number(multipliers));
    lblTotScore->setText(
        formatNumber(static_cast<double>(score(contacts, multipliers)), QStringLiteral("###,###,###,##0")));
    Label4->setText(QString::number(m_multipliers.bandTotal(bandIndex(m_session.prefs.currentBand))));
}

void Form1::TimeStats()
{
    // A record whose date or time cannot be read leaves the rates as they were.
    if (const auto tally = rateTally(m_session.log, stationUtcNow())) {
        lblAQSO20->setText(QString::number(tally->perHour20()));
        lblAQSO60->setText(QString::number(tally->perHour60()));
    }
}

void Form1::paintLocationLabel(int location, bool worked)
{
    const std::uint32_t bgr = worked ? m_session.prefs.workedColour : m_session.prefs.notWorkedColour;
    Label10[static_cast<std::size_t>(location - 1)]->setStyleSheet(
        QStringLiteral("color: %1;").arg(styleSheetColour(bgr)));
}

void Form1::paintLocationGrid()
{
    const int band = bandIndex(m_session.prefs.currentBand);
    for (int location = 1; location <= locationCount; ++location) {
        paintLocationLabel(location, m_multipliers.isWorked(band, location));
    }
}

void Form1::rebuildScoreDisplays()
{
    m_multipliers.rebuild(m_session.log);
    paintLocationGrid();
    ShowDxList();
    TimeStats();
    Labeldisplay();
}

bool Form1::locationLabelEvent(int index, QEvent* event)
{
    const Location& location = locationTable()[static_cast<std::size_t>(index)];
    const QString abbreviation = QString::fromLatin1(location.abbreviation);
    if (event->type() == QEvent::Enter) {
        lblDupe->setText(locationBreakdown(QString::fromLatin1(location.name),
                                           locationBandCounts(m_session.log, abbreviation)));
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        txtCntry->setText(abbreviation);
        return true;
    }
    return false;
}

void Form1::mnuColors_Click()
{
    frmColors colours(m_platform.prompter, m_session.prefs.workedColour, m_session.prefs.notWorkedColour,
                      this);
    colours.exec();
    m_session.prefs.workedColour = colours.workedColour();
    m_session.prefs.notWorkedColour = colours.notWorkedColour();
    SavePref();
    mnuOpen2();
}

} // namespace velk
