// The TNC's "RTS OnOff" handshaking on a real serial device: both RTS/CTS and XON/XOFF reach the
// driver, though Qt has a mode for only one of them at a time.
#include "common/platform/qt/qtdevices.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace velk {
namespace {

TEST(SerialHandshake, BothSetsSoftwareFlowControlBesideHardware)
{
    if (QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty()) {
        GTEST_SKIP() << "socat is not installed";
    }
    QTemporaryDir dir;
    const QString ours = dir.filePath(QStringLiteral("ours"));
    QProcess pty;
    pty.start(QStringLiteral("socat"),
              {QStringLiteral("pty,raw,echo=0,link=") + ours,
               QStringLiteral("pty,raw,echo=0,link=") + dir.filePath(QStringLiteral("theirs"))});
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(ours) && timer.elapsed() < 5000) {
        QTest::qWait(20);
    }
    if (!QFile::exists(ours)) {
        pty.kill();
        pty.waitForFinished();
        GTEST_SKIP() << "socat cannot make a pseudo-terminal pair";
    }
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
    pty.kill();
    pty.waitForFinished();
}

} // namespace
} // namespace velk
