// The main window's side of the RTTY terminal link: keys, the call box, values from the terminal,
// keyboard RTTY mode on the status line, and the "Digital Source" window.
#include "app/ui/mainwindow.h"

#include "common/colours.h"
#include "log/ui/entrykeys.h"
#include "log/ui/entrypanel.h"
#include "log/ui/statusline.h"
#include "rtty/rttykeys.h"
#include "rtty/rttylink.h"
#include "rtty/ui/digitalsourcewindow.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace velk {

namespace {

const QString keyboardRttyText = QStringLiteral("Keyboard RTTY mode.  Press F12 to exit keyboard RTTY.");

} // namespace

void MainWindow::wireRttyLink()
{
    RttyLink& link = m_station.rttyLink();
    m_keyHandlers.push_back([this](QKeyEvent* event) { return rttyKey(event); });
    // The link's boxes wait while another dialog (the start-up's questions) is open.
    link.setBoxGate([] { return QApplication::activeModalWidget() == nullptr; });

    connect(m_entry->callBox(), &QLineEdit::textChanged, &link, &RttyLink::setCallBeingEntered);
    connect(&link, &RttyLink::valueFromTerminal, this, [this](PeerField field, const QString& value) {
        // As if typed: the call box's own change handling looks the call up and hands it back.
        switch (field) {
        case PeerField::Call:
            m_entry->callBox()->setText(value);
            break;
        case PeerField::Location:
            m_entry->setLocation(value);
            break;
        case PeerField::Name:
            m_entry->setName(value);
            break;
        }
    });
    connect(&link, &RttyLink::keyboardRttyModeChanged, this, [this](bool on) {
        m_statusLine->showText(on ? keyboardRttyText : QString());
        m_statusLine->setColour(on ? colour::keyboardRtty : colour::statusNormal);
    });
    connect(&link, &RttyLink::notice, this, [this](const QString& text) {
        if (!m_station.rttyLink().keyboardRttyMode()) {
            m_statusLine->showText(text);
        }
    });

    // "Digital Source" beside the entry buttons, shown in an RTTY log.
    auto* button = new QPushButton(tr("Digital Source"), m_entry);
    button->setObjectName(QStringLiteral("digitalSourceButton"));
    button->setVisible(false);
    connect(button, &QPushButton::clicked, this, &MainWindow::showDigitalSource);
    if (auto* clear = m_entry->findChild<QPushButton*>(QStringLiteral("clearButton"))) {
        if (auto* row = qobject_cast<QBoxLayout*>(clear->parentWidget()->layout())) {
            row->insertWidget(row->indexOf(clear) + 1, button);
        }
    }
}

void MainWindow::applyRttyLink()
{
    RttyLink& link = m_station.rttyLink();
    const Preferences& prefs = m_session.prefs;
    const bool wanted =
        m_platform.settings.value(QStringLiteral("UserDumoOption")).value_or(QString()).trimmed() ==
        QLatin1String("1");
    link.setStation(prefs.ownCall, prefs.ownFirstName, prefs.ownSpc);
    link.apply(prefs.mode, wanted);
    if (auto* button = findChild<QPushButton*>(QStringLiteral("digitalSourceButton"))) {
        button->setVisible(link.isRttyLog());
    }
}

void MainWindow::showDigitalSource()
{
    if (!m_digitalSource) {
        m_digitalSource = new DigitalSourceWindow(m_station.rttyLink(), this);
    }
    m_digitalSource->show();
    m_digitalSource->raise();
}

bool MainWindow::rttyKey(QKeyEvent* event)
{
    RttyLink& link = m_station.rttyLink();
    if (!link.isRttyLog()) {
        return false;
    }
    const int key = event->key();
    const bool keyboardMode = link.keyboardRttyMode();
    link.forwardKey(windowsKeyCode(key));
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
