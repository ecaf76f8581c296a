#pragma once
// RigSetupWindow: " Rig Interface Setup": the radio type, serial settings (or, for Hamlib, how to
// reach rigctld), polling rate and query strings, with a live display of the radio's replies;
// Test / End Test / Done drive the RigLink.
#include "common/platform/platform.h"
#include "rig/riglink.h"

#include <QDialog>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace velk {

class HamlibSettingsBox;

class RigSetupWindow : public QDialog
{
    Q_OBJECT
public:
    RigSetupWindow(Platform& platform, RigLink& rig, QWidget* parent = nullptr);

    // Fills the controls from the link's settings without resetting the query strings, and shows
    // whether the link is polling.
    void loadFromLink();
    // Shown after the port failed to open: modal until hidden, so the settings get corrected.
    void showForCorrection();
    // "Test": (re)starts polling with the settings on screen.
    void test();
    // "End Test": stops polling and clears the displays.
    void endTest();
    // "Done": tests unless "None", lets the main window save its preferences, saves RigCntrl.txt,
    // hides the window.
    void done();
    // Opens the change-frequency test window; the default shows it modally.
    using TestWindowRunner = std::function<void(QDialog&)>;
    void setTestWindowRunner(TestWindowRunner runner) { m_testRunner = std::move(runner); }

signals:
    // "Done" was pressed: the main window stores the radio type in its preferences.
    void savePreferencesRequested(const QString& rigType);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void build();
    QButtonGroup* addOptions(QGridLayout* grid, int row, const QString& title, const QStringList& captions,
                             const QString& namePrefix);
    void pickType(const QString& name);
    QString currentTypeName() const;
    void showSettings(const RigSettings& settings);
    RigSettings collect() const;
    void showReply(float mhz, const QString& mode, const QByteArray& raw);
    void openTestWindow();
    void updateTypeHints(const QString& name);
    void showPolling(bool polling);
    void applyScreen();

    Platform& m_platform;
    RigLink& m_rig;
    bool m_loading = false;
    TestWindowRunner m_testRunner;

    QListWidget* m_types = nullptr;
    QButtonGroup* m_baud = nullptr;
    QButtonGroup* m_parity = nullptr;
    QButtonGroup* m_dataBits = nullptr;
    QButtonGroup* m_stopBits = nullptr;
    QButtonGroup* m_port = nullptr;
    QButtonGroup* m_power = nullptr;
    QButtonGroup* m_pollRate = nullptr;
    QButtonGroup* m_modeSource = nullptr;
    QLineEdit* m_frequencyQuery = nullptr;
    QLineEdit* m_modeQuery = nullptr;
    QCheckBox* m_sendAsHex = nullptr;
    QCheckBox* m_useFrequency = nullptr;
    QCheckBox* m_showHex = nullptr;
    QCheckBox* m_catSwitch = nullptr;
    QLabel* m_frequency = nullptr;
    QLabel* m_mode = nullptr;
    QLabel* m_raw = nullptr;
    QLabel* m_polling = nullptr;
    QLabel* m_icomHint = nullptr;
    QLabel* m_portPath = nullptr;
    QPushButton* m_endTest = nullptr;
    QPushButton* m_doneButton = nullptr;
    HamlibSettingsBox* m_hamlib = nullptr;
    // What only a serial radio has: hidden for Hamlib.
    QList<QWidget*> m_serialOnly;
};

} // namespace velk
