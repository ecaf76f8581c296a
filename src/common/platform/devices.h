#pragma once
// Devices: makes the device and network endpoints the subsystems talk through, so that the
// station gets real ports on the desktop and scripted fakes in tests.
#include "common/platform/audioplayer.h"
#include "common/platform/httpposter.h"
#include "common/platform/keyports.h"
#include "common/platform/localchannel.h"
#include "common/platform/realtimepriority.h"
#include "common/platform/serialdevice.h"
#include "common/platform/tcpconnection.h"

#include <memory>

namespace velk {

class Devices
{
public:
    virtual ~Devices() = default;
    // A closed serial port; the caller opens it.
    virtual std::unique_ptr<SerialDevice> createSerialDevice() = 0;
    // An unconnected TCP client.
    virtual std::unique_ptr<TcpConnection> createTcpConnection() = 0;
    // The one owner of the lines that key the transmitter (CW key, PTT, WinKey port).
    virtual KeyPorts& keyPorts() = 0;
    // Lifts the threads that keep time (the Morse keying thread).
    virtual RealtimePriority& realtimePriority() = 0;
    // An unconnected channel to another local program (the RTTY terminal link).
    virtual std::unique_ptr<LocalChannel> createLocalChannel() = 0;
    // An idle poster for a local HTTP server (the fldigi XML-RPC link).
    virtual std::unique_ptr<HttpPoster> createHttpPoster() = 0;
    // A WAV player of its own for each user (voice messages, spoken cues). The default has no
    // sound output: every file is refused, so nothing is ever keyed for it.
    virtual std::unique_ptr<AudioPlayer> createAudioPlayer();
};

} // namespace velk
