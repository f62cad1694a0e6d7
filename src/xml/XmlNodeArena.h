// Memory for the nodes and attributes of the XML tree. Internal to the library.
//
// A parse creates many small objects that usually live and die together, so
// while a parse runs on a thread, the nodes and attributes it creates are
// cut from large blocks (a node arena) instead of one heap allocation each.
// Every object still dies on its own, whenever DeleteElement or the
// attribute's owner destroys it: each block counts the objects cut from it
// and is returned to the heap when the last of them is destroyed (from any
// thread), so an element kept after its document is gone stays valid.
// Outside a parse, objects come from the heap one by one. An object either
// carries one pointer in front of it (its block, or null for the heap), or
// is bare: then its owner keeps the place code the allocation gave
// (kBareOnHeap, or the object's distance from the start of its block in
// pointer-sized steps, which finds the block).
#pragma once

#include <cstddef>
#include <cstdint>

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

// Sizes the arena cuts are whole pointers, so that every object it hands out
// is aligned for any of the tree's objects.
inline constexpr std::size_t RoundedToPointer(std::size_t size) noexcept
{
    return (size + alignof(void*) - 1) & ~(alignof(void*) - 1);
}
// Larger objects than this (a derived class, say) go to the heap.
inline constexpr std::size_t kLargestArenaObject = 1024;
// Bare objects (nodes, with their texts after them) may be larger: one that
// does not fit the rest of the current block goes to the heap when it is
// larger than kLargestArenaObject, so that no block ends with much room
// unused, and starts the next block otherwise.
inline constexpr std::size_t kLargestBareObject = 4096;

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
    // The same without the pointer in front; place receives the code of
    // the block.
    void* AllocateBare(std::size_t size, std::uint16_t& place);
    // See ExtendLastNode.
    void* Extend(void* end, std::size_t extra) noexcept;
    bool HasRoomFor(std::size_t size) const noexcept
    {
        return std::size_t(m_End - m_Next) >= RoundedToPointer(size);
    }
    // Allocate when the current block has room; null otherwise.
    void* TryCut(std::size_t rounded) noexcept
    {
        if (std::size_t(m_End - m_Next) < rounded + sizeof(void*)) {
            return nullptr;
        }
        char* at = m_Next;
        m_Next += rounded + sizeof(void*);
        ++m_Count;
        Block* const block = m_Block;
        __builtin_memcpy(at, &block, sizeof block);
        return at + sizeof(void*);
    }
    // AllocateBare when the current block has room; null otherwise.
    void* TryCutBare(std::size_t rounded, std::uint16_t& place) noexcept
    {
        if (std::size_t(m_End - m_Next) < rounded) {
            return nullptr;
        }
        char* at = m_Next;
        m_Next += rounded;
        ++m_Count;
        place = std::uint16_t(std::size_t(at - reinterpret_cast<char*>(m_Block)) / alignof(void*));
        return at;
    }

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

private:
    // Hands the batch to its block (the outermost scope ends).
    static void Flush() noexcept;
    CNodeReleaseScope(const CNodeReleaseScope&) = delete;
    CNodeReleaseScope& operator=(const CNodeReleaseScope&) = delete;
};

// The allocation functions of the tree's classes: from the thread's open
// arena, or from the heap. ReleaseNode takes the size that was allocated.
inline void* AllocateNode(std::size_t size);
inline void ReleaseNode(void* object, std::size_t size) noexcept;
void* AllocateNodeSlowly(std::size_t size);
void ReleaseNodeSlowly(void* object, std::size_t size) noexcept;
// The same for bare objects: place receives the code that ReleaseBareNode
// needs back, which the object keeps. Codes are never 0: an owner can use 0
// for an object that did not come from here.
inline constexpr std::uint16_t kBareOnHeap = 1;
void* AllocateBareNodeSlowly(std::size_t size, std::uint16_t& place);
void ReleaseBareNodeSlowly(void* object, std::size_t size, std::uint16_t place) noexcept;

// When end is where the thread's arena cuts next (the end of the object it
// cut last), the bytes of extra more at end, which then belong to that
// object; null otherwise.
void* ExtendLastNode(void* end, std::size_t extra) noexcept;

