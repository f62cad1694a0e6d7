#include "xml/DataParser.h"

#include "framework/Exceptions.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr BYTE kLineFeed = 0x0A;
// The byte-array outputs grow in steps this large, so long extractions do
// not reallocate per byte.
constexpr int kOutputGrowth = 8192;

BYTE FoldCase(BYTE byte) noexcept
{
    return byte >= 'A' && byte <= 'Z' ? BYTE(byte + ('a' - 'A')) : byte;
}

// Moves point from its index up to end (not below it) exactly as stepping
// over each byte with AutoIncrement would: the line feeds are counted in
// bulk, and the column restarts after the last of them.
void StepTo(CParsePoint& point, const BYTE* data, DWORD end) noexcept
{
    const DWORD begin = point.GetIndex();
    if (end <= begin) {
        return;
    }
    const BYTE* scan = data + begin;
    const BYTE* const stop = data + end;
    const BYTE* lastBreak = nullptr;
    DWORD lines = 0;
    if (stop - scan <= 16) {
        // A short step (white space between tags, an end tag) is looked at
        // byte by byte, cheaper than a search call that finds nothing.
        for (; scan < stop; ++scan) {
            if (*scan == kLineFeed) {
                lastBreak = scan;
                ++lines;
            }
        }
    }
    while (scan < stop) {
        const void* hit = std::memchr(scan, kLineFeed, std::size_t(stop - scan));
        if (hit == nullptr) {
            break;
        }
        lastBreak = static_cast<const BYTE*>(hit);
        ++lines;
        scan = lastBreak + 1;
    }
    if (lastBreak != nullptr) {
        point.SetLine(point.GetLine() + lines);
        // Column 1 on the byte after the line feed, one more for each byte
        // after that.
        point.SetColumn(DWORD(stop - lastBreak));
    } else {
        point.SetColumn(point.GetColumn() + (end - begin));
    }
    point.SetIndex(end);
}

bool EqualNoCase(const BYTE* left, const BYTE* right, std::size_t length) noexcept
{
    for (std::size_t i = 0; i < length; ++i) {
        if (FoldCase(left[i]) != FoldCase(right[i])) {
            return false;
        }
    }
    return true;
}

// The first position in [first, last) where all length (>= 1) bytes of the
// pattern fit and match, or null.
const BYTE* FindPattern(const BYTE* first, const BYTE* last, const BYTE* pattern, std::size_t length) noexcept
{
    if (std::size_t(last - first) < length) {
        return nullptr;
    }
    const BYTE* const lastStart = last - length;
    for (const BYTE* scan = first; scan <= lastStart; ++scan) {
        scan = static_cast<const BYTE*>(std::memchr(scan, pattern[0], std::size_t(lastStart - scan) + 1));
        if (scan == nullptr) {
            return nullptr;
        }
        if (std::memcmp(scan + 1, pattern + 1, length - 1) == 0) {
            return scan;
        }
    }
    return nullptr;
}

const BYTE* FindPatternNoCase(const BYTE* first, const BYTE* last, const BYTE* pattern, std::size_t length) noexcept
{
    if (std::size_t(last - first) < length) {
        return nullptr;
    }
    const BYTE lead = FoldCase(pattern[0]);
    const BYTE* const lastStart = last - length;
    for (const BYTE* scan = first; scan <= lastStart; ++scan) {
        if (FoldCase(*scan) == lead && EqualNoCase(scan + 1, pattern + 1, length - 1)) {
            return scan;
        }
    }
    return nullptr;
}

const BYTE* Bytes(const CString& text) noexcept
{
    return reinterpret_cast<const BYTE*>(text.GetString());
}

CString MakeString(const BYTE* data, ULONGLONG length)
{
    return CString(reinterpret_cast<const char*>(data), int(length));
}

bool Fail(DWORD error)
{
    SetLastError(error);
    return false;
}

bool FailSearch(CParsePoint& result, DWORD error)
{
    result.Empty();
    SetLastError(error);
    return false;
}

bool Succeed()
{
    SetLastError(CDataParser::ErrorSuccess);
    return true;
}

} // namespace

CDataParser::~CDataParser()
{
    Empty();
}

