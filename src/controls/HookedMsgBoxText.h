// The message box's text markup, without windows: the extra-button element,
// the leading "ExtraBtn" and "Colors" elements, the list-block and bold-run
// markers, the colour band sampled from the
// native box's painting and the placement of the extra buttons.
#pragma once

#include "OrvApi.h"
#include "framework/Geometry.h"
#include "framework/String.h"
#include "base/Types.h"

#include <functional>
#include <vector>

#if !defined(_WIN32)
using COLORREF = DWORD; // 0x00BBGGRR, as on Windows
#endif

namespace hooked_msgbox {

// "No colour" for the border, background and band colours.
inline constexpr COLORREF kNoColor = static_cast<COLORREF>(-1);
// The most rows a list block shows; longer blocks scroll.
inline constexpr int kMaxListRows = 10;

struct ExtraButton {
    UINT id = 0;
    CString caption;
};

// What the leading elements of a text ask for, and the text after them.
struct LeadingMarkup {
    std::vector<ExtraButton> buttons; // id nonzero and caption not empty
    COLORREF borderColor = kNoColor;
    COLORREF orderBkgndColor = kNoColor;
    bool hasBorderColor = false;
    CString rest; // the text after the last element taken, markers kept
};

// The self-closing "ExtraBtn" element for a button; the caption is escaped
// as an attribute value, so quotes and '<' in it survive.
ORV_API CString CreateExtraButtonTag(UINT id, const char* caption);
// Takes the leading "ExtraBtn" elements, then at most one "Colors" element.
ORV_API LeadingMarkup ParseLeadingMarkup(const CString& text);
// The text without any "<lb>" or "</lb>".
ORV_API CString RemoveListMarkers(const CString& text);
// The text as a user reads it: everything up to the last "/>" goes, then
// every "<lb>", "</lb>", "<b>" and "</b>".
ORV_API CString RemoveSpecialTags(const CString& text);

// The display lines of the text static and its list block.
struct ORV_API LineLayout {
    std::vector<CString> lines;      // display lines; block lines are empty
    std::vector<CString> blockLines; // in text order
    int first = -1;                  // first and last block line; -1 without a block
    int last = -1;
    bool HasBlock() const { return first >= 0; }
    int BlockSize() const { return HasBlock() ? last - first + 1 : 0; }
    // The lines joined, each ending in exactly one line feed.
    CString Joined() const;
};
ORV_API LineLayout LayoutLines(const CString& text);

// A line's runs in the normal and the bold font.
struct TextRun {
    CString text;
    bool bold = false;
};
ORV_API std::vector<TextRun> SplitBoldRuns(const CString& line);

// The colours sampled down column 0 of the native box: the top pixel, and
// the first pixel of another colour below it (kNoColor when none).
struct BandColors {
    COLORREF top = kNoColor;
    COLORREF band = kNoColor;
    bool valid = false; // false when the top pixel could not be read
};
// pixel(y) reads column 0 at row y and answers kNoColor when it cannot.
ORV_API BandColors SampleBand(int height, const std::function<COLORREF(int)>& pixel);
// The band starts as far above the buttons as the reference line lies below
// them.
inline int BandTop(int buttonTop, int buttonBottom, int reference)
{
    return buttonTop - (reference - buttonBottom);
}

// Where the extra buttons go, left of the native buttons.
struct ExtraButtonPlan {
    std::vector<CRect> extras; // one per extra button, in order
    int shift = 0;             // every button moves right by this
    int widen = 0;             // the box widens by this
};
struct ExtraButtonInput {
    std::vector<CRect> native;     // the native buttons, sorted by left edge
    std::vector<int> captionWidth; // width of "M<caption>M" per extra button
    int clientWidth = 0;
    int borderWidth = 0; // nonzero when a border colour is set
};
ORV_API ExtraButtonPlan PlanExtraButtons(const ExtraButtonInput& in);

} // namespace hooked_msgbox
