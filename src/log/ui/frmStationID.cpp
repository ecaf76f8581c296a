#include "log/ui/frmStationID.h"
#include "log/ui/entrykeys.h"

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

QLineEdit* makeBox(const char* name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

bool isNumeric(const QString& text)
{
    return parseSettingsNumber(text).has_value();
}

float numberIn(const QLineEdit* box)
{
    return static_cast<float>(parseSettingsNumber(box->text()).value_or(0.0));
}

} // namespace

frmStationID::frmStationID(Platform& platform, XmlStore& xml, const PrefixTable& prefixes, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_xml(xml), m_prefixes(prefixes)
{
    setObjectName(QStringLiteral("frmStationID"));
    setWindowTitle(QStringLiteral(" Amateur Station I.D."));
    setModal(true);
    buildWindow();
}

void frmStationID::buildWindow()
{
    auto* grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const QString& caption, QLineEdit*& box, const char* name) {
        box = makeBox(name, this);
        grid->addWidget(new QLabel(caption, this), row, 0);
        grid->addWidget(box, row, 1);
        box->installEventFilter(this);
        ++row;
    };
    addRow(QStringLiteral("Please Enter your Call Sign:"), Text1, "Text1");
    addRow(QStringLiteral("State / Province / Country:"), Text5, "Text5");
    addRow(QStringLiteral("Hours added for UTC:"), Text6, "Text6");
    addRow(QStringLiteral("Your Country:"), Text2, "Text2");
    addRow(QStringLiteral("Your Longitude:"), Text3, "Text3");
    addRow(QStringLiteral("Your Latitude:"), Text4, "Text4");
    addRow(QStringLiteral("Your Continent:"), Text7, "Text7");
    addRow(QStringLiteral("Your First Name:"), Text8, "Text8");

    auto* contest = new QGroupBox(QStringLiteral("Contest:"), this);
    Option1 = new QRadioButton(QStringLiteral("CW"), contest);
    Option2 = new QRadioButton(QStringLiteral("SSB"), contest);
    Option3 = new QRadioButton(QStringLiteral("RTTY"), contest);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2->setObjectName(QStringLiteral("Option2"));
    Option3->setObjectName(QStringLiteral("Option3"));
    auto* options = new QHBoxLayout(contest);
    for (QRadioButton* option : {Option1, Option2, Option3}) {
        options->addWidget(option);
    }
    connect(Option1, &QRadioButton::clicked, this, &frmStationID::Option1_Click);
    connect(Option2, &QRadioButton::clicked, this, &frmStationID::Option2_Click);
    connect(Option3, &QRadioButton::clicked, this, &frmStationID::Option3_Click);

    chkDumoRtty = new QCheckBox(this);
    chkDumoRtty->setObjectName(QStringLiteral("chkDumoRtty"));
    lblConnectDumo = new QLabel(QStringLiteral("Connect to Dumo RTTY?"), this);
    lblConnectDumo->setObjectName(QStringLiteral("lblConnectDumo"));
    lblConnectDumo->setBuddy(chkDumoRtty);
    auto* dumo = new QHBoxLayout;
    dumo->addWidget(chkDumoRtty);
    dumo->addWidget(lblConnectDumo, 1);

    Command1 = new QPushButton(QStringLiteral("Done"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    // Enter is "Done" only in the boxes that say so, not everywhere in the dialog.
    Command1->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &frmStationID::Command1_Click);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(contest);
    layout->addLayout(dumo);
    layout->addWidget(Command1, 0, Qt::AlignRight);
}

void frmStationID::Form_Load(const Preferences& prefs)
{
    Text1->setText(prefs.ownCall);
    Text5->setText(prefs.ownSpc);
    Text6->setText(formatSettingsNumber(prefs.utcOffsetHours));
    Text2->setText(prefs.ownCountry);
    Text3->setText(formatSettingsNumber(prefs.ownLongitude));
    Text4->setText(formatSettingsNumber(prefs.ownLatitude));
    Text7->setText(prefs.ownContinent);
    Text8->setText(prefs.ownFirstName);
    chkDumoRtty->setChecked(m_platform.settings.value(dumoOptionKey).value_or(QString()).trimmed() ==
                            QLatin1String("1"));
    if (prefs.mode == QLatin1String("RY")) {
        Option3->setChecked(true);
        Option3_Click();
    } else if (prefs.mode == QLatin1String("PH")) {
        Option2->setChecked(true);
        Option2_Click();
    } else {
        Option1->setChecked(true);
        Option1_Click();
    }
    Text1->setFocus();
}

void frmStationID::Option1_Click()
{
    showDumoOption(false);
}

void frmStationID::Option2_Click()
{
    showDumoOption(false);
}

void frmStationID::Option3_Click()
{
    showDumoOption(true);
}

void frmStationID::showDumoOption(bool visible)
{
    lblConnectDumo->setVisible(visible);
    chkDumoRtty->setVisible(visible);
}

void frmStationID::accept()
{
    Command1_Click();
}

void frmStationID::Command1_Click()
{
    for (QLineEdit* box : {Text6, Text3, Text4}) {
        if (!isNumeric(box->text())) {
            box->setText(QStringLiteral("0"));
        }
    }
    m_platform.settings.setValue(dumoOptionKey,
                                 chkDumoRtty->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    storeXml();
    QDialog::accept();
}

void frmStationID::storeXml()
{
    const std::pair<const char*, QLineEdit*> values[] = {
        {"OWN_CALL", Text1},      {"OWN_SPC", Text5},        {"OWN_UTC", Text6},
        {"OWN_COUNTRY", Text2},   {"OWN_LONGITUDE", Text3},  {"OWN_LATITUDE", Text4},
        {"OWN_CONTINENT", Text7}, {"OWN_FIRST_NAME", Text8},
    };
    WriteResult written;
    for (const auto& [key, box] : values) {
        // The file is written once, with the last value.
        const bool last = box == Text8;
        written = m_xml.setValue(QString::fromLatin1(key), box->text(), last);
    }
    if (!written.ok) {
        m_platform.prompter.message(written.error, tr("Unable to save the station information"),
                                    MessageIcon::Warning);
    }
}

QString frmStationID::ownCall() const
{
    return Text1->text();
}

QString frmStationID::ownSpc() const
{
    return Text5->text();
}

QString frmStationID::ownCountry() const
{
    return Text2->text();
}

QString frmStationID::ownContinent() const
{
    return Text7->text();
}

QString frmStationID::ownFirstName() const
{
    return Text8->text();
}

float frmStationID::utcOffsetHours() const
{
    return numberIn(Text6);
}

float frmStationID::ownLongitude() const
{
    return numberIn(Text3);
}

float frmStationID::ownLatitude() const
{
    return numberIn(Text4);
}

QString frmStationID::logMode() const
{
    if (Option3->isChecked()) {
        return QStringLiteral("RY");
    }
    return Option2->isChecked() ? QStringLiteral("PH") : QStringLiteral("CW");
}

bool frmStationID::connectToDumo() const
{
    return chkDumoRtty->isChecked();
}

// ---------------------------------------------------------------------------------------------
// Keys

bool frmStationID::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && event->type() == QEvent::KeyPress) {
        return boxKeyPress(box, static_cast<QKeyEvent*>(event));
    }
    if (box == Text6 && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Only the operator moving on within the dialog counts, not the dialog closing.
        if (isVisible() && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            Text6_LostFocus();
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool frmStationID::boxKeyPress(QLineEdit* box, QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return false;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter) {
        if (box == Text1 || box == Text5 || box == Text6 || box == Text7 || box == Text8) {
            Command1_Click();
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
    if (box == Text6) {
        // Signs, point, slash and digits only: an offset such as -3.5.
        return *key < QLatin1Char('-') || *key > QLatin1Char('9');
    }
    if (box == Text2) {
        return Text2_KeyPress(*key);
    }
    if (box == Text3 || box == Text4) {
        return false;
    }
    box->insert(QString(key->toUpper()));
    return true;
}

bool frmStationID::Text2_KeyPress(QChar key)
{
    const int caret = caretOf(Text2);
    if (caret == 0) {
        key = key.toUpper();
    }
    const QString typed = Text2->text().left(caret) + key;
    const int found = m_prefixes.completeCountry(typed, Qt::CaseSensitive);
    if (found < 0) {
        Text2->insert(QString(key));
        return true;
    }
    const PrefixEntry& entry = m_prefixes.at(found);
    const QString rest = entry.country.mid(typed.size());
    Text2->setText(typed + rest);
    Text2->setSelection(static_cast<int>(typed.size()), static_cast<int>(rest.size()));
    Text3->setText(formatSettingsNumber(entry.longitude));
    Text4->setText(formatSettingsNumber(entry.latitude));
    Text7->setText(entry.continent);
    return true;
}

void frmStationID::Text6_LostFocus()
{
    if (isNumeric(Text6->text())) {
        return;
    }
    m_platform.prompter.bell();
    QTimer::singleShot(0, Text6, [this] { Text6->setFocus(); });
}

} // namespace velk
