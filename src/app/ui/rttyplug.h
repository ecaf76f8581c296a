#pragma once
// RttyPlug: the RTTY terminal link in the main window: keys forwarded to the terminal in an RTTY
// log, the terminal's call, name and location into the entry boxes, keyboard RTTY mode on the
// status line, and the "Digital Source" button and window.
#include "app/ui/shell.h"

#include <QObject>

class QKeyEvent;
class QPushButton;

namespace velk {

class DigitalSourceWindow;

class RttyPlug : public QObject
{
    Q_OBJECT
public:
    explicit RttyPlug(const Shell& shell);

    // The station dialog closed: the link follows the log mode and the link option.
    void apply();
    void showDigitalSource();

private:
    void takeTerminalValues();
    bool handleKey(QKeyEvent* event);

    Shell m_shell;
    QPushButton* m_sourceButton = nullptr;
    DigitalSourceWindow* m_digitalSource = nullptr;
};

} // namespace velk