void CDataParser::StepPointTo(CParsePoint& point, DWORD end) const noexcept
{
    if (m_Bytes != nullptr) {
        StepTo(point, Data(), std::min(end, Size()));
    }
}

// --- Set-up and state ---

bool CDataParser::Initialize(CByteArray* bytes, bool automaticallyDelete)
{
    if (bytes == m_Bytes) {
        m_AutomaticallyDelete = false;
    }
    Empty();
    if (bytes == nullptr) {
        return Fail(ErrorNoData);
    }
    m_Bytes = bytes;
    m_AutomaticallyDelete = automaticallyDelete;
    return Succeed();
}

bool CDataParser::Initialize(const CStringArray& strings)
{
    ULONGLONG total = 0;
    for (int i = 0; i < strings.GetSize(); ++i) {
        total += ULONGLONG(strings.GetData()[i].GetLength());
    }
    if (total > ULONGLONG(INT_MAX)) {
        throw CMemoryException();
    }
    std::unique_ptr<CByteArray> bytes;
    try {
        bytes = std::make_unique<CByteArray>();
    } catch (const std::bad_alloc&) {
        throw CMemoryException();
    }
    bytes->SetSize(int(total));
    BYTE* out = bytes->GetData();
    for (int i = 0; i < strings.GetSize(); ++i) {
        const CString& text = strings.GetData()[i];
        if (text.GetLength() > 0) {
            std::memcpy(out, text.GetString(), std::size_t(text.GetLength()));
            out += text.GetLength();
        }
    }
    Empty();
    m_Bytes = bytes.release();
    m_AutomaticallyDelete = true;
    return Succeed();
}

void CDataParser::Empty() noexcept
{
    if (m_AutomaticallyDelete) {
        delete m_Bytes;
    }
    m_AutomaticallyDelete = false;
    m_Bytes = nullptr;
    m_IsASCII = true;
    m_IsBigEndian = false;
    m_IsUCS4 = false;
    m_UCS4Order = DefaultUCS4Order;
    m_UnicodeToASCIITranslationFailureCharacter = DefaultTranslationFailureCharacter;
}

DWORD CDataParser::GetSize() const
{
    if (m_Bytes == nullptr) {
        SetLastError(ErrorNoData);
        return 0;
    }
    SetLastError(ErrorSuccess);
    return Size();
}

BYTE CDataParser::GetAt(DWORD index) const
{
    if (m_Bytes == nullptr) {
        SetLastError(ErrorNoData);
        return 0;
    }
    if (index >= Size()) {
        SetLastError(ErrorPastEnd);
        return 0;
    }
    SetLastError(ErrorSuccess);
    return Data()[index];
}

bool CDataParser::SetTextToASCII(bool ascii) noexcept
{
    m_IsUCS4 = false;
    m_IsASCII = ascii;
    return true;
}

bool CDataParser::SetTextToBigEndian(bool bigEndian) noexcept
{
    m_IsBigEndian = bigEndian;
    return true;
}

bool CDataParser::SetTextToUCS4(bool ucs4) noexcept
{
    m_IsUCS4 = ucs4;
    if (ucs4) {
        m_IsASCII = false;
    }
    return true;
}

bool CDataParser::SetUCS4Order(DWORD order)
{
    if (order == 1234 || order == 2143 || order == 3412 || order == 4321) {
        m_UCS4Order = order;
        return Succeed();
    }
    m_UCS4Order = DefaultUCS4Order;
    return Fail(ErrorBadUCS4Order);
}

// --- Byte-level searches ---

bool CDataParser::SearchBytes(const CParsePoint& start, const BYTE* pattern, DWORD length, bool noCase,
                              CParsePoint& result) const
{
    // start and result may be one object: work on a copy.
    CParsePoint point = start;
    if (m_Bytes == nullptr) {
        return FailSearch(result, ErrorNoData);
    }
    const DWORD size = Size();
    if (point.GetIndex() >= size) {
        return FailSearch(result, ErrorPastEnd);
    }
    if (length == 0) {
        result = point;
        return Succeed();
    }
    const BYTE* data = Data();
    const BYTE* first = data + point.GetIndex();
    const BYTE* hit = noCase ? FindPatternNoCase(first, data + size, pattern, length)
                             : FindPattern(first, data + size, pattern, length);
    if (hit == nullptr) {
        return FailSearch(result, ErrorSuccess);
    }
    StepTo(point, data, DWORD(hit - data));
    result = point;
    return Succeed();
}

