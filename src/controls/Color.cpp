#include "controls/Color.h"

#include <algorithm>
#include <cstdio>

namespace {

struct NamedColor {
    unsigned long color;
    const char* name;
};

// The web colour keywords with their values, in the order callers index them.
// "cornflower" is cornflower blue, "lightgrey" is spelled with an "e", and
// "hermosa" is the product's own dark blue.
const NamedColor m_namedColor[] = {
    {0xFFF8F0, "aliceblue"},
    {0xD7EBFA, "antiquewhite"},
    {0xFFFF00, "aqua"},
    {0xD4FF7F, "aquamarine"},
    {0xFFFFF0, "azure"},
    {0xDCF5F5, "beige"},
    {0xC4E4FF, "bisque"},
    {0x000000, "black"},
    {0xCDEBFF, "blanchedalmond"},
    {0xFF0000, "blue"},
    {0xE22B8A, "blueviolet"},
    {0x2A2AA5, "brown"},
    {0x87B8DE, "burlywood"},
    {0xA09E5F, "cadetblue"},
    {0x00FF7F, "chartreuse"},
    {0x1E69D2, "chocolate"},
    {0x507FFF, "coral"},
    {0xED9564, "cornflower"},
    {0xDCF8FF, "cornsilk"},
    {0x3C14DC, "crimson"},
    {0xFFFF00, "cyan"},
    {0x8B0000, "darkblue"},
    {0x8B8B00, "darkcyan"},
    {0x0B86B8, "darkgoldenrod"},
    {0xA9A9A9, "darkgray"},
    {0x006400, "darkgreen"},
    {0x6BB7BD, "darkkhaki"},
    {0x8B008B, "darkmagenta"},
    {0x2F6B55, "darkolivegreen"},
    {0x008CFF, "darkorange"},
    {0xCC3299, "darkorchid"},
    {0x00008B, "darkred"},
    {0x7A96E9, "darksalmon"},
    {0x8FBC8F, "darkseagreen"},
    {0x8B3D48, "darkslateblue"},
    {0x4F4F2F, "darkslategray"},
    {0xD1CE00, "darkturquoise"},
    {0xD30094, "darkviolet"},
    {0x9314FF, "deeppink"},
    {0xFFBF00, "deepskyblue"},
    {0x696969, "dimgray"},
    {0xFF901E, "dodgerblue"},
    {0x2222B2, "firebrick"},
    {0xF0FAFF, "floralwhite"},
    {0x228B22, "forestgreen"},
    {0xFF00FF, "fuchsia"},
    {0xDCDCDC, "gainsboro"},
    {0xFFF8F8, "ghostwhite"},
    {0x00D7FF, "gold"},
    {0x20A5DA, "goldenrod"},
    {0x808080, "gray"},
    {0x008000, "green"},
    {0x2FFFAD, "greenyellow"},
    {0xF0FFF0, "honeydew"},
    {0xB469FF, "hotpink"},
    {0x5C5CCD, "indianred"},
    {0x82004B, "indigo"},
    {0xF0FFFF, "ivory"},
    {0x8CE6F0, "khaki"},
    {0xFAE6E6, "lavender"},
    {0xF5F0FF, "lavenderblush"},
    {0x00FC7C, "lawngreen"},
    {0xCDFAFF, "lemonchiffon"},
    {0xE6D8AD, "lightblue"},
    {0x8080F0, "lightcoral"},
    {0xFFFFE0, "lightcyan"},
    {0xD2FAFA, "lightgoldenrodyellow"},
    {0x90EE90, "lightgreen"},
    {0xD3D3D3, "lightgrey"},
    {0xC1B6FF, "lightpink"},
    {0x7AA0FF, "lightsalmon"},
    {0xAAB220, "lightseagreen"},
    {0xFACE87, "lightskyblue"},
    {0x998877, "lightslategray"},
    {0xDEC4B0, "lightsteelblue"},
    {0xE0FFFF, "lightyellow"},
    {0x00FF00, "lime"},
    {0x32CD32, "limegreen"},
    {0xE6F0FA, "linen"},
    {0xFF00FF, "magenta"},
    {0x000080, "maroon"},
    {0xAACD66, "mediumaquamarine"},
    {0xCD0000, "mediumblue"},
    {0xD355BA, "mediumorchid"},
    {0xDB7093, "mediumpurple"},
    {0x71B33C, "mediumseagreen"},
    {0xEE687B, "mediumslateblue"},
    {0x9AFA00, "mediumspringgreen"},
    {0xCCD148, "mediumturquoise"},
    {0x8515C7, "mediumvioletred"},
    {0x701919, "midnightblue"},
    {0xFAFFF5, "mintcream"},
    {0xE1E4FF, "mistyrose"},
    {0xB5E4FF, "moccasin"},
    {0xADDEFF, "navajowhite"},
    {0x800000, "navy"},
    {0xE6F5FD, "oldlace"},
    {0x008080, "olive"},
    {0x238E6B, "olivedrab"},
    {0x00A5FF, "orange"},
    {0x0045FF, "orangered"},
    {0xD670DA, "orchid"},
    {0xAAE8EE, "palegoldenrod"},
    {0x98FB98, "palegreen"},
    {0xEEEEAF, "paleturquoise"},
    {0x9370DB, "palevioletred"},
    {0xD5EFFF, "papayawhip"},
    {0xB9DAFF, "peachpuff"},
    {0x3F85CD, "peru"},
    {0xCBC0FF, "pink"},
    {0xDDA0DD, "plum"},
    {0xE6E0B0, "powderblue"},
    {0x800080, "purple"},
    {0x0000FF, "red"},
    {0x8F8FBC, "rosybrown"},
    {0xE16941, "royalblue"},
    {0x13458B, "saddlebrown"},
    {0x7280FA, "salmon"},
    {0x60A4F4, "sandybrown"},
    {0x578B2E, "seagreen"},
    {0xEEF5FF, "seashell"},
    {0x2D52A0, "sienna"},
    {0xC0C0C0, "silver"},
    {0xEBCE87, "skyblue"},
    {0xCD5A6A, "slateblue"},
    {0x908070, "slategray"},
    {0xFAFAFF, "snow"},
    {0x7FFF00, "springgreen"},
    {0xB48246, "steelblue"},
    {0x8CB4D2, "tan"},
    {0x808000, "teal"},
    {0xD8BFD8, "thistle"},
    {0x4763FF, "tomato"},
    {0xD0E040, "turquoise"},
    {0xEE82EE, "violet"},
    {0xB3DEF5, "wheat"},
    {0xFFFFFF, "white"},
    {0xF5F5F5, "whitesmoke"},
    {0x00FFFF, "yellow"},
    {0x32CD9A, "yellowgreen"},
    {0x1C120D, "hermosa"},
};

constexpr int kNamedColors = int(sizeof m_namedColor / sizeof m_namedColor[0]);

// One channel of the HLS to RGB conversion, as a fraction of full scale.
float Channel(float m1, float m2, float hue)
{
    if (hue > 360)
        hue -= 360;
    if (hue < 0)
        hue += 360;
    if (hue < 60)
        return m1 + (m2 - m1) * hue / 60;
    if (hue < 180)
        return m2;
    if (hue < 240)
        return m1 + (m2 - m1) * (240 - hue) / 60;
    return m1;
}

unsigned char ToByte(float fraction)
{
    const float scaled = fraction * 255;
    return scaled <= 0 ? 0 : (scaled >= 255 ? 255 : (unsigned char)scaled);
}

} // namespace

