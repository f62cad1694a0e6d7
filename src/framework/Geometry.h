// Points, sizes and rectangles over the system structures: CPoint, CSize, CRect.
#pragma once

#include "framework/Exceptions.h"
#include "base/Types.h"

#include <algorithm>
#include <cstdint>
#include <utility>

// Coordinate arithmetic wraps around on 32-bit overflow, as the system's own
// rectangle functions do, instead of overflowing a signed integer.
namespace orv::geometry {

inline LONG WrapAdd(LONG a, LONG b) noexcept
{
    return static_cast<LONG>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

inline LONG WrapSub(LONG a, LONG b) noexcept
{
    return static_cast<LONG>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

} // namespace orv::geometry

class CSize : public SIZE {
public:
    CSize() noexcept : SIZE{0, 0} {}
    CSize(int initCX, int initCY) noexcept : SIZE{initCX, initCY} {}
    CSize(const SIZE& size) noexcept : SIZE(size) {}

    bool operator==(const SIZE& other) const noexcept { return cx == other.cx && cy == other.cy; }
    bool operator!=(const SIZE& other) const noexcept { return !(*this == other); }

    CSize& operator+=(const SIZE& other) noexcept
    {
        cx = orv::geometry::WrapAdd(cx, other.cx);
        cy = orv::geometry::WrapAdd(cy, other.cy);
        return *this;
    }

    CSize& operator-=(const SIZE& other) noexcept
    {
        cx = orv::geometry::WrapSub(cx, other.cx);
        cy = orv::geometry::WrapSub(cy, other.cy);
        return *this;
    }

    CSize operator+(const SIZE& other) const noexcept { return CSize(*this) += other; }
    CSize operator-(const SIZE& other) const noexcept { return CSize(*this) -= other; }
};

class CPoint : public POINT {
public:
    CPoint() noexcept : POINT{0, 0} {}
    CPoint(int initX, int initY) noexcept : POINT{initX, initY} {}
    CPoint(const POINT& point) noexcept : POINT(point) {}

    bool operator==(const POINT& other) const noexcept { return x == other.x && y == other.y; }
    bool operator!=(const POINT& other) const noexcept { return !(*this == other); }

    // Moving a point by another point's coordinates or by a size.
    CPoint& operator+=(const POINT& offset) noexcept { return Move(offset.x, offset.y); }
    CPoint& operator+=(const SIZE& offset) noexcept { return Move(offset.cx, offset.cy); }
    CPoint& operator-=(const POINT& offset) noexcept
    {
        return Move(orv::geometry::WrapSub(0, offset.x), orv::geometry::WrapSub(0, offset.y));
    }
    CPoint& operator-=(const SIZE& offset) noexcept
    {
        return Move(orv::geometry::WrapSub(0, offset.cx), orv::geometry::WrapSub(0, offset.cy));
    }

    CPoint operator+(const POINT& offset) const noexcept { return CPoint(*this) += offset; }
    CPoint operator+(const SIZE& offset) const noexcept { return CPoint(*this) += offset; }
    CPoint operator-(const POINT& offset) const noexcept { return CPoint(*this) -= offset; }
    CPoint operator-(const SIZE& offset) const noexcept { return CPoint(*this) -= offset; }

private:
    CPoint& Move(LONG dx, LONG dy) noexcept
    {
        x = orv::geometry::WrapAdd(x, dx);
        y = orv::geometry::WrapAdd(y, dy);
        return *this;
    }
};

// A rectangle whose left and top edges belong to it and whose right and
// bottom edges do not. TopLeft, BottomRight and Size return values: a copy
// cannot alias the rectangle's fields, so changing a corner goes through
// SetRect or the fields themselves.
class CRect : public RECT {
public:
    CRect() noexcept : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) noexcept : RECT{l, t, r, b} {}
    CRect(const RECT& rect) noexcept : RECT(rect) {}
    CRect(const POINT& topLeft, const POINT& bottomRight) noexcept
        : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}
    {
    }
    CRect(const POINT& topLeft, const SIZE& size) noexcept
        : RECT{topLeft.x, topLeft.y, orv::geometry::WrapAdd(topLeft.x, size.cx),
               orv::geometry::WrapAdd(topLeft.y, size.cy)}
    {
    }

    int Width() const noexcept { return orv::geometry::WrapSub(right, left); }
    int Height() const noexcept { return orv::geometry::WrapSub(bottom, top); }
    CSize Size() const noexcept { return CSize(Width(), Height()); }
    CPoint TopLeft() const noexcept { return CPoint(left, top); }
    CPoint BottomRight() const noexcept { return CPoint(right, bottom); }
    // The midpoint, rounded toward zero.
    CPoint CenterPoint() const noexcept
    {
        return CPoint(static_cast<int>((std::int64_t{left} + right) / 2),
                      static_cast<int>((std::int64_t{top} + bottom) / 2));
    }

