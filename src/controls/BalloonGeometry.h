// The geometry of the balloon help window, apart from the window: its size
// from the header and content, the quadrant it opens into, its tail and
// body, and its place in the work area with the tail's tip on the anchor.
//
// Coordinates of the tail, body and inner rectangle are relative to the
// window's top-left corner; the anchor, work area and placed window are in
// screen coordinates.
#pragma once

#include "OrvApi.h"
#include "framework/Geometry.h"

#include <array>

namespace orv::controls {

// The tail's height and the margin inside the frame, in pixels.
struct BalloonMetrics {
    int tail = 20;
    int margin = 8;
};

// Quadrants: 0 and 1 open below the anchor (anchor in the upper half of the
// work area, right and left half), 2 and 3 open above it (lower half, right
// and left). The centre itself counts as lower right.
ORV_API int BalloonQuadrant(POINT anchor, const RECT& workArea);
inline bool BalloonOpensBelow(int quadrant) { return quadrant == 0 || quadrant == 1; }

// The header: the icon, the title and the close button side by side, with
// `gap` between the parts that are present (a part of width 0 is absent);
// as high as the highest part.
ORV_API CSize BalloonHeaderSize(CSize icon, CSize title, CSize closeButton, int gap);
// The inner area: as wide as the wider of header and content, as high as
// both with a margin between them.
ORV_API CSize BalloonClientSize(CSize header, CSize content, const BalloonMetrics& metrics);
// The window: the inner area with a margin all round and the tail.
ORV_API CSize BalloonWindowSize(CSize client, const BalloonMetrics& metrics);

// The rounded body: below the tail for quadrants 0 and 1, above it for 2
// and 3.
ORV_API CRect BalloonBody(int quadrant, CSize window, const BalloonMetrics& metrics);
// The body less the margin on every side: where header and content go.
ORV_API CRect BalloonInnerRect(int quadrant, CSize window, const BalloonMetrics& metrics);

// The tail triangle: the two ends of its base on the body's edge, then its
// tip. Its base starts at three quarters of the free width (quadrants 0 and
// 2, tip over the base's right end) or at one quarter (1 and 3, tip over the
// left end). `tipShift` moves the tip alone sideways; every x is then kept
// between the margin and the width less the margin.
using BalloonTail = std::array<CPoint, 3>;
ORV_API BalloonTail BalloonTailPoints(int quadrant, CSize window, int tipShift, const BalloonMetrics& metrics);

struct BalloonPlacement {
    int quadrant = 0;
    CRect window;       // screen
    BalloonTail tail;   // window coordinates
    CRect body;         // window coordinates
    CRect inner;        // window coordinates
};

// Puts the tail's tip on the anchor, then keeps the window inside the work
// area: moved right to start at its left edge or left to end at its right
// edge, with the tip moved back the other way so that it still points at the
// anchor (as far as the margins let it); moved down when its top plus the
// tail lies above the work area, or up when its bottom less the tail lies
// below it.
ORV_API BalloonPlacement PlaceBalloon(POINT anchor, CSize window, const RECT& workArea,
                                      const BalloonMetrics& metrics);

} // namespace orv::controls
