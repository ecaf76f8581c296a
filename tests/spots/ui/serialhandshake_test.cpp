// The TNC's "RTS OnOff" handshaking on a real serial device: both RTS/CTS and XON/XOFF reach the
// driver, though Qt has a mode for only one of them at a time.
#include "common/platform/qt/qtdevices.h"
#include "support/ptypair.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace velk {
namespace {

using testing::PtyPair;

TEST(SerialHandshake, BothSetsSoftwareFlowControlBesideHardware)
{
    QTemporaryDir dir;
    PtyPair pty(dir.path());
    if (!pty.start()) {
        GTEST_SKIP() << pty.reason().toStdString();
    }
    const QString ours = pty.ours();
    for (const Handshake handshake : {Handshake::Both, Handshake::XonXoff, Handshake::None}) {
        QtSerialDevice device;
        SerialSettings settings;
        settings.handshake = handshake;
        ASSERT_TRUE(device.open(ours, settings)) << device.errorText().toStdString();
        const int fd = ::open(QFile::encodeName(ours).constData(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        termios attributes{};
        ASSERT_EQ(::tcgetattr(fd, &attributes), 0);
        const bool software = (attributes.c_iflag & IXON) && (attributes.c_iflag & IXOFF);
        EXPECT_EQ(software, handshake != Handshake::None) << static_cast<int>(handshake);
        ::close(fd);
        device.close();
    }
}

} // namespace
} // namespace velk