    // True when the rectangle has no area: width or height zero or negative.
    bool IsRectEmpty() const noexcept { return right <= left || bottom <= top; }
    // True when all four coordinates are zero.
    bool IsRectNull() const noexcept { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool PtInRect(const POINT& point) const noexcept
    {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }

    void SetRect(int l, int t, int r, int b) noexcept { *static_cast<RECT*>(this) = RECT{l, t, r, b}; }
    void SetRectEmpty() noexcept { SetRect(0, 0, 0, 0); }

    // Moves each edge outward by dx or dy; negative amounts move inward.
    void InflateRect(int dx, int dy) noexcept { InflateRect(RECT{dx, dy, dx, dy}); }
    // Moves each edge outward by the amount in the same field of by.
    void InflateRect(const RECT& by) noexcept
    {
        SetRect(orv::geometry::WrapSub(left, by.left), orv::geometry::WrapSub(top, by.top),
                orv::geometry::WrapAdd(right, by.right), orv::geometry::WrapAdd(bottom, by.bottom));
    }
    void DeflateRect(int dx, int dy) noexcept { DeflateRect(RECT{dx, dy, dx, dy}); }
    void DeflateRect(const RECT& by) noexcept
    {
        SetRect(orv::geometry::WrapAdd(left, by.left), orv::geometry::WrapAdd(top, by.top),
                orv::geometry::WrapSub(right, by.right), orv::geometry::WrapSub(bottom, by.bottom));
    }

    void OffsetRect(int dx, int dy) noexcept
    {
        SetRect(orv::geometry::WrapAdd(left, dx), orv::geometry::WrapAdd(top, dy),
                orv::geometry::WrapAdd(right, dx), orv::geometry::WrapAdd(bottom, dy));
    }
    void OffsetRect(const POINT& offset) noexcept { OffsetRect(offset.x, offset.y); }

    // Swaps left with right and top with bottom where they are reversed.
    void NormalizeRect() noexcept
    {
        if (left > right) {
            std::swap(left, right);
        }
        if (top > bottom) {
            std::swap(top, bottom);
        }
    }

    // Sets this rectangle to the overlap of the two and returns true, or
    // empties it and returns false when they do not overlap. Either argument
    // may be this rectangle; a null argument throws CInvalidArgException.
    bool IntersectRect(const RECT* first, const RECT* second)
    {
        if (first == nullptr || second == nullptr) {
            throw CInvalidArgException();
        }
        const CRect overlap(std::max(first->left, second->left), std::max(first->top, second->top),
                            std::min(first->right, second->right), std::min(first->bottom, second->bottom));
        if (overlap.IsRectEmpty()) {
            SetRectEmpty();
            return false;
        }
        *this = overlap;
        return true;
    }

    // Sets this rectangle to the smallest one containing both, ignoring an
    // empty argument; returns false, with this rectangle empty, when both are
    // empty. Either argument may be this rectangle; null throws CInvalidArgException.
    bool UnionRect(const RECT* first, const RECT* second)
    {
        if (first == nullptr || second == nullptr) {
            throw CInvalidArgException();
        }
        const CRect a(*first);
        const CRect b(*second);
        if (a.IsRectEmpty() && b.IsRectEmpty()) {
            SetRectEmpty();
            return false;
        }
        if (a.IsRectEmpty() || b.IsRectEmpty()) {
            *this = a.IsRectEmpty() ? b : a;
            return true;
        }
        SetRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom));
        return true;
    }

    // Same four coordinates; a null argument compares unequal.
    bool EqualRect(const RECT* other) const noexcept { return other != nullptr && *this == *other; }
    bool operator==(const RECT& other) const noexcept
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
    bool operator!=(const RECT& other) const noexcept { return !(*this == other); }

    CRect& operator+=(const POINT& offset) noexcept
    {
        OffsetRect(offset);
        return *this;
    }
    CRect& operator-=(const POINT& offset) noexcept
    {
        SetRect(orv::geometry::WrapSub(left, offset.x), orv::geometry::WrapSub(top, offset.y),
                orv::geometry::WrapSub(right, offset.x), orv::geometry::WrapSub(bottom, offset.y));
        return *this;
    }

    // Intersection and union, as IntersectRect and UnionRect compute them.
    CRect operator&(const RECT& other) const
    {
        CRect result;
        result.IntersectRect(this, &other);
        return result;
    }
    CRect operator|(const RECT& other) const
    {
        CRect result;
        result.UnionRect(this, &other);
        return result;
    }

    operator RECT*() noexcept { return this; }
    operator const RECT*() const noexcept { return this; }
};
