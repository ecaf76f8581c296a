#include "common/colours.h"

#include <algorithm>

namespace velk {

namespace {
constexpr Rgb buttonFaceFallback{0xF0, 0xF0, 0xF0};
} // namespace

bool isSystemColour(std::uint32_t bgr)
{
    return (bgr & colour::systemColourFlag) != 0;
}

Rgb toRgb(std::uint32_t bgr)
{
    if (isSystemColour(bgr))
        return buttonFaceFallback;
    return Rgb{static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
               static_cast<int>((bgr >> 16) & 0xFF)};
}

std::uint32_t fromRgb(int red, int green, int blue)
{
    const auto byte = [](int v) { return static_cast<std::uint32_t>(std::clamp(v, 0, 255)); };
    return byte(red) | (byte(green) << 8) | (byte(blue) << 16);
}

QString styleSheetColour(std::uint32_t bgr)
{
    if (isSystemColour(bgr))
        return QStringLiteral("palette(button)");
    const Rgb rgb = toRgb(bgr);
    return QStringLiteral("#%1%2%3")
        .arg(rgb.red, 2, 16, QLatin1Char('0'))
        .arg(rgb.green, 2, 16, QLatin1Char('0'))
        .arg(rgb.blue, 2, 16, QLatin1Char('0'));
}

} // namespace velk
