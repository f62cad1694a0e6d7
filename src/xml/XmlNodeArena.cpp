#include "xml/XmlNodeArena.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer) && !defined(__SANITIZE_ADDRESS__)
#define __SANITIZE_ADDRESS__ 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define ORV_POISON(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define ORV_UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
#else
#define ORV_POISON(address, size) ((void)(address), (void)(size))
#define ORV_UNPOISON(address, size) ((void)(address), (void)(size))
#endif

namespace OrvXml {

constinit ORV_FAST_THREAD_LOCAL CNodeArena* NodeArenaThread::t_Arena = nullptr;
constinit ORV_FAST_THREAD_LOCAL NodeArenaThread::ReleaseBatch NodeArenaThread::t_Release;

namespace {

// The pointer in front of every object that carries one: its block, or null.
constexpr std::size_t kHeader = sizeof(void*);
constexpr std::size_t kAlignment = alignof(void*);
// Blocks start small, so that a small document costs little, and double up
// to the largest size.
constexpr std::size_t kFirstBlockSize = 4096;
constexpr std::size_t kLargestBlockSize = 65536;
static_assert(kLargestBlockSize / kAlignment <= 0xFFFF, "a bare object's place fits its code");
// A block's count starts this high, so that objects destroyed while the
// arena still cuts from it never bring it to zero; the arena takes the bias
// back, less what it cut, when it moves on.
constexpr std::size_t kBias = SIZE_MAX / 2;

using NodeArenaThread::ReleaseBatch;
using NodeArenaThread::t_Arena;
using NodeArenaThread::t_Release;

} // namespace

struct CNodeArena::Block {
    std::atomic<std::size_t> m_References;
    std::size_t m_Size;