bool CDataParser::Find(const CParsePoint& start, BYTE byte, CParsePoint& result) const
{
    return SearchBytes(start, &byte, 1, false, result);
}

bool CDataParser::Find(const CParsePoint& start, const CByteArray& pattern, CParsePoint& result) const
{
    return SearchBytes(start, pattern.GetData(), DWORD(pattern.GetSize()), false, result);
}

bool CDataParser::FindNoCase(const CParsePoint& start, const CByteArray& pattern, CParsePoint& result) const
{
    return SearchBytes(start, pattern.GetData(), DWORD(pattern.GetSize()), true, result);
}

// --- Character-level operations ---

DWORD CDataParser::StepCharacter(CParsePoint& point, DWORD& value) const noexcept
{
    value = 0;
    const DWORD index = point.GetIndex();
    const DWORD size = Size();
    if (index >= size) {
        return ErrorPastEnd;
    }
    const BYTE* data = Data();
    const DWORD width = Width();
    if (size - index < width) {
        // A character cut off by the end: pass the bytes there are, then fail.
        while (point.GetIndex() < size) {
            point.AutoIncrement(data[point.GetIndex()]);
        }
        return ErrorPastEnd;
    }
    if (!Decode(data + index, value)) {
        return ErrorBadUCS4Order;
    }
    for (DWORD i = 0; i < width; ++i) {
        point.AutoIncrement(data[index + i]);
    }
    return ErrorSuccess;
}

bool CDataParser::PeekAtCharacterSlow(const CParsePoint& point, DWORD& character, DWORD offset) const
{
    character = 0;
    if (m_Bytes == nullptr) {
        return Fail(ErrorNoData);
    }
    const ULONGLONG size = Size();
    const ULONGLONG first = ULONGLONG(point.GetIndex()) + ULONGLONG(offset) * Width();
    // Also covers a point at or past the end: first is never below the index.
    if (first + Width() > size) {
        return Fail(ErrorPastEnd);
    }
    if (!Decode(Data() + first, character)) {
        return Fail(ErrorBadUCS4Order);
    }
    return Succeed();
}

bool CDataParser::GetNextCharacterSlow(CParsePoint& point, DWORD& character) const
{
    character = 0;
    if (m_Bytes == nullptr) {
        return Fail(ErrorNoData);
    }
    DWORD value = 0;
    const DWORD error = StepCharacter(point, value);
    if (error != ErrorSuccess) {
        return Fail(error);
    }
    character = Translate(value);
    return Succeed();
}

bool CDataParser::AdvanceByOneCharacterSlow(CParsePoint& point, DWORD character) const
{
    if (m_Bytes == nullptr) {
        return Fail(ErrorNoData);
    }
    const DWORD index = point.GetIndex();
    const DWORD width = Width();
    if (ULONGLONG(index) + width >= Size()) {
        // Onto (or further past) the end: the index alone moves, and never
        // wraps round to the start of the buffer.
        point.SetIndex(DWORD(std::min<ULONGLONG>(ULONGLONG(index) + width, 0xFFFFFFFFu)));
        return Fail(ErrorPastEnd);
    }
    if (character == 0 && !Decode(Data() + index, character)) {
        return Fail(ErrorBadUCS4Order);
    }
    point.AutoIncrement(BYTE(character));
    point.SetIndex(point.GetIndex() + (width - 1));
    return Succeed();
}

bool CDataParser::Find(const CParsePoint& start, const CString& pattern, CParsePoint& result) const
{
    if (m_Bytes == nullptr) {
        return FailSearch(result, ErrorNoData);
    }
    if (pattern.IsEmpty()) {
        return FailSearch(result, ErrorPastEnd);
    }
    // In single-byte text, characters are bytes and a candidate that fits
    // can always be read: the byte-level search gives the same answer.
    if (IsTextASCII()) {
        return SearchBytes(start, Bytes(pattern), DWORD(pattern.GetLength()), false, result);
    }
    return FindCharacters(start, pattern, result);
}

