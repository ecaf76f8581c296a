// The main window's CW keying: the keyer's windows, the function keys, the speed keys,
// keyboard sending and the "!" that logs the contact.
#include "app/ui/mainwindow.h"

#include "common/colours.h"
#include "common/formats.h"
#include "cw/morsesender.h"
#include "cw/ui/cwstringswindow.h"
#include "cw/ui/keyerwindow.h"
#include "log/ui/entrypanel.h"
#include "log/ui/statusline.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace velk {

namespace {

constexpr std::uint32_t keyboardModeColour = 0xC0FFFF; // light yellow
const QString keyboardModeOnText =
    QStringLiteral("Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode.");

// The main window is not closed while the keyer sends: the buffer is emptied instead.
class CloseWhileSendingGuard : public QObject
{
public:
    CloseWhileSendingGuard(Keyer& keyer, QObject* parent) : QObject(parent), m_keyer(keyer) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close && m_keyer.isSending()) {
            m_keyer.escape();
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    Keyer& m_keyer;
};

int functionKeyNumber(int key)
{
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        return key - Qt::Key_F1 + 1;
    }
    return key == Qt::Key_F13 ? 10 : 0; // F13 is treated as F10
}

} // namespace

void MainWindow::wireKeyer()
{
    Keyer& keyer = m_station.keyer();
    keyer.setCallSource([this] { return m_entry->callBox()->text(); });
    connect(&keyer, &Keyer::contactMarkReached, this, [this] {
        // Through the same path as Enter, and only with a call to log.
        if (!m_entry->callBox()->text().trimmed().isEmpty()) {
            m_entry->logContact();
        }
    });

    auto keyerWindow = [this, &keyer]() -> KeyerWindow* {
        auto* window = findChild<KeyerWindow*>(QStringLiteral("keyerWindow"));
        if (!window) {
            window = new KeyerWindow(m_platform, keyer, this);
            window->setOwnCallSource([this] { return m_session.prefs.ownCall; });
            connect(window, &KeyerWindow::doneClicked, this, [this, &keyer] {
                if (keyer.keyerType() != KeyerType::None) {
                    if (auto* strings = findChild<CwStringsWindow*>(QStringLiteral("cwStringsWindow"))) {
                        strings->showMinimized();
                    } else {
                        auto* created = new CwStringsWindow(keyer, this);
                        connect(created, &CwStringsWindow::keyForwarded, this,
                                [this](QKeyEvent* event) { handleShortcut(event); });
                        created->showMinimized();
                    }
                }
                activateWindow();
                m_entry->focusCallBox();
            });
        }
        return window;
    };
    auto stringsWindow = [this, &keyer]() {
        auto* window = findChild<CwStringsWindow*>(QStringLiteral("cwStringsWindow"));
        if (!window) {
            window = new CwStringsWindow(keyer, this);
            connect(window, &CwStringsWindow::keyForwarded, this,
                    [this](QKeyEvent* event) { handleShortcut(event); });
        }
        window->showNormal();
        window->raise();
    };
    auto showKeyerWindow = [keyerWindow] {
        KeyerWindow* window = keyerWindow();
        window->show();
        window->raise();
        window->activateWindow();
    };

    if (auto* setup = findChild<QAction*>(QStringLiteral("cwSetupAction"))) {
        setup->setEnabled(true);
        connect(setup, &QAction::triggered, this, showKeyerWindow);
    }
    m_ctrlCommands[Qt::Key_C] = showKeyerWindow;
    m_ctrlCommands[Qt::Key_S] = showKeyerWindow;
    m_ctrlCommands[Qt::Key_W] = stringsWindow;
    connect(&keyer, &Keyer::setupWindowRequested, this, [keyerWindow] {
        KeyerWindow* window = keyerWindow();
        if (!window->isVisible()) {
            window->open(); // modal, without a nested event loop
        }
    });

    connect(&keyer, &Keyer::unsentTextChanged, this, [this, &keyer](const QString& text) {
        if (keyer.settings().showText) {
            m_statusLine->showText(text);
        }
    });
    connect(&keyer, &Keyer::sendingFinished, this, [this, &keyer] {
        if (keyer.settings().showText) {
            m_statusLine->showText(keyer.keyboardMode()
                                       ? QStringLiteral("Keyboard CW Mode is on.  Press F12 to exit.")
                                       : QString());
        }
    });
    connect(&keyer, &Keyer::keyboardModeChanged, this, [this](bool on) {
        m_statusLine->showText(on ? keyboardModeOnText : QString());
        m_statusLine->setColour(on ? keyboardModeColour : colour::statusNormal);
    });
    installEventFilter(new CloseWhileSendingGuard(keyer, this));

    m_keyHandlers.push_back([this, &keyer](QKeyEvent* event) {
        // Any key stops a repeating message; the key is then handled as usual.
        keyer.stopRepeat();
        const bool cwLog = m_session.prefs.mode.compare(QLatin1String("CW"), Qt::CaseInsensitive) == 0;
        if (!cwLog) {
            return false;
        }
        const bool keying = keyer.keyerType() != KeyerType::None;
        const int key = event->key();
        if (keying && (key == Qt::Key_Up || key == Qt::Key_Down)) {
            key == Qt::Key_Up ? keyer.speedUp() : keyer.speedDown();
            m_statusLine->showText(QString::number(keyer.speed()) + QStringLiteral(" WPM"));
            return true;
        }
        if (const int number = functionKeyNumber(key); keying && number > 0) {
            if (number == 12) {
                keyer.setKeyboardMode(!keyer.keyboardMode());
            } else {
                keyer.sendFunctionKey(number == 10 ? 124 : 111 + number);
            }
            return true;
        }
        if (key == Qt::Key_Escape) {
            if (!keyer.isSending()) {
                return false;
            }
            keyer.escape();
            return true;
        }
        if (!keyer.keyboardMode()) {
            return false;
        }
        if (key == Qt::Key_Backspace) {
            keyer.backspace();
            return true; // queued text is edited here, never the boxes
        }
        const QString text = event->text();
        if (text.size() == 1 && text.at(0).unicode() >= 32 && text.at(0) != QLatin1Char('"') &&
            !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyer.send(QString(capital(text.at(0))));
            return true;
        }
        return false;
    });
}

void MainWindow::loadKeyerSettings()
{
    m_station.keyer().loadSettings(m_session.folders.working);
}

} // namespace velk
