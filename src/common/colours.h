#pragma once
// Colour values as the log's settings keep them: &HBBGGRR (blue in the high byte, red in the low
// byte), Windows system colours with the high bit set. Plain C++ and QtCore only: windows turn a
// value into a style-sheet colour with styleSheetColour(), so the model never needs QtGui.
#include <QString>
#include <cstdint>

namespace velk {

namespace colour {
inline constexpr std::uint32_t statusNormal = 0xC0C000;
inline constexpr std::uint32_t dupeReport = 0x0000FF;
inline constexpr std::uint32_t buttonFace = 0x8000000F;
inline constexpr std::uint32_t keyboardRtty = 0xC0FFFF;
// The bit that marks a Windows system colour (0x80000000 | COLOR_xxx index).
inline constexpr std::uint32_t systemColourFlag = 0x80000000;
} // namespace colour

struct Rgb
{
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

// True for a Windows system colour (high bit set).
bool isSystemColour(std::uint32_t bgr);
// The red, green and blue of an &HBBGGRR value. Every system colour reads as the button face,
// for which the fixed light grey 0xF0F0F0 stands in.
Rgb toRgb(std::uint32_t bgr);
// The &HBBGGRR value of red, green and blue (each clamped to 0..255).
std::uint32_t fromRgb(int red, int green, int blue);
// The colour for a Qt style sheet: "#rrggbb", or "palette(button)" for a system colour (every
// system colour is shown as the button face).
QString styleSheetColour(std::uint32_t bgr);

} // namespace velk
