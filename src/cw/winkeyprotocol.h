#pragma once
// The WinKeyer host protocol: the bytes the host sends to the keyer (admin commands, settings,
// text) and the meaning of the bytes the keyer sends back. Stateless; the link moves the bytes.
#include <QByteArray>
#include <QChar>
#include <QString>
#include <cstdint>
#include <vector>

namespace velk::winkey {

// What the device takes; the encoders clamp to these.
inline constexpr int minSpeed = 5;
inline constexpr int maxSpeed = 99;
inline constexpr int minWeight = 10;
inline constexpr int maxWeight = 90;
inline constexpr int minRatio = 33;
inline constexpr int maxRatio = 66;
inline constexpr int maxLeadTail = 250; // 10 ms units
inline constexpr std::uint8_t echoProbe = 0x55;
// Sent behind each piece of text: its echo says the device has read everything before it. Not a
// character the device keys, so it never comes back as echoed text.
inline constexpr std::uint8_t flowProbe = 0x7E;
// The device's text buffer and the fill at which it raises XOFF (two-thirds).
inline constexpr int bufferSize = 128;
inline constexpr int xoffFill = 85;

int clampSpeed(int wpm);
int clampWeight(int weight);
int clampRatio(int ratio);
int clampLeadTail(int tenMs);

// Admin commands (prefix 0x00).
QByteArray echoTest(std::uint8_t probe = echoProbe); // 00 04 probe; the device answers probe
QByteArray hostOpen();                               // 00 02; the device answers its version
QByteArray hostClose();                              // 00 03

// Immediate commands.
QByteArray setSpeed(int wpm);                // 02 nn, 5-99 (0 would hand the speed to the knob)
QByteArray setWeight(int weight);            // 03 nn, 10-90
QByteArray setLeadTail(int lead, int tail);  // 04 a b, 0-250 each
QByteArray setPinConfig(std::uint8_t value); // 09 nn
QByteArray setMode(std::uint8_t value);      // 0E nn
QByteArray setRatio(int ratio);              // 17 nn, 33-66
QByteArray clearBuffer();                    // 0A
QByteArray backspace();                      // 08

// Buffered: two letters keyed as one character (a prosign).
QByteArray mergeLetters(char first, char second); // 1B a b

// The bytes that key one character of the keyer's text: a letter, digit, space or sign the
// device knows as itself; the prosign characters [ ] ; \ as merged letters (AR, SK, KN, CL); "-"
// as BT like the keyer's own table. Empty for anything without Morse ("!" marks, control
// characters, other signs): those never reach the device, where bytes below 0x20 are commands.
QByteArray encodeCharacter(QChar character);

// A byte from the device.
enum class ByteKind { Data, SpeedPot, Status, Unknown };

struct Status
{
    bool xoff = false;    // 0x01 buffer more than two-thirds full: hold the text
    bool breakIn = false; // 0x02 the paddles are in use
    bool busy = false;    // 0x04 sending Morse
    bool keyDown = false; // 0x08 key down (tune)
    bool wait = false;    // 0x10 waiting in a buffered command
    bool operator==(const Status&) const = default;
};

struct DeviceByte
{
    ByteKind kind = ByteKind::Data;
    std::uint8_t value = 0; // data: the byte; speed pot: 0-63 over the pot minimum; status: the byte
    bool operator==(const DeviceByte&) const = default;
};

// 110xxxxx status, 10xxxxxx speed pot, below 0x80 data (echo, version, echoed text), 111xxxxx
// unknown.
// Every message is one byte, so reads split or joined anywhere decode the same.
DeviceByte decodeByte(std::uint8_t byte);
std::vector<DeviceByte> decodeBytes(const QByteArray& bytes);
Status decodeStatus(std::uint8_t byte);
std::uint8_t encodeStatus(const Status& status);

} // namespace velk::winkey
