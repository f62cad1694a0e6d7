#include "framework/MemFile.h"

#include "framework/Exceptions.h"

#include <cstring>
#include <limits>

namespace {
// The file's length is bounded by what a UINT-counted read can cover in
// steps and by what the process can address; past it, growth fails.
constexpr std::size_t kMaximumLength = std::numeric_limits<UINT>::max();
} // namespace

CMemFile::CMemFile(UINT growBytes) : m_growBytes(growBytes)
{
}

CMemFile::CMemFile(BYTE* buffer, UINT size, UINT growBytes)
{
    Attach(buffer, size, growBytes);
}

CMemFile::~CMemFile() = default;

void CMemFile::Attach(BYTE* buffer, UINT size, UINT growBytes)
{
    if (buffer == nullptr && size > 0) {
        throw CInvalidArgException();
    }
    m_owned.clear();
    m_owned.shrink_to_fit();
    m_buffer = buffer;
    m_capacity = size;
    m_length = growBytes == 0 ? size : 0;
    m_position = 0;
    m_growBytes = growBytes;
}

UINT CMemFile::Read(void* buffer, UINT count)
{
    if (count == 0 || m_position >= m_length) {
        return 0;
    }
    if (buffer == nullptr) {
        throw CInvalidArgException();
    }
    const std::size_t available = m_length - m_position;
    const std::size_t taken = count < available ? count : available;
    std::memcpy(buffer, m_buffer + m_position, taken);
    m_position += taken;
    return static_cast<UINT>(taken);
}

void CMemFile::Write(const void* buffer, UINT count)
{
    if (count == 0) {
        return;
    }
    if (buffer == nullptr) {
        throw CInvalidArgException();
    }
    if (m_position > kMaximumLength || count > kMaximumLength - m_position) {
        throw CMemoryException();
    }
    const std::size_t end = m_position + count;
    Reserve(end);
    if (m_position > m_length) {
        // A seek past the end leaves a gap; it reads back as zeros.
        std::memset(m_buffer + m_length, 0, m_position - m_length);
    }
    std::memmove(m_buffer + m_position, buffer, count);
    m_position = end;
    if (end > m_length) {
        m_length = end;
    }
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from)
{
    LONGLONG base = 0;
    switch (from) {
    case begin:
        base = 0;
        break;
    case current:
        base = static_cast<LONGLONG>(m_position);
        break;
    case end:
        base = static_cast<LONGLONG>(m_length);
        break;
    default:
        throw CInvalidArgException();
    }
    // A target before the start or beyond the largest length is refused;
    // the checks are written so that the sum itself cannot overflow.
    if ((offset < 0 && base + offset < 0) || (offset > 0 && offset > static_cast<LONGLONG>(kMaximumLength) - base)) {
        throw CInvalidArgException();
    }
    m_position = static_cast<std::size_t>(base + offset);
    return m_position;
}

void CMemFile::Reserve(std::size_t needed)
{
    if (needed <= m_capacity) {
        return;
    }
    if (m_growBytes == 0) {
        throw CMemoryException();
    }
    // Round the new room up to a whole number of growth steps.
    std::size_t room = needed + (m_growBytes - needed % m_growBytes) % m_growBytes;
    if (room > kMaximumLength) {
        room = kMaximumLength;
    }
    std::vector<BYTE> grown;
    try {
        grown.resize(room);
    } catch (const std::bad_alloc&) {
        throw CMemoryException();
    }
    if (m_length > 0) {
        std::memcpy(grown.data(), m_buffer, m_length);
    }
    m_owned.swap(grown);
    m_buffer = m_owned.data();
    m_capacity = room;
}
