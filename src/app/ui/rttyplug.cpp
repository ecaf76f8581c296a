#include "app/ui/rttyplug.h"

#include "app/station.h"
#include "app/ui/keyrouter.h"
#include "common/colours.h"
#include "common/ui/announcer.h"
#include "log/ui/entrykeys.h"
#include "log/ui/entrypanel.h"
#include "log/ui/statusline.h"
#include "rtty/ui/digitalsourcewindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>

namespace velk {

namespace {

const QString keyboardRttyText = QStringLiteral("Keyboard RTTY mode.  Press F12 to exit keyboard RTTY.");

} // namespace

RttyPlug::RttyPlug(const Shell& shell) : QObject(&shell.window), m_shell(shell)
{
    RttyLink& link = m_shell.station.rttyLink();
    m_shell.keys.addKeyHandler(KeyRouter::RttyTerminalKeys,
                               [this](QKeyEvent* event) { return handleKey(event); });
    // The link's boxes wait while another dialog (the start-up's questions) is open.
    link.setBoxGate([] { return QApplication::activeModalWidget() == nullptr; });
    takeTerminalValues();

    StatusLine& status = m_shell.status;
    connect(&link, &RttyLink::keyboardRttyModeChanged, this, [&status](bool on) {
        status.showText(on ? keyboardRttyText : QString());
        status.setColour(on ? colour::keyboardRtty : colour::statusNormal);
    });
    Announcer& announcer = m_shell.announcer;
    connect(&link, &RttyLink::notice, this, [&link, &status, &announcer](const QString& text) {
        if (!link.keyboardRttyMode()) {
            status.showText(text);
        } else {
            // The status line keeps the keyboard mode's line; the notice is still heard.
            announcer.announce(text);
        }
    });

    // "Digital Source" beside the entry buttons, shown in an RTTY log.
    m_sourceButton = new QPushButton(tr("Digital Source"));
    m_sourceButton->setObjectName(QStringLiteral("digitalSourceButton"));
    m_sourceButton->setVisible(false);
    connect(m_sourceButton, &QPushButton::clicked, this, &RttyPlug::showDigitalSource);
    m_shell.entry.addButton(m_sourceButton);
}

void RttyPlug::takeTerminalValues()
{
    EntryPanel& entry = m_shell.entry;
    connect(&m_shell.station.rttyLink(), &RttyLink::valueFromTerminal, this,
            [&entry](PeerField field, const QString& value) {
                // As if typed: the call box's own change handling looks the call up and hands it back.
                switch (field) {
                case PeerField::Call:
                    entry.callBox()->setText(value);
                    break;
                case PeerField::Location:
                    entry.setLocation(value);
                    break;
                case PeerField::Name:
                    entry.setName(value);
                    break;
                }
            });
}

void RttyPlug::apply()
{
    m_shell.station.applyRttyLink();
    m_sourceButton->setVisible(m_shell.station.rttyLink().isRttyLog());
}

void RttyPlug::showDigitalSource()
{
    if (!m_digitalSource) {
        m_digitalSource = new DigitalSourceWindow(m_shell.station.rttyLink(), &m_shell.window);
    }
    m_digitalSource->show();
    m_digitalSource->raise();
}

bool RttyPlug::handleKey(QKeyEvent* event)
{
    RttyLink& link = m_shell.station.rttyLink();
    if (!link.isRttyLog()) {
        return false;
    }
    const int key = event->key();
    const bool keyboardMode = link.keyboardRttyMode();
    link.forwardKey(key, event->modifiers());
    // In an RTTY log the function keys belong to the terminal.
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35) {
        return true;
    }
    // Keyboard RTTY: what a key would type goes to the terminal instead of the box.
    const bool typing = typedChar(event).has_value() || key == Qt::Key_Return || key == Qt::Key_Enter ||
                        key == Qt::Key_Backspace;
    return keyboardMode && typing;
}

} // namespace velk
