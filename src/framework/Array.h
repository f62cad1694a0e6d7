// Dynamic arrays: CArray and its concrete forms CByteArray, CWordArray, CDWordArray, CUIntArray, CStringArray.
#pragma once

#include "framework/Exceptions.h"
#include "framework/String.h"
#include "base/Types.h"

#include <algorithm>
#include <climits>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

// A growable array of TYPE, passed in as ARG_TYPE. Indexes are int; every
// element access outside [0, GetSize()) throws CInvalidArgException, as do
// negative sizes, counts and insertion points.
//
// The array grows in steps: when it needs more room, its capacity becomes at
// least the current size plus the step. SetSize's growBy sets the step; until
// it is set, the step is an eighth of the size, kept within [4, 1024].
template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray {
public:
    int GetSize() const noexcept { return static_cast<int>(m_data.size()); }
    int GetCount() const noexcept { return GetSize(); }
    int GetUpperBound() const noexcept { return GetSize() - 1; }
    bool IsEmpty() const noexcept { return m_data.empty(); }

    // New elements are value-initialised. growBy of 0 or more sets the growth
    // step, -1 keeps it; other values and a negative newSize throw.
    void SetSize(int newSize, int growBy = -1)
    {
        if (newSize < 0 || growBy < -1) {
            throw CInvalidArgException();
        }
        if (growBy >= 0) {
            m_growBy = growBy;
        }
        Reserve(static_cast<std::size_t>(newSize));
        m_data.resize(static_cast<std::size_t>(newSize));
    }

    const TYPE& GetAt(int index) const { return m_data[Checked(index)]; }
    void SetAt(int index, ARG_TYPE newElement) { m_data[Checked(index)] = newElement; }
    TYPE& ElementAt(int index) { return m_data[Checked(index)]; }
    const TYPE& ElementAt(int index) const { return m_data[Checked(index)]; }
    TYPE& operator[](int index) { return m_data[Checked(index)]; }
    const TYPE& operator[](int index) const { return m_data[Checked(index)]; }

    // The elements in order; may be null when the array is empty. Valid until
    // the array next grows.
    TYPE* GetData() noexcept { return m_data.data(); }
    const TYPE* GetData() const noexcept { return m_data.data(); }

    // Returns the index of the new element.
    int Add(ARG_TYPE newElement)
    {
        // Copied before growing: the argument may be an element of this array.
        TYPE value(newElement);
        Reserve(m_data.size() + 1);
        m_data.push_back(std::move(value));
        return GetSize() - 1;
    }

    // Returns the index of the first appended element (the old size). The
    // source may be this array.
    int Append(const CArray& source)
    {
        const int oldSize = GetSize();
        const std::size_t count = source.m_data.size();
        Reserve(m_data.size() + count);
        // With the room reserved no element moves, so reading the source by
        // index stays valid when it is this array.
        for (std::size_t i = 0; i < count; ++i) {
            m_data.push_back(source.m_data[i]);
        }
        return oldSize;
    }

    // Replaces the elements with copies of the source's.
    void Copy(const CArray& source)
    {
        if (this != &source) {
            m_data = source.m_data;
        }
    }

    // Inserts count copies of newElement at index; an index past the end
    // first grows the array to index. A count of 0 changes nothing.
    void InsertAt(int index, ARG_TYPE newElement, int count = 1)
    {
        if (index < 0 || count < 0) {
            throw CInvalidArgException();
        }
        if (count == 0) {
            return;
        }
        TYPE value(newElement);
        GrowForInsert(index, static_cast<std::size_t>(count));
        m_data.insert(m_data.begin() + index, static_cast<std::size_t>(count), value);
    }

    // Inserts copies of all of other's elements at start; other may be this
    // array. A null other throws.
    void InsertAt(int start, const CArray* other)
    {
        if (start < 0 || other == nullptr) {
            throw CInvalidArgException();
        }
        if (other == this) {
            const CArray copy(*this);
            InsertAt(start, &copy);
            return;
        }
        if (other->IsEmpty()) {
            return;
        }
        GrowForInsert(start, other->m_data.size());
        m_data.insert(m_data.begin() + start, other->m_data.begin(), other->m_data.end());
    }

    // Throws unless [index, index + count) lies within the array.
    void RemoveAt(int index, int count = 1)
    {
        if (index < 0 || count < 0 || count > GetSize() - index) {
            throw CInvalidArgException();
        }
        m_data.erase(m_data.begin() + index, m_data.begin() + index + count);
    }

    void RemoveAll() noexcept { m_data.clear(); }

    // Sets the element at index, growing the array to index + 1 first when
    // needed; a negative index throws.
    void SetAtGrow(int index, ARG_TYPE newElement)
    {
        if (index < 0) {
            throw CInvalidArgException();
        }
        TYPE value(newElement);
        const auto position = static_cast<std::size_t>(index);
        if (position >= m_data.size()) {
            Reserve(position + 1);
            m_data.resize(position + 1);
        }
        m_data[position] = std::move(value);
    }

    // Releases the room kept beyond the current size.
    void FreeExtra() { m_data.shrink_to_fit(); }

private:
    std::size_t Checked(int index) const
    {
        if (index < 0 || index >= GetSize()) {
            throw CInvalidArgException();
        }
        return static_cast<std::size_t>(index);
    }

    // Makes room for needed elements, growing by at least the step so that a
    // run of Add calls reallocates only once per step. Throws before anything
    // changes when the room cannot be had or the size would not fit an int.
    void Reserve(std::size_t needed)
    {
        if (needed <= m_data.capacity()) {
            return;
        }
        if (needed > static_cast<std::size_t>(INT_MAX)) {
            throw CMemoryException();
        }
        const int step = m_growBy >= 0 ? m_growBy : std::clamp(GetSize() / 8, 4, 1024);
        const std::size_t stepped = std::min(m_data.size() + static_cast<std::size_t>(step),
                                              static_cast<std::size_t>(INT_MAX));
        try {
            m_data.reserve(std::max(needed, stepped));
        } catch (const std::bad_alloc&) {
            throw CMemoryException();
        } catch (const std::length_error&) {
            throw CMemoryException();
        }
    }

    // Makes room for count elements at index, first growing the array to
    // index when index lies past the end.
    void GrowForInsert(int index, std::size_t count)
    {
        const auto position = static_cast<std::size_t>(index);
        Reserve(std::max(position, m_data.size()) + count);
        if (position > m_data.size()) {
            m_data.resize(position);
        }
    }

    std::vector<TYPE> m_data;
    int m_growBy = -1;
};

class CByteArray : public CArray<BYTE> {
public:
    using CArray<BYTE>::CArray;
};

class CWordArray : public CArray<WORD> {
public:
    using CArray<WORD>::CArray;
};

class CDWordArray : public CArray<DWORD> {
public:
    using CArray<DWORD>::CArray;
};

class CUIntArray : public CArray<UINT> {
public:
    using CArray<UINT>::CArray;
};

class CStringArray : public CArray<CString, const CString&> {
public:
    using CArray<CString, const CString&>::CArray;
};
