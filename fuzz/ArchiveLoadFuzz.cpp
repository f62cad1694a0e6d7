// Loads typed values from arbitrary bytes through a binary archive over a
// CMemFile, and checks every read against a plain decoding of the same
// bytes: fixed-width little-endian fields, the count form (a WORD, or 0xFFFF
// and a DWORD) and the string form (a BYTE length, or 0xFF and a WORD, or
// 0xFF, 0xFFFF and a DWORD). A read that runs past the end must throw
// CArchiveException endOfFile and leave the value as it was; a string length
// above INT_MAX must throw badIndex; nothing else may go wrong.
//
// Input: the first byte picks the archive's buffer size, the second how many
// of the following bytes are a script of read kinds; the rest is the data.
// With no script, strings are read until the data runs out.
#include "framework/Archive.h"
#include "framework/Exceptions.h"
#include "framework/MemFile.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

// The plain decoder: a cursor over the data.
class Oracle {
public:
    Oracle(const BYTE* data, std::size_t size) : m_data(data), m_size(size) {}

    std::size_t Remaining() const { return m_size - m_at; }

    // The next n bytes as a little-endian number; false when fewer remain.
    bool Take(std::size_t n, std::uint64_t& value)
    {
        if (Remaining() < n) {
            m_at = m_size;
            return false;
        }
        value = 0;
        for (std::size_t i = 0; i < n; ++i) {
            value |= std::uint64_t(m_data[m_at + i]) << (8 * i);
        }
        m_at += n;
        return true;
    }

    const BYTE* Here() const { return m_data + m_at; }
    void Skip(std::size_t n) { m_at += n; }

private:
    const BYTE* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

enum class Outcome { Read, EndOfFile, BadIndex };

// Reads one fixed-width value through the archive and through the oracle;
// both must agree on the bytes and on running out.
template <class T>
Outcome ReadFixed(CArchive& archive, Oracle& oracle)
{
    T value;
    std::memset(&value, 0xA5, sizeof value);
    T before;
    std::memcpy(&before, &value, sizeof value);
    std::uint64_t expected = 0;
    const bool available = oracle.Take(sizeof(T), expected);
    try {
        archive >> value;
    } catch (const CArchiveException& error) {
        Check(!available && error.m_cause == CArchiveException::endOfFile);
        Check(std::memcmp(&value, &before, sizeof value) == 0);
        return Outcome::EndOfFile;
    }
    Check(available);
    if constexpr (std::is_same_v<T, bool>) {
        Check(value == (expected != 0));
    } else {
        T decoded;
        std::memcpy(&decoded, &expected, sizeof decoded); // little-endian host
        Check(std::memcmp(&value, &decoded, sizeof value) == 0);
    }
    return Outcome::Read;
}

Outcome ReadCount(CArchive& archive, Oracle& oracle)
{
    std::uint64_t expected = 0;
    bool available = oracle.Take(2, expected);
    if (available && expected == 0xFFFF) {
        available = oracle.Take(4, expected);
    }
    try {
        const DWORD count = archive.ReadCount();
        Check(available && count == expected);
    } catch (const CArchiveException& error) {
        Check(!available && error.m_cause == CArchiveException::endOfFile);
        return Outcome::EndOfFile;
    }
    return Outcome::Read;
}

Outcome ReadString(CArchive& archive, Oracle& oracle)
{
    std::uint64_t length = 0;
    bool available = oracle.Take(1, length);
    if (available && length == 0xFF) {
        available = oracle.Take(2, length);
        if (available && length == 0xFFFF) {
            available = oracle.Take(4, length);
        }
    }
    const bool tooLong = available && length > std::uint64_t(INT_MAX);
    const bool whole = available && !tooLong && oracle.Remaining() >= length;
    CString value = "unchanged";
    try {
        archive >> value;
    } catch (const CArchiveException& error) {
        Check(value == "unchanged");
        if (tooLong) {
            Check(error.m_cause == CArchiveException::badIndex);
            return Outcome::BadIndex;
        }
        Check(!whole && error.m_cause == CArchiveException::endOfFile);
        return Outcome::EndOfFile;
    }
    Check(whole);
    Check(std::uint64_t(value.GetLength()) == length);
    Check(length == 0 || std::memcmp(value.GetString(), oracle.Here(), std::size_t(length)) == 0);
    oracle.Skip(std::size_t(length));
    return Outcome::Read;
}

Outcome ReadRaw(CArchive& archive, Oracle& oracle)
{
    BYTE raw[37];
    const std::size_t expected = oracle.Remaining() < sizeof raw ? oracle.Remaining() : sizeof raw;
    const UINT got = archive.Read(raw, sizeof raw);
    Check(got == expected);
    Check(expected == 0 || std::memcmp(raw, oracle.Here(), expected) == 0);
    oracle.Skip(expected);
    return Outcome::Read;
}

Outcome ReadOne(CArchive& archive, Oracle& oracle, std::uint8_t kind)
{
    switch (kind % 18) {
    case 0: return ReadFixed<unsigned char>(archive, oracle);
    case 1: return ReadFixed<unsigned short>(archive, oracle);
    case 2: return ReadFixed<LONG>(archive, oracle);
    case 3: return ReadFixed<DWORD>(archive, oracle);
    case 4: return ReadFixed<int>(archive, oracle);
    case 5: return ReadFixed<long>(archive, oracle);
    case 6: return ReadFixed<long long>(archive, oracle);
    case 7: return ReadFixed<unsigned long long>(archive, oracle);
    case 8: return ReadFixed<float>(archive, oracle);
    case 9: return ReadFixed<double>(archive, oracle);
    case 10: return ReadFixed<bool>(archive, oracle);
    case 11: return ReadString(archive, oracle);
    case 12: return ReadCount(archive, oracle);
    case 13: return ReadFixed<char>(archive, oracle);
    case 14: return ReadFixed<short>(archive, oracle);
    case 15: return ReadFixed<unsigned int>(archive, oracle);
    case 16: return ReadFixed<unsigned long>(archive, oracle);
    default: return ReadRaw(archive, oracle);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    const int bufferSize = 1 + data[0];
    const std::size_t scriptLength = data[1] < size - 2 ? data[1] : size - 2;
    const std::uint8_t* script = data + 2;
    std::vector<BYTE> bytes(data + 2 + scriptLength, data + size);

    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive archive(&file, CArchive::load, bufferSize);
    Oracle oracle(bytes.data(), bytes.size());
    // With no script, read strings until the data runs out.
    const std::size_t steps = scriptLength > 0 ? scriptLength : 64;
    for (std::size_t i = 0; i < steps; ++i) {
        if (ReadOne(archive, oracle, scriptLength > 0 ? script[i] : 11) != Outcome::Read) {
            break;
        }
    }
    return 0;
}
