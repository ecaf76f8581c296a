#pragma once
// SpotSetupWindow: "DX Spotting Setup", where the operator picks the spot source and its serial,
// Telnet or packet-engine settings, opens and closes it, watches the monitor and types to the
// node. Reads and writes the spot feed; holds no connection of its own.
#include "spots/spotsettings.h"

#include <QWidget>
#include <array>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace velk {

class SpotFeed;

class SpotSetupWindow : public QWidget
{
    Q_OBJECT
public:
    explicit SpotSetupWindow(SpotFeed& feed, QWidget* parent = nullptr);

    // Reads PackSpot.txt into the controls and opens a configured source (the window's first load).
    void load();
    // The controls' values into the feed's settings.
    void gatherSettings();

    QPlainTextEdit* monitorBox() const { return m_monitor; }
    QLineEdit* sendBox() const { return m_send; }

signals:
    // "Done": the settings are saved and the main window arranges its spot display again.
    void done();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    SpotFeed& m_feed;
    bool m_loading = false;

    QListWidget* m_sources = nullptr;
    QButtonGroup* m_baud = nullptr;
    QButtonGroup* m_parity = nullptr;
    QButtonGroup* m_dataBits = nullptr;
    QButtonGroup* m_stopBits = nullptr;
    QButtonGroup* m_commPort = nullptr;
    QButtonGroup* m_power = nullptr;
    QButtonGroup* m_handshaking = nullptr;
    QGroupBox* m_serialBox = nullptr;
    QLineEdit* m_commandHex = nullptr;
    QCheckBox* m_convertToHex = nullptr;
    QLineEdit* m_telnetHost = nullptr;
    QLineEdit* m_telnetPort = nullptr;
    QLineEdit* m_agwHost = nullptr;
    QLineEdit* m_agwPort = nullptr;
    QRadioButton* m_bandMapOption = nullptr;
    QRadioButton* m_listOption = nullptr;
    QCheckBox* m_listDxOnly = nullptr;
    QPlainTextEdit* m_monitor = nullptr;
    QLabel* m_sendLabel = nullptr;
    QLineEdit* m_send = nullptr;
    QLabel* m_listening = nullptr;
    QPushButton* m_openButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    QPushButton* m_spotLastButton = nullptr;
    QPushButton* m_doneButton = nullptr;
    QTimer* m_monitorRefresh = nullptr;
    // How far the monitor box has followed the feed's monitor text.
    int m_shownReplacements = -1;
    qint64 m_shownAppended = 0;

    void build();
    QWidget* buildSerialSettings();
    void showSettings(const SpotSettings& settings);
    void enableForSource(SpotSource source);
    void chooseSource();
    void openSource();
    void finish();
    void spotLast();
    void sendTyped();
    void wrapPacketLine(const QString& text);
    bool commandKey(QKeyEvent* event, bool inSendBox);
    void refreshMonitor();
    void showListening();
    SpotSource selectedSource() const;
};

} // namespace velk