CColor::CColor(unsigned long color)
{
    m_color[0] = (unsigned char)(color & 0xFF);
    m_color[1] = (unsigned char)((color >> 8) & 0xFF);
    m_color[2] = (unsigned char)((color >> 16) & 0xFF);
}

CColor::operator unsigned long() const
{
    ToRGB();
    return m_color[0] | (unsigned long)m_color[1] << 8 | (unsigned long)m_color[2] << 16;
}

int CColor::GetRed() const
{
    ToRGB();
    return m_color[0];
}

int CColor::GetGreen() const
{
    ToRGB();
    return m_color[1];
}

int CColor::GetBlue() const
{
    ToRGB();
    return m_color[2];
}

void CColor::SetRed(int red)
{
    ToRGB();
    m_color[0] = (unsigned char)red;
    m_bIsHLS = false;
}

void CColor::SetGreen(int green)
{
    ToRGB();
    m_color[1] = (unsigned char)green;
    m_bIsHLS = false;
}

void CColor::SetBlue(int blue)
{
    ToRGB();
    m_color[2] = (unsigned char)blue;
    m_bIsHLS = false;
}

void CColor::SetRGB(int red, int blue, int green)
{
    m_color[0] = (unsigned char)red;
    m_color[1] = (unsigned char)green;
    m_color[2] = (unsigned char)blue;
    m_bIsRGB = true;
    m_bIsHLS = false;
}

