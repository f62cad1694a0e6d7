// CPackedPoint: a parse point (index, line, column) kept in eight bytes, for
// the beginning that every node of a parsed tree records. Internal to the
// library.
//
// The index takes the high half of the word. The low half holds the line
// and the column, split at one of eight widths for the column (a three-bit
// mode), so that a document of many short lines and a document of one long
// line both fit. A point whose line and column fit no split is kept in a
// heap allocation of its own, which the word then points to (marked by its
// lowest bit).
#pragma once

#include "xml/DataParser.h"

#include <bit>
#include <cstdint>

namespace OrvXml {

class CPackedPoint {
public:
    CPackedPoint() noexcept = default;
    ~CPackedPoint() { Release(); }
    CPackedPoint(const CPackedPoint&) = delete;
    CPackedPoint& operator=(const CPackedPoint&) = delete;

    // Throws std::bad_alloc, leaving the point as it was.
    CPackedPoint& operator=(const CParsePoint& point)
    {
        const std::uint32_t line = point.GetLine();
        const std::uint32_t column = point.GetColumn();
        // Most points fit the split of ten bits for the column.
        if (column < (1u << kCommonWidth) && line < (1u << (kBothBits - kCommonWidth)) && (m_Low & kSeparate) == 0) {
            m_Low = (((line << kCommonWidth) | column) << 4) | (kCommonMode << 1);
            m_High = point.GetIndex();
            return *this;
        }
        return SetOther(point);
    }

    CParsePoint Get() const noexcept
    {
        const std::uint64_t word = Load();
        if ((word & kSeparate) != 0) {
            return *reinterpret_cast<const CParsePoint*>(std::uintptr_t(word & ~std::uint64_t(kSeparate)));
        }
        const unsigned width = kColumnWidths[(word >> 1) & 7];
        const std::uint32_t both = std::uint32_t(word) >> 4;
        CParsePoint point;
        point.SetIndex(DWORD(word >> 32));
        point.SetColumn(DWORD(both & ((1u << width) - 1)));
        point.SetLine(DWORD(both >> width));
        return point;
    }

    // Back to (0, 1, 1).
    void Empty() noexcept
    {
        Release();
        Store(kStart);
    }

private:
    enum : std::uint64_t { kSeparate = 1 };
    static constexpr unsigned kBothBits = 28;
    static constexpr unsigned kColumnWidths[8] = {6, 8, 10, 12, 14, 16, 20, 24};
    // The split for a column of a given number of bits; 8 for none.
    static constexpr unsigned char kModeForColumnBits[33] = {0, 0, 0, 0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
        6, 6, 6, 7, 7, 7, 7, 8, 8, 8, 8, 8, 8, 8, 8};
    // (0, 1, 1) in the first split.
    static constexpr std::uint64_t kStart = ((std::uint64_t(1) << 6) | 1) << 4;

    static constexpr unsigned kCommonMode = 2;
    static constexpr unsigned kCommonWidth = 10;
    static_assert(kColumnWidths[kCommonMode] == kCommonWidth);

    // The other splits, and points kept apart.
    [[gnu::noinline]] CPackedPoint& SetOther(const CParsePoint& point)
    {
        std::uint64_t word = 0;
        if (Pack(point, word)) {
            Release();
            Store(word);
        } else {
            auto* copy = new CParsePoint(point);
            Release();
            Store(reinterpret_cast<std::uintptr_t>(copy) | kSeparate);
        }
        return *this;
    }
    static bool Pack(const CParsePoint& point, std::uint64_t& word) noexcept
    {
        const std::uint32_t line = point.GetLine();
        const std::uint32_t column = point.GetColumn();
        // The narrowest split that holds the column leaves the most room
        // for the line.
        const unsigned mode = kModeForColumnBits[std::bit_width(column)];
        const unsigned width = kColumnWidths[mode & 7];
        if (mode > 7 || line >= (1u << (kBothBits - width))) {
            return false;
        }
        word = (std::uint64_t(point.GetIndex()) << 32) | (std::uint64_t((line << width) | column) << 4)
            | (std::uint64_t(mode) << 1);
        return true;
    }
    void Release() noexcept
    {
        const std::uint64_t word = Load();
        if ((word & kSeparate) != 0) {
            delete reinterpret_cast<CParsePoint*>(std::uintptr_t(word & ~std::uint64_t(kSeparate)));
            Store(kStart);
        }
    }
    // Kept as two halves, so that the point needs only four-byte alignment.
    std::uint64_t Load() const noexcept { return (std::uint64_t(m_High) << 32) | m_Low; }
    void Store(std::uint64_t word) noexcept
    {
        m_Low = std::uint32_t(word);
        m_High = std::uint32_t(word >> 32);
    }

    std::uint32_t m_Low = std::uint32_t(kStart);
    std::uint32_t m_High = 0;
};

} // namespace OrvXml
