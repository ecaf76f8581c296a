#include "app/ui/cwplug.h"

#include "app/station.h"
#include "app/ui/keyrouter.h"
#include "common/colours.h"
#include "common/formats.h"
#include "cw/morsesender.h"
#include "cw/ui/cwstringswindow.h"
#include "cw/ui/keyerwindow.h"
#include "cw/ui/winkeysetupdialog.h"
#include "cw/winkeysettingsfile.h"
#include "log/ui/statusline.h"

#include <QAction>
#include <QKeyEvent>
#include <QMainWindow>

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

// F1-F12 as numbers; F13 is taken as F10, as some keyboards send it for that key.
int functionKeyNumber(int key)
{
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        return key - Qt::Key_F1 + 1;
    }
    return key == Qt::Key_F13 ? 10 : 0;
}

} // namespace

CwPlug::CwPlug(const Shell& shell) : QObject(&shell.window), m_shell(shell)
{
    m_setupAction = new QAction(tr("&CW Setup"), this);
    m_setupAction->setObjectName(QStringLiteral("cwSetupAction"));
    connect(m_setupAction, &QAction::triggered, this, &CwPlug::showKeyerWindow);
    m_shell.keys.addCtrlCommand(Qt::Key_C, [this] { showKeyerWindow(); });
    m_shell.keys.addCtrlCommand(Qt::Key_S, [this] { showKeyerWindow(); });
    m_shell.keys.addCtrlCommand(Qt::Key_W, [this] { showStringsWindow(); });
    m_shell.keys.addKeyHandler(KeyRouter::KeyerKeys, [this](QKeyEvent* event) { return handleKey(event); });

    Keyer& keyer = m_shell.station.keyer();
    connect(&keyer, &Keyer::setupWindowRequested, this, [this] {
        KeyerWindow* window = keyerWindow();
        if (!window->isVisible()) {
            window->open(); // modal, without a nested event loop
        }
    });
    connect(&keyer, &Keyer::winKeyConfigurationRequested, this, &CwPlug::showWinKeySetup);
    m_shell.window.installEventFilter(new CloseWhileSendingGuard(keyer, this));
    reportOnStatusLine();
    buildWinKeySetup();
}

void CwPlug::start()
{
    m_shell.station.keyer().loadSettings(m_shell.station.session().folders.working);
}

void CwPlug::reportOnStatusLine()
{
    Keyer& keyer = m_shell.station.keyer();
    StatusLine& status = m_shell.status;
    connect(&keyer, &Keyer::unsentTextChanged, this, [&keyer, &status](const QString& text) {
        if (keyer.settings().showText) {
            status.showUnsaid(text);
        }
    });
    connect(&keyer, &Keyer::sendingFinished, this, [&keyer, &status] {
        if (keyer.settings().showText) {
            status.showText(keyer.keyboardMode()
                                ? QStringLiteral("Keyboard CW Mode is on.  Press F12 to exit.")
                                : QString());
        }
    });
    connect(&keyer, &Keyer::keyboardModeChanged, this, [&status](bool on) {
        status.showText(on ? keyboardModeOnText : QString());
        status.setColour(on ? keyboardModeColour : colour::statusNormal);
    });
    connect(&m_shell.station.winKey(), &MorseSender::failed, &status, &StatusLine::showText);
}

// WK.txt read into the link now; the window is built at once, so that an open started by a
// message reports through it too.
void CwPlug::buildWinKeySetup()
{
    Station& station = m_shell.station;
    WinKeyLink& link = station.winKey();
    const QString settingsPath =
        station.session().folders.data + QLatin1Char('/') + QLatin1String(winKeySettingsFileName);
    WinKeySettings settings = link.settings();
    if (loadWinKeySettings(settingsPath, settings)) {
        link.setSettings(settings);
    }
    LogSession& session = station.session();
    m_winKeySetup = new WinKeySetupDialog(
        station.platform(), link, settingsPath, [&session] { return session.prefs.ownCall; },
        &m_shell.window);
    m_winKeySetup->setWindowModality(Qt::ApplicationModal);
}

KeyerWindow* CwPlug::keyerWindow()
{
    if (m_keyerWindow) {
        return m_keyerWindow;
    }
    Station& station = m_shell.station;
    m_keyerWindow = new KeyerWindow(station.platform(), station.keyer(), &m_shell.window);
    connect(m_keyerWindow, &KeyerWindow::doneClicked, this, [this] {
        // With a keyer, the message editor waits minimized beside the log.
        if (m_shell.station.keyer().keyerType() != KeyerType::None) {
            stringsWindow()->showMinimized();
        }
        m_shell.window.activateWindow();
        m_shell.backToEntry();
    });
    return m_keyerWindow;
}

CwStringsWindow* CwPlug::stringsWindow()
{
    if (!m_stringsWindow) {
        m_stringsWindow = new CwStringsWindow(m_shell.station.keyer(), &m_shell.window);
        connect(m_stringsWindow, &CwStringsWindow::keyForwarded, this,
                [this](QKeyEvent* event) { m_shell.keys.route(event); });
    }
    return m_stringsWindow;
}

void CwPlug::showKeyerWindow()
{
    KeyerWindow* window = keyerWindow();
    window->show();
    window->raise();
    window->activateWindow();
}

void CwPlug::showStringsWindow()
{
    CwStringsWindow* window = stringsWindow();
    window->showNormal();
    window->raise();
}

void CwPlug::showWinKeySetup()
{
    m_winKeySetup->show();
    m_winKeySetup->raise();
    m_winKeySetup->activateWindow();
}

bool CwPlug::handleKey(QKeyEvent* event)
{
    Keyer& keyer = m_shell.station.keyer();
    // Any key stops a repeating message; the key is then handled as usual.
    keyer.stopRepeat();
    const QString& mode = m_shell.station.session().prefs.mode;
    if (mode.compare(QLatin1String("CW"), Qt::CaseInsensitive) != 0) {
        return false;
    }
    const bool keying = keyer.keyerType() != KeyerType::None;
    const int key = event->key();
    if (keying && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        key == Qt::Key_Up ? keyer.speedUp() : keyer.speedDown();
        m_shell.status.showText(QString::number(keyer.speed()) + QStringLiteral(" WPM"));
        return true;
    }
    if (const int number = functionKeyNumber(key); keying && number > 0) {
        if (number == 12) {
            keyer.setKeyboardMode(!keyer.keyboardMode());
        } else {
            keyer.sendFunctionKey(number);
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
}

} // namespace velk