bool CDataParser::FindCharacters(const CParsePoint& start, const CString& pattern, CParsePoint& result) const
{
    CParsePoint point = start;
    const ULONGLONG size = Size();
    if (point.GetIndex() >= size) {
        return FailSearch(result, ErrorPastEnd);
    }
    const BYTE* wanted = Bytes(pattern);
    const DWORD length = DWORD(pattern.GetLength());
    // The pattern length is counted in characters against an index in bytes.
    while (ULONGLONG(point.GetIndex()) + length <= size) {
        const CParsePoint candidate = point;
        DWORD value = 0;
        const DWORD firstError = StepCharacter(point, value);
        if (firstError == ErrorPastEnd) {
            return FailSearch(result, ErrorSuccess);
        }
        if (firstError != ErrorSuccess) {
            return FailSearch(result, firstError);
        }
        if (value != wanted[0]) {
            continue;
        }
        CParsePoint probe = point;
        DWORD matched = 1;
        for (; matched < length; ++matched) {
            const DWORD error = StepCharacter(probe, value);
            if (error != ErrorSuccess) {
                return FailSearch(result, error);
            }
            if (value != wanted[matched]) {
                break;
            }
        }
        if (matched == length) {
            result = candidate;
            return Succeed();
        }
    }
    return FailSearch(result, ErrorSuccess);
}

bool CDataParser::FindNoCase(const CParsePoint& start, const CString& pattern, CParsePoint& result) const
{
    if (m_Bytes == nullptr) {
        return FailSearch(result, ErrorNoData);
    }
    if (IsTextASCII()) {
        return SearchBytes(start, Bytes(pattern), DWORD(pattern.GetLength()), true, result);
    }
    if (m_IsUCS4) {
        return Fail(ErrorSuccess);
    }
    // Each pattern byte becomes one UTF-16 unit in the buffer's byte order;
    // bytes from 0x80 up get the high byte 0xFF.
    std::vector<BYTE> widened;
    widened.reserve(std::size_t(pattern.GetLength()) * 2);
    for (const BYTE* byte = Bytes(pattern); byte != Bytes(pattern) + pattern.GetLength(); ++byte) {
        const BYTE high = *byte >= 0x80 ? 0xFF : 0x00;
        widened.push_back(m_IsBigEndian ? high : *byte);
        widened.push_back(m_IsBigEndian ? *byte : high);
    }
    return SearchBytes(start, widened.data(), DWORD(widened.size()), true, result);
}

// --- Extraction ---

bool CDataParser::Get(CParsePoint& point, DWORD count, CByteArray& bytes) const
{
    bytes.RemoveAll();
    bytes.SetSize(0, kOutputGrowth);
    if (m_Bytes == nullptr) {
        return Fail(ErrorNoData);
    }
    const DWORD index = point.GetIndex();
    if (ULONGLONG(index) + count > Size()) {
        return Fail(ErrorPastEnd);
    }
    if (count > 0) {
        bytes.SetSize(int(count));
        std::memcpy(bytes.GetData(), Data() + index, count);
    }
    StepTo(point, Data(), index + count);
    return Succeed();
}

bool CDataParser::Get(CParsePoint& point, DWORD count, CString& text) const
{
    text.Empty();
    if (m_Bytes == nullptr) {
        return Fail(ErrorNoData);
    }
    const DWORD index = point.GetIndex();
    if (ULONGLONG(index) + count > Size()) {
        return Fail(ErrorPastEnd);
    }
    text = MakeString(Data() + index, count);
    StepTo(point, Data(), index + count);
    return Succeed();
}

bool CDataParser::GetUntilAndIncluding(CParsePoint& point, BYTE terminator, CByteArray& bytes) const
{
    bytes.RemoveAll();
    bytes.SetSize(0, kOutputGrowth);
    if (m_Bytes == nullptr) {
        return Fail(ErrorNoData);
    }
    const DWORD index = point.GetIndex();
    const DWORD size = Size();
    if (index >= size) {
        return Fail(ErrorPastEnd);
    }
    const BYTE* data = Data();
    const void* hit = std::memchr(data + index, terminator, size - index);
    const DWORD end = hit != nullptr ? DWORD(static_cast<const BYTE*>(hit) - data) + 1 : size;
    bytes.SetSize(int(end - index));
    std::memcpy(bytes.GetData(), data + index, end - index);
    StepTo(point, data, end);
    return hit != nullptr ? Succeed() : Fail(ErrorPastEnd);
}

