#include "rtty/rttykeys.h"

#include <algorithm>
#include <array>
#include <utility>

namespace velk {

namespace {

using KeyPair = std::pair<int, int>; // Qt key, Windows code

// The number pad, told apart by Qt::KeypadModifier. With Num Lock off its keys arrive as the
// cursor keys and take their codes from the main table, as on Windows.
constexpr std::array<KeyPair, 6> keypadKeys{{
    {Qt::Key_Asterisk, 106}, // VK_MULTIPLY
    {Qt::Key_Plus, 107},     // VK_ADD
    {Qt::Key_Minus, 109},    // VK_SUBTRACT
    {Qt::Key_Period, 110},   // VK_DECIMAL
    {Qt::Key_Comma, 110},    // the decimal key where the comma is the decimal mark
    {Qt::Key_Slash, 111},    // VK_DIVIDE
}};

constexpr std::array<KeyPair, 60> mainKeys{{
    {Qt::Key_Backspace, 8},
    {Qt::Key_Tab, 9},
    {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},
    {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},
    {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18},
    {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, windowsKey::escape},
    {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},
    {Qt::Key_Print, 44},
    {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},
    // Shift and a digit: the digit's key.
    {Qt::Key_ParenRight, '0'},
    {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_Meta, 91}, // VK_LWIN
    {Qt::Key_Menu, 93},
    {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
    // The punctuation keys, shifted or not.
    {Qt::Key_Semicolon, 186}, // VK_OEM_1
    {Qt::Key_Colon, 186},
    {Qt::Key_Equal, 187}, // VK_OEM_PLUS
    {Qt::Key_Plus, 187},
    {Qt::Key_Comma, 188}, // VK_OEM_COMMA
    {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189}, // VK_OEM_MINUS
    {Qt::Key_Underscore, 189},
    {Qt::Key_Period, 190}, // VK_OEM_PERIOD
    {Qt::Key_Greater, 190},
    {Qt::Key_Slash, 191}, // VK_OEM_2
    {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192}, // VK_OEM_3
    {Qt::Key_AsciiTilde, 192},
    {Qt::Key_BracketLeft, 219}, // VK_OEM_4
    {Qt::Key_BraceLeft, 219},
    {Qt::Key_Backslash, 220}, // VK_OEM_5
    {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221}, // VK_OEM_6
    {Qt::Key_BraceRight, 221},
    {Qt::Key_Apostrophe, 222}, // VK_OEM_7
    {Qt::Key_QuoteDbl, 222},
}};

template <size_t N> int lookUp(const std::array<KeyPair, N>& table, int qtKey)
{
    const auto found = std::find_if(table.begin(), table.end(),
                                    [qtKey](const KeyPair& pair) { return pair.first == qtKey; });
    return found == table.end() ? 0 : found->second;
}

} // namespace

int windowsKeyCode(int qtKey, Qt::KeyboardModifiers modifiers)
{
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (keypad && qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return windowsKey::numpad0 + (qtKey - Qt::Key_0);
    }
    if (keypad) {
        if (const int code = lookUp(keypadKeys, qtKey)) {
            return code;
        }
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return windowsKey::f1 + (qtKey - Qt::Key_F1);
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        return qtKey; // the same codes in both
    }
    return lookUp(mainKeys, qtKey);
}

} // namespace velk
