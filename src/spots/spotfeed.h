#pragma once
// SpotFeed: the one source of DX spots (a TNC on a serial port, a Telnet cluster, or the AGW
// packet engine, each a SpotTransport), its monitor text, the duplicate filter and backlog, and
// where spot lines end up: the spot ring the band maps draw from and the spot list.
#include "spots/agwtransport.h"
#include "spots/linesplitter.h"
#include "spots/spotlistmodel.h"
#include "spots/spotring.h"
#include "spots/spotsettings.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <array>
#include <deque>
#include <memory>

namespace velk {

class LogSession;
class SpotTransport;
struct Platform;

class SpotFeed : public QObject
{
    Q_OBJECT
public:
    enum class State { Closed, Connecting, Open };
    static constexpr qsizetype monitorLimit = 10000;
    static constexpr qsizetype monitorKeep = 9000;
    static constexpr int promptIdleMs = 400;
    // A burst of lines is handled in slices of this many milliseconds, so the window stays live.
    static constexpr int sliceMs = 4;
    // ... and of at most this many lines, so a fast machine works a burst off in slices too.
    static constexpr int sliceLines = 2000;
    // The spot list takes a burst's spots at most this often while it is being worked off.
    static constexpr int listRefreshMs = 100;
    // Received bytes are made into lines this many at a time as a burst is worked off.
    static constexpr qsizetype sliceBytes = 16 * 1024;
    // Lines waiting beyond this are dropped, oldest first, and counted.
    static constexpr std::size_t maxBacklog = 20000;
    // A flood without line ends is split (and its overlong lines cut) once this much waits.
    static constexpr qsizetype maxQueuedBytes = 4 * 1024 * 1024;

    SpotFeed(Platform& platform, LogSession& session, QObject* parent = nullptr);
    ~SpotFeed() override;

    // Settings and PackSpot.txt in the working folder.
    const SpotSettings& settings() const { return m_settings; }
    SpotSettings& settings() { return m_settings; }
    QString settingsPath() const;
    void loadSettings();
    // Writes PackSpot.txt; a failure is reported to the operator.
    bool saveSettings();
    // Chooses another source: closes the open one, clears "List DX Only", shows its help text.
    void selectSource(SpotSource source);
    bool listDxOnly() const { return m_listDxOnly; }
    void setListDxOnly(bool on) { m_listDxOnly = on; }
    // Where the packet engine listens (127.0.0.1:8000 unless told otherwise), kept in the
    // per-user settings as soon as it is set.
    AgwAddress agwAddress() const;
    void setAgwAddress(const AgwAddress& address);

    void open();
    // Closes the source; safe at any time, also when nothing is open and at shut-down.
    void close();
    // A source is open or being opened ("Listening").
    bool isListening() const { return m_listening; }
    State state() const { return m_state; }
    QString caption() const;
    QString connectedStation() const;

    // A line typed by the operator (Enter in the send box).
    void sendText(const QString& text);
    // Esc or Ctrl+C: the TNC's command-mode character. True when it went out.
    bool sendCommandCharacter();
    // "DX Frequency in kHz <call of the last contact>".
    QString spotLastText() const;

    const QString& monitor() const { return m_monitor; }
    // How far the monitor has come, so that a view can add what is new rather than show it all
    // again: replacements of the whole text, and characters appended since the last one.
    int monitorReplacements() const { return m_monitorReplacements; }
    qint64 monitorAppended() const { return m_monitorAppended; }
    void appendMonitor(const QString& text);
    void replaceMonitor(const QString& text);

    // One spot line (beginning with "DX", or with one or two characters before it).
    void postSpot(const QString& line);
    void addSpot(const QString& call, const QString& frequencyKhz, const QString& record);
    const SpotRing& ring() const { return m_ring; }
    SpotRing& ring() { return m_ring; }
    SpotListModel& list() { return m_list; }
    // Shows an unterminated prompt ("login: ") after the line went quiet.
    void flushPendingPrompt();
    // Received lines not yet handled (a burst being worked off), and lines dropped from it. The
    // monitor says how many a burst lost once it has been worked off.
    std::size_t backlog() const
    {
        return m_backlog.size() + static_cast<std::size_t>(m_splitter.queuedLines());
    }
    int droppedLines() const { return m_droppedLines; }

signals:
    void spotPosted();
    void ownCallSpotted(const QString& record);
    // The open source ended from its side (the cluster closed the connection, the port went away).
    void sourceLost(const QString& reason);
    void monitorText(const QString& text);
    void stateChanged(velk::SpotFeed::State state);
    void captionChanged(const QString& caption);
    // Something the operator must see happened while the window was hidden.
    void showRequested();
    // No spot for about two minutes: the band maps redraw so that their ages advance.
    void spotsAged();

private:
    Platform& m_platform;
    LogSession& m_session;
    SpotSettings m_settings;
    bool m_listDxOnly = false;
    bool m_listening = false;
    State m_state = State::Closed;
    QString m_monitor;
    int m_monitorReplacements = 0;
    qint64 m_monitorAppended = 0;
    // While a burst is worked off, its spots reach the list together at the end of the slice.
    std::vector<SpotListEntry>* m_listBatch = nullptr;
    std::vector<SpotListEntry> m_listPending;
    QElapsedTimer m_listShown;
    SpotRing m_ring;
    SpotListModel m_list;
    LineSplitter m_splitter;
    QTimer m_promptTimer;
    QTimer m_tickTimer;
    QTimer m_drainTimer;
    std::deque<std::pair<QString, bool>> m_backlog; // line, and whether to check it for duplicates
    bool m_checkDuplicates = false;
    int m_droppedLines = 0;
    int m_unreportedDrops = 0;
    int m_idleTicks = 0;

    // One transport per source, made when the source is first opened; the open one, if any.
    std::array<std::unique_ptr<SpotTransport>, 4> m_transports;
    SpotTransport* m_transport = nullptr;
    // Countries of calls already spotted: the same stations are spotted again and again.
    QHash<QString, QString> m_countryOfCall;
    int m_countryTableSize = -1;

    SpotTransport* transportFor(SpotSource source);
    std::unique_ptr<SpotTransport> makeTransport(SpotSource source);
    void connectTransport(SpotTransport* transport);
    void setState(State state);
    QString countryOf(const QString& call);
    bool isDuplicate(const QString& line) const;
    void receiveLine(const QString& line, bool checkDuplicates);
    void receiveBytes(const QByteArray& bytes);
    void receiveSpotLine(const QString& line);
    void takeQueuedLines(qsizetype maxBytes);
    void boundBacklog();
    void drainBacklog();
    void drainSlice(const QElapsedTimer& slice);
    void showPendingSpots();
    void reportDrops();
    void transportDropped(const QString& reason);
    void transportOpenFailed();
    void peerChanged(const QString& station);
};

// The help text of the DX spotting window for a source.
QString spotHelpText(SpotSource source);

} // namespace velk
