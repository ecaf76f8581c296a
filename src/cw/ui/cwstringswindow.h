#pragma once
// CwStringsWindow: "CW Strings", the reference of the function-key messages. A click on a key or
// its message sends it as the key would; keys pressed here go on to the main window's handlers.
#include "cw/keyer.h"

#include <QWidget>
#include <array>

class QKeyEvent;
class QPushButton;

namespace velk {

class CwStringsWindow : public QWidget
{
    Q_OBJECT
public:
    CwStringsWindow(Keyer& keyer, QWidget* parent = nullptr);
    // Shows the current messages.
    void refresh();

signals:
    void keyForwarded(QKeyEvent* event);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sendKey(int number);

    Keyer& m_keyer;
    std::array<QPushButton*, 12> m_messageLabels{};
};

} // namespace velk