    void Release(std::size_t count) noexcept
    {
        if (m_References.fetch_sub(count, std::memory_order_acq_rel) == count) {
            ORV_UNPOISON(this, m_Size);
            std::free(this);
        }
    }
};

CNodeArena::~CNodeArena()
{
    Retire();
}

void CNodeArena::Retire() noexcept
{
    if (m_Block != nullptr) {
        ORV_UNPOISON(m_Next, std::size_t(m_End - m_Next));
        Block* block = m_Block;
        m_Block = nullptr;
        m_Next = m_End = nullptr;
        block->Release(kBias - m_Count);
    }
}

// Retires the current block and starts the next one.
void CNodeArena::StartBlock()
{
    Retire();
    const std::size_t blockSize = m_NextBlockSize == 0 ? kFirstBlockSize : m_NextBlockSize;
    void* memory = std::malloc(blockSize);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    m_Block = ::new (memory) Block{{kBias}, blockSize};
    m_Next = static_cast<char*>(memory) + RoundedToPointer(sizeof(Block));
    m_End = static_cast<char*>(memory) + blockSize;
    m_Count = 0;
    m_NextBlockSize = blockSize < kLargestBlockSize ? blockSize * 2 : kLargestBlockSize;
    ORV_POISON(m_Next, std::size_t(m_End - m_Next));
}

void* CNodeArena::Cut(std::size_t needed) noexcept
{
    char* at = m_Next;
    m_Next += needed;
    ++m_Count;
    ORV_UNPOISON(at, needed);
    *reinterpret_cast<Block**>(at) = m_Block;
    return at + kHeader;
}

void* CNodeArena::Allocate(std::size_t size)
{
    const std::size_t needed = RoundedToPointer(kHeader + size);
    if (std::size_t(m_End - m_Next) < needed || m_Block == nullptr) {
        StartBlock();
    }
    return Cut(needed);
}

void* CNodeArena::AllocateBare(std::size_t size, std::uint16_t& place)
{
    const std::size_t needed = RoundedToPointer(size);
    if (std::size_t(m_End - m_Next) < needed || m_Block == nullptr) {
        StartBlock();
    }
    char* at = m_Next;
    m_Next += needed;
    ++m_Count;
    ORV_UNPOISON(at, needed);
    place = std::uint16_t(std::size_t(at - reinterpret_cast<char*>(m_Block)) / kAlignment);
    return at;
}

void* CNodeArena::Extend(void* end, std::size_t extra) noexcept
{
    const std::size_t needed = RoundedToPointer(extra);
    if (end != m_Next || m_Block == nullptr || std::size_t(m_End - m_Next) < needed) {
        return nullptr;
    }
    m_Next += needed;
    ORV_UNPOISON(end, needed);
    return end;
}

void* ExtendLastNode(void* end, std::size_t extra) noexcept
{
    CNodeArena* arena = t_Arena;
    return arena != nullptr && extra <= kLargestArenaObject ? arena->Extend(end, extra) : nullptr;
}

void CNodeReleaseScope::Flush() noexcept
{
    ReleaseBatch& batch = t_Release;
    if (batch.m_Block != nullptr) {
        CNodeArena::Block* block = batch.m_Block;
        batch.m_Block = nullptr;
        block->Release(batch.m_Count);
    }
}

void CNodeArena::Expect(std::size_t expectedBytes) noexcept
{
    if (m_Block != nullptr) {
        return;
    }
    std::size_t size = kFirstBlockSize;
    while (size < expectedBytes && size < kLargestBlockSize) {
        size *= 2;
    }
    m_NextBlockSize = size;
}

CNodeArenaScope::CNodeArenaScope(std::size_t expectedBytes) noexcept
{
    m_Arena.Expect(expectedBytes);
    if (t_Arena == nullptr) {
        t_Arena = &m_Arena;
        m_Owner = true;
    }
}

CNodeArenaScope::~CNodeArenaScope()
{
    if (m_Owner) {
        t_Arena = nullptr;
    }
}

void* AllocateNodeSlowly(std::size_t size)
{
    CNodeArena* arena = t_Arena;
    if (arena != nullptr && size <= kLargestArenaObject) {
        return arena->Allocate(size);
    }
    void* memory = std::malloc(kHeader + size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    *static_cast<void**>(memory) = nullptr;
    return static_cast<char*>(memory) + kHeader;
}

namespace {

// Hands one dead object back to its block, directly or through the
// thread's batch.
void ReleaseToBlock(CNodeArena::Block* block) noexcept
{
    ReleaseBatch& batch = t_Release;
    if (batch.m_Depth == 0) {
        block->Release(1);
        return;
    }
    if (batch.m_Block != block) {
        if (batch.m_Block != nullptr) {
            batch.m_Block->Release(batch.m_Count);
        }
        batch.m_Block = block;
        batch.m_Count = 0;
    }
    ++batch.m_Count;
}

} // namespace

void ReleaseNodeSlowly(void* object, std::size_t size) noexcept
{
    if (object == nullptr) {
        return;
    }
    char* at = static_cast<char*>(object) - kHeader;
    auto* block = *reinterpret_cast<CNodeArena::Block**>(at);
    if (block == nullptr) {
        std::free(at);
        return;
    }
    ORV_POISON(at, RoundedToPointer(kHeader + size));
    ReleaseToBlock(block);
}

void* AllocateBareNodeSlowly(std::size_t size, std::uint16_t& place)
{
    CNodeArena* arena = t_Arena;
    if (arena != nullptr && (size <= kLargestArenaObject || (size <= kLargestBareObject && arena->HasRoomFor(size)))) {
        return arena->AllocateBare(size, place);
    }
    void* memory = std::malloc(size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    place = kBareOnHeap;
    return memory;
}

void ReleaseBareNodeSlowly(void* object, std::size_t size, std::uint16_t place) noexcept
{
    if (place == kBareOnHeap) {
        std::free(object);
        return;
    }
    auto* block = reinterpret_cast<CNodeArena::Block*>(static_cast<char*>(object) - std::size_t(place) * kAlignment);
    ORV_POISON(object, RoundedToPointer(size));
    ReleaseToBlock(block);
}

#if defined(ORV_NODE_ARENA_POISONS)
void RetireEmbeddedNode(void* object, std::size_t size) noexcept
{
    ORV_POISON(object, size);
}

void RetireNodeTail(void* object, std::size_t objectSize, std::size_t tailSize) noexcept
{
    char* at = static_cast<char*>(object) - kHeader;
    if (tailSize == 0 || *reinterpret_cast<CNodeArena::Block**>(at) == nullptr) {
        return;
    }
    // ReleaseNode poisons the rounded head; the rest of the allocation is
    // what lies past it.
    const std::size_t head = RoundedToPointer(kHeader + objectSize);
    const std::size_t whole = RoundedToPointer(kHeader + objectSize + tailSize);
    ORV_POISON(at + head, whole - head);
}

void RetireBareNodeTail(void* object, std::size_t objectSize, std::size_t tailSize, std::uint16_t place) noexcept
{
    if (tailSize == 0 || place == kBareOnHeap) {
        return;
    }
    const std::size_t head = RoundedToPointer(objectSize);
    ORV_POISON(static_cast<char*>(object) + head, RoundedToPointer(objectSize + tailSize) - head);
}
#endif

void* ReallocateNode(void* object, std::size_t oldSize, std::size_t newSize)
{
    if (object != nullptr) {
        char* at = static_cast<char*>(object) - kHeader;
        if (*reinterpret_cast<CNodeArena::Block**>(at) == nullptr) {
            void* memory = std::realloc(at, kHeader + newSize);
            if (memory == nullptr) {
                throw std::bad_alloc();
            }
            return static_cast<char*>(memory) + kHeader;
        }
    }
    void* moved = AllocateNode(newSize);
    if (object != nullptr) {
        std::memcpy(moved, object, oldSize < newSize ? oldSize : newSize);
        ReleaseNode(object, oldSize);
    }
    return moved;
}

} // namespace OrvXml
