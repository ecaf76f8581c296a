#pragma once
// Announcer: says to a screen reader what the station reports as it happens. Each message becomes
// a small notification object under the main window that appears once; Orca speaks a
// notification when it appears over AT-SPI. The status line and the plugs feed it; within one
// turn of the event loop a message is said once, and of the status line only its last text.
#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QTimer;

namespace velk {

class Announcer : public QWidget
{
    Q_OBJECT
public:
    explicit Announcer(QWidget* parent = nullptr);

    // Said after the present turn of the event loop; blank text is ignored.
    void announce(const QString& text);
    // The status line's text: said when the turn ends with a text that differs from the last one
    // said of the status line and is not blank.
    void statusShown(const QString& text);

    // What was said, oldest first: the last few, as the notices under the announcer hold them.
    const QStringList& said() const { return m_said; }

    static constexpr int keptNotices = 8;

signals:
    void announced(const QString& text);

private:
    QTimer* m_flushTimer = nullptr;
    QStringList m_pending;
    int m_statusIndex = -1; // where the status line's text sits in m_pending
    QString m_lastStatus;
    QStringList m_said;

    void flush();
    void showNotice(const QString& text);
};

// The notification objects the announcer shows, each holding its text as a label; a class of its
// own so that the accessibility factory gives them the notification role.
class AnnouncementNotice : public QWidget
{
    Q_OBJECT
public:
    AnnouncementNotice(const QString& text, QWidget* parent);
    QString text() const;

private:
    QLabel* m_label = nullptr;
};

} // namespace velk
