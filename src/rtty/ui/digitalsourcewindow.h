#pragma once
// DigitalSourceWindow: the RTTY link's window. Shows the twenty items exchanged with the terminal
// program and the state of the link, offers "Reconnect" and the choice of terminal program
// (Dumo RTTY, or fldigi with its XML-RPC port). Reads and drives the station's RttyLink.
#include <QByteArray>
#include <QDialog>
#include <map>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace velk {

class RttyLink;

class DigitalSourceWindow : public QDialog
{
    Q_OBJECT
public:
    explicit DigitalSourceWindow(RttyLink& link, QWidget* parent = nullptr);

    QLineEdit* itemBox(const QByteArray& item) const;

private:
    void showState();
    void applyPeerChoice();

    RttyLink& m_link;
    std::map<QByteArray, QLineEdit*> m_items;
    QLabel* m_state = nullptr;
    QComboBox* m_peer = nullptr;
    QSpinBox* m_port = nullptr;
    QPushButton* m_reconnect = nullptr;
};

} // namespace velk
