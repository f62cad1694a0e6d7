// Hash maps: POSITION, HashKey, CMap and its concrete forms CMapStringToString, CMapStringToPtr, CMapWordToPtr, CMapPtrToPtr.
#pragma once

#include "framework/Exceptions.h"
#include "framework/String.h"
#include "base/Types.h"

#include <climits>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

// An iteration cursor over a collection. It points at the entry that the
// next step returns; null means the iteration has ended.
struct POSITION_TAG;
using POSITION = POSITION_TAG*;

// Hash of an integer, enumeration or pointer key: its value, with 64-bit
// values folded to 32 bits. Other key types need an overload of HashKey
// visible where the map is used (found by argument-dependent lookup).
template <class ARG_KEY>
inline UINT HashKey(ARG_KEY key) noexcept
{
    std::uint64_t value = 0;
    if constexpr (std::is_pointer_v<ARG_KEY>) {
        value = reinterpret_cast<std::uintptr_t>(key);
    } else if constexpr (std::is_enum_v<ARG_KEY> || std::is_integral_v<ARG_KEY>) {
        // Widening through the unsigned type of the same size keeps a 32-bit
        // key's hash equal to its value, negative keys included.
        using Unsigned = std::make_unsigned_t<
            typename std::conditional_t<std::is_enum_v<ARG_KEY>, std::underlying_type<ARG_KEY>,
                                        std::type_identity<ARG_KEY>>::type>;
        value = static_cast<Unsigned>(key);
    } else {
        static_assert(std::is_pointer_v<ARG_KEY>, "HashKey needs an overload for this key type");
    }
    return static_cast<UINT>(value ^ (value >> 32));
}

// Hash of text: a multiplicative byte hash. A CString and a const char*
// holding the same NUL-free text hash alike.
inline UINT HashKey(const char* key) noexcept
{
    UINT hash = 0;
    for (const char* p = key; p != nullptr && *p != '\0'; ++p) {
        hash = hash * 33u + static_cast<unsigned char>(*p);
    }
    return hash;
}

inline UINT HashKey(const CString& key) noexcept
{
    UINT hash = 0;
    const char* text = key.GetString();
    for (int i = 0; i < key.GetLength(); ++i) {
        hash = hash * 33u + static_cast<unsigned char>(text[i]);
    }
    return hash;
}

// A chained hash table from KEY to VALUE, taking arguments as ARG_KEY and
// ARG_VALUE. Keys compare with KEY == ARG_KEY and hash with HashKey(ARG_KEY);
// an entry lives in bucket HashKey(key) % GetHashTableSize().
//
// Iteration runs through the buckets in order and along each chain in turn;
// new entries join the front of their chain. A POSITION stays valid while
// the map is only read (Lookup, GetNextAssoc, operator[] on keys present);
// adding, removing or rehashing entries invalidates it.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap {
public:
    CMap() = default;
    // blockSize is accepted and ignored: entries are allocated one at a time.
    explicit CMap(int /*blockSize*/) {}

    CMap(const CMap& other) : m_hashSize(other.m_hashSize) { CopyFrom(other); }

    CMap(CMap&& other) noexcept
        : m_buckets(std::move(other.m_buckets)), m_hashSize(other.m_hashSize), m_count(other.m_count)
    {
        other.m_buckets.clear();
        other.m_count = 0;
    }

    CMap& operator=(const CMap& other)
    {
        if (this != &other) {
            CMap copy(other);
            Swap(copy);
        }
        return *this;
    }

    CMap& operator=(CMap&& other) noexcept
    {
        if (this != &other) {
            RemoveAll();
            Swap(other);
        }
        return *this;
    }

    ~CMap() { RemoveAll(); }

    // Sets the bucket count (0 counts as 1). Entries already present are
    // redistributed over the new buckets. With allocNow false the bucket
    // table of an empty map is allocated only when the first entry arrives.
    void InitHashTable(UINT hashSize, bool allocNow = true)
    {
        const UINT size = hashSize == 0 ? 1 : hashSize;
        std::vector<Assoc*> buckets;
        if (allocNow || m_count > 0) {
            buckets = NewBuckets(size);
        }
        for (Assoc* head : m_buckets) {
            while (head != nullptr) {
                Assoc* next = head->next;
                Assoc*& slot = buckets[head->hash % size];
                head->next = slot;
                slot = head;
                head = next;
            }
        }
        m_buckets = std::move(buckets);
        m_hashSize = size;
    }

    UINT GetHashTableSize() const noexcept { return m_hashSize; }
    int GetCount() const noexcept { return m_count; }
    int GetSize() const noexcept { return m_count; }
    bool IsEmpty() const noexcept { return m_count == 0; }

    // Copies the value for key into value and returns true; returns false
    // and leaves value as it was when the key is absent.
    bool Lookup(ARG_KEY key, VALUE& value) const
    {
        const Assoc* assoc = Find(key, HashKey(key));
        if (assoc == nullptr) {
            return false;
        }
        value = assoc->value;
        return true;
    }

    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

    // The value for key, added value-initialised when the key is absent.
    VALUE& operator[](ARG_KEY key)
    {
        const UINT hash = HashKey(key);
        if (Assoc* assoc = Find(key, hash)) {
            return assoc->value;
        }
        if (m_buckets.empty()) {
            m_buckets = NewBuckets(m_hashSize);
        }
        if (m_count == INT_MAX) {
            throw CMemoryException();
        }
        Assoc*& slot = m_buckets[hash % m_hashSize];
        slot = new Assoc{slot, hash, KEY(key), VALUE()};
        ++m_count;
        return slot->value;
    }

    // Returns whether the key was present.
    bool RemoveKey(ARG_KEY key)
    {
        if (m_buckets.empty()) {
            return false;
        }
        const UINT hash = HashKey(key);
        for (Assoc** link = &m_buckets[hash % m_hashSize]; *link != nullptr; link = &(*link)->next) {
            Assoc* assoc = *link;
            if (assoc->hash == hash && assoc->key == key) {
                *link = assoc->next;
                delete assoc;
                --m_count;
                return true;
            }
        }
        return false;
    }

    // Removes every entry; the bucket count stays as it is.
    void RemoveAll() noexcept
    {
        for (Assoc* head : m_buckets) {
            while (head != nullptr) {
                Assoc* next = head->next;
                delete head;
                head = next;
            }
        }
        m_buckets.clear();
        m_count = 0;
    }

    // The first entry, or null when the map is empty.
    POSITION GetStartPosition() const noexcept { return ToPosition(FirstFrom(0)); }

    // Copies out the entry at position and moves position to the next one,
    // or to null after the last. A null position throws CInvalidArgException.
    void GetNextAssoc(POSITION& position, KEY& key, VALUE& value) const
    {
        if (position == nullptr) {
            throw CInvalidArgException();
        }
        const Assoc* assoc = reinterpret_cast<const Assoc*>(position);
        key = assoc->key;
        value = assoc->value;
        const Assoc* next = assoc->next != nullptr ? assoc->next : FirstFrom(assoc->hash % m_hashSize + 1);
        position = ToPosition(next);
    }

