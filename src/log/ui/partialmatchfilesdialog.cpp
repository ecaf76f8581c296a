#include "log/ui/partialmatchfilesdialog.h"

#include "log/ui/widgetparts.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velk {

PartialMatchFilesDialog::PartialMatchFilesDialog(Prompter& prompter, const QString& databaseFile,
                                                 const QString& historyFile, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_database(new QLineEdit(databaseFile, this)),
      m_history(new QLineEdit(historyFile, this))
{
    setObjectName(QStringLiteral("partialMatchFilesDialog"));
    setWindowTitle(tr("Super Check Partial Files"));
    auto* grid = new QGridLayout(this);

    const auto addRow = [&](int row, QLineEdit* box, const QString& caption, const QString& objectName,
                            const QString& filter) {
        box->setObjectName(objectName);
        box->setAccessibleName(caption);
        box->setMinimumWidth(360);
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        auto* browseButton = makeButton(objectName + QStringLiteral("Browse"), tr("Browse..."), this);
        browseButton->setAccessibleName(caption + tr(", browse"));
        connect(browseButton, &QPushButton::clicked, this, [=, this] { browse(box, caption, filter); });
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        grid->addWidget(browseButton, row, 2);
    };
    addRow(0, m_database, tr("&Super Check Partial database"), QStringLiteral("databaseFileBox"),
           tr("SCP Files (*.scp *.SCP) | *.scp;*.SCP"));
    addRow(1, m_history, tr("Call &history file"), QStringLiteral("historyFileBox"),
           tr("Call History (*.txt *.csv) | *.txt;*.csv"));
    grid->addWidget(makeCaption(tr("Leave a box empty to switch that file off."), this), 2, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 3, 0, 1, 3);
}

QString PartialMatchFilesDialog::databaseFile() const
{
    return m_database->text().trimmed();
}

QString PartialMatchFilesDialog::historyFile() const
{
    return m_history->text().trimmed();
}

void PartialMatchFilesDialog::browse(QLineEdit* box, const QString& title, const QString& filter)
{
    FileDialogRequest request;
    request.title = QString(title).remove(QLatin1Char('&'));
    request.folder = box->text().isEmpty() ? QString() : QFileInfo(box->text()).absolutePath();
    request.filter = filter;
    if (const auto chosen = m_prompter.openFile(request)) {
        box->setText(*chosen);
    }
}

} // namespace velk
