// Memory for the nodes and attributes of the XML tree. Internal to the library.
//
// A parse creates many small objects that usually live and die together, so
// while a parse runs on a thread, the nodes and attributes it creates are
// cut from large blocks (a node arena) instead of one heap allocation each.
// Every object still dies on its own, whenever DeleteElement or the
// attribute's owner destroys it: each block counts the objects cut from it
// and is returned to the heap when the last of them is destroyed (from any
// thread), so an element kept after its document is gone stays valid.
// Outside a parse, objects come from the heap one by one. Either kind
// carries one pointer in front of it: its block, or null for the heap.
#pragma once

#include <cstddef>

// Under the address sanitizer the arena marks the memory of dead objects,
// so that a use after release is caught as it is on the heap.
#if defined(__SANITIZE_ADDRESS__)
#define ORV_NODE_ARENA_POISONS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORV_NODE_ARENA_POISONS 1
#endif
#endif

namespace OrvXml {

class CNodeArena {
public:
    CNodeArena() noexcept = default;
    // Gives up the arena's hold on its current block.
    ~CNodeArena();
    // Sizes the first block for about expectedBytes of objects, within the
    // smallest and the largest block size.
    void Expect(std::size_t expectedBytes) noexcept;
    CNodeArena(const CNodeArena&) = delete;
    CNodeArena& operator=(const CNodeArena&) = delete;

    // Memory for an object of size bytes, aligned for any of the tree's
    // objects. Throws std::bad_alloc.
    void* Allocate(std::size_t size);

    struct Block;

private:
    void Retire() noexcept;
    void StartBlock();
    void* Cut(std::size_t needed) noexcept;

    Block* m_Block = nullptr;
    char* m_Next = nullptr;
    char* m_End = nullptr;
    std::size_t m_Count = 0;
    std::size_t m_NextBlockSize = 0;
};

// While one of these lives, the thread's tree objects come from its arena
// (the outermost scope's, when parses nest).
class CNodeArenaScope {
public:
    // expectedBytes: about how much the objects made in the scope will
    // take, which sizes the arena's first block (0: the smallest).
    explicit CNodeArenaScope(std::size_t expectedBytes = 0) noexcept;
    ~CNodeArenaScope();
    CNodeArenaScope(const CNodeArenaScope&) = delete;
    CNodeArenaScope& operator=(const CNodeArenaScope&) = delete;

private:
    CNodeArena m_Arena;
    bool m_Owner = false;
};

// While one of these lives on a thread, the objects that thread releases
// are counted per block and handed back to their block in one step (when
// the releases move on to another block, or the outermost scope ends)
// instead of one atomic step each. A tree is destroyed in about the order
// it was built, so most releases in a row hit the same block.
class CNodeReleaseScope {
public:
    CNodeReleaseScope() noexcept;
    ~CNodeReleaseScope();
    CNodeReleaseScope(const CNodeReleaseScope&) = delete;
    CNodeReleaseScope& operator=(const CNodeReleaseScope&) = delete;
};

// The allocation functions of the tree's classes: from the thread's open
// arena, or from the heap. ReleaseNode takes the size that was allocated.
void* AllocateNode(std::size_t size);
void ReleaseNode(void* object, std::size_t size) noexcept;
// An object allocated with tailSize more bytes than its class needs (texts
// placed right after it) calls this as it dies, before its class's delete
// releases objectSize bytes, so that checked builds see the whole
// allocation die.
#if defined(ORV_NODE_ARENA_POISONS)
void RetireNodeTail(void* object, std::size_t objectSize, std::size_t tailSize) noexcept;
#else
inline void RetireNodeTail(void*, std::size_t, std::size_t) noexcept { }
#endif

// Objects can also live in memory that another object owns (the room of a
// node list, see XmlNodeList.h), without a pointer to a block in front of
// them. In checked builds they still get that word, holding a non-null
// value, so that RetireNodeTail treats them as arena objects: the bytes an
// object takes there, from the start of its slot, is kEmbeddedHeader plus
// its size, rounded up with EmbeddedSlot.
#if defined(ORV_NODE_ARENA_POISONS)
inline constexpr std::size_t kEmbeddedHeader = sizeof(void*);
// Marks the size bytes of a dead embedded object.
void RetireEmbeddedNode(void* object, std::size_t size) noexcept;
#else
inline constexpr std::size_t kEmbeddedHeader = 0;
inline void RetireEmbeddedNode(void*, std::size_t) noexcept { }
#endif
inline constexpr std::size_t EmbeddedSlot(std::size_t size) noexcept
{
    return (kEmbeddedHeader + size + alignof(void*) - 1) & ~(alignof(void*) - 1);
}
// Moves an object of plain bytes (null for none) to memory of newSize
// bytes, keeping the first min(oldSize, newSize) bytes; one on the heap
// is resized in place where the heap can. Throws std::bad_alloc, leaving
// the object as it was.
void* ReallocateNode(void* object, std::size_t oldSize, std::size_t newSize);

} // namespace OrvXml
