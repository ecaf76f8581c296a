#include "log/ui/stationdialog.h"
#include "common/formats.h"
#include "log/ui/entrykeys.h"
#include "log/ui/widgetparts.h"

#include "common/quotedlist.h"
#include "log/preferences.h"
#include "log/prefixtable.h"
#include "log/xmlstore.h"

#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <optional>
#include <utility>

namespace velk {

namespace {

const QString dumoOptionKey = QStringLiteral("UserDumoOption");

bool isNumeric(const QString& text)
{
    return parseSettingsNumber(text).has_value();
}

float numberIn(const QLineEdit* box)
{
    return static_cast<float>(parseSettingsNumber(box->text()).value_or(0.0));
}

} // namespace

StationDialog::StationDialog(Platform& platform, XmlStore& xml, const PrefixTable& prefixes, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_xml(xml), m_prefixes(prefixes)
{
    setObjectName(QStringLiteral("StationDialog"));
    setWindowTitle(QStringLiteral(" Amateur Station I.D."));
    setModal(true);
    buildWindow();
}

void StationDialog::buildWindow()
{
    auto* grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const QString& caption, QLineEdit*& box, const char* name) {
        box = addEntryRow(this, grid, row++, caption, QString::fromLatin1(name));
    };
    addRow(QStringLiteral("Please Enter your Call Sign:"), callBox, "callBox");
    addRow(QStringLiteral("State / Province / Country:"), locationBox, "locationBox");
    addRow(QStringLiteral("Hours added for UTC:"), utcOffsetBox, "utcOffsetBox");
    addRow(QStringLiteral("Your Country:"), countryBox, "countryBox");
    addRow(QStringLiteral("Your Longitude:"), longitudeBox, "longitudeBox");
    addRow(QStringLiteral("Your Latitude:"), latitudeBox, "latitudeBox");
    addRow(QStringLiteral("Your Continent:"), continentBox, "continentBox");
    addRow(QStringLiteral("Your First Name:"), firstNameBox, "firstNameBox");

    auto* contest = new QGroupBox(QStringLiteral("Contest:"), this);
    cwOption = new QRadioButton(QStringLiteral("CW"), contest);
    phoneOption = new QRadioButton(QStringLiteral("SSB"), contest);
    rttyOption = new QRadioButton(QStringLiteral("RTTY"), contest);
    cwOption->setObjectName(QStringLiteral("cwOption"));
    phoneOption->setObjectName(QStringLiteral("phoneOption"));
    rttyOption->setObjectName(QStringLiteral("rttyOption"));
    auto* options = new QHBoxLayout(contest);
    for (QRadioButton* option : {cwOption, phoneOption, rttyOption}) {
        options->addWidget(option);
    }
    connect(cwOption, &QRadioButton::clicked, this, &StationDialog::chooseCw);
    connect(phoneOption, &QRadioButton::clicked, this, &StationDialog::choosePhone);
    connect(rttyOption, &QRadioButton::clicked, this, &StationDialog::chooseRtty);

    rttyLinkCheck = new QCheckBox(this);
    rttyLinkCheck->setObjectName(QStringLiteral("rttyLinkCheck"));
    rttyLinkLabel = new QLabel(QStringLiteral("Connect to Dumo RTTY?"), this);
    rttyLinkLabel->setObjectName(QStringLiteral("rttyLinkLabel"));
    rttyLinkLabel->setBuddy(rttyLinkCheck);
    auto* dumo = new QHBoxLayout;
    dumo->addWidget(rttyLinkCheck);
    dumo->addWidget(rttyLinkLabel, 1);

    doneButton = new QPushButton(QStringLiteral("Done"), this);
    doneButton->setObjectName(QStringLiteral("doneButton"));
    // Enter is "Done" only in the boxes that say so, not everywhere in the dialog.
    doneButton->setAutoDefault(false);
    connect(doneButton, &QPushButton::clicked, this, &StationDialog::pressDone);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(contest);
    layout->addLayout(dumo);
    layout->addWidget(doneButton, 0, Qt::AlignRight);
}

void StationDialog::load(const Preferences& prefs)
{
    callBox->setText(prefs.ownCall);
    locationBox->setText(prefs.ownSpc);
    utcOffsetBox->setText(formatSettingsNumber(prefs.utcOffsetHours));
    countryBox->setText(prefs.ownCountry);
    longitudeBox->setText(formatSettingsNumber(prefs.ownLongitude));
    latitudeBox->setText(formatSettingsNumber(prefs.ownLatitude));
    continentBox->setText(prefs.ownContinent);
    firstNameBox->setText(prefs.ownFirstName);
    rttyLinkCheck->setChecked(m_platform.settings.value(dumoOptionKey).value_or(QString()).trimmed() ==
                              QLatin1String("1"));
    if (prefs.mode == QLatin1String("RY")) {
        rttyOption->setChecked(true);
        chooseRtty();
    } else if (prefs.mode == QLatin1String("PH")) {
        phoneOption->setChecked(true);
        choosePhone();
    } else {
        cwOption->setChecked(true);
        chooseCw();
    }
    callBox->setFocus();
}

void StationDialog::chooseCw()
{
    showRttyLinkOption(false);
}

void StationDialog::choosePhone()
{
    showRttyLinkOption(false);
}

void StationDialog::chooseRtty()
{
    showRttyLinkOption(true);
}

void StationDialog::showRttyLinkOption(bool visible)
{
    rttyLinkLabel->setVisible(visible);
    rttyLinkCheck->setVisible(visible);
}

void StationDialog::accept()
{
    pressDone();
}

void StationDialog::pressDone()
{
    for (QLineEdit* box : {utcOffsetBox, longitudeBox, latitudeBox}) {
        if (!isNumeric(box->text())) {
            box->setText(QStringLiteral("0"));
        }
    }
    m_platform.settings.setValue(dumoOptionKey,
                                 rttyLinkCheck->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    storeXml();
    QDialog::accept();
}

void StationDialog::storeXml()
{
    const std::pair<const char*, QLineEdit*> values[] = {
        {"OWN_CALL", callBox},           {"OWN_SPC", locationBox},         {"OWN_UTC", utcOffsetBox},
        {"OWN_COUNTRY", countryBox},     {"OWN_LONGITUDE", longitudeBox},  {"OWN_LATITUDE", latitudeBox},
        {"OWN_CONTINENT", continentBox}, {"OWN_FIRST_NAME", firstNameBox},
    };
    WriteResult written;
    for (const auto& [key, box] : values) {
        // The file is written once, with the last value.
        const bool last = box == firstNameBox;
        written = m_xml.setValue(QString::fromLatin1(key), box->text(), last);
    }
    if (!written.ok) {
        m_platform.prompter.message(written.error, tr("Unable to save the station information"),
                                    MessageIcon::Warning);
    }
}

QString StationDialog::ownCall() const
{
    return callBox->text();
}

QString StationDialog::ownSpc() const
{
    return locationBox->text();
}

QString StationDialog::ownCountry() const
{
    return countryBox->text();
}

QString StationDialog::ownContinent() const
{
    return continentBox->text();
}

QString StationDialog::ownFirstName() const
{
    return firstNameBox->text();
}

float StationDialog::utcOffsetHours() const
{
    return numberIn(utcOffsetBox);
}

float StationDialog::ownLongitude() const
{
    return numberIn(longitudeBox);
}

float StationDialog::ownLatitude() const
{
    return numberIn(latitudeBox);
}

QString StationDialog::logMode() const
{
    if (rttyOption->isChecked()) {
        return QStringLiteral("RY");
    }
    return phoneOption->isChecked() ? QStringLiteral("PH") : QStringLiteral("CW");
}

bool StationDialog::connectToRttyProgram() const
{
    return rttyLinkCheck->isChecked();
}

// ---------------------------------------------------------------------------------------------
// Keys

bool StationDialog::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && event->type() == QEvent::KeyPress) {
        return boxKeyPress(box, static_cast<QKeyEvent*>(event));
    }
    if (box == utcOffsetBox && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Only the operator moving on within the dialog counts, not the dialog closing.
        if (isVisible() && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            leaveUtcOffsetBox();
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool StationDialog::boxKeyPress(QLineEdit* box, QKeyEvent* event)
{
    if (isRefusedEntryKey(event)) {
        return true;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return false;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter) {
        if (box == callBox || box == locationBox || box == utcOffsetBox || box == continentBox ||
            box == firstNameBox) {
            pressDone();
            return true;
        }
        return false;
    }
    const auto key = typedChar(event);
    if (!key) {
        return false; // Backspace, arrows, Delete ... edit as usual
    }
    // A double quote would break the quoted-list preferences file.
    if (*key == QLatin1Char('"')) {
        return true;
    }
    if (box == utcOffsetBox) {
        // Signs, point, slash and digits only: an offset such as -3.5.
        return *key < QLatin1Char('-') || *key > QLatin1Char('9');
    }
    if (box == countryBox) {
        return countryKeyPress(*key);
    }
    if (box == longitudeBox || box == latitudeBox) {
        return false;
    }
    box->insert(QString(key->toUpper()));
    return true;
}

bool StationDialog::countryKeyPress(QChar key)
{
    const int caret = caretOf(countryBox);
    if (caret == 0) {
        key = key.toUpper();
    }
    const QString typed = countryBox->text().left(caret) + key;
    const int found = m_prefixes.completeCountry(typed, Qt::CaseSensitive);
    if (found < 0) {
        countryBox->insert(QString(key));
        return true;
    }
    const PrefixEntry& entry = m_prefixes.at(found);
    const QString rest = entry.country.mid(typed.size());
    countryBox->setText(typed + rest);
    countryBox->setSelection(static_cast<int>(typed.size()), static_cast<int>(rest.size()));
    longitudeBox->setText(formatSettingsNumber(entry.longitude));
    latitudeBox->setText(formatSettingsNumber(entry.latitude));
    continentBox->setText(entry.continent);
    return true;
}

void StationDialog::leaveUtcOffsetBox()
{
    if (isNumeric(utcOffsetBox->text())) {
        return;
    }
    m_platform.prompter.bell();
    QTimer::singleShot(0, utcOffsetBox, [this] { utcOffsetBox->setFocus(); });
}

void StationDialog::applyTo(Preferences& prefs) const
{
    prefs.ownCall = ownCall();
    prefs.ownSpc = ownSpc();
    prefs.utcOffsetHours = utcOffsetHours();
    prefs.mode = logMode();
    prefs.ownCountry = ownCountry();
    prefs.ownLongitude = ownLongitude();
    prefs.ownLatitude = ownLatitude();
    prefs.ownContinent = ownContinent();
    prefs.ownFirstName = ownFirstName();
}

} // namespace velk
