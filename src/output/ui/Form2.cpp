#include "output/ui/Form2.h"

#include "log/folders.h"
#include "log/multipliers.h"
#include "log/ui/Form1.h"
#include "output/exportfile.h"

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

Form2::Form2(Platform& platform, LogSession& session, const QString& programTitle, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_session(session), m_programTitle(programTitle)
{
    setObjectName(QStringLiteral("Form2"));
    buildWindow();
    Form_Load();
}

void Form2::buildWindow()
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
    Text1 = lineEdit("Text1");
    Text2 = lineEdit("Text2");
    station->addRow(QStringLiteral("ARRL Section:"), Text1);
    station->addRow(QStringLiteral("If multioperator, list calls of all operators:"), Text2);
    layout->addLayout(station);

    auto* categories = new QHBoxLayout;
    auto* category = new QGroupBox(QStringLiteral("Category:"), this);
    category->setObjectName(QStringLiteral("Frame1"));
    auto* categoryLayout = new QVBoxLayout(category);
    Option4 = option(category, "Option4", QStringLiteral("Single"));
    Option3 = option(category, "Option3", QStringLiteral("Multi-Two"));
    categoryLayout->addWidget(Option4);
    categoryLayout->addWidget(Option3);
    categories->addWidget(category);

    auto* power = new QGroupBox(QStringLiteral("Power Category:"), this);
    power->setObjectName(QStringLiteral("Frame2"));
    auto* powerLayout = new QVBoxLayout(power);
    Option18 = option(power, "Option18", QStringLiteral("High"));
    Option19 = option(power, "Option19", QStringLiteral("Low"));
    Option20 = option(power, "Option20", QStringLiteral("QRP"));
    powerLayout->addWidget(Option18);
    powerLayout->addWidget(Option19);
    powerLayout->addWidget(Option20);
    categories->addWidget(power);
    layout->addLayout(categories);

    auto* address = new QFormLayout;
    Text5 = lineEdit("Text5");
    Text6 = lineEdit("Text6");
    Text7 = lineEdit("Text7");
    Text8 = lineEdit("Text8");
    address->addRow(QStringLiteral("Your Name:"), Text5);
    address->addRow(QStringLiteral("Address Line 1:"), Text6);
    address->addRow(QStringLiteral("Address Line 2:"), Text7);
    address->addRow(QStringLiteral("Email Address:"), Text8);
    layout->addLayout(address);

    auto* soapboxLabel = new QLabel(
        QStringLiteral("Soapbox (Add any comments you would like to make about the contest):"), this);
    layout->addWidget(soapboxLabel);
    Text11 = new QPlainTextEdit(this);
    Text11->setObjectName(QStringLiteral("Text11"));
    Text11->setTabChangesFocus(true);
    soapboxLabel->setBuddy(Text11);
    layout->addWidget(Text11);

    auto* buttons = new QHBoxLayout;
    Command4 = new QPushButton(QStringLiteral("Write Cabrillo File"), this);
    Command4->setObjectName(QStringLiteral("Command4"));
    Command4->setAutoDefault(false);
    Command3 = new QPushButton(QStringLiteral("Done"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setAutoDefault(false);
    buttons->addWidget(Command4);
    buttons->addStretch();
    buttons->addWidget(Command3);
    layout->addLayout(buttons);

    connect(Command4, &QPushButton::clicked, this, &Form2::Command4_Click);
    connect(Command3, &QPushButton::clicked, this, &Form2::Command3_Click);
    Text1->installEventFilter(this);
    Text2->installEventFilter(this);
}

void Form2::Form_Load()
{
    SettingsStore& settings = m_platform.settings;
    Text5->setText(settings.value(keyName).value_or(QString()));
    Text6->setText(settings.value(keyLine1).value_or(QString()));
    Text7->setText(settings.value(keyLine2).value_or(QString()));
    Text8->setText(settings.value(keyEmail).value_or(QString()));
    Text1->setText(m_session.prefs.ownSpc);
    Option4->setChecked(true);
    Option19->setChecked(true);
}

bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    // Section and operator calls are typed in capitals, as in the main window's boxes.
    if (event->type() == QEvent::KeyPress && (watched == Text1 || watched == Text2)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() == 1 && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            const int code = text.at(0).unicode();
            const int changed = Form1::Capital(code);
            if (changed != code) {
                static_cast<QLineEdit*>(watched)->insert(QString(QChar(changed)));
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

CabrilloSummary Form2::summary() const
{
    CabrilloSummary summary;
    summary.operators = Text2->text();
    summary.multiTwo = Option3->isChecked();
    if (Option18->isChecked()) {
        summary.power = CabrilloPower::High;
    } else if (Option19->isChecked()) {
        summary.power = CabrilloPower::Low;
    } else if (Option20->isChecked()) {
        summary.power = CabrilloPower::Qrp;
    } else {
        summary.power = CabrilloPower::None;
    }
    summary.name = Text5->text();
    summary.address1 = Text6->text();
    summary.address2 = Text7->text();
    summary.email = Text8->text();
    summary.soapbox = Text11->toPlainText();
    return summary;
}

void Form2::Command4_Click()
{
    Preferences& prefs = m_session.prefs;
    prefs.ownCall = prefs.ownCall.trimmed();

    FileDialogRequest request;
    request.title = QStringLiteral("Write Cabrillo File");
    request.folder = m_session.folders.data;
    request.filter = QStringLiteral("LOG Files (*.log) | *.log");
    request.proposedName = m_session.folders.data + QLatin1Char('/') + SafeCallForFileName(prefs.ownCall) +
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
        QStringLiteral("The file was successfully written to the directory:\r\n\r\n") + *path +
            QStringLiteral(
                ".\r\n\r\nAttach this file to an e-mail addressed for contest submission.  If you wish "
                "to print this file, you can open it with Notepad or Wordpad to print."),
        QStringLiteral("File Written Successfully."), MessageIcon::Information);
    m_platform.prompter.message(
        QStringLiteral("Thanks for using this program.  I hope that you enjoyed it!  If so, please tell a "
                       "friend!\r\n\r\n73 and good luck in the next VELK contest - Varno Software"),
        QStringLiteral("  Thanks!"), MessageIcon::Information);
    Command3->setFocus();
    storeAddress();
}

void Form2::storeAddress()
{
    const QString name = Text5->text().trimmed();
    const QString line1 = Text6->text().trimmed();
    const QString line2 = Text7->text().trimmed();
    const QString email = Text8->text().trimmed();
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

void Form2::Command3_Click()
{
    hide();
    done(QDialog::Accepted);
}

} // namespace velk
