// A list of the pointers a node holds (its children or its attributes).
// Internal to the library.
//
// A document has a node for every element, text and comment, and most nodes
// hold no children or attributes, or just one, so this list is one word:
// null while it is empty, the item itself while it holds one, and otherwise
// a pointer, marked in its lowest bit, to a block holding the count, the
// capacity and the items. The block grows by doubling, can be reserved in
// one step when the count is known, and is freed when the list is emptied.
// While a parse runs, it is cut from the parse's node arena like the nodes
// themselves (see XmlNodeArena.h). The items are never null and point to
// objects aligned to at least two bytes.
//
// A list can also be given room for the objects its items point to, in its
// own block (ReserveWithRoom): the attributes of a parsed tag live there,
// so that the tag's list and attributes take one allocation. Such a block
// never moves while the list holds anything: a list that outgrows it moves
// its items to a new block that keeps the old one, and both are freed when
// the list is emptied.
#pragma once

#include "xml/XmlNodeArena.h"

#include <cstddef>
#include <cstdint>
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

    int GetSize() const noexcept
    {
        if (HasBlock()) {
            return GetBlock()->m_Size;
        }
        return m_Word != nullptr ? 1 : 0;
    }
    bool IsEmpty() const noexcept { return m_Word == nullptr || (HasBlock() && GetBlock()->m_Size == 0); }
    // The items, GetSize() of them; valid until the list changes.
    TYPE* GetData() noexcept { return HasBlock() ? Items(GetBlock()) : &m_Word; }
    const TYPE* GetData() const noexcept { return HasBlock() ? Items(GetBlock()) : &m_Word; }
    // index must lie in [0, GetSize()).
    TYPE& operator[](int index) noexcept { return GetData()[index]; }
    TYPE operator[](int index) const noexcept { return GetData()[index]; }

    // item must not be null. Throws std::bad_alloc, leaving the list as it was.
    void Add(TYPE item)
    {
        static_assert(alignof(std::remove_pointer_t<TYPE>) >= 2, "the lowest bit of an item is free");
        if (m_Word == nullptr) {
            m_Word = item;
            return;
        }
        if (HasBlock()) {
            Block* block = GetBlock();
            if (block->m_Size != Capacity(block)) {
                Items(block)[block->m_Size++] = item;
                return;
            }
        }
        AddGrowing(item);
    }
    // index is clamped to [0, GetSize()].
    void InsertAt(int index, TYPE item)
    {
        const int size = GetSize();
        index = index < 0 ? 0 : (index > size ? size : index);
        Add(item);
        TYPE* items = GetData();
        std::memmove(items + index + 1, items + index, sizeof(TYPE) * std::size_t(size - index));
        items[index] = item;
    }
    // index must lie in [0, GetSize()).
    void RemoveAt(int index) noexcept
    {
        if (!HasBlock()) {
            m_Word = nullptr;
            return;
        }
        Block* block = GetBlock();
        TYPE* items = Items(block);
        std::memmove(items + index, items + index + 1, sizeof(TYPE) * std::size_t(block->m_Size - 1 - index));
        --block->m_Size;
    }
    void RemoveAll() noexcept
    {
        if (HasBlock()) {
            Block* block = GetBlock();
            if ((block->m_Capacity & kChained) != 0) {
                ReleaseBlock(Predecessor(block));
            }
            ReleaseBlock(block);
        }
        m_Word = nullptr;
    }
    // Room for count items in all, allocated at once.
    void Reserve(int count)
    {
        if (count > (HasBlock() ? Capacity(GetBlock()) : 1)) {
            Reallocate(count);
        }
    }
    // For an empty list: count (at least 1) items and, after them,
    // roomBytes bytes aligned like a pointer, in one allocation; returns the
    // room, which holds the objects the items will point to. items receives
    // the items' places, which the caller fills with non-null pointers
    // before the list is used again. Throws std::bad_alloc, leaving the list
    // empty.
    char* ReserveWithRoom(int count, std::size_t roomBytes, TYPE*& items)
    {
        RemoveAll();
        if (count < 1 || std::size_t(count) > kMostItems) {
            throw std::bad_alloc();
        }
        const std::size_t itemBytes = RoundedToPointer(BytesFor(count));
        auto* block = static_cast<Block*>(AllocateNode(itemBytes + roomBytes));
        block->m_Size = count;
        block->m_Capacity = count | kPinned;
        m_Word = reinterpret_cast<TYPE>(reinterpret_cast<std::uintptr_t>(block) | 1);
        items = Items(block);
        return reinterpret_cast<char*>(block) + itemBytes;
    }

