#include "common/colours.h"

#include "common/qtprinters.h"

#include <gtest/gtest.h>

using namespace velk;

TEST(Colours, ValueIsBlueGreenRedFromHighToLowByte)
{
    EXPECT_EQ(toRgb(0x0000FF), (Rgb{255, 0, 0}));
    EXPECT_EQ(toRgb(0x00FF00), (Rgb{0, 255, 0}));
    EXPECT_EQ(toRgb(0xFF0000), (Rgb{0, 0, 255}));
    EXPECT_EQ(toRgb(0x123456), (Rgb{0x56, 0x34, 0x12}));
    EXPECT_EQ(toRgb(colour::statusNormal), (Rgb{0x00, 0xC0, 0xC0}));
    EXPECT_EQ(toRgb(colour::keyboardRtty), (Rgb{0xFF, 0xFF, 0xC0}));
}

TEST(Colours, FromRgbIsTheInverse)
{
    EXPECT_EQ(fromRgb(255, 0, 0), colour::dupeReport);
    EXPECT_EQ(fromRgb(0x56, 0x34, 0x12), 0x123456u);
    for (std::uint32_t v : {0x000000u, 0xFFFFFFu, 0xC0C000u, 0x0080FFu, 0xC0FFFFu})
        EXPECT_EQ(fromRgb(toRgb(v).red, toRgb(v).green, toRgb(v).blue), v);
}

TEST(Colours, FromRgbClampsComponents)
{
    EXPECT_EQ(fromRgb(300, -5, 256), 0xFF00FFu);
}

TEST(Colours, SystemColoursReadAsButtonFace)
{
    EXPECT_TRUE(isSystemColour(colour::buttonFace));
    EXPECT_TRUE(isSystemColour(0x80000005));
    EXPECT_FALSE(isSystemColour(0xFFFFFF));
    EXPECT_EQ(toRgb(colour::buttonFace), (Rgb{0xF0, 0xF0, 0xF0}));
}

TEST(Colours, StyleSheetColour)
{
    EXPECT_EQ(styleSheetColour(0x0000FF), "#ff0000");
    EXPECT_EQ(styleSheetColour(0xC0C000), "#00c0c0");
    EXPECT_EQ(styleSheetColour(0x000000), "#000000");
    EXPECT_EQ(styleSheetColour(0x0A0B0C), "#0c0b0a");
    EXPECT_EQ(styleSheetColour(colour::buttonFace), "palette(button)");
}
