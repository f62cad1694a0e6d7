#include "framework/Section.h"

#include "framework/Exceptions.h"

#include <new>

#if !defined(_WIN32)
#  include <mutex>
#endif

// The system lock is taken once by the outermost Lock; nested locks by the
// holder only count, so the system object never needs to be recursive and
// the owner record also tells when Unlock comes from a thread that does not
// hold the section.

namespace {

#if defined(_WIN32)
using SystemLock = CRITICAL_SECTION;
#else
using SystemLock = std::mutex;
#endif

SystemLock& System(unsigned char* storage) noexcept
{
    return *std::launder(reinterpret_cast<SystemLock*>(storage));
}

#if defined(_WIN32)

void Create(unsigned char* storage, DWORD spinCount)
{
    auto* section = new (storage) CRITICAL_SECTION();
    if (!InitializeCriticalSectionAndSpinCount(section, spinCount)) {
        throw CMemoryException();
    }
}

void Destroy(unsigned char* storage) noexcept
{
    DeleteCriticalSection(&System(storage));
}

void Acquire(unsigned char* storage, DWORD /*spinCount*/) noexcept
{
    // The critical section spins by itself before it waits.
    EnterCriticalSection(&System(storage));
}

bool TryAcquire(unsigned char* storage) noexcept
{
    return TryEnterCriticalSection(&System(storage)) != FALSE;
}

void Release(unsigned char* storage) noexcept
{
    LeaveCriticalSection(&System(storage));
}

#else

void Create(unsigned char* storage, DWORD /*spinCount*/)
{
    new (storage) std::mutex();
}

void Destroy(unsigned char* storage) noexcept
{
    System(storage).~mutex();
}

void Acquire(unsigned char* storage, DWORD spinCount)
{
    std::mutex& mutex = System(storage);
    for (DWORD i = 0; i < spinCount; ++i) {
        if (mutex.try_lock()) {
            return;
        }
    }
    mutex.lock();
}

bool TryAcquire(unsigned char* storage) noexcept
{
    return System(storage).try_lock();
}

void Release(unsigned char* storage) noexcept
{
    System(storage).unlock();
}

#endif

} // namespace

CSection::CSection() : CSection(4000)
{
}

CSection::CSection(DWORD spinCount) : m_spinCount(spinCount)
{
    static_assert(sizeof(SystemLock) <= sizeof(m_lock), "the lock storage is too small");
    static_assert(alignof(SystemLock) <= alignof(std::max_align_t), "the lock storage is misaligned");
    Create(m_lock, spinCount);
}

CSection::~CSection()
{
    // A holder that forgot to unlock still leaves the system object free to
    // be destroyed.
    if (HeldByCaller()) {
        m_depth = 0;
        m_owner.store(std::thread::id(), std::memory_order_relaxed);
        Release(m_lock);
    }
    Destroy(m_lock);
}

bool CSection::HeldByCaller() const noexcept
{
    return m_owner.load(std::memory_order_relaxed) == std::this_thread::get_id();
}

void CSection::Lock()
{
    if (HeldByCaller()) {
        ++m_depth;
        return;
    }
    Acquire(m_lock, m_spinCount);
    m_owner.store(std::this_thread::get_id(), std::memory_order_relaxed);
    m_depth = 1;
}

bool CSection::TryLock()
{
    if (HeldByCaller()) {
        ++m_depth;
        return true;
    }
    if (!TryAcquire(m_lock)) {
        return false;
    }
    m_owner.store(std::this_thread::get_id(), std::memory_order_relaxed);
    m_depth = 1;
    return true;
}

void CSection::Unlock()
{
    if (!HeldByCaller()) {
        throw CInvalidArgException();
    }
    if (--m_depth == 0) {
        m_owner.store(std::thread::id(), std::memory_order_relaxed);
        Release(m_lock);
    }
}
