#include "output/ui/summarysheetdialog.h"

#include "common/formats.h"
#include "log/folders.h"
#include "log/logsession.h"
#include "log/multipliers.h"
#include "output/exportfile.h"

#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velk {

namespace {

const QString keyName = QStringLiteral("UserAddressName");
const QString keyLine1 = QStringLiteral("UserAddressLine1");
const QString keyLine2 = QStringLiteral("UserAddressLine2");
const QString keyEmail = QStringLiteral("UserEMail");
const QString failureTitle = QStringLiteral("Unable to write file.");

} // namespace

SummarySheetDialog::SummarySheetDialog(Platform& platform, LogSession& session, const QString& programTitle,
                                       QWidget* parent)
    : QDialog(parent), m_platform(platform), m_session(session), m_programTitle(programTitle)
{
    setObjectName(QStringLiteral("SummarySheetDialog"));
    buildWindow();
    load();
}

void SummarySheetDialog::buildWindow()
{
    setWindowTitle(QStringLiteral("Summary Sheet Information"));
    auto* layout = new QVBoxLayout(this);

    auto lineEdit = [this](const char* name) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    auto option = [](QWidget* frame, const char* name, const QString& caption) {
        auto* button = new QRadioButton(caption, frame);
        button->setObjectName(QString::fromLatin1(name));
        return button;
    };

    auto* station = new QFormLayout;
    sectionBox = lineEdit("sectionBox");
    operatorsBox = lineEdit("operatorsBox");
    station->addRow(QStringLiteral("ARRL Section:"), sectionBox);
    station->addRow(QStringLiteral("If multioperator, list calls of all operators:"), operatorsBox);
    layout->addLayout(station);

    auto* categories = new QHBoxLayout;
    auto* category = new QGroupBox(QStringLiteral("Category:"), this);
    category->setObjectName(QStringLiteral("categoryFrame"));
    auto* categoryLayout = new QVBoxLayout(category);
    singleOption = option(category, "singleOption", QStringLiteral("Single"));
    multiTwoOption = option(category, "multiTwoOption", QStringLiteral("Multi-Two"));
    categoryLayout->addWidget(singleOption);
    categoryLayout->addWidget(multiTwoOption);
    categories->addWidget(category);

    auto* power = new QGroupBox(QStringLiteral("Power Category:"), this);
    power->setObjectName(QStringLiteral("powerFrame"));
    auto* powerLayout = new QVBoxLayout(power);
    highPowerOption = option(power, "highPowerOption", QStringLiteral("High"));
    lowPowerOption = option(power, "lowPowerOption", QStringLiteral("Low"));
    qrpOption = option(power, "qrpOption", QStringLiteral("QRP"));
    powerLayout->addWidget(highPowerOption);
    powerLayout->addWidget(lowPowerOption);
    powerLayout->addWidget(qrpOption);
    categories->addWidget(power);
    layout->addLayout(categories);

    auto* address = new QFormLayout;
    nameBox = lineEdit("nameBox");
    addressLine1Box = lineEdit("addressLine1Box");
    addressLine2Box = lineEdit("addressLine2Box");
    emailBox = lineEdit("emailBox");
    address->addRow(QStringLiteral("Your Name:"), nameBox);
    address->addRow(QStringLiteral("Address Line 1:"), addressLine1Box);
    address->addRow(QStringLiteral("Address Line 2:"), addressLine2Box);
    address->addRow(QStringLiteral("Email Address:"), emailBox);
    layout->addLayout(address);

    auto* soapboxLabel = new QLabel(
        QStringLiteral("Soapbox (Add any comments you would like to make about the contest):"), this);
    layout->addWidget(soapboxLabel);
    soapboxBox = new QPlainTextEdit(this);
    soapboxBox->setObjectName(QStringLiteral("soapboxBox"));
    soapboxBox->setTabChangesFocus(true);
    soapboxLabel->setBuddy(soapboxBox);
    layout->addWidget(soapboxBox);

    auto* buttons = new QHBoxLayout;
    writeButton = new QPushButton(QStringLiteral("Write Cabrillo File"), this);
    writeButton->setObjectName(QStringLiteral("writeButton"));
    writeButton->setAutoDefault(false);
    doneButton = new QPushButton(QStringLiteral("Done"), this);
    doneButton->setObjectName(QStringLiteral("doneButton"));
    doneButton->setAutoDefault(false);
    buttons->addWidget(writeButton);
    buttons->addStretch();
    buttons->addWidget(doneButton);
    layout->addLayout(buttons);

    connect(writeButton, &QPushButton::clicked, this, &SummarySheetDialog::writeFile);
    connect(doneButton, &QPushButton::clicked, this, &SummarySheetDialog::pressDone);
    sectionBox->installEventFilter(this);
    operatorsBox->installEventFilter(this);
}

