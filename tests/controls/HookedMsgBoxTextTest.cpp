// The message box's markup without windows: extra-button elements, the
// leading elements, special tags, list blocks, bold runs, the band colours and the
// placement of extra buttons.
#include "controls/HookedMsgBoxText.h"

#include <gtest/gtest.h>

#include <string>

using namespace hooked_msgbox;

// The extra-button tag escapes its caption, leading elements are taken in
// order, and removing tags leaves what a user reads.
TEST(HookedMsgBoxText, ExtraButtonTagsLeadingElementsAndPlainText)
{
    EXPECT_STREQ(CreateExtraButtonTag(101, "Retry later").GetString(),
                 "<ExtraBtn id=\"101\" caption=\"Retry later\"/>");
    EXPECT_STREQ(CreateExtraButtonTag(102, "Say \"<no>\" & go").GetString(),
                 "<ExtraBtn id=\"102\" caption=\"Say &quot;&lt;no&gt;&quot; &amp; go\"/>");
    // The escaped caption reads back whole.
    const LeadingMarkup parsed = ParseLeadingMarkup(CreateExtraButtonTag(102, "Say \"<no>\" & go") + "Text");
    ASSERT_EQ(parsed.buttons.size(), 1u);
    EXPECT_STREQ(parsed.buttons[0].caption.GetString(), "Say \"<no>\" & go");
    EXPECT_STREQ(parsed.rest.GetString(), "Text");
    struct Case { const char* text; size_t buttons; COLORREF border; COLORREF background; const char* rest; };
    const Case cases[] = {
        {"Plain text", 0, kNoColor, kNoColor, "Plain text"},
        {"<ExtraBtn id=\"100\" caption=\"A\"/><ExtraBtn id=\"101\" caption=\"B\"/>Msg", 2, kNoColor, kNoColor, "Msg"},
        // Id 0 and an empty caption are cut from the text but make no button.
        {"<ExtraBtn id=\"0\" caption=\"A\"/><ExtraBtn id=\"101\" caption=\"\"/>Msg", 0, kNoColor, kNoColor, "Msg"},
        {"<ExtraBtn id=\"100\" caption=\"A\"/><Colors BorderClr=\"255\" OrdBkgndClr=\"65280\"/>\nMsg <b>x</b>", 1,
         255, 65280, "\nMsg <b>x</b>"},
        {"<Colors BorderClr=\"\" OrdBkgndClr=\"16711680\"/>Msg", 0, kNoColor, 16711680, "Msg"},
        // Not markup at all: the text stays.
        {"a < b and c > d", 0, kNoColor, kNoColor, "a < b and c > d"},
    };
    for (const Case& c : cases) {
        const LeadingMarkup parsed = ParseLeadingMarkup(c.text);
        EXPECT_EQ(parsed.buttons.size(), c.buttons) << c.text;
        EXPECT_EQ(parsed.borderColor, c.border) << c.text;
        EXPECT_EQ(parsed.orderBkgndColor, c.background) << c.text;
        EXPECT_STREQ(parsed.rest.GetString(), c.rest) << c.text;
    }

    const struct { const char* text; const char* read; } tags[] = {
        {"<ExtraBtn id=\"101\" caption=\"Go\"/>Order <b>rejected</b>.", "Order rejected."},
        {"<lb>one\ntwo</lb>", "one\ntwo"},
        {"before a/> inside the message", " inside the message"},
        {"no tags", "no tags"},
        // A removal that joins a new marker removes that one too.
        {"x<l<lb>b>y</</b>b>", "xy"},
    };
    for (const auto& c : tags)
        EXPECT_STREQ(RemoveSpecialTags(c.text).GetString(), c.read) << c.text;
    EXPECT_STREQ(RemoveListMarkers("A\n<lb>x\ny</lb>\nB").GetString(), "A\nx\ny\nB");
}

