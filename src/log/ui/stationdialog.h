#pragma once
// StationDialog: the " Amateur Station I.D." dialog, where the operator enters the own call,
// location, name, UTC offset, country, position and the contest mode. "Done" stores the
// per-user RTTY-link option and the shared XML store; the main window applies the rest.
#include "common/platform/platform.h"

#include <QDialog>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace velk {

struct Preferences;
class PrefixTable;
class XmlStore;

class StationDialog : public QDialog
{
    Q_OBJECT
public:
    StationDialog(Platform& platform, XmlStore& xml, const PrefixTable& prefixes, QWidget* parent = nullptr);

    // Fills the boxes from the preferences and the stored RTTY-link option.
    void load(const Preferences& prefs);
    // "Done": settles the numeric boxes, stores the RTTY-link option and the XML store, hides.
    void pressDone();
    void chooseCw();
    void choosePhone();
    void chooseRtty();
    // Every way of accepting the dialog is "Done".
    void accept() override;

    // What the boxes hold (after "Done" the numbers are numeric).
    QString ownCall() const;
    QString ownSpc() const;
    QString ownCountry() const;
    QString ownContinent() const;
    QString ownFirstName() const;
    float utcOffsetHours() const;
    float ownLongitude() const;
    float ownLatitude() const;
    // "CW", "PH" or "RY" after the contest option chosen.
    QString logMode() const;
    bool connectToRttyProgram() const;
    // Copies the station facts the boxes hold into the preferences.
    void applyTo(Preferences& prefs) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Platform& m_platform;
    XmlStore& m_xml;
    const PrefixTable& m_prefixes;

    QLineEdit* callBox = nullptr;
    QLineEdit* countryBox = nullptr;
    QLineEdit* longitudeBox = nullptr;
    QLineEdit* latitudeBox = nullptr;
    QLineEdit* locationBox = nullptr;
    QLineEdit* utcOffsetBox = nullptr;
    QLineEdit* continentBox = nullptr;
    QLineEdit* firstNameBox = nullptr;
    QRadioButton* cwOption = nullptr;
    QRadioButton* phoneOption = nullptr;
    QRadioButton* rttyOption = nullptr;
    QCheckBox* rttyLinkCheck = nullptr;
    QLabel* rttyLinkLabel = nullptr;
    QPushButton* doneButton = nullptr;

    void buildWindow();
    void showRttyLinkOption(bool visible);
    // Key handlers; true when the key was consumed.
    bool boxKeyPress(QLineEdit* box, QKeyEvent* event);
    bool countryKeyPress(QChar key);
    void leaveUtcOffsetBox();
    void storeXml();
};

} // namespace velk