void SummarySheetDialog::load()
{
    SettingsStore& settings = m_platform.settings;
    nameBox->setText(settings.value(keyName).value_or(QString()));
    addressLine1Box->setText(settings.value(keyLine1).value_or(QString()));
    addressLine2Box->setText(settings.value(keyLine2).value_or(QString()));
    emailBox->setText(settings.value(keyEmail).value_or(QString()));
    sectionBox->setText(m_session.prefs.ownSpc);
    singleOption->setChecked(true);
    lowPowerOption->setChecked(true);
}

bool SummarySheetDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Section and operator calls are typed in capitals, as in the main window's boxes.
    if (event->type() == QEvent::KeyPress && (watched == sectionBox || watched == operatorsBox)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() == 1 && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            const QChar changed = capital(text.at(0));
            if (changed != text.at(0)) {
                static_cast<QLineEdit*>(watched)->insert(QString(changed));
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

CabrilloSummary SummarySheetDialog::summary() const
{
    CabrilloSummary summary;
    summary.operators = operatorsBox->text();
    summary.multiTwo = multiTwoOption->isChecked();
    if (highPowerOption->isChecked()) {
        summary.power = CabrilloPower::High;
    } else if (lowPowerOption->isChecked()) {
        summary.power = CabrilloPower::Low;
    } else if (qrpOption->isChecked()) {
        summary.power = CabrilloPower::Qrp;
    } else {
        summary.power = CabrilloPower::None;
    }
    summary.name = nameBox->text();
    summary.address1 = addressLine1Box->text();
    summary.address2 = addressLine2Box->text();
    summary.email = emailBox->text();
    summary.soapbox = soapboxBox->toPlainText();
    return summary;
}

void SummarySheetDialog::writeFile()
{
    Preferences& prefs = m_session.prefs;
    prefs.ownCall = prefs.ownCall.trimmed();

    FileDialogRequest request;
    request.title = QStringLiteral("Write Cabrillo File");
    request.folder = m_session.folders.data;
    request.filter = QStringLiteral("LOG Files (*.log) | *.log");
    request.proposedName = m_session.folders.data + QLatin1Char('/') + safeCallForFileName(prefs.ownCall) +
                           QStringLiteral(".log");
    const std::optional<QString> path = m_platform.prompter.saveFile(request);
    if (!path) {
        return;
    }

    Multipliers multipliers;
    multipliers.rebuild(m_session.log);
    CabrilloStation station;
    station.ownCall = prefs.ownCall;
    station.ownLocation = prefs.ownSpc;
    station.mode = prefs.mode;
    station.createdBy = programNameFromTitle(m_programTitle, 50);
    const QByteArray bytes = writeCabrillo(m_session.log.records(), station, summary(), multipliers.total());

    const WriteResult written = writeExportFile(*path, bytes);
    if (!written.ok) {
        m_platform.prompter.bell();
        m_platform.prompter.message(written.error, failureTitle, MessageIcon::Critical);
        return;
    }

    m_platform.prompter.message(
        QStringLiteral("The file was successfully written to the directory:\r\n\r\n") +
            QDir::toNativeSeparators(*path) +
            QStringLiteral(
                ".\r\n\r\nAttach this file to an e-mail addressed for contest submission.  If you wish "
                "to print this file, you can open it with Notepad or Wordpad to print."),
        QStringLiteral("File Written Successfully."), MessageIcon::Information);
    m_platform.prompter.message(
        QStringLiteral("Thanks for using this program.  I hope that you enjoyed it!  If so, please tell a "
                       "friend!\r\n\r\n73 and good luck in the next VELK contest - Varno Software"),
        QStringLiteral("  Thanks!"), MessageIcon::Information);
    doneButton->setFocus();
    storeAddress();
}

void SummarySheetDialog::storeAddress()
{
    const QString name = nameBox->text().trimmed();
    const QString line1 = addressLine1Box->text().trimmed();
    const QString line2 = addressLine2Box->text().trimmed();
    const QString email = emailBox->text().trimmed();
    SettingsStore& settings = m_platform.settings;
    settings.setValue(keyName, name);
    settings.setValue(keyLine1, line1);
    settings.setValue(keyLine2, line2);
    settings.setValue(keyEmail, email);

    XmlStore& xml = m_session.xml;
    xml.setValue(QStringLiteral("OWN_ADDRESS_NAME"), name, false);
    xml.setValue(QStringLiteral("OWN_ADDRESS_Line1"), line1, false);
    xml.setValue(QStringLiteral("OWN_ADDRESS_Line2"), line2, false);
    const WriteResult saved = xml.setValue(QStringLiteral("OWN_EMAIL"), email, true);
    if (!saved.ok) {
        m_platform.prompter.bell();
        m_platform.prompter.message(saved.error, failureTitle, MessageIcon::Critical);
    }
}

void SummarySheetDialog::pressDone()
{
    hide();
    done(QDialog::Accepted);
}

} // namespace velk
