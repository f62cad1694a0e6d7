#include "controls/BalloonGeometry.h"

#include <gtest/gtest.h>

#include <string>

using namespace orv::controls;

namespace {

const BalloonMetrics kMetrics {20, 8};
// A 1000 x 800 work area and a 136 x 100 balloon (120 x 64 inside).
const CRect kWork(0, 0, 1000, 800);
const CSize kWindow(136, 100);

std::string Text(const CRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + ","
        + std::to_string(r.bottom);
}

std::string Text(const BalloonTail& tail)
{
    std::string text;
    for (const CPoint& p : tail)
        text += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
    return text;
}

} // namespace

TEST(BalloonGeometry, SizeQuadrantAndPlacementKeepTheWindowInTheWorkAreaAndTheTipOnTheAnchor)
{
    const struct { CSize icon, title, close, content, window; } sizes[] = {
        {{16, 16}, {50, 13}, {0, 0}, {120, 40}, {136, 100}},   // content wider than header
        {{16, 16}, {90, 13}, {16, 16}, {120, 40}, {154, 100}}, // icon, title, close: 138 inside
        {{0, 0}, {50, 13}, {0, 0}, {30, 0}, {66, 57}},         // no icon, no content
        {{32, 32}, {0, 0}, {0, 0}, {10, 10}, {48, 86}},        // icon alone sets the header's height
    };
    for (const auto& c : sizes) {
        const CSize header = BalloonHeaderSize(c.icon, c.title, c.close, 8);
        const CSize window = BalloonWindowSize(BalloonClientSize(header, c.content, kMetrics), kMetrics);
        EXPECT_EQ(window, c.window) << c.title.cx << ": " << window.cx << " x " << window.cy;
    }

    // The quadrant from the anchor against the work area's centre (500, 400),
    // then the tail, body and inner area each quadrant gives.
    const struct { POINT anchor; int quadrant; const char* tail; const char* body; const char* inner; } cases[] = {
        {{700, 100}, 0, "(87,21)(107,21)(107,1)", "0,20,136,100", "8,28,128,92"},
        {{100, 100}, 1, "(29,21)(49,21)(29,1)", "0,20,136,100", "8,28,128,92"},
        {{700, 700}, 2, "(87,78)(107,78)(107,98)", "0,0,136,80", "8,8,128,72"},
        {{100, 700}, 3, "(29,78)(49,78)(29,98)", "0,0,136,80", "8,8,128,72"},
        {{500, 400}, 2, "(87,78)(107,78)(107,98)", "0,0,136,80", "8,8,128,72"},
        {{499, 399}, 1, "(29,21)(49,21)(29,1)", "0,20,136,100", "8,28,128,92"},
    };
    for (const auto& c : cases) {
        const int quadrant = BalloonQuadrant(c.anchor, kWork);
        EXPECT_EQ(quadrant, c.quadrant) << c.anchor.x << "," << c.anchor.y;
        EXPECT_EQ(Text(BalloonTailPoints(quadrant, kWindow, 0, kMetrics)), c.tail) << quadrant;
        EXPECT_EQ(Text(BalloonBody(quadrant, kWindow, kMetrics)), c.body) << quadrant;
        EXPECT_EQ(Text(BalloonInnerRect(quadrant, kWindow, kMetrics)), c.inner) << quadrant;
    }
    // A window too narrow for the tail keeps every x inside the margins.
    EXPECT_EQ(Text(BalloonTailPoints(0, CSize(40, 60), 0, kMetrics)), "(15,21)(32,21)(32,1)");

    // The tip lands on the anchor, the window stays in the work area and the tip
    // moves back by the amount the window moved sideways.
    const struct { CRect work; POINT anchor; const char* window; const char* tail; } placements[] = {
        {kWork, {700, 100}, "593,99,729,199", "(87,21)(107,21)(107,1)"},
        // Lower left: quadrant 3 opens above, the tail at the bottom.
        {kWork, {100, 700}, "71,602,207,702", "(29,78)(49,78)(29,98)"},
        {kWork, {10, 100}, "0,99,136,199", "(29,21)(49,21)(10,1)"},
        {kWork, {990, 100}, "864,99,1000,199", "(87,21)(107,21)(126,1)"},
        {kWork, {995, 700}, "864,602,1000,702", "(87,78)(107,78)(128,98)"}, // tip held at the margin
        {kWork, {3, 100}, "0,99,136,199", "(29,21)(49,21)(8,1)"},           // tip held at the margin
        {kWork, {700, -50}, "593,-20,729,80", "(87,21)(107,21)(107,1)"},    // above the work area
        {kWork, {100, 850}, "71,720,207,820", "(29,78)(49,78)(29,98)"},     // below it
        {kWork, {700, 19}, "593,18,729,118", "(87,21)(107,21)(107,1)"},     // top + tail inside: stays
        {CRect(1000, 0, 2000, 800), {1010, 700}, "1000,602,1136,702", "(29,78)(49,78)(10,98)"},
    };
    for (const auto& c : placements) {
        const BalloonPlacement placement = PlaceBalloon(c.anchor, kWindow, c.work, kMetrics);
        EXPECT_EQ(Text(placement.window), c.window) << c.anchor.x << "," << c.anchor.y;
        EXPECT_EQ(Text(placement.tail), c.tail) << c.anchor.x << "," << c.anchor.y;
    }
}
