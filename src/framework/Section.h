// A recursive lock and its scope guard: CSection, CSectionLock.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

#include <atomic>
#include <cstddef>
#include <thread>

// A recursive mutual-exclusion lock: the thread that holds it may lock it
// again, and must unlock it as many times. A thread waiting for it first
// retries spinCount times before it sleeps, which pays off for short
// critical sections on several cores. On Windows it is a critical section.
class ORV_API CSection {
public:
    CSection();
    // Throws CMemoryException when the system cannot create the lock.
    explicit CSection(DWORD spinCount);
    // The section must not be held by another thread when it is destroyed.
    ~CSection();

    CSection(const CSection&) = delete;
    CSection& operator=(const CSection&) = delete;

    void Lock();
    // Takes the lock only when that needs no waiting; returns whether it did.
    bool TryLock();
    // Throws CInvalidArgException when the calling thread does not hold the lock.
    void Unlock();

private:
    bool HeldByCaller() const noexcept;

    // Room for the system lock object, which only Section.cpp knows, so this
    // header needs no system lock headers.
    alignas(std::max_align_t) unsigned char m_lock[64];
    DWORD m_spinCount = 4000;
    // The holding thread and how many times it has locked. Only the holder
    // writes them; other threads compare the owner with their own id, which
    // it can never wrongly equal.
    std::atomic<std::thread::id> m_owner{};
    int m_depth = 0;
};

// Holds a CSection for the lifetime of a scope.
class CSectionLock {
public:
    explicit CSectionLock(CSection& section) : m_section(section) { m_section.Lock(); }
    ~CSectionLock() { m_section.Unlock(); }

    CSectionLock(const CSectionLock&) = delete;
    CSectionLock& operator=(const CSectionLock&) = delete;

private:
    CSection& m_section;
};
