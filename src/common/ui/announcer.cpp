#include "common/ui/announcer.h"

#include "common/ui/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QTimer>

namespace velk {

namespace {

QAccessibleInterface* noticeInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("velk::AnnouncementNotice") && object && object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    }
    return nullptr;
}

} // namespace

AnnouncementNotice::AnnouncementNotice(const QString& text, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("announcement"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(1, 1);
    // Orca says a notification's role and the labels inside it, and keeps those labels in its
    // notification history; so the text is a label of its own, and the notice has no name that
    // newer versions would say a second time.
    m_label = new QLabel(text, this);
    m_label->setObjectName(QStringLiteral("announcementText"));
    m_label->setGeometry(0, 0, 1, 1);
    QPalette palette = m_label->palette();
    palette.setColor(QPalette::WindowText, Qt::transparent); // heard, not seen
    m_label->setPalette(palette);
    dropEarlyAccessibleInterface(this);
}

QString AnnouncementNotice::text() const
{
    return m_label->text();
}

Announcer::Announcer(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("announcer"));
    setAccessibleName(tr("Announcements"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(1, 1);
    // Qt keeps one list of factories and adds a factory once.
    QAccessible::installFactory(noticeInterface);
    m_flushTimer = new QTimer(this);
    m_flushTimer->setObjectName(QStringLiteral("announcementTimer"));
    m_flushTimer->setSingleShot(true);
    m_flushTimer->setInterval(0);
    connect(m_flushTimer, &QTimer::timeout, this, &Announcer::flush);
    // A notice is heard only when it shows, which it does only inside a shown announcer.
    if (parent) {
        show();
    }
}

void Announcer::announce(const QString& text)
{
    const QString message = text.simplified();
    if (message.isEmpty() || m_pending.contains(message)) {
        return;
    }
    m_pending.append(message);
    m_flushTimer->start();
}

void Announcer::statusShown(const QString& text)
{
    if (m_statusIndex >= 0) {
        m_pending.removeAt(m_statusIndex);
    }
    m_statusIndex = static_cast<int>(m_pending.size());
    m_pending.append(text.simplified());
    m_flushTimer->start();
}

void Announcer::flush()
{
    const QStringList pending = std::exchange(m_pending, {});
    const int statusIndex = std::exchange(m_statusIndex, -1);
    QStringList spoken;
    for (int i = 0; i < pending.size(); ++i) {
        const QString& text = pending.at(i);
        if (i == statusIndex) {
            const bool changed = text != m_lastStatus;
            m_lastStatus = text;
            if (!changed) {
                continue;
            }
        }
        if (!text.isEmpty() && !spoken.contains(text)) {
            spoken.append(text);
        }
    }
    for (const QString& text : spoken) {
        showNotice(text);
    }
}

void Announcer::showNotice(const QString& text)
{
    m_said.append(text);
    while (m_said.size() > keptNotices) {
        m_said.removeFirst();
    }
    const QList<AnnouncementNotice*> notices = findChildren<AnnouncementNotice*>(Qt::FindDirectChildrenOnly);
    for (qsizetype i = 0; i + keptNotices <= notices.size(); ++i) {
        delete notices.at(i);
    }
    // Appearing is what a screen reader speaks; the notice stays so it can be read back.
    auto* notice = new AnnouncementNotice(text, this);
    notice->show();
    emit announced(text);
}

} // namespace velk