TEST(HookedMsgBoxText, ListBlockKeepsAtMostTenPlaceholderLinesAndItsEdges)
{
    CString text = "Head\n<lb>";
    for (int i = 1; i <= 25; ++i) {
        CString line;
        line.Format("line %d%s\n", i, i == 25 ? "</lb>" : "");
        text += line;
    }
    text += "Tail";
    const LineLayout layout = LayoutLines(text);
    EXPECT_EQ(layout.BlockSize(), 10);
    ASSERT_EQ(layout.blockLines.size(), 25u);
    EXPECT_STREQ(layout.blockLines.front().GetString(), "line 1");
    EXPECT_STREQ(layout.blockLines.back().GetString(), "line 25");
    EXPECT_STREQ(layout.Joined().GetString(), "Head\n\n\n\n\n\n\n\n\n\n\nTail\n");
    // A closing marker without an opening one makes a one-line block, and so
    // do both markers on one line; without a closing marker there is no block,
    // and an empty line stays a line.
    const struct { const char* text; int first; const char* block; } cases[] = {
        {"a\nb</lb>\nc", 1, "b"}, {"<lb>only</lb>", 0, "only"}};
    for (const auto& c : cases) {
        const LineLayout edge = LayoutLines(c.text);
        EXPECT_EQ(edge.first, c.first) << c.text;
        EXPECT_EQ(edge.BlockSize(), 1) << c.text;
        ASSERT_EQ(edge.blockLines.size(), 1u) << c.text;
        EXPECT_STREQ(edge.blockLines[0].GetString(), c.block);
    }
    const LineLayout none = LayoutLines("<lb>x\n\ny");
    EXPECT_FALSE(none.HasBlock());
    EXPECT_STREQ(none.Joined().GetString(), "<lb>x\n\ny\n");
}

// Each run as its text after "*" when bold, each followed by "|". Markers
// never show: a nested opening or a closing that closes nothing.
// Bold runs alternate, band colours come from column zero, and extra
// buttons stand left of the native ones.
TEST(HookedMsgBoxText, BoldRunsBandsAndExtraButtonPlaces)
{
    const struct { const char* line; const char* runs; } cases[] = {
        {"Sell <b>100</b> at <b>market", "Sell |*100| at |*market|"}, {"", ""}, {"a</b><b>b<b>c</b>", "a|*bc|"}};
    for (const auto& c : cases) {
        std::string runs;
        for (const TextRun& run : SplitBoldRuns(c.line))
            runs += std::string(run.bold ? "*" : "") + run.text.GetString() + "|";
        EXPECT_EQ(runs, c.runs) << c.line;
    }

    const COLORREF column[] = {0xF0F0F0, 0xF0F0F0, 0xF0F0F0, 0xD0D0D0, 0xD0D0D0};
    const BandColors band = SampleBand(5, [&](int y) { return column[y]; });
    EXPECT_TRUE(band.valid);
    EXPECT_EQ(band.top, 0xF0F0F0u);
    EXPECT_EQ(band.band, 0xD0D0D0u);
    EXPECT_EQ(SampleBand(3, [&](int) { return COLORREF(0x10); }).band, kNoColor);
    EXPECT_FALSE(SampleBand(3, [&](int) { return kNoColor; }).valid);
    EXPECT_EQ(BandTop(100, 123, 134), 89);

    // Right-aligned OK/Cancel in a 300-pixel box, 6 pixels apart.
    ExtraButtonInput in;
    in.native = {CRect(140, 50, 215, 73), CRect(221, 50, 296, 73)};
    in.captionWidth = {40, 120};
    in.clientWidth = 300;
    ExtraButtonPlan plan = PlanExtraButtons(in);
    ASSERT_EQ(plan.extras.size(), 2u);
    // 59 = 140 - 75 - 6 and -67 = 59 - 120 - 6 (the wide caption gets its
    // own width); then everything moves right by 6 - (-67) = 73, and the box
    // grows by that plus the 2 pixels the last button passed 300 - 6.
    EXPECT_EQ(plan.extras[0], CRect(132, 50, 207, 73));
    EXPECT_EQ(plan.extras[1], CRect(6, 50, 126, 73));
    EXPECT_EQ(plan.shift, 73);
    EXPECT_EQ(plan.widen, 75);

    // Centred: the buttons move right by half the width taken.
    in.native = {CRect(112, 50, 187, 73)};
    in.captionWidth = {10};
    plan = PlanExtraButtons(in);
    EXPECT_EQ(plan.extras[0], CRect(27 + 42, 50, 102 + 42, 73));
    EXPECT_EQ(plan.shift, 42);
    EXPECT_EQ(plan.widen, 0);
}
