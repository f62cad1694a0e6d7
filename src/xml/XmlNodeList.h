// A list of the pointers a node holds (its children or its attributes).
// Internal to the library.
//
// A document has a node for every element, text and comment, and most nodes
// hold no children or no attributes, so this list is one word: a pointer to
// a block holding the count, the capacity and the items, or null while the
// list is empty. The block grows by doubling, can be reserved in one step
// when the count is known, and is freed when the list is emptied. While a
// parse runs, it is cut from the parse's node arena like the nodes
// themselves (see XmlNodeArena.h).
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

    int GetSize() const noexcept { return m_Block != nullptr ? m_Block->m_Size : 0; }
    bool IsEmpty() const noexcept { return GetSize() == 0; }
    // Null while the list has no storage.
    TYPE* GetData() noexcept { return m_Block != nullptr ? Items(m_Block) : nullptr; }
    const TYPE* GetData() const noexcept { return m_Block != nullptr ? Items(m_Block) : nullptr; }
    // index must lie in [0, GetSize()).
    TYPE& operator[](int index) noexcept { return Items(m_Block)[index]; }
    TYPE operator[](int index) const noexcept { return Items(m_Block)[index]; }

    // Throws std::bad_alloc, leaving the list as it was.
    void Add(TYPE item)
    {
        const int size = GetSize();
        if (m_Block == nullptr || size == m_Block->m_Capacity) {
            Reallocate(m_Block == nullptr ? kFirstCapacity : m_Block->m_Capacity * 2);
        }
        Items(m_Block)[size] = item;
        m_Block->m_Size = size + 1;
    }
    // index is clamped to [0, GetSize()].
    void InsertAt(int index, TYPE item)
    {
        const int size = GetSize();
        index = index < 0 ? 0 : (index > size ? size : index);
        Add(item);
        TYPE* items = Items(m_Block);
        std::memmove(items + index + 1, items + index, sizeof(TYPE) * std::size_t(size - index));
        items[index] = item;
    }
    // index must lie in [0, GetSize()).
    void RemoveAt(int index) noexcept
    {
        TYPE* items = Items(m_Block);
        std::memmove(items + index, items + index + 1, sizeof(TYPE) * std::size_t(m_Block->m_Size - 1 - index));
        --m_Block->m_Size;
    }
    void RemoveAll() noexcept
    {
        if (m_Block != nullptr) {
            ReleaseNode(m_Block, BytesFor(m_Block->m_Capacity));
            m_Block = nullptr;
        }
    }
    // Room for count items in all, allocated at once.
    void Reserve(int count)
    {
        if (count > (m_Block != nullptr ? m_Block->m_Capacity : 0)) {
            Reallocate(count);
        }
    }

private:
    // Most lists hold one or two items (a text child, say); with the count
    // and the capacity, two fill the smallest block the C library hands out.
    enum : int { kFirstCapacity = 2 };

    // The items follow the block's two counts.
    struct alignas(TYPE) Block {
        int m_Size;
        int m_Capacity;
    };

    static TYPE* Items(Block* block) noexcept { return reinterpret_cast<TYPE*>(block + 1); }
    static std::size_t BytesFor(int capacity) noexcept { return sizeof(Block) + sizeof(TYPE) * std::size_t(capacity); }

    void Reallocate(int capacity)
    {
        if (capacity <= 0 || std::size_t(capacity) > std::size_t(0x7FFFFFFF) / sizeof(TYPE) - 1) {
            throw std::bad_alloc();
        }
        const int size = GetSize();
        const std::size_t oldBytes = m_Block != nullptr ? BytesFor(m_Block->m_Capacity) : 0;
        auto* block = static_cast<Block*>(ReallocateNode(m_Block, oldBytes, BytesFor(capacity)));
        block->m_Size = size;
        block->m_Capacity = capacity;
        m_Block = block;
    }

    Block* m_Block = nullptr;
};

} // namespace OrvXml
