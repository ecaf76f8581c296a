#pragma once
// The Windows key codes the RTTY terminal expects for the keys of the main window (F1 = 112,
// letters as their capitals, Enter = 13 ...), from Qt's key values.
namespace velk {

// 0 for a key the terminal has no code for (it is not forwarded).
int windowsKeyCode(int qtKey);

} // namespace velk
