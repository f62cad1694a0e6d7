#include "framework/Archive.h"

#include "framework/Exceptions.h"
#include "framework/File.h"

#include <climits>
#include <cstring>
#include <string>
#include <type_traits>

CArchive::CArchive(CFile* file, UINT mode, int bufferSize) : m_file(file), m_mode(mode)
{
    if (file == nullptr || bufferSize < 1) {
        throw CInvalidArgException();
    }
    m_buffer.resize(static_cast<std::size_t>(bufferSize));
}

CArchive::~CArchive()
{
    if (m_file != nullptr && IsStoring() && (m_mode & bNoFlushOnDelete) == 0) {
        try {
            Flush();
        } catch (...) {
            // A destructor cannot report; Close is the checked path.
        }
    }
}

void CArchive::Close()
{
    if (m_file != nullptr && IsStoring()) {
        Flush();
    }
    m_file = nullptr;
}

void CArchive::Abort() noexcept
{
    m_file = nullptr;
    m_next = m_end = 0;
}

void CArchive::Flush()
{
    if (m_file == nullptr || IsLoading() || m_next == 0) {
        return;
    }
    m_file->Write(m_buffer.data(), static_cast<UINT>(m_next));
    m_next = 0;
}

void CArchive::CheckUsable(bool forLoading) const
{
    if (m_file == nullptr) {
        throw CArchiveException(CArchiveException::genericException);
    }
    if (forLoading && !IsLoading()) {
        throw CArchiveException(CArchiveException::writeOnly);
    }
    if (!forLoading && IsLoading()) {
        throw CArchiveException(CArchiveException::readOnly);
    }
}

void CArchive::FillBuffer()
{
    m_next = 0;
    m_end = m_file->Read(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
}

UINT CArchive::Read(void* buffer, UINT count)
{
    CheckUsable(true);
    BYTE* out = static_cast<BYTE*>(buffer);
    UINT done = 0;
    while (done < count) {
        if (m_next == m_end) {
            FillBuffer();
            if (m_end == 0) {
                break;
            }
        }
        const std::size_t available = m_end - m_next;
        const std::size_t taken = count - done < available ? count - done : available;
        std::memcpy(out + done, m_buffer.data() + m_next, taken);
        m_next += taken;
        done += static_cast<UINT>(taken);
    }
    return done;
}

void CArchive::Write(const void* buffer, UINT count)
{
    CheckUsable(false);
    const BYTE* in = static_cast<const BYTE*>(buffer);
    while (count > 0) {
        if (m_next == m_buffer.size()) {
            Flush();
        }
        const std::size_t room = m_buffer.size() - m_next;
        const std::size_t taken = count < room ? count : room;
        std::memcpy(m_buffer.data() + m_next, in, taken);
        m_next += taken;
        in += taken;
        count -= static_cast<UINT>(taken);
    }
}

void CArchive::ReadExact(void* buffer, UINT count)
{
    if (Read(buffer, count) != count) {
        throw CArchiveException(CArchiveException::endOfFile);
    }
}

template <class T>
void CArchive::StoreInteger(T value)
{
    using Unsigned = std::make_unsigned_t<T>;
    BYTE bytes[sizeof(T)];
    auto bits = static_cast<Unsigned>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        bytes[i] = static_cast<BYTE>(bits & 0xFF);
        bits = static_cast<Unsigned>(bits >> 4 >> 4);
    }
    Write(bytes, sizeof(T));
}

template <class T>
T CArchive::LoadInteger()
{
    using Unsigned = std::make_unsigned_t<T>;
    BYTE bytes[sizeof(T)];
    ReadExact(bytes, sizeof(T));
    Unsigned bits = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) {
        bits = static_cast<Unsigned>((bits << 4 << 4) | bytes[i]);
    }
    return static_cast<T>(bits);
}

void CArchive::WriteCount(DWORD count)
{
    if (count < 0xFFFF) {
        StoreInteger<WORD>(static_cast<WORD>(count));
    } else {
        StoreInteger<WORD>(0xFFFF);
        StoreInteger<DWORD>(count);
    }
}