private:
    struct Assoc {
        Assoc* next;
        UINT hash;
        KEY key;
        VALUE value;
    };

    static std::vector<Assoc*> NewBuckets(UINT size)
    {
        try {
            return std::vector<Assoc*>(size, nullptr);
        } catch (const std::bad_alloc&) {
            throw CMemoryException();
        } catch (const std::length_error&) {
            throw CMemoryException();
        }
    }

    static POSITION ToPosition(const Assoc* assoc) noexcept
    {
        return reinterpret_cast<POSITION>(const_cast<Assoc*>(assoc));
    }

    const Assoc* FirstFrom(std::size_t bucket) const noexcept
    {
        for (; bucket < m_buckets.size(); ++bucket) {
            if (m_buckets[bucket] != nullptr) {
                return m_buckets[bucket];
            }
        }
        return nullptr;
    }

    Assoc* Find(ARG_KEY key, UINT hash) const
    {
        if (m_buckets.empty()) {
            return nullptr;
        }
        for (Assoc* assoc = m_buckets[hash % m_hashSize]; assoc != nullptr; assoc = assoc->next) {
            if (assoc->hash == hash && assoc->key == key) {
                return assoc;
            }
        }
        return nullptr;
    }

    // Rebuilds other's chains in the same order, so a copy iterates exactly
    // like its original.
    void CopyFrom(const CMap& other)
    {
        if (other.m_buckets.empty()) {
            return;
        }
        m_buckets = NewBuckets(m_hashSize);
        try {
            for (std::size_t bucket = 0; bucket < other.m_buckets.size(); ++bucket) {
                Assoc** tail = &m_buckets[bucket];
                for (const Assoc* assoc = other.m_buckets[bucket]; assoc != nullptr; assoc = assoc->next) {
                    *tail = new Assoc{nullptr, assoc->hash, assoc->key, assoc->value};
                    tail = &(*tail)->next;
                    ++m_count;
                }
            }
        } catch (...) {
            RemoveAll();
            throw;
        }
    }

    void Swap(CMap& other) noexcept
    {
        std::swap(m_buckets, other.m_buckets);
        std::swap(m_hashSize, other.m_hashSize);
        std::swap(m_count, other.m_count);
    }

    // An empty table means no bucket has been allocated yet; it is made at
    // the first insertion with m_hashSize buckets.
    std::vector<Assoc*> m_buckets;
    UINT m_hashSize = 17;
    int m_count = 0;
};

class CMapStringToString : public CMap<CString, const char*, CString, const char*> {
public:
    using CMap<CString, const char*, CString, const char*>::CMap;
};

class CMapStringToPtr : public CMap<CString, const char*, void*, void*> {
public:
    using CMap<CString, const char*, void*, void*>::CMap;
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
public:
    using CMap<WORD, WORD, void*, void*>::CMap;
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
public:
    using CMap<void*, void*, void*, void*>::CMap;
};
