#include "rtty/rttylink.h"

#include "common/diagnostics.h"
#include "common/platform/devices.h"
#include "common/platform/environment.h"
#include "common/platform/settingsstore.h"
#include "rtty/fldigitransport.h"
#include "rtty/rttykeys.h"
#include "rtty/terminaltransport.h"

namespace velk {

namespace {

const QString peerKey = QStringLiteral("UserRttyPeer");
const QString fldigiPortKey = QStringLiteral("UserFldigiPort");
constexpr int defaultFldigiPort = 7362;

} // namespace

RttyLink::RttyLink(Platform& platform, QObject* parent) : QObject(parent), m_platform(platform)
{
    for (const QByteArray& item : itemNames()) {
        m_items[item];
    }
    m_peerKind = m_platform.settings.value(peerKey).value_or(QString()).trimmed() == QLatin1String("fldigi")
                     ? RttyPeerKind::Fldigi
                     : RttyPeerKind::DumoRtty;
    m_boxTimer.setSingleShot(true);
    m_boxTimer.setInterval(250);
    connect(&m_boxTimer, &QTimer::timeout, this, &RttyLink::showPendingBox);
    m_retryTimer.setObjectName(QStringLiteral("rttyRetryTimer"));
    m_retryTimer.setInterval(retryIntervalMs);
    connect(&m_retryTimer, &QTimer::timeout, this, [this] {
        // Not while a box of the link is open: its answer is awaited first.
        if (!m_attempting && !m_connected && !m_boxOpen) {
            attempt(Origin::Background);
        }
    });
}

RttyLink::~RttyLink() = default;

const QList<QByteArray>& RttyLink::itemNames()
{
    static const QList<QByteArray> names{
        "txtSUrCall", "txtSMyCall", "txtSField1", "txtSField2", "txtSField3", "txtSField4", "txtSField5",
        "txtSField6", "txtSField7", "txtSField8", "txtBUrCall", "txtBMyCall", "txtBField1", "txtBField2",
        "txtBField3", "txtBField4", "txtBField5", "txtBField6", "txtBField7", "txtBField8",
    };
    return names;
}

bool RttyLink::isFromTerminal(const QByteArray& item)
{
    return item.startsWith("txtS");
}

QString RttyLink::peerName() const
{
    return m_peerKind == RttyPeerKind::Fldigi ? QStringLiteral("fldigi") : QStringLiteral("Dumo RTTY");
}

void RttyLink::choosePeer(RttyPeerKind kind, int port)
{
    m_platform.settings.setValue(peerKey, kind == RttyPeerKind::Fldigi ? QStringLiteral("fldigi")
                                                                       : QStringLiteral("dumo"));
    if (port > 0 && port < 65536) {
        m_platform.settings.setValue(fldigiPortKey, QString::number(port));
    }
    if (kind != m_peerKind) {
        const bool wasConnected = m_connected || m_attempting;
        m_peerKind = kind;
        m_transport.reset();
        m_attempting = false;
        if (m_connected) {
            m_connected = false;
            setKeyboardMode(false);
            emit connectionChanged(false);
        }
        if (wasConnected && m_rttyLog && m_wanted) {
            m_retryTimer.start();
        }
    }
}

int RttyLink::fldigiPort() const
{
    bool ok = false;
    const int port = m_platform.settings.value(fldigiPortKey).value_or(QString()).trimmed().toInt(&ok);
    return ok && port > 0 && port < 65536 ? port : defaultFldigiPort;
}

RttySocketPlace RttyLink::socketPlace() const
{
    return locateRttySocket(m_platform.environment, m_platform.settings, m_ownership);
}

void RttyLink::makeTransport(const QString& endpoint)
{
    m_transport.reset();
    m_transportEndpoint = endpoint;
    if (m_peerKind == RttyPeerKind::Fldigi) {
        m_transport =
            std::make_unique<FldigiTransport>(m_platform.devices.createHttpPoster(), endpoint, this);
    } else {
        m_transport = std::make_unique<TerminalTransport>(m_platform.devices.createLocalChannel(), endpoint,
                                                          itemNames(), this);
    }
    connect(m_transport.get(), &RttyTransport::opened, this, &RttyLink::onOpened);
    connect(m_transport.get(), &RttyTransport::openFailed, this, &RttyLink::onOpenFailed);
    connect(m_transport.get(), &RttyTransport::dropped, this, &RttyLink::onDropped);
    connect(m_transport.get(), &RttyTransport::itemReceived, this, &RttyLink::onItem);
}

void RttyLink::apply(const QString& logMode, bool linkWanted)
{
    m_rttyLog = logMode.compare(QLatin1String("RY"), Qt::CaseInsensitive) == 0;
    m_wanted = linkWanted;
    if (m_rttyLog && m_wanted) {
        if (m_connected) {
            sendStation(); // the station may have changed
        } else if (!m_attempting) {
            attempt(Origin::Setup);
        }
        return;
    }
    stop();
}

void RttyLink::reconnect()
{
    if (!m_rttyLog) {
        return;
    }
    m_wanted = true;
    attempt(Origin::Operator);
}

void RttyLink::stop()
{
    m_retryTimer.stop();
    m_boxTimer.stop();
    m_pendingBox.reset();
    // While still linked, so the terminal hears that keyboard RTTY has ended.
    setKeyboardMode(false);
    if (m_transport && (m_connected || m_attempting)) {
        qCDebug(velkRtty) << "closing the link to" << peerName();
        m_transport->close();
    }
    m_attempting = false;
    if (m_connected) {
        m_connected = false;
        emit connectionChanged(false);
    }
}

bool RttyLink::socketRefused(const RttySocketPlace& place)
{
    if (place.refusal.isEmpty()) {
        return false;
    }
    m_attempting = false;
    if (m_rttyLog && m_wanted) {
        m_retryTimer.start(); // the other user's socket may go and ours come
    }
    if (m_origin == Origin::Operator) {
        showBox(place.refusal, QStringLiteral("Unable to link with Dumo RTTY."), MessageIcon::Critical);
    } else if (m_refusalReported != place.refusal) {
        m_refusalReported = place.refusal;
        m_failureNoticed = true;
        qCWarning(velkRtty).noquote() << place.refusal;
        emit notice(place.refusal);
    }
    return true;
}

void RttyLink::attempt(Origin origin)
{
    m_origin = origin;
    const bool wasConnected = m_connected;
    m_connected = false;
    setKeyboardMode(false);
    if (wasConnected) {
        emit connectionChanged(false);
    }
    // Every item starts empty; the terminal's answers fill them.
    for (const QByteArray& item : itemNames()) {
        setItem(item, QString());
    }
    QString endpoint = QStringLiteral("http://127.0.0.1:%1/RPC2").arg(fldigiPort());
    if (m_peerKind == RttyPeerKind::DumoRtty) {
        const RttySocketPlace place = socketPlace();
        if (socketRefused(place)) {
            if (m_transport) {
                m_transport->close();
            }
            return;
        }
        endpoint = place.path;
    }
    if (!m_transport || endpoint != m_transportEndpoint) {
        makeTransport(endpoint);
    }
    m_attempting = true;
    qCDebug(velkRtty).noquote() << "connecting to" << peerName() << "at" << endpoint;
    m_transport->open();
}

void RttyLink::onOpened()
{
    m_attempting = false;
    m_connected = true;
    m_failureNoticed = false;
    m_refusalReported.clear();
    m_retryTimer.stop();
    qCDebug(velkRtty).noquote() << "linked with" << peerName();
    emit connectionChanged(true);
    sendStation();
    if (m_origin == Origin::Background) {
        emit notice(
            QStringLiteral("Connected with %1!")
                .arg(m_peerKind == RttyPeerKind::Fldigi ? QStringLiteral("fldigi") : QStringLiteral("Dumo")));
        return;
    }
    if (m_peerKind == RttyPeerKind::Fldigi) {
        showBox(QStringLiteral("Connected with fldigi!"), QStringLiteral("Connected with fldigi!"),
                MessageIcon::Information);
    } else {
        showBox(
            QStringLiteral("Connected with Dumo!\n\nFor best display of both programs on your screen, click "
                           "Options > Appearance > Form Size and enter 85 from this program's menu options."),
            QStringLiteral("Connected with Dumo!"), MessageIcon::Information);
    }
}

void RttyLink::onOpenFailed(const QString& reason)
{
    qCDebug(velkRtty).noquote() << "no link with" << peerName() + QLatin1Char(':') << reason;
    m_attempting = false;
    m_connected = false;
    if (m_rttyLog && m_wanted) {
        m_retryTimer.start();
    }
    const QString title = m_peerKind == RttyPeerKind::Fldigi ? QStringLiteral("Unable to find fldigi.")
                                                             : QStringLiteral("Unable to find Dumo RTTY.");
    if (m_origin == Origin::Operator) {
        const QString text = m_peerKind == RttyPeerKind::Fldigi
                                 ? QStringLiteral("Please start fldigi (with its XML-RPC port %1) and click "
                                                  "Reconnect to try again!")
                                       .arg(fldigiPort())
                                 : QStringLiteral("Please start Dumo RTTY and click Setup to try again!");
        showBox(text, title, MessageIcon::Critical);
    } else if (!m_failureNoticed) {
        // Retries stay quiet: one line says the link is not there yet.
        m_failureNoticed = true;
        emit notice(title);
    }
}

void RttyLink::onDropped()
{
    qCDebug(velkRtty).noquote() << "lost the link to" << peerName();
    m_connected = false;
    m_attempting = false;
    m_failureNoticed = true;
    setKeyboardMode(false);
    emit connectionChanged(false);
    emit notice(QStringLiteral("Lost the link to %1.").arg(peerName()));
    if (m_rttyLog && m_wanted) {
        m_retryTimer.start();
    }
}

void RttyLink::onItem(const QByteArray& item, const QString& value)
{
    const QString text = value.left(256);
    qCDebug(velkRtty).noquote() << "from the terminal:" << item << text;
    setItem(item, text);
    // Answers while connecting only fill the link window: a reconnect never overwrites what
    // the operator is typing.
    if (!m_connected || !m_rttyLog) {
        return;
    }
    if (item == "txtSUrCall") {
        emit valueFromTerminal(PeerField::Call, boxValueFromPeer(text, PeerField::Call));
    } else if (item == "txtSField2") {
        emit valueFromTerminal(PeerField::Location, boxValueFromPeer(text, PeerField::Location));
    } else if (item == "txtSField4") {
        emit valueFromTerminal(PeerField::Name, boxValueFromPeer(text, PeerField::Name));
    }
}

void RttyLink::setItem(const QByteArray& item, const QString& value)
{
    QString& current = m_items[item];
    if (current != value) {
        current = value;
        emit itemChanged(item, value);
    }
}

QString RttyLink::itemText(const QByteArray& item) const
{
    const auto found = m_items.find(item);
    return found == m_items.end() ? QString() : found->second;
}

void RttyLink::pushItem(const QByteArray& item, const QString& value)
{
    setItem(item, value);
    if (m_transport && m_connected) {
        qCDebug(velkRtty).noquote() << "to the terminal:" << item << value;
        m_transport->push(item, value);
    }
}

void RttyLink::setStation(const QString& call, const QString& name, const QString& location)
{
    m_ownCall = call;
    m_ownName = name;
    m_ownLocation = location;
    if (m_connected && m_rttyLog) {
        sendStation();
    }
}

void RttyLink::sendStation()
{
    pushItem("txtBMyCall", m_ownCall);
    pushItem("txtBField4", m_ownName);
    pushItem("txtBField2", m_ownLocation);
}

void RttyLink::setCallBeingEntered(const QString& call)
{
    if (m_connected && m_rttyLog) {
        pushItem("txtBUrCall", call);
    }
}

int RttyLink::forwardKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (!m_connected || !m_rttyLog) {
        return 0;
    }
    const int keyCode = windowsKeyCode(qtKey, modifiers);
    if (keyCode == 0) {
        return 0;
    }
    // The terminal never receives F10 (its menu key on Windows).
    const int sent = keyCode == windowsKey::f10 ? windowsKey::f13 : keyCode;
    // Twice, so the terminal sees the same key pressed twice as two changes.
    pushItem("txtBField8", QString());
    pushItem("txtBField8", QString::number(sent));
    if (sent == windowsKey::f12) {
        setKeyboardMode(!m_keyboardMode);
    }
    return sent;
}

void RttyLink::setKeyboardMode(bool on)
{
    if (m_keyboardMode == on) {
        return;
    }
    m_keyboardMode = on;
    if (m_transport && m_connected) {
        m_transport->keyboardModeChanged(on);
    }
    emit keyboardRttyModeChanged(on);
}

void RttyLink::showBox(const QString& text, const QString& title, MessageIcon icon)
{
    // One box at a time: attempts that end while one is open say nothing more.
    if (m_boxOpen) {
        return;
    }
    m_pendingBox = Box{text, title, icon};
    showPendingBox();
}

void RttyLink::showPendingBox()
{
    if (!m_pendingBox || m_boxOpen) {
        return;
    }
    if (m_mayOpenBox && !m_mayOpenBox()) {
        m_boxTimer.start();
        return;
    }
    const Box box = *m_pendingBox;
    m_pendingBox.reset();
    m_boxOpen = true;
    m_platform.prompter.message(box.text, box.title, box.icon);
    m_boxOpen = false;
}

} // namespace velk