DWORD CArchive::ReadCount()
{
    const WORD shortCount = LoadInteger<WORD>();
    return shortCount != 0xFFFF ? shortCount : LoadInteger<DWORD>();
}

CArchive& CArchive::operator<<(bool value)
{
    StoreInteger<BYTE>(value ? 1 : 0);
    return *this;
}

CArchive& CArchive::operator<<(char value)
{
    StoreInteger<BYTE>(static_cast<BYTE>(value));
    return *this;
}

// The integer forms each write their own type's width.
#define ORV_ARCHIVE_INTEGER(TYPE)                   \
    CArchive& CArchive::operator<<(TYPE value)      \
    {                                               \
        StoreInteger<TYPE>(value);                  \
        return *this;                               \
    }                                               \
    CArchive& CArchive::operator>>(TYPE& value)     \
    {                                               \
        value = LoadInteger<TYPE>();                \
        return *this;                               \
    }

ORV_ARCHIVE_INTEGER(unsigned char)
ORV_ARCHIVE_INTEGER(short)
ORV_ARCHIVE_INTEGER(unsigned short)
ORV_ARCHIVE_INTEGER(int)
ORV_ARCHIVE_INTEGER(unsigned int)
ORV_ARCHIVE_INTEGER(long)
ORV_ARCHIVE_INTEGER(unsigned long)
ORV_ARCHIVE_INTEGER(long long)
ORV_ARCHIVE_INTEGER(unsigned long long)
#undef ORV_ARCHIVE_INTEGER

CArchive& CArchive::operator<<(float value)
{
    static_assert(sizeof(float) == sizeof(DWORD));
    DWORD bits;
    std::memcpy(&bits, &value, sizeof bits);
    StoreInteger<DWORD>(bits);
    return *this;
}

CArchive& CArchive::operator<<(double value)
{
    static_assert(sizeof(double) == sizeof(ULONGLONG));
    ULONGLONG bits;
    std::memcpy(&bits, &value, sizeof bits);
    StoreInteger<ULONGLONG>(bits);
    return *this;
}

CArchive& CArchive::operator<<(const CString& value)
{
    const auto length = static_cast<DWORD>(value.GetLength());
    if (length < 0xFF) {
        StoreInteger<BYTE>(static_cast<BYTE>(length));
    } else {
        StoreInteger<BYTE>(0xFF);
        if (length < 0xFFFF) {
            StoreInteger<WORD>(static_cast<WORD>(length));
        } else {
            StoreInteger<WORD>(0xFFFF);
            StoreInteger<DWORD>(length);
        }
    }
    Write(value.GetString(), length);
    return *this;
}

CArchive& CArchive::operator>>(bool& value)
{
    value = LoadInteger<BYTE>() != 0;
    return *this;
}

CArchive& CArchive::operator>>(char& value)
{
    value = static_cast<char>(LoadInteger<BYTE>());
    return *this;
}

CArchive& CArchive::operator>>(float& value)
{
    const DWORD bits = LoadInteger<DWORD>();
    std::memcpy(&value, &bits, sizeof bits);
    return *this;
}

CArchive& CArchive::operator>>(double& value)
{
    const ULONGLONG bits = LoadInteger<ULONGLONG>();
    std::memcpy(&value, &bits, sizeof bits);
    return *this;
}

CArchive& CArchive::operator>>(CString& value)
{
    DWORD length = LoadInteger<BYTE>();
    if (length == 0xFF) {
        length = LoadInteger<WORD>();
        if (length == 0xFFFF) {
            length = LoadInteger<DWORD>();
        }
    }
    if (length > static_cast<DWORD>(INT_MAX)) {
        throw CArchiveException(CArchiveException::badIndex);
    }
    // Read piece by piece into a scratch string, so that a length the data
    // cannot back fails with endOfFile before much memory is spent, and the
    // target is only replaced once the whole text has arrived.
    std::string text;
    char chunk[1024];
    DWORD remaining = length;
    while (remaining > 0) {
        const UINT piece = remaining < sizeof chunk ? remaining : static_cast<UINT>(sizeof chunk);
        ReadExact(chunk, piece);
        text.append(chunk, piece);
        remaining -= piece;
    }
    value = CString(text.data(), static_cast<int>(text.size()));
    return *this;
}
