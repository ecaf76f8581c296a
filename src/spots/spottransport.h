#pragma once
// SpotTransport: one way of reaching a spot source (a TNC on a serial port, a Telnet cluster, the
// AGW packet engine): opens and closes it, sends what the operator types and hands on what
// arrives. The spot feed above it keeps the monitor, the duplicate filter, the backlog and the spots.
#include <QByteArray>
#include <QObject>
#include <QString>

namespace velk {

class SpotTransport : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~SpotTransport() override = default;

    // Starts; connecting(), opened(), openFailed() or dropped() follows, at once or later.
    virtual void open() = 0;
    // Ends the link or the attempt, taking leave where the source expects it. No signal but
    // peerChanged(); harmless when nothing is open.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // A line the operator typed.
    virtual void send(const QString& text) = 0;
    // Esc or Ctrl+C: the source's command-mode character, where it has one. True when it went out.
    virtual bool sendCommandCharacter() { return false; }
    // Radio paths repeat what they hear (digipeaters, several nodes): their lines are checked
    // against the monitor before they are shown. A cluster's stream is not.
    virtual bool repeatsLines() const { return false; }
    // The station the operator is connected to through the source; empty when none.
    virtual QString peer() const { return {}; }

signals:
    // An attempt is under way; a banner that is not empty replaces the monitor text.
    void connecting(const QString& banner);
    void opened();
    // Part of the source's stream of text lines, cut anywhere.
    void received(const QByteArray& bytes);
    // A whole spot line heard outside the stream (monitored packet traffic).
    void spotHeard(const QString& line);
    // Other monitored traffic, shown unless the operator lists DX lines only.
    void trafficHeard(const QString& text);
    // The transport's own words for the monitor, always shown.
    void notice(const QString& text);
    void peerChanged(const QString& station);
    // Something the operator must see happened (the window shows itself).
    void attentionNeeded();
    // Nothing was opened and the operator has been told why.
    void openFailed();
    // The source ended by itself (far end, device, error); the reason goes to the monitor.
    void dropped(const QString& reason);
};

} // namespace velk
