#include "controls/HookedMsgBoxText.h"

#include "xml/XML.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

namespace hooked_msgbox {

namespace {

// The document's own escaping of attribute values.
class CMarkupEscape : public CXML {
public:
    static CString Attribute(const char* text) { return x_TextToDoc(text, true); }
};

// The text after the current element of the document.
CString TextAfterElement(const CXML& doc)
{
    int start = 0;
    int end = 0;
    if (!doc.GetOffsets(start, end))
        return doc.GetDoc();
    const CString whole = doc.GetDoc();
    return whole.Mid(end + 1);
}

// A decimal attribute as an unsigned 32-bit value; "" stays unset.
bool ReadDecimal(const CString& value, DWORD& out)
{
    if (value.IsEmpty())
        return false;
    out = static_cast<DWORD>(std::strtoul(value.GetString(), nullptr, 10));
    return true;
}

// Removes the markers until none is left, also those that a removal joins
// together ("<l<lb>b>").
void RemoveMarkers(CString& text, std::initializer_list<const char*> markers)
{
    for (bool removed = true; removed;) {
        removed = false;
        for (const char* marker : markers)
            removed = text.Replace(marker, "") > 0 || removed;
    }
}

} // namespace

CString CreateExtraButtonTag(UINT id, const char* caption)
{
    CString tag;
    tag.Format("<%s %s=\"%d\" %s=\"%s\"/>", "ExtraBtn", "id", static_cast<int>(id), "caption",
               CMarkupEscape::Attribute(caption != nullptr ? caption : "").GetString());
    return tag;
}

LeadingMarkup ParseLeadingMarkup(const CString& text)
{
    LeadingMarkup out;
    out.rest = text;
    CXML doc;
    for (;;) {
        doc.SetDoc(out.rest);
        if (!doc.FindElem("ExtraBtn"))
            break;
        ExtraButton button;
        button.caption = doc.GetAttrib("caption");
        DWORD id = 0;
        ReadDecimal(doc.GetAttrib("id"), id);
        button.id = id;
        out.rest = TextAfterElement(doc);
        if (button.id != 0 && !button.caption.IsEmpty())
            out.buttons.push_back(button);
    }
    doc.ResetPos();
    if (doc.FindElem("Colors")) {
        DWORD color = 0;
        if (ReadDecimal(doc.GetAttrib("BorderClr"), color)) {
            out.borderColor = color;
            out.hasBorderColor = true;
        }
        if (ReadDecimal(doc.GetAttrib("OrdBkgndClr"), color))
            out.orderBkgndColor = color;
        out.rest = TextAfterElement(doc);
    }
    return out;
}

CString RemoveListMarkers(const CString& text)
{
    CString out = text;
    RemoveMarkers(out, {"<lb>", "</lb>"});
    return out;
}

CString RemoveSpecialTags(const CString& text)
{
    CString out = text;
    const int close = out.ReverseFind("/>");
    if (close >= 0)
        out = out.Mid(close + 2);
    RemoveMarkers(out, {"<lb>", "</lb>", "<b>", "</b>"});
    return out;
}

CString LineLayout::Joined() const
{
    CString out;
    for (const CString& line : lines) {
        CString plain = line;
        plain.TrimRight("\r\n");
        out += plain;
        out += "\n";
    }
    return out;
}

namespace {

std::vector<CString> SplitLines(const CString& text)
{
    std::vector<CString> lines;
    int from = 0;
    for (;;) {
        const int feed = text.Find('\n', from);
        if (feed < 0) {
            lines.push_back(text.Mid(from));
            return lines;
        }
        lines.push_back(text.Mid(from, feed - from));
        from = feed + 1;
    }
}

// Moves lines [first, last] into the block, last line first, leaving
// empty placeholders behind.
void CollectBlock(LineLayout& layout, std::vector<CString>& collected)
{
    for (int i = layout.last; i >= layout.first; --i) {
        collected.push_back(layout.lines[static_cast<size_t>(i)]);
        layout.lines[static_cast<size_t>(i)].Empty();
    }
}

void FindBlock(LineLayout& layout, bool hasOpen)
{
    const int count = static_cast<int>(layout.lines.size());
    int close = -1;
    for (int i = count - 1; i >= 0 && close < 0; --i)
        if (layout.lines[static_cast<size_t>(i)].Find("</lb>") >= 0)
            close = i;
    if (close < 0)
        return;
    layout.lines[static_cast<size_t>(close)].Replace("</lb>", "");
    layout.last = close;
    layout.first = close;
    if (hasOpen) {
        // Up to the line that opens the block, or the first line.
        layout.first = 0;
        for (int i = close; i >= 0; --i) {
            CString& line = layout.lines[static_cast<size_t>(i)];
            if (line.Find("<lb>") >= 0) {
                line.Replace("<lb>", "");
                layout.first = i;
                break;
            }
        }
    }
    std::vector<CString> collected;
    CollectBlock(layout, collected);
    layout.blockLines.assign(collected.rbegin(), collected.rend());
}

} // namespace

LineLayout LayoutLines(const CString& text)
{
    LineLayout layout;
    layout.lines = SplitLines(text);
    if (text.Find("</lb>") < 0)
        return layout;
    FindBlock(layout, text.Find("<lb>") >= 0);
    if (layout.BlockSize() > kMaxListRows) {
        const auto from = layout.lines.begin() + layout.first + kMaxListRows;
        layout.lines.erase(from, layout.lines.begin() + layout.last + 1);
        layout.last = layout.first + kMaxListRows - 1;
    }
    return layout;
}

namespace {

// A run never shows a marker: a bold run drops a nested "<b>", a normal run
// a "</b>" that closes nothing.
void AddRun(std::vector<TextRun>& runs, CString text, bool bold)
{
    RemoveMarkers(text, {bold ? "<b>" : "</b>"});
    if (!text.IsEmpty())
        runs.push_back({text, bold});
}

} // namespace

std::vector<TextRun> SplitBoldRuns(const CString& line)
{
    std::vector<TextRun> runs;
    int from = 0;
    while (from < line.GetLength()) {
        const int open = line.Find("<b>", from);
        if (open < 0)
            break;
        AddRun(runs, line.Mid(from, open - from), false);
        const int close = line.Find("</b>", open + 3);
        const int end = close < 0 ? line.GetLength() : close;
        AddRun(runs, line.Mid(open + 3, end - open - 3), true);
        from = close < 0 ? line.GetLength() : close + 4;
    }
    if (from < line.GetLength())
        AddRun(runs, line.Mid(from), false);
    return runs;
}

BandColors SampleBand(int height, const std::function<COLORREF(int)>& pixel)
{
    BandColors out;
    out.top = height > 0 ? pixel(0) : kNoColor;
    if (out.top == kNoColor)
        return out;
    out.valid = true;
    for (int y = 1; y < height; ++y) {
        const COLORREF color = pixel(y);
        if (color != kNoColor && color != out.top) {
            out.band = color;
            break;
        }
    }
    return out;
}

namespace {

void ShiftAll(ExtraButtonPlan& plan, int dx)
{
    plan.shift += dx;
    for (CRect& rect : plan.extras)
        rect.OffsetRect(dx, 0);
}

int Leftmost(const ExtraButtonPlan& plan, const CRect& firstNative)
{
    return plan.extras.empty() ? firstNative.left + plan.shift : plan.extras.back().left;
}

} // namespace

ExtraButtonPlan PlanExtraButtons(const ExtraButtonInput& in)
{
    ExtraButtonPlan plan;
    if (in.native.empty() || in.captionWidth.empty())
        return plan;
    int gap = 10;
    if (in.native.size() >= 2) {
        const int between = in.native[1].left - in.native[0].right;
        if (between >= 1 && between <= 20)
            gap = between;
    }
    const CRect& first = in.native.front();
    const CRect& lastNative = in.native.back();
    const int standard = first.Width();
    const int middle = (first.left + lastNative.right) / 2;
    const bool centred = std::abs(middle - in.clientWidth / 2) <= 5;

    CRect rect = first;
    int taken = 0;
    for (const int width : in.captionWidth) {
        const int w = std::max(standard, width);
        rect.right = rect.left + w;
        rect.OffsetRect(-(w + gap), 0);
        plan.extras.push_back(rect);
        taken += w + gap;
        rect.right = rect.left + standard;
    }
    if (centred) {
        ShiftAll(plan, taken / 2);
        const int left = Leftmost(plan, first);
        if (left < 10) {
            ShiftAll(plan, 10 - left);
            plan.widen = 2 * (10 - left);
        }
        return plan;
    }
    const int limit = gap + in.borderWidth;
    const int left = Leftmost(plan, first);
    if (left < limit) {
        const int s = limit - left;
        ShiftAll(plan, s);
        plan.widen = s + std::max<int>(0, lastNative.right - (in.clientWidth - limit));
    }
    return plan;
}

} // namespace hooked_msgbox
