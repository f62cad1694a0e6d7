#include "framework/Geometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(GeometryPointAndSize, ArithmeticEqualityAndOverflowThatWraps)
{
    CPoint p(3, 4);
    EXPECT_EQ(p + CSize(1, 1), CPoint(4, 5));
    EXPECT_EQ(p - CPoint(5, 5), CPoint(-2, -1));
    p += POINT{1, 2};
    p -= SIZE{2, 2};
    EXPECT_EQ(p, CPoint(2, 4));
    EXPECT_NE(p, CPoint(4, 2));
    CSize s(2, 3);
    s += CSize(1, 1);
    EXPECT_EQ(s - CSize(3, 4), CSize());
    EXPECT_EQ(CPoint(), CPoint(POINT{0, 0}));
    EXPECT_EQ(CPoint(INT_MAX, 0) + CSize(1, 0), CPoint(INT_MIN, 0));
    EXPECT_EQ(CPoint(0, INT_MIN) - CPoint(0, 1), CPoint(0, INT_MAX));
    EXPECT_EQ(CSize(INT_MAX, 0) + CSize(1, 0), CSize(INT_MIN, 0));
    EXPECT_EQ(CRect(INT_MIN, 0, INT_MAX, 1).Width(), -1);
}

TEST(GeometryRect, ConstructionMeasuresEmptinessContainmentComparisonAndPointerConversion)
{
    const CRect fromPoints(CPoint(1, 2), CPoint(11, 22));
    EXPECT_EQ(fromPoints, CRect(1, 2, 11, 22));
    EXPECT_EQ(CRect(CPoint(1, 2), CSize(10, 20)), fromPoints);
    EXPECT_EQ(fromPoints.Width(), 10);
    EXPECT_EQ(fromPoints.Height(), 20);
    EXPECT_EQ(fromPoints.Size(), CSize(10, 20));
    EXPECT_EQ(fromPoints.TopLeft(), CPoint(1, 2));
    EXPECT_EQ(fromPoints.BottomRight(), CPoint(11, 22));
    EXPECT_EQ(fromPoints.CenterPoint(), CPoint(6, 12));
    EXPECT_EQ(CRect(-3, -3, 0, 0).CenterPoint(), CPoint(-1, -1));
    EXPECT_EQ(CRect(INT_MAX - 1, INT_MIN, INT_MAX, INT_MIN + 2).CenterPoint(), CPoint(INT_MAX - 1, INT_MIN + 1));
    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_FALSE(CRect(1, 1, 1, 1).IsRectNull());
    EXPECT_TRUE(CRect(5, 0, 5, 10).IsRectEmpty());
    EXPECT_TRUE(CRect(0, 5, 10, 4).IsRectEmpty());
    EXPECT_TRUE(CRect(10, 0, 0, 10).IsRectEmpty());
    EXPECT_FALSE(CRect(0, 0, 1, 1).IsRectEmpty());
    const CRect r(0, 0, 10, 5);
    EXPECT_TRUE(r.PtInRect(CPoint(0, 0)));
    EXPECT_TRUE(r.PtInRect(CPoint(9, 4)));
    EXPECT_FALSE(r.PtInRect(CPoint(10, 4)));
    EXPECT_FALSE(r.PtInRect(CPoint(9, 5)));
    EXPECT_FALSE(r.PtInRect(CPoint(-1, 0)));

    CRect other(1, 2, 3, 4);
    const RECT plain{1, 2, 3, 4};
    EXPECT_TRUE(other.EqualRect(&plain));
    EXPECT_FALSE(other.EqualRect(nullptr));
    EXPECT_TRUE(plain == other);
    EXPECT_TRUE(other != CRect(1, 2, 3, 5));
    RECT* writable = other;
    writable->right = 9;
    EXPECT_EQ(other.Width(), 8);
    const CRect& constant = other;
    const RECT* readable = constant;
    EXPECT_EQ(readable->right, 9);
}

// Moving and resizing; an intersection empties when nothing overlaps; a
// union ignores empty rectangles.
TEST(GeometryRect, MovesIntersectionsAndUnions)
{
    CRect r(10, 10, 20, 20);
    r.InflateRect(2, 3);
    EXPECT_EQ(r, CRect(8, 7, 22, 23));
    r.DeflateRect(2, 3);
    EXPECT_EQ(r, CRect(10, 10, 20, 20));
    r.InflateRect(RECT{1, 2, 3, 4});
    EXPECT_EQ(r, CRect(9, 8, 23, 24));
    r.DeflateRect(RECT{1, 2, 3, 4});
    r.OffsetRect(-10, 5);
    EXPECT_EQ(r, CRect(0, 15, 10, 25));
    r.OffsetRect(POINT{1, 1});
    r += CPoint(1, 0);
    r -= CPoint(0, 16);
    EXPECT_EQ(r, CRect(2, 0, 12, 10));
    r.SetRect(30, 40, 10, 20);
    r.NormalizeRect();
    EXPECT_EQ(r, CRect(10, 20, 30, 40));
    r.SetRectEmpty();
    EXPECT_TRUE(r.IsRectNull());

    const CRect a(0, 0, 10, 10);
    r.SetRect(1, 2, 3, 4);
    EXPECT_TRUE(r.IntersectRect(&a, CRect(5, -5, 15, 5)));
    EXPECT_EQ(r, CRect(5, 0, 10, 5));
    EXPECT_TRUE(r.IntersectRect(r, &a));
    EXPECT_EQ(r, CRect(5, 0, 10, 5));
    EXPECT_FALSE(r.IntersectRect(&a, CRect(10, 0, 20, 10)));
    EXPECT_TRUE(r.IsRectNull());
    EXPECT_EQ(a & CRect(-5, -5, 1, 1), CRect(0, 0, 1, 1));
    EXPECT_TRUE((a & CRect(3, 3, 3, 8)).IsRectNull());
    EXPECT_THROW(r.IntersectRect(nullptr, &a), CInvalidArgException);
    EXPECT_TRUE(r.UnionRect(&a, CRect(20, 20, 30, 25)));
    EXPECT_EQ(r, CRect(0, 0, 30, 25));
    EXPECT_TRUE(r.UnionRect(CRect(-100, -100, -100, 50), &a));
    EXPECT_EQ(r, a);
    EXPECT_FALSE(r.UnionRect(CRect(5, 5, 1, 1), CRect()));
    EXPECT_TRUE(r.IsRectNull());
    EXPECT_EQ(a | CRect(5, 5, 15, 15), CRect(0, 0, 15, 15));
    EXPECT_THROW(r.UnionRect(&a, nullptr), CInvalidArgException);
}

} // namespace