float CColor::GetHue() const
{
    ToHLS();
    return m_hue;
}

float CColor::GetSaturation() const
{
    ToHLS();
    return m_saturation;
}

float CColor::GetLuminance() const
{
    ToHLS();
    return m_luminance;
}

void CColor::SetHue(float hue)
{
    ToHLS();
    m_hue = hue;
    m_bIsRGB = false;
}

void CColor::SetSaturation(float saturation)
{
    ToHLS();
    m_saturation = saturation;
    m_bIsRGB = false;
}

void CColor::SetLuminance(float luminance)
{
    ToHLS();
    m_luminance = luminance;
    m_bIsRGB = false;
}

void CColor::SetHLS(float hue, float luminance, float saturation)
{
    m_hue = hue;
    m_luminance = luminance;
    m_saturation = saturation;
    m_bIsHLS = true;
    m_bIsRGB = false;
}

void CColor::ToHLS() const
{
    if (m_bIsHLS)
        return;
    const float red = m_color[0], green = m_color[1], blue = m_color[2];
    const float mx = std::max({red, green, blue});
    const float mn = std::min({red, green, blue});
    m_luminance = (mx + mn) / 510;
    if (mx == mn) {
        m_saturation = 0;
        m_hue = 0;
    } else {
        const float d = mx - mn;
        m_saturation = m_luminance <= 0.5f ? d / (mx + mn) : d / (510 - mx - mn);
        const float rc = (mx - red) / d, gc = (mx - green) / d, bc = (mx - blue) / d;
        if (red == mx)
            m_hue = (bc + 6 - gc) * 60;
        if (green == mx)
            m_hue = (rc + 2 - bc) * 60;
        if (blue == mx)
            m_hue = (gc + 4 - rc) * 60;
        if (m_hue > 360)
            m_hue -= 360;
    }
    m_bIsHLS = true;
}

void CColor::ToRGB() const
{
    if (m_bIsRGB)
        return;
    if (m_saturation == 0) {
        m_color[0] = m_color[1] = m_color[2] = ToByte(m_luminance);
    } else {
        const float m2 = m_luminance <= 0.5f ? m_luminance * (1 + m_saturation)
                                             : m_luminance + m_saturation - m_luminance * m_saturation;
        const float m1 = 2 * m_luminance - m2;
        m_color[0] = ToByte(Channel(m1, m2, m_hue + 120));
        m_color[1] = ToByte(Channel(m1, m2, m_hue));
        m_color[2] = ToByte(Channel(m1, m2, m_hue - 120));
    }
    m_bIsRGB = true;
}

CString CColor::GetString() const
{
    ToRGB();
    CString text;
    text.Format("%02X%02X%02X", m_color[0], m_color[1], m_color[2]);
    return text;
}

bool CColor::SetString(const char* text)
{
    unsigned red = 0, green = 0, blue = 0;
    // A text that does not give three numbers makes the colour black, in
    // both forms: only the RGB bytes are current afterwards.
    const bool read = text != nullptr && std::sscanf(text, "%2x%2x%2x", &red, &green, &blue) == 3;
    if (!read) {
        red = green = blue = 0;
    }
    m_color[0] = (unsigned char)red;
    m_color[1] = (unsigned char)green;
    m_color[2] = (unsigned char)blue;
    m_bIsRGB = true;
    m_bIsHLS = false;
    return read;
}

CColor CColor::FromString(const char* text)
{
    CColor color;
    color.SetString(text);
    return color;
}

CString CColor::GetName() const
{
    const unsigned long value = *this;
    for (int i = kNamedColors - 1; i >= 0; --i) {
        if (m_namedColor[i].color == value)
            return m_namedColor[i].name;
    }
    return "#" + GetString();
}

int CColor::GetNumNames()
{
    return kNamedColors;
}

const char* CColor::GetNameFromIndex(int index)
{
    return index >= 0 && index < kNamedColors ? m_namedColor[index].name : "";
}

CColor CColor::GetColorFromIndex(int index)
{
    return CColor(index >= 0 && index < kNamedColors ? m_namedColor[index].color : 0);
}
