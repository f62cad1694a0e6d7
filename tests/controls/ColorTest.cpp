#include "controls/Color.h"

#include <gtest/gtest.h>

// RGB, hexadecimal text, names, and HLS conversions within one step;
// extreme luminance gives white or black.
TEST(Color, ConversionsAndNames)
{
    CColor color;
    color.SetRGB(255, 0, 128);
    EXPECT_STREQ(color.GetString(), "FF8000");
    EXPECT_EQ((unsigned long)color, 0x0080FFul);

    color.SetBlue(0x40);
    EXPECT_EQ((unsigned long)color, 0x4080FFul);
    EXPECT_TRUE(color.SetString("1a2B3c"));
    EXPECT_EQ(color.GetRed(), 0x1A);
    EXPECT_EQ(color.GetGreen(), 0x2B);
    EXPECT_EQ(color.GetBlue(), 0x3C);

    EXPECT_FALSE(color.SetString(nullptr));
    EXPECT_EQ((unsigned long)CColor::FromString("zz"), 0ul);
    EXPECT_EQ((unsigned long)CColor::FromString("FF0000"), 0x0000FFul);

    // A failure leaves black in both forms, also when HLS was the current one.
    color.SetHLS(120, 0.5f, 1);
    EXPECT_FALSE(color.SetString("zz"));
    EXPECT_EQ((unsigned long)color, 0ul);
    EXPECT_FLOAT_EQ(color.GetLuminance(), 0);

    EXPECT_EQ(CColor::GetNumNames(), 141);
    EXPECT_STREQ(CColor(0xFFFF00).GetName(), "cyan");
    EXPECT_STREQ(CColor(0xFF00FF).GetName(), "magenta");
    EXPECT_STREQ(CColor(0x0000FF).GetName(), "red");
    EXPECT_STREQ(CColor(0xED9564).GetName(), "cornflower");
    EXPECT_STREQ(CColor(0xD3D3D3).GetName(), "lightgrey");
    EXPECT_STREQ(CColor(0x030201).GetName(), "#010203");
    EXPECT_STREQ(CColor::GetNameFromIndex(0), "aliceblue");
    EXPECT_STREQ(CColor::GetNameFromIndex(140), "hermosa");
    EXPECT_EQ((unsigned long)CColor::GetColorFromIndex(140), 0x1C120Dul);
    EXPECT_STREQ(CColor::GetNameFromIndex(141), "");
    EXPECT_STREQ(CColor::GetNameFromIndex(-1), "");
    EXPECT_EQ((unsigned long)CColor::GetColorFromIndex(500), 0ul);

    // Pure red comes out at 360 degrees: only a hue above 360 is wrapped.
    color = CColor(0x0000FF);
    EXPECT_FLOAT_EQ(color.GetHue(), 360);
    EXPECT_FLOAT_EQ(color.GetSaturation(), 1);
    EXPECT_FLOAT_EQ(color.GetLuminance(), 0.5f);

    EXPECT_FLOAT_EQ(CColor(0x00FF00).GetHue(), 120); // green
    EXPECT_FLOAT_EQ(CColor(0xFF0000).GetHue(), 240); // blue
    color = CColor(0x808080);
    EXPECT_FLOAT_EQ(color.GetSaturation(), 0);
    EXPECT_FLOAT_EQ(color.GetHue(), 0);

    color.SetHLS(120, 0.5f, 1);
    EXPECT_EQ((unsigned long)color, 0x00FF00ul);
    color.SetHLS(0, 0.25f, 0);
    EXPECT_EQ(color.GetRed(), 63);
    color = CColor(0x336699);
    color.SetLuminance(1);
    EXPECT_EQ((unsigned long)color, 0xFFFFFFul);
    color = CColor(0x336699);
    color.SetLuminance(0);
    EXPECT_EQ((unsigned long)color, 0ul);

    // Through HLS and back, within one step.
    for (unsigned long value : {0x123456ul, 0xFEDCBAul, 0x00A0FFul, 0x7F7F00ul, 0x010203ul}) {
        CColor color(value);
        color.SetHue(color.GetHue());   // invalidates the RGB bytes
        const CColor original(value);
        EXPECT_NEAR(color.GetRed(), original.GetRed(), 1) << std::hex << value;
        EXPECT_NEAR(color.GetGreen(), original.GetGreen(), 1) << std::hex << value;
        EXPECT_NEAR(color.GetBlue(), original.GetBlue(), 1) << std::hex << value;
    }
}
