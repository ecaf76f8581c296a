#include "common/platform/qt/qtdevices.h"

namespace velk {

namespace {

QSerialPort::Parity parityOf(char parity)
{
    switch (parity) {
    case 'E':
        return QSerialPort::EvenParity;
    case 'O':
        return QSerialPort::OddParity;
    case 'M':
        return QSerialPort::MarkParity;
    case 'S':
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::NoParity;
    }
}

QSerialPort::FlowControl flowOf(Handshake handshake)
{
    switch (handshake) {
    case Handshake::XonXoff:
        return QSerialPort::SoftwareControl;
    case Handshake::RtsCts:
    case Handshake::Both:
        return QSerialPort::HardwareControl;
    default:
        return QSerialPort::NoFlowControl;
    }
}

// Until the key-line owner is built, no key line opens.
class NoKeyPorts : public KeyPorts
{
public:
    KeyLine* open(PortUser, const KeyLineTarget&, QString& error) override
    {
        error = QStringLiteral("Invalid port.");
        return nullptr;
    }
    void claim(PortUser, std::function<void()>) override {}
    void close(PortUser) override {}
};

} // namespace

QtSerialDevice::QtSerialDevice(QObject* parent) : SerialDevice(parent)
{
    connect(&m_port, &QSerialPort::readyRead, this, &SerialDevice::readyRead);
    connect(&m_port, &QSerialPort::bytesWritten, this, &SerialDevice::bytesWritten);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialDevice::onError);
}

bool QtSerialDevice::open(const QString& path, const SerialSettings& settings)
{
    close();
    m_error.clear();
    m_port.setPortName(path);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_error = m_port.errorString();
        return false;
    }
    const bool configured =
        m_port.setBaudRate(settings.baud) &&
        m_port.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)) &&
        m_port.setParity(parityOf(settings.parity)) &&
        m_port.setStopBits(settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    if (!configured) {
        m_error = m_port.errorString();
        m_port.close();
        return false;
    }
    // A pseudo-terminal refuses flow control and modem lines; it still carries bytes.
    m_port.setFlowControl(flowOf(settings.handshake));
    m_port.clearError();
    return true;
}

void QtSerialDevice::close()
{
    if (m_port.isOpen()) {
        m_port.close();
    }
}

void QtSerialDevice::clearInput()
{
    m_port.clear(QSerialPort::Input);
    // Clearing a device that has gone away closes the port (onError).
    if (m_port.isOpen()) {
        m_port.readAll();
    }
}

bool QtSerialDevice::setRts(bool on)
{
    const bool ok = m_port.setRequestToSend(on);
    m_port.clearError();
    return ok;
}

bool QtSerialDevice::setDtr(bool on)
{
    const bool ok = m_port.setDataTerminalReady(on);
    m_port.clearError();
    return ok;
}

void QtSerialDevice::onError(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::ResourceError || !m_port.isOpen()) {
        return;
    }
    m_error = m_port.errorString();
    m_port.close();
    emit failed(m_error);
}

QtDevices::QtDevices() : m_keyPorts(std::make_unique<NoKeyPorts>()) {}

QtDevices::~QtDevices() = default;

std::unique_ptr<SerialDevice> QtDevices::createSerialDevice()
{
    return std::make_unique<QtSerialDevice>();
}

} // namespace velk
