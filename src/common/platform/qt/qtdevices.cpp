#include "common/platform/qt/qtdevices.h"

#include "common/platform/qt/linuxkeyports.h"
#include "common/platform/qt/linuxrealtimepriority.h"
#include "common/platform/qt/qttcpconnection.h"

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#endif
#include "common/platform/qt/qtaudioplayer.h"

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
#ifdef Q_OS_UNIX
    // Qt has no mode for RTS/CTS and XON/XOFF together: the driver takes both flags.
    if (settings.handshake == Handshake::Both) {
        termios attributes{};
        if (::tcgetattr(m_port.handle(), &attributes) == 0) {
            attributes.c_iflag |= IXON | IXOFF;
            ::tcsetattr(m_port.handle(), TCSANOW, &attributes);
        }
    }
#endif
    m_port.clearError();
    return true;
}

void QtSerialDevice::close()
{
    if (m_port.isOpen()) {
        // What was written last (a device's close command) goes to the driver, not the bin.
        m_port.flush();
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

qint64 QtSerialDevice::unsentBytes() const
{
    qint64 unsent = m_port.bytesToWrite();
#ifdef Q_OS_UNIX
    // The driver's output queue (the UART's FIFO aside): bytes the port took but the line has not.
    int queued = 0;
    if (m_port.isOpen() && ::ioctl(m_port.handle(), TIOCOUTQ, &queued) == 0) {
        unsent += queued;
    }
#ifdef TIOCSERGETLSR
    // A UART still shifting out its FIFO: the last bytes are not on the line yet.
    unsigned int lineStatus = 0;
    if (unsent == 0 && m_port.isOpen() && ::ioctl(m_port.handle(), TIOCSERGETLSR, &lineStatus) == 0 &&
        (lineStatus & TIOCSER_TEMT) == 0) {
        unsent = 1;
    }
#endif
#endif
    return unsent;
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
    // A device that goes away shows as a resource error, or first as a failed read or write (a
    // hung-up terminal reads end-of-file): either way the port is gone.
    const bool gone = error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
                      error == QSerialPort::WriteError;
    if (!gone || !m_port.isOpen()) {
        return;
    }
    // After end-of-file the port's own text may describe an older, unrelated call.
    m_error =
        error == QSerialPort::ResourceError ? m_port.errorString() : QStringLiteral("Input/output error");
    m_port.close();
    emit failed(m_error);
}

QtDevices::QtDevices(const Environment& environment, const SettingsStore& settings)
    : m_keyPorts(std::make_unique<LinuxKeyPorts>(environment, settings)),
      m_realtimePriority(std::make_unique<LinuxRealtimePriority>())
{
}

QtDevices::~QtDevices() = default;

std::unique_ptr<SerialDevice> QtDevices::createSerialDevice()
{
    return std::make_unique<QtSerialDevice>();
}

std::unique_ptr<TcpConnection> QtDevices::createTcpConnection()
{
    return std::make_unique<QtTcpConnection>();
}

std::unique_ptr<AudioPlayer> QtDevices::createAudioPlayer()
{
    return std::make_unique<QtAudioPlayer>();
}

} // namespace velk
