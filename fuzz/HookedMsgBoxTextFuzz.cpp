// Runs arbitrary text through the message box's markup: the leading
// "ExtraBtn" and "Colors" elements, the special tags a reader never sees,
// the list block and the bold runs of each display line. Checks that the
// cut text is a tail of the input, that a tag made for every button found
// parses back to the same button, and that the list block keeps its limit.
#include "controls/HookedMsgBoxText.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Names the failed check before aborting, so a crash report says which.
void CheckAt(bool condition, int line)
{
    if (condition)
        return;
    std::fprintf(stderr, "check failed at line %d\n", line);
    std::abort();
}
#define Check(condition) CheckAt((condition), __LINE__)

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CString text(reinterpret_cast<const char*>(data), static_cast<int>(size));
    const hooked_msgbox::LeadingMarkup markup = hooked_msgbox::ParseLeadingMarkup(text);
    Check(markup.rest.GetLength() <= text.GetLength());
    Check(text.Right(markup.rest.GetLength()) == markup.rest);
    for (const hooked_msgbox::ExtraButton& button : markup.buttons) {
        Check(button.id != 0 && !button.caption.IsEmpty());
        // A caption reaches the tag maker as a C string.
        if (static_cast<int>(std::strlen(button.caption.GetString())) != button.caption.GetLength())
            continue;
        const auto again = hooked_msgbox::ParseLeadingMarkup(
            hooked_msgbox::CreateExtraButtonTag(button.id, button.caption));
        Check(again.buttons.size() == 1 && again.buttons[0].caption == button.caption);
    }
    const CString read = hooked_msgbox::RemoveSpecialTags(text);
    Check(read.Find("<b>") < 0 && read.Find("</lb>") < 0);
    Check(hooked_msgbox::RemoveListMarkers(markup.rest).Find("<lb>") < 0);
    const hooked_msgbox::LineLayout layout = hooked_msgbox::LayoutLines(markup.rest);
    Check(layout.BlockSize() <= hooked_msgbox::kMaxListRows);
    Check(layout.blockLines.size() >= static_cast<std::size_t>(layout.BlockSize()));
    for (const CString& line : layout.lines)
        for (const hooked_msgbox::TextRun& run : hooked_msgbox::SplitBoldRuns(line))
            Check(run.text.Find(run.bold ? "<b>" : "</b>") < 0);
    return 0;
}
