#include "controls/BalloonGeometry.h"

#include <algorithm>

namespace orv::controls {

int BalloonQuadrant(POINT anchor, const RECT& workArea)
{
    const CPoint centre = CRect(workArea).CenterPoint();
    const bool right = anchor.x >= centre.x;
    if (anchor.y < centre.y)
        return right ? 0 : 1;
    return right ? 2 : 3;
}

CSize BalloonHeaderSize(CSize icon, CSize title, CSize closeButton, int gap)
{
    CSize header;
    for (const CSize& part : {icon, title, closeButton}) {
        if (part.cx <= 0)
            continue;
        header.cx += (header.cx > 0 ? gap : 0) + part.cx;
        header.cy = std::max<LONG>(header.cy, part.cy);
    }
    return header;
}

CSize BalloonClientSize(CSize header, CSize content, const BalloonMetrics& metrics)
{
    return CSize(std::max(header.cx, content.cx), header.cy + metrics.margin + content.cy);
}

CSize BalloonWindowSize(CSize client, const BalloonMetrics& metrics)
{
    return CSize(client.cx + 2 * metrics.margin, client.cy + 2 * metrics.margin + metrics.tail);
}

CRect BalloonBody(int quadrant, CSize window, const BalloonMetrics& metrics)
{
    if (BalloonOpensBelow(quadrant))
        return CRect(0, metrics.tail, window.cx, window.cy);
    return CRect(0, 0, window.cx, window.cy - metrics.tail);
}

CRect BalloonInnerRect(int quadrant, CSize window, const BalloonMetrics& metrics)
{
    CRect inner = BalloonBody(quadrant, window, metrics);
    inner.DeflateRect(metrics.margin, metrics.margin);
    return inner;
}

BalloonTail BalloonTailPoints(int quadrant, CSize window, int tipShift, const BalloonMetrics& metrics)
{
    const int t = metrics.tail;
    const bool right = quadrant == 0 || quadrant == 2;
    const int baseLeft = right ? (window.cx - t) * 3 / 4 : (window.cx - t) / 4;
    const bool top = BalloonOpensBelow(quadrant);
    const int baseY = top ? t + 1 : window.cy - t - 2;
    const int tipY = top ? 1 : window.cy - 2;
    BalloonTail tail {CPoint(baseLeft, baseY), CPoint(baseLeft + t, baseY),
                      CPoint((right ? baseLeft + t : baseLeft) + tipShift, tipY)};
    const int low = metrics.margin;
    const int high = std::max(low, static_cast<int>(window.cx) - metrics.margin);
    for (CPoint& point : tail)
        point.x = std::clamp(static_cast<int>(point.x), low, high);
    return tail;
}

BalloonPlacement PlaceBalloon(POINT anchor, CSize window, const RECT& workArea, const BalloonMetrics& metrics)
{
    BalloonPlacement placement;
    placement.quadrant = BalloonQuadrant(anchor, workArea);
    const CPoint tip = BalloonTailPoints(placement.quadrant, window, 0, metrics)[2];
    CPoint origin(anchor.x - tip.x, anchor.y - tip.y);

    int shift = 0;
    if (origin.x < workArea.left)
        shift = workArea.left - origin.x;
    else if (origin.x + window.cx > workArea.right)
        shift = workArea.right - (origin.x + window.cx);
    origin.x += shift;

    if (origin.y + metrics.tail < workArea.top)
        origin.y = workArea.top - metrics.tail;
    else if (origin.y + window.cy - metrics.tail > workArea.bottom)
        origin.y = workArea.bottom - (window.cy - metrics.tail);

    placement.window = CRect(origin, window);
    placement.tail = BalloonTailPoints(placement.quadrant, window, -shift, metrics);
    placement.body = BalloonBody(placement.quadrant, window, metrics);
    placement.inner = BalloonInnerRect(placement.quadrant, window, metrics);
    return placement;
}

} // namespace orv::controls