// The thread's state, read inline by the steps below (a parse allocates and
// releases a node for every piece of markup).
namespace NodeArenaThread {
// The releases a CNodeReleaseScope holds back: count objects of block.
struct ReleaseBatch {
    CNodeArena::Block* m_Block = nullptr;
    std::size_t m_Count = 0;
    int m_Depth = 0;
};
// In an ELF shared library a plain thread_local goes through a call to
// __tls_get_addr each time; the initial-exec model reads it at a fixed
// offset instead (the library is loaded with the program, and its few
// bytes of thread storage fit the space the loader keeps for that).
#if !defined(_WIN32) && (defined(__GNUC__) || defined(__clang__))
#define ORV_FAST_THREAD_LOCAL thread_local __attribute__((tls_model("initial-exec")))
#else
#define ORV_FAST_THREAD_LOCAL thread_local
#endif
extern constinit ORV_FAST_THREAD_LOCAL CNodeArena* t_Arena;
extern constinit ORV_FAST_THREAD_LOCAL ReleaseBatch t_Release;
} // namespace NodeArenaThread

// (Scopes nest on every node destroyed with attributes: these steps are inline.)
inline CNodeReleaseScope::CNodeReleaseScope() noexcept
{
    ++NodeArenaThread::t_Release.m_Depth;
}

inline CNodeReleaseScope::~CNodeReleaseScope()
{
    if (--NodeArenaThread::t_Release.m_Depth == 0) {
        Flush();
    }
}

inline void* AllocateNode(std::size_t size)
{
#if !defined(ORV_NODE_ARENA_POISONS)
    if (CNodeArena* arena = NodeArenaThread::t_Arena; arena != nullptr && size <= kLargestArenaObject) {
        if (void* at = arena->TryCut(RoundedToPointer(size))) {
            return at;
        }
    }
#endif
    return AllocateNodeSlowly(size);
}

inline void ReleaseNode(void* object, std::size_t size) noexcept
{
#if !defined(ORV_NODE_ARENA_POISONS)
    if (object != nullptr) {
        CNodeArena::Block* block = nullptr;
        __builtin_memcpy(&block, static_cast<char*>(object) - sizeof(void*), sizeof block);
        NodeArenaThread::ReleaseBatch& batch = NodeArenaThread::t_Release;
        if (block != nullptr && batch.m_Depth != 0 && batch.m_Block == block) {
            ++batch.m_Count;
            return;
        }
    }
#endif
    ReleaseNodeSlowly(object, size);
}

inline void* AllocateBareNode(std::size_t size, std::uint16_t& place)
{
#if !defined(ORV_NODE_ARENA_POISONS)
    if (CNodeArena* arena = NodeArenaThread::t_Arena; arena != nullptr && size <= kLargestBareObject) {
        if (void* at = arena->TryCutBare(RoundedToPointer(size), place)) {
            return at;
        }
    }
#endif
    return AllocateBareNodeSlowly(size, place);
}

inline void ReleaseBareNode(void* object, std::size_t size, std::uint16_t place) noexcept
{
#if !defined(ORV_NODE_ARENA_POISONS)
    NodeArenaThread::ReleaseBatch& batch = NodeArenaThread::t_Release;
    if (place != kBareOnHeap && batch.m_Depth != 0
        && reinterpret_cast<char*>(batch.m_Block) == static_cast<char*>(object) - std::size_t(place) * alignof(void*)) {
        ++batch.m_Count;
        return;
    }
#endif
    ReleaseBareNodeSlowly(object, size, place);
}
// An object allocated with tailSize more bytes than its class needs (texts
// placed right after it) calls this as it dies, before its class's delete
// releases objectSize bytes, so that checked builds see the whole
// allocation die.
#if defined(ORV_NODE_ARENA_POISONS)
void RetireNodeTail(void* object, std::size_t objectSize, std::size_t tailSize) noexcept;
void RetireBareNodeTail(void* object, std::size_t objectSize, std::size_t tailSize, std::uint16_t place) noexcept;
#else
inline void RetireNodeTail(void*, std::size_t, std::size_t) noexcept { }
inline void RetireBareNodeTail(void*, std::size_t, std::size_t, std::uint16_t) noexcept { }
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
    return RoundedToPointer(kEmbeddedHeader + size);
}
// Moves an object of plain bytes (null for none) to memory of newSize
// bytes, keeping the first min(oldSize, newSize) bytes; one on the heap
// is resized in place where the heap can. Throws std::bad_alloc, leaving
// the object as it was.
void* ReallocateNode(void* object, std::size_t oldSize, std::size_t newSize);

} // namespace OrvXml
