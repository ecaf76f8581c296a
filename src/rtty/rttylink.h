#pragma once
// RttyLink: the station's link to the RTTY terminal program (Dumo RTTY over a local socket, or
// fldigi over its XML-RPC interface). Exists in an RTTY log with the link chosen: connects, keeps
// retrying quietly in the background, hands the terminal the own station, the call being entered
// and every key, and turns the terminal's call, name and location into entry values.
// Talks to the terminal through an RttyTransport and to the operator through the prompter.
#include "common/platform/platform.h"
#include "rtty/rttysocket.h"
#include "rtty/rttyvalues.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace velk {

class RttyTransport;

enum class RttyPeerKind { DumoRtty, Fldigi };

class RttyLink : public QObject
{
    Q_OBJECT
public:
    explicit RttyLink(Platform& platform, QObject* parent = nullptr);
    ~RttyLink() override;

    // The twenty items of the link window, in its order: ten from the terminal, ten to it.
    static const QList<QByteArray>& itemNames();
    static bool isFromTerminal(const QByteArray& item);

    // The log mode and the station dialog's link option ("UserDumoOption"). In an RTTY log with
    // the option on, an attempt starts (shown to the operator as the station dialog's result);
    // otherwise the link closes and stops retrying.
    void apply(const QString& logMode, bool linkWanted);
    // "Reconnect": a new attempt the operator asked for (RTTY log only); its failure is shown.
    void reconnect();
    // Closes the link and stops retrying, without a box or a notice (end of the run, or the
    // link no longer wanted). Safe to call again, and before anything was opened.
    void stop();

    bool isRttyLog() const { return m_rttyLog; }
    bool isConnected() const { return m_connected; }
    bool isAttempting() const { return m_attempting; }
    RttyPeerKind peerKind() const { return m_peerKind; }
    // The terminal program's name as the messages use it.
    QString peerName() const;

    // Which terminal program the link talks to, where, stored in the per-user settings
    // ("UserRttyPeer", "UserFldigiPort"); takes effect at the next attempt.
    void choosePeer(RttyPeerKind kind, int fldigiPort);
    int fldigiPort() const;
    // Where the Dumo RTTY link's socket is and whether it may be used (see rttysocket.h).
    RttySocketPlace socketPlace() const;
    // Who owns a path and who we are; the real file system unless a test says otherwise.
    void setFileOwnership(FileOwnership ownership) { m_ownership = std::move(ownership); }

    // The own call, first name and location, handed to the terminal now and on each connect.
    void setStation(const QString& call, const QString& name, const QString& location);
    // The call box changed.
    void setCallBeingEntered(const QString& call);
    // A key went down in the main window: forwarded while linked in an RTTY log as the Windows
    // key code the terminal takes (rttykeys.h), F10 as F13, each twice (empty, then the code);
    // F12 also toggles keyboard RTTY mode. Returns the code sent, or 0 when nothing was forwarded.
    int forwardKey(int qtKey, Qt::KeyboardModifiers modifiers);
    bool keyboardRttyMode() const { return m_keyboardMode; }

    QString itemText(const QByteArray& item) const;

    // Whether a box may open now (the window says no while another dialog is up); a box that
    // may not waits and opens once it may, the newest replacing an older one.
    void setBoxGate(std::function<bool()> mayOpenBox) { m_mayOpenBox = std::move(mayOpenBox); }
    QTimer& boxTimer() { return m_boxTimer; }

    // Period of the background retry while not linked.
    static constexpr int retryIntervalMs = 5000;
    QTimer& retryTimer() { return m_retryTimer; }

signals:
    void connectionChanged(bool connected);
    // An item of the link window has a new text.
    void itemChanged(const QByteArray& item, const QString& text);
    // The terminal's call, location or name changed: already filtered for the entry box.
    void valueFromTerminal(PeerField field, const QString& value);
    void keyboardRttyModeChanged(bool on);
    // A result of a background attempt or a lost link, for the status line (no box).
    void notice(const QString& text);

private:
    enum class Origin { Background, Setup, Operator };

    void attempt(Origin origin);
    void onOpened();
    void onOpenFailed(const QString& reason);
    void onDropped();
    void onItem(const QByteArray& item, const QString& value);
    void setItem(const QByteArray& item, const QString& value);
    void pushItem(const QByteArray& item, const QString& value);
    void sendStation();
    void setKeyboardMode(bool on);
    struct Box
    {
        QString text;
        QString title;
        MessageIcon icon;
    };
    void showBox(const QString& text, const QString& title, MessageIcon icon);
    void showPendingBox();
    void makeTransport(const QString& endpoint);
    bool socketRefused(const RttySocketPlace& place);

    Platform& m_platform;
    std::unique_ptr<RttyTransport> m_transport;
    QString m_transportEndpoint; // the socket path or URL the transport was made for
    FileOwnership m_ownership = systemFileOwnership();
    QString m_refusalReported;
    RttyPeerKind m_peerKind = RttyPeerKind::DumoRtty;
    QTimer m_retryTimer;
    QTimer m_boxTimer;
    std::optional<Box> m_pendingBox;
    std::function<bool()> m_mayOpenBox;
    std::map<QByteArray, QString> m_items;
    QString m_ownCall;
    QString m_ownName;
    QString m_ownLocation;
    Origin m_origin = Origin::Background;
    bool m_rttyLog = false;
    bool m_wanted = false;
    bool m_connected = false;
    bool m_attempting = false;
    bool m_keyboardMode = false;
    bool m_boxOpen = false;
    bool m_failureNoticed = false;
};

} // namespace velk
