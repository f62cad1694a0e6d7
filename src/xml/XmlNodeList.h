// A list of the pointers a node holds (its children or its attributes).
// Internal to the library.
//
// A document has a node for every element, text and comment, so the size of
// a node counts: this list is two words (pointer, count and capacity in
// 32 bits each) where a CArray takes four. Its storage grows by doubling,
// can be reserved in one step when the count is known, and is freed when
// the list is emptied. While a parse runs, the storage is cut from the
// parse's node arena like the nodes themselves (see XmlNodeArena.h).
#pragma once

#include "xml/XmlNodeArena.h"

#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>

namespace OrvXml {

template <class TYPE>
class CNodeList {
    static_assert(std::is_pointer_v<TYPE>, "the list holds pointers");

public:
    CNodeList() noexcept = default;
    ~CNodeList() { RemoveAll(); }
    CNodeList(const CNodeList&) = delete;
    CNodeList& operator=(const CNodeList&) = delete;

    int GetSize() const noexcept { return m_Size; }
    bool IsEmpty() const noexcept { return m_Size == 0; }
    TYPE* GetData() noexcept { return m_Data; }
    const TYPE* GetData() const noexcept { return m_Data; }
    // index must lie in [0, GetSize()).
    TYPE& operator[](int index) noexcept { return m_Data[index]; }
    TYPE operator[](int index) const noexcept { return m_Data[index]; }

    // Throws std::bad_alloc, leaving the list as it was.
    void Add(TYPE item)
    {
        if (m_Size == m_Capacity) {
            Reallocate(m_Capacity == 0 ? kFirstCapacity : m_Capacity * 2);
        }
        m_Data[m_Size++] = item;
    }
    // index is clamped to [0, GetSize()].
    void InsertAt(int index, TYPE item)
    {
        index = index < 0 ? 0 : (index > m_Size ? m_Size : index);
        Add(item);
        std::memmove(m_Data + index + 1, m_Data + index, sizeof(TYPE) * std::size_t(m_Size - 1 - index));
        m_Data[index] = item;
    }
    // index must lie in [0, GetSize()).
    void RemoveAt(int index) noexcept
    {
        std::memmove(m_Data + index, m_Data + index + 1, sizeof(TYPE) * std::size_t(m_Size - 1 - index));
        --m_Size;
    }
    void RemoveAll() noexcept
    {
        ReleaseNode(m_Data, sizeof(TYPE) * std::size_t(m_Capacity));
        m_Data = nullptr;
        m_Size = 0;
        m_Capacity = 0;
    }
    // Room for count items in all, allocated at once.
    void Reserve(int count)
    {
        if (count > m_Capacity) {
            Reallocate(count);
        }
    }

private:
    // Three pointers fill the smallest block the C library hands out.
    enum : int { kFirstCapacity = 3 };

    void Reallocate(int capacity)
    {
        if (capacity <= 0 || std::size_t(capacity) > std::size_t(0x7FFFFFFF) / sizeof(TYPE)) {
            throw std::bad_alloc();
        }
        m_Data = static_cast<TYPE*>(
            ReallocateNode(m_Data, sizeof(TYPE) * std::size_t(m_Capacity), sizeof(TYPE) * std::size_t(capacity)));
        m_Capacity = capacity;
    }

    TYPE* m_Data = nullptr;
    int m_Size = 0;
    int m_Capacity = 0;
};

} // namespace OrvXml
