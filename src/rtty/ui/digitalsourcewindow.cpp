#include "rtty/ui/digitalsourcewindow.h"

#include "rtty/rttylink.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace velk {

namespace {

// What each item carries, for its label and the screen reader.
QString describe(const QByteArray& item)
{
    static const std::map<QByteArray, QString> meanings{
        {"txtSUrCall", QObject::tr("Their call (from the terminal)")},
        {"txtSField2", QObject::tr("Their location (from the terminal)")},
        {"txtSField4", QObject::tr("Their name (from the terminal)")},
        {"txtBMyCall", QObject::tr("Own call (to the terminal)")},
        {"txtBField2", QObject::tr("Own location (to the terminal)")},
        {"txtBField4", QObject::tr("Own name (to the terminal)")},
        {"txtBUrCall", QObject::tr("Call being entered (to the terminal)")},
        {"txtBField8", QObject::tr("Last key (to the terminal)")},
    };
    const auto found = meanings.find(item);
    return found != meanings.end()
               ? found->second
               : QString::fromLatin1(item) + (RttyLink::isFromTerminal(item)
                                                  ? QObject::tr(" (from the terminal, unused)")
                                                  : QObject::tr(" (to the terminal, unused)"));
}

} // namespace

DigitalSourceWindow::DigitalSourceWindow(RttyLink& link, QWidget* parent) : QDialog(parent), m_link(link)
{
    setObjectName(QStringLiteral("digitalSourceWindow"));
    setWindowTitle(tr("Digital Source"));

    auto* items = new QGridLayout;
    const QList<QByteArray>& names = RttyLink::itemNames();
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QByteArray& item = names.at(i);
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("item_") + QString::fromLatin1(item));
        box->setAccessibleName(describe(item));
        box->setReadOnly(true);
        box->setText(link.itemText(item));
        auto* caption = new QLabel(QString::fromLatin1(item), this);
        caption->setToolTip(describe(item));
        caption->setBuddy(box);
        const int column = RttyLink::isFromTerminal(item) ? 0 : 2;
        const int row = static_cast<int>(i % 10);
        items->addWidget(caption, row, column);
        items->addWidget(box, row, column + 1);
        m_items[item] = box;
    }

    m_state = new QLabel(this);
    m_state->setObjectName(QStringLiteral("linkStateDisplay"));
    m_state->setAccessibleName(tr("Link state"));

    m_peer = new QComboBox(this);
    m_peer->setObjectName(QStringLiteral("terminalProgramChoice"));
    m_peer->setAccessibleName(tr("Terminal program"));
    m_peer->addItem(QStringLiteral("Dumo RTTY"));
    m_peer->addItem(QStringLiteral("fldigi"));
    m_peer->setCurrentIndex(link.peerKind() == RttyPeerKind::Fldigi ? 1 : 0);
    m_port = new QSpinBox(this);
    m_port->setObjectName(QStringLiteral("fldigiPortBox"));
    m_port->setAccessibleName(tr("fldigi XML-RPC port"));
    m_port->setRange(1, 65535);
    m_port->setValue(link.fldigiPort());
    auto* choice = new QFormLayout;
    choice->addRow(tr("Terminal program:"), m_peer);
    choice->addRow(tr("fldigi XML-RPC port:"), m_port);

    m_reconnect = new QPushButton(tr("Reconnect"), this);
    m_reconnect->setObjectName(QStringLiteral("reconnectButton"));
    m_reconnect->setAutoDefault(false);
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_state, 1);
    buttons->addWidget(m_reconnect);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(items);
    layout->addLayout(choice);
    layout->addLayout(buttons);

    connect(m_reconnect, &QPushButton::clicked, &m_link, &RttyLink::reconnect);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    connect(m_peer, &QComboBox::currentIndexChanged, this, &DigitalSourceWindow::applyPeerChoice);
    connect(m_port, &QSpinBox::editingFinished, this, &DigitalSourceWindow::applyPeerChoice);
    connect(&m_link, &RttyLink::itemChanged, this, [this](const QByteArray& item, const QString& text) {
        if (QLineEdit* box = itemBox(item)) {
            box->setText(text);
        }
    });
    connect(&m_link, &RttyLink::connectionChanged, this, &DigitalSourceWindow::showState);
    showState();
}

QLineEdit* DigitalSourceWindow::itemBox(const QByteArray& item) const
{
    const auto found = m_items.find(item);
    return found == m_items.end() ? nullptr : found->second;
}

void DigitalSourceWindow::showState()
{
    m_state->setText(m_link.isConnected() ? tr("Linked with %1.").arg(m_link.peerName())
                                          : tr("Not linked with %1.").arg(m_link.peerName()));
}

void DigitalSourceWindow::applyPeerChoice()
{
    m_link.choosePeer(m_peer->currentIndex() == 1 ? RttyPeerKind::Fldigi : RttyPeerKind::DumoRtty,
                      m_port->value());
    showState();
}

} // namespace velk