bool CDataParser::GetUntilAndIncluding(CParsePoint& point, BYTE terminator, CString& text) const
{
    text.Empty();
    if (m_Bytes == nullptr) {
        return Fail(ErrorNoData);
    }
    const DWORD index = point.GetIndex();
    const DWORD size = Size();
    if (index >= size) {
        return Fail(ErrorPastEnd);
    }
    const BYTE* data = Data();
    const void* hit = std::memchr(data + index, terminator, size - index);
    if (hit == nullptr) {
        StepTo(point, data, size);
        return Fail(ErrorPastEnd);
    }
    const DWORD end = DWORD(static_cast<const BYTE*>(hit) - data) + 1;
    text = MakeString(data + index, end - index);
    StepTo(point, data, end);
    return Succeed();
}

bool CDataParser::GetUntilAndIncluding(CParsePoint& point, const CByteArray& pattern, CString& text) const
{
    text.Empty();
    if (m_Bytes == nullptr) {
        return Fail(ErrorNoData);
    }
    const DWORD index = point.GetIndex();
    const DWORD size = Size();
    if (index >= size) {
        return Fail(ErrorPastEnd);
    }
    const BYTE* data = Data();
    const DWORD length = DWORD(pattern.GetSize());
    // The byte at the point is always taken; the pattern is looked for from
    // the next byte on.
    const DWORD from = index + 1;
    const BYTE* hit = length == 0 ? data + from : FindPattern(data + from, data + size, pattern.GetData(), length);
    if (hit == nullptr) {
        // Stepping byte by byte stops at the first position where the
        // pattern would run past the end.
        const LONGLONG lastFit = LONGLONG(size) - LONGLONG(length) + 1;
        StepTo(point, data, DWORD(std::max<LONGLONG>(from, lastFit)));
        return Fail(ErrorPastEnd);
    }
    const DWORD end = DWORD(hit - data) + length;
    text = MakeString(data + index, end - index);
    StepTo(point, data, end);
    return Succeed();
}

bool CDataParser::GetUntilAndIncluding(CParsePoint& point, const CString& pattern, CString& text) const
{
    text.Empty();
    if (m_Bytes == nullptr) {
        return Fail(ErrorNoData);
    }
    if (!IsTextASCII()) {
        return GetUntilPatternWide(point, pattern, text);
    }
    // Single-byte text gathers the bytes themselves, so the first match of
    // the pattern at or after the point (after at least one byte, for an
    // empty pattern) ends the text.
    const DWORD index = point.GetIndex();
    const DWORD size = Size();
    if (index >= size) {
        return Fail(ErrorPastEnd);
    }
    const BYTE* data = Data();
    const DWORD length = DWORD(pattern.GetLength());
    const BYTE* hit = length == 0 ? data + index + 1 : FindPattern(data + index, data + size, Bytes(pattern), length);
    if (hit == nullptr) {
        StepTo(point, data, size);
        return Fail(ErrorPastEnd);
    }
    const DWORD end = DWORD(hit - data) + length;
    text = MakeString(data + index, end - index);
    StepTo(point, data, end);
    return Succeed();
}

bool CDataParser::GetUntilPatternWide(CParsePoint& point, const CString& pattern, CString& text) const
{
    const std::size_t length = std::size_t(pattern.GetLength());
    std::string gathered;
    for (;;) {
        DWORD value = 0;
        const DWORD error = StepCharacter(point, value);
        if (error != ErrorSuccess) {
            return Fail(error);
        }
        gathered.push_back(char(Translate(value)));
        if (gathered.size() >= length
            && std::memcmp(gathered.data() + gathered.size() - length, pattern.GetString(), length) == 0) {
            text = MakeString(reinterpret_cast<const BYTE*>(gathered.data()), gathered.size());
            return Succeed();
        }
    }
}
