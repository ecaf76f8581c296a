// The DX spotting window's help paragraphs, shown in the monitor when a source is chosen.
#include "spots/spotfeed.h"

namespace velk {

namespace {

const char* const generalHelp =
    "DX SPOTTING: this window connects the logger to one source of DX spots and shows everything received "
    "here. The last 50 posts are held regardless of band. On the band maps posts under 10 minutes old are "
    "yellow, 10 to 30 minutes white and 30 to 60 minutes grey. A right click on a band-map or spectrum-map "
    "spot "
    "tunes the rig (not in List mode).";
const char* const telnetHelp = "TELNET: connect to the Internet, enter the cluster's host and port, click "
                               "Open, then type your call sign "
                               "when the cluster asks for it and press Enter.";
const char* const tncHelp =
    "TNC: set the serial port, baud rate, parity, data bits, stop bits and handshaking from your modem's "
    "documentation. Ctrl+C or Esc sends the TNC command-mode character (without Enter). With \"List DX "
    "Only\" "
    "the window needs no connection to a node: it lists the spots heard on the channel and drops duplicates.";
const char* const agwHelp = "AGW PACKET ENGINE: install the AGW Packet Engine (or Dire Wolf, which offers "
                            "the same TCP port 8000) and "
                            "configure it for your sound card or TNC. Click Open; connect to a cluster node "
                            "with :C and its call (for "
                            "example :C K1TTT-5) and disconnect with :D. Esc types the colon.";
const char* const usageHelp =
    "USAGE: click Open, then Done. Choose None to restore the main window's former display.";
const char* const remarkHelp =
    "The TNC path is tested against a simulated TNC in command mode (CR line ends, Ctrl+C for command mode); "
    "a TNC with a command mode and a settable command character should work the same way.";

} // namespace

QString spotHelpText(SpotSource source)
{
    QStringList parts;
    switch (source) {
    case SpotSource::None:
        parts = {generalHelp, telnetHelp, tncHelp, agwHelp, usageHelp, remarkHelp};
        break;
    case SpotSource::Tnc:
        parts = {tncHelp, usageHelp, remarkHelp};
        break;
    case SpotSource::Telnet:
        parts = {telnetHelp, usageHelp};
        break;
    case SpotSource::Agw:
        parts = {agwHelp, usageHelp, remarkHelp};
        break;
    }
    return parts.join(QStringLiteral("\n\n"));
}

} // namespace velk
