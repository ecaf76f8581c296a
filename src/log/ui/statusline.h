#pragma once
// StatusLine: the main window's status line, where entry problems and dupes are reported on a
// coloured background, and the partial-dupe line below it, which lists earlier calls while a
// call is typed and a location's band breakdown while the pointer rests on the grid.
#include <QWidget>
#include <cstdint>

class QLabel;

namespace velk {

class StatusLine : public QWidget
{
    Q_OBJECT
public:
    explicit StatusLine(QWidget* parent = nullptr);

    QString text() const;
    void showText(const QString& text);
    // Background colour as an &HBBGGRR value.
    void setColour(std::uint32_t bgr);

    void showPartialDupes(const QString& text, std::uint32_t bgr);
    void showPartialDupes(const QString& text);
    // Empties the partial-dupe line and gives it the window's colour.
    void resetPartialDupes();

private:
    QLabel* m_status = nullptr;
    QLabel* m_partialDupes = nullptr;
};

} // namespace velk
