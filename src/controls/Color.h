// CColor: one colour held as red-green-blue bytes and as hue-luminance-
// saturation floats, converted lazily, with web colour names and hex text.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"

class ORV_API CColor {
public:
    // From an RGB colour value (0x00BBGGRR).
    CColor(unsigned long color = 0);

    operator unsigned long() const;

    int GetRed() const;
    int GetGreen() const;
    int GetBlue() const;
    void SetRed(int red);
    void SetGreen(int green);
    void SetBlue(int blue);
    // Takes its arguments as red, blue, green: the second goes to the blue
    // byte and the third to the green byte.
    void SetRGB(int red, int blue, int green);

    float GetHue() const;
    float GetSaturation() const;
    float GetLuminance() const;
    void SetHue(float hue);
    void SetSaturation(float saturation);
    void SetLuminance(float luminance);
    void SetHLS(float hue, float luminance, float saturation);

    // Six upper-case hexadecimal digits: red, green, blue.
    CString GetString() const;
    // Reads three two-digit hexadecimal numbers as red, green and blue.
    // Text that does not yield three numbers makes the colour black and
    // returns false.
    bool SetString(const char* text);
    static CColor FromString(const char* text);

    // The colour's web name, or "#" and its hexadecimal text.
    CString GetName() const;
    static int GetNumNames();
    // An index outside 0 to GetNumNames() - 1 gives the empty name and black.
    static const char* GetNameFromIndex(int index);
    static CColor GetColorFromIndex(int index);

private:
    void ToRGB() const;
    void ToHLS() const;

    // Conversions happen on reads, so the cached halves are mutable.
    mutable unsigned char m_color[4] {};
    mutable float m_hue { 0 };
    mutable float m_saturation { 0 };
    mutable float m_luminance { 0 };
    mutable bool m_bIsRGB { true };
    mutable bool m_bIsHLS { false };
};
