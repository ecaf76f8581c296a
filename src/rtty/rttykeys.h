#pragma once
// The Windows virtual-key codes the RTTY terminal takes for the keys of the main window (F1 = 112,
// letters as their capitals, Enter = 13, numpad 1 = 97 ...), from Qt's keys and modifiers. Used
// only at the link to the terminal; the rest of the logger speaks Qt keys.
#include <Qt>

namespace velk {

// The codes the link itself looks at.
namespace windowsKey {
inline constexpr int escape = 27;
inline constexpr int numpad0 = 96;
inline constexpr int numpad9 = 105;
inline constexpr int f1 = 112;
inline constexpr int f9 = 120;
inline constexpr int f10 = 121;
inline constexpr int f11 = 122;
inline constexpr int f12 = 123;
inline constexpr int f13 = 124;
} // namespace windowsKey

// The code of a key as a US keyboard gives it (shifted symbols as their unshifted key, keypad keys
// by Qt::KeypadModifier); 0 for a key the terminal has no code for (it is not forwarded).
int windowsKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

} // namespace velk
