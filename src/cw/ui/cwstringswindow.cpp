#include "cw/ui/cwstringswindow.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QPushButton>

namespace velk {

CwStringsWindow::CwStringsWindow(Keyer& keyer, QWidget* parent) : QWidget(parent, Qt::Window), m_keyer(keyer)
{
    setObjectName(QStringLiteral("cwStringsWindow"));
    setWindowTitle(tr("CW Strings"));
    auto* grid = new QGridLayout(this);
    for (int number = 1; number <= 12; ++number) {
        auto* caption = new QPushButton(QStringLiteral("F%1").arg(number), this);
        caption->setObjectName(QStringLiteral("cwKeyCaption%1").arg(number));
        caption->setFlat(true);
        auto* message = new QPushButton(this);
        message->setObjectName(QStringLiteral("cwStringLabel%1").arg(number));
        message->setFlat(true);
        message->setStyleSheet(QStringLiteral("text-align: left;"));
        message->setAccessibleName(QStringLiteral("F%1 message").arg(number));
        for (QPushButton* target : {caption, message}) {
            connect(target, &QPushButton::clicked, this, [this, number] { sendKey(number); });
            target->installEventFilter(this);
        }
        grid->addWidget(caption, number - 1, 0);
        grid->addWidget(message, number - 1, 1);
        m_messageLabels[static_cast<size_t>(number - 1)] = message;
    }
    auto* done = new QPushButton(tr("Done"), this);
    done->setObjectName(QStringLiteral("cwStringsDoneButton"));
    done->installEventFilter(this);
    connect(done, &QPushButton::clicked, this, &QWidget::showMinimized);
    grid->addWidget(done, 12, 1);
    refresh();
}

void CwStringsWindow::refresh()
{
    const CwSettings& settings = m_keyer.settings();
    for (int i = 0; i < 11; ++i) {
        m_messageLabels[static_cast<size_t>(i)]->setText(settings.messages[static_cast<size_t>(i)]);
    }
    m_messageLabels[11]->setText(tr("Keyboard"));
}

bool CwStringsWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) {
        refresh();
    }
    if (event->type() == QEvent::KeyPress) {
        emit keyForwarded(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QWidget::event(event);
}

bool CwStringsWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        emit keyForwarded(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CwStringsWindow::sendKey(int number)
{
    // F12 names keyboard sending; it sends nothing from here.
    if (m_keyer.keyerType() == KeyerType::None || number == 12) {
        return;
    }
    m_keyer.sendFunctionKey(number);
}

} // namespace velk