private:
    // A list that outgrows one item usually holds a few (the parts of a
    // record, say): four fill one small block.
    enum : int { kFirstCapacity = 4 };

    // The items follow the block's two counts. The capacity carries two
    // marks: a pinned block holds room for objects (ReserveWithRoom), and a
    // chained block keeps such a block, whose address is stored just in
    // front of it.
    struct alignas(TYPE) Block {
        int m_Size;
        int m_Capacity;
    };
    enum : int { kPinned = 1 << 29, kChained = 1 << 30, kCapacityMask = kPinned - 1 };
    static constexpr std::size_t kMostItems = std::size_t(0x7FFFFFFF) / sizeof(TYPE) - 2;
    static_assert(kMostItems < std::size_t(kPinned), "the capacity leaves its marks free");

    static TYPE* Items(Block* block) noexcept { return reinterpret_cast<TYPE*>(block + 1); }
    static int Capacity(const Block* block) noexcept { return block->m_Capacity & kCapacityMask; }
    static std::size_t BytesFor(int capacity) noexcept { return sizeof(Block) + sizeof(TYPE) * std::size_t(capacity); }
    static Block* Predecessor(Block* block) noexcept
    {
        Block* kept = nullptr;
        std::memcpy(&kept, reinterpret_cast<char*>(block) - sizeof(Block*), sizeof kept);
        return kept;
    }
    // Frees the block's own allocation (a pinned one's room included, whose
    // objects must all be gone).
    static void ReleaseBlock(Block* block) noexcept
    {
        if ((block->m_Capacity & kChained) != 0) {
            ReleaseNode(reinterpret_cast<char*>(block) - sizeof(Block*), sizeof(Block*) + BytesFor(Capacity(block)));
        } else {
            ReleaseNode(block, BytesFor(Capacity(block)));
        }
    }

    // Add when the list must grow first (kept apart, so that the usual step
    // sets nothing up).
    [[gnu::noinline]] void AddGrowing(TYPE item)
    {
        Reallocate(HasBlock() ? Capacity(GetBlock()) * 2 : kFirstCapacity);
        Block* block = GetBlock();
        Items(block)[block->m_Size++] = item;
    }

    bool HasBlock() const noexcept { return (reinterpret_cast<std::uintptr_t>(m_Word) & 1) != 0; }
    Block* GetBlock() const noexcept
    {
        return reinterpret_cast<Block*>(reinterpret_cast<std::uintptr_t>(m_Word) & ~std::uintptr_t(1));
    }

    void Reallocate(int capacity)
    {
        if (capacity <= 1 || std::size_t(capacity) > kMostItems) {
            throw std::bad_alloc();
        }
        const int size = GetSize();
        Block* block = nullptr;
        if (HasBlock() && (GetBlock()->m_Capacity & (kPinned | kChained)) != 0) {
            // The pinned block stays; the items move to a block that keeps it.
            Block* old = GetBlock();
            Block* kept = (old->m_Capacity & kPinned) != 0 ? old : Predecessor(old);
            char* memory = static_cast<char*>(AllocateNode(sizeof(Block*) + BytesFor(capacity)));
            std::memcpy(memory, &kept, sizeof kept);
            block = reinterpret_cast<Block*>(memory + sizeof(Block*));
            std::memcpy(Items(block), Items(old), sizeof(TYPE) * std::size_t(size));
            if (old != kept) {
                ReleaseBlock(old);
            }
            block->m_Size = size;
            block->m_Capacity = capacity | kChained;
            m_Word = reinterpret_cast<TYPE>(reinterpret_cast<std::uintptr_t>(block) | 1);
            return;
        }
        if (HasBlock()) {
            block = static_cast<Block*>(
                ReallocateNode(GetBlock(), BytesFor(Capacity(GetBlock())), BytesFor(capacity)));
        } else {
            block = static_cast<Block*>(AllocateNode(BytesFor(capacity)));
            if (size == 1) {
                Items(block)[0] = m_Word;
            }
        }
        block->m_Size = size;
        block->m_Capacity = capacity;
        m_Word = reinterpret_cast<TYPE>(reinterpret_cast<std::uintptr_t>(block) | 1);
    }

    // Null, the one item, or the block's address with the lowest bit set.
    TYPE m_Word = nullptr;
};

} // namespace OrvXml
