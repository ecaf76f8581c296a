#include "app/ui/helpwindow.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velk {

HelpWindow::HelpWindow(const QString& workingFolder, QWidget* parent)
    : QDialog(parent), m_folder(workingFolder)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Help Page"));
    auto* layout = new QVBoxLayout(this);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("helpText"));
    m_text->setReadOnly(true);
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    mono.setPointSize(10);
    m_text->setFont(mono);
    layout->addWidget(m_text, 1);

    auto* buttons = new QHBoxLayout;
    auto* operating = new QPushButton(tr("Operating the logger"), this);
    operating->setObjectName(QStringLiteral("operatingHelpButton"));
    auto* second = new QPushButton(tr("More help"), this);
    second->setObjectName(QStringLiteral("secondHelpButton"));
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    buttons->addWidget(operating);
    buttons->addWidget(second);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(operating, &QPushButton::clicked, this, [this] { showText(QStringLiteral("readvelk.txt")); });
    connect(second, &QPushButton::clicked, this, [this] { showText(QStringLiteral("HelpTRZ.txt")); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    resize(820, 640);
}

void HelpWindow::showText(const QString& fileName)
{
    QFile file(m_folder + QLatin1Char('/') + fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_text->setPlainText(tr("The help file %1 was not found in %2.").arg(fileName, m_folder));
        return;
    }
    m_text->setPlainText(QString::fromLatin1(file.readAll()).remove(QLatin1Char('\r')));
}

QString HelpWindow::shownText() const
{
    return m_text->toPlainText();
}

} // namespace velk
