#pragma once
// frmStationID: the " Amateur Station I.D." dialog, where the operator enters the own call,
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

class frmStationID : public QDialog
{
    Q_OBJECT
public:
    frmStationID(Platform& platform, XmlStore& xml, const PrefixTable& prefixes, QWidget* parent = nullptr);

    // Fills the boxes from the preferences and the stored RTTY-link option.
    void Form_Load(const Preferences& prefs);
    // "Done": settles the numeric boxes, stores the RTTY-link option and the XML store, hides.
    void Command1_Click();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
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
    bool connectToDumo() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Platform& m_platform;
    XmlStore& m_xml;
    const PrefixTable& m_prefixes;

    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLineEdit* Text5 = nullptr;
    QLineEdit* Text6 = nullptr;
    QLineEdit* Text7 = nullptr;
    QLineEdit* Text8 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QCheckBox* chkDumoRtty = nullptr;
    QLabel* lblConnectDumo = nullptr;
    QPushButton* Command1 = nullptr;

    void buildWindow();
    void showDumoOption(bool visible);
    // Key handlers; true when the key was consumed.
    bool boxKeyPress(QLineEdit* box, QKeyEvent* event);
    bool Text2_KeyPress(QChar key);
    void Text6_LostFocus();
    void storeXml();
};

} // namespace velk
