#pragma once
// StatusLine: the main window's status line, where entry problems and dupes are reported on a
// coloured background, and the partial-dupe line below it, which lists earlier calls while a
// call is typed and a location's band breakdown while the pointer rests on the grid. What the
// status line shows is said to a screen reader through the announcer, except the operator's own
// keystrokes echoed there.
#include <QWidget>
#include <cstdint>

class QLabel;

namespace velk {

class Announcer;

class StatusLine : public QWidget
{
    Q_OBJECT
public:
    explicit StatusLine(QWidget* parent = nullptr);

    // Where the status line's messages are said; none until the main window sets one.
    void setAnnouncer(Announcer* announcer) { m_announcer = announcer; }

    QString text() const;
    void showText(const QString& text);
    // Shown, not said: the operator's own keystrokes echoed (keyboard CW), or a message the
    // announcer is given in a fuller form.
    void showUnsaid(const QString& text);
    // Background colour as an &HBBGGRR value.
    void setColour(std::uint32_t bgr);

    void showPartialDupes(const QString& text, std::uint32_t bgr);
    void showPartialDupes(const QString& text);
    // Empties the partial-dupe line and gives it the window's colour.
    void resetPartialDupes();

private:
    QLabel* m_status = nullptr;
    QLabel* m_partialDupes = nullptr;
    Announcer* m_announcer = nullptr;
};

} // namespace velk
