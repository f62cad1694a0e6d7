// CParsePoint, CDataParser: a read-only cursor engine over a byte buffer that
// holds single-byte, UTF-16 or UCS-4 text, and the position it walks with.
//
// The XML engine reads its input only through CDataParser, so the
// per-character operations are inline, with a fast path for single-byte
// text, and the searches scan in bulk.
//
// Sizes. A CByteArray never holds more than INT_MAX bytes (it refuses to grow
// further), so every real byte has an index below 2^31. Points carry 32-bit
// unsigned indexes and may be anywhere in that range; every sum such as
// index + count or index + n * width is formed in 64 bits, so a point far past
// the end or a huge count is simply "past the end", never a wrapped index.
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/String.h"
#include "platform/LastError.h"
#include "base/Types.h"

#include <string_view>

// A position in a byte buffer: the byte index (not a character count), and
// the line and column of that byte, both counted from 1. Every forward
// movement of CDataParser steps a point over one byte at a time, so line and
// column always describe the bytes passed. A plain value, copied freely.
class CParsePoint {
public:
    CParsePoint() noexcept = default;

    DWORD GetIndex() const noexcept { return m_Index; }
    DWORD GetColumn() const noexcept { return m_Column; }
    DWORD GetLine() const noexcept { return m_Line; }
    void SetIndex(DWORD index) noexcept { m_Index = index; }
    void SetColumn(DWORD column) noexcept { m_Column = column; }
    void SetLine(DWORD line) noexcept { m_Line = line; }

    // Back to the start of a buffer: index 0, column 1, line 1.
    void Empty() noexcept { *this = CParsePoint(); }
    void Copy(const CParsePoint& source) noexcept { *this = source; }

    // Steps over one byte: index and column move on by one, and a line feed
    // (0x0A) starts the next line at column 1. No other byte, carriage return
    // included, touches line or column. The counters wrap modulo 2^32.
    void AutoIncrement(BYTE byte) noexcept
    {
        ++m_Index;
        if (byte == 0x0A) {
            ++m_Line;
            m_Column = 1;
        } else {
            ++m_Column;
        }
    }

    friend bool operator==(const CParsePoint&, const CParsePoint&) noexcept = default;

private:
    DWORD m_Index = 0;
    DWORD m_Column = 1;
    DWORD m_Line = 1;
};

// Searches, extraction and character stepping over a byte array that the
// caller attaches (and may hand over). The parser never changes the bytes.
// Positions are caller-held CParsePoint values.
//
// Every operation that can fail returns false (or the value 0) and sets the
// thread's last error to one of the codes below; on success it sets
// ErrorSuccess. A failed search leaves its result point at (0, 1, 1).
// The array is read afresh on every call, so a caller may change an array it
// did not hand over between calls.
class ORV_API CDataParser {
public:
    // Last-error values. They are the system's own codes (ERROR_SUCCESS,
    // ERROR_INVALID_ADDRESS, ERROR_ALLOTTED_SPACE_EXCEEDED, ERROR_MAPPED_ALIGNMENT).
    // Enumerators rather than static data, so that nothing needs importing
    // from the DLL when a caller binds one to a reference.
    enum : DWORD {
        ErrorSuccess = 0,         // also: a search ended without a match
        ErrorNoData = 487,        // no byte array is attached
        ErrorPastEnd = 1344,      // the point or the bytes needed lie at or past the end
        ErrorBadUCS4Order = 1132, // the UCS-4 order is not one of the four allowed
    };

    CDataParser() noexcept = default;
    ~CDataParser();
    CDataParser(const CDataParser&) = delete;
    CDataParser& operator=(const CDataParser&) = delete;

    // --- Set-up and state ---

    // Empties the parser, then attaches bytes; with automaticallyDelete the
    // parser deletes the array when emptied or destroyed. A null array fails
    // with ErrorNoData. Attaching the array already attached never deletes it.
    bool Initialize(CByteArray* bytes, bool automaticallyDelete = false);
    // Attaches a new owned array holding the bytes of every string in order,
    // with nothing between them. The new array is built before the old one
    // is released, so the parser is unchanged if that throws (CMemoryException
    // when the total exceeds what a CByteArray can hold).
    bool Initialize(const CStringArray& strings);
    // Deletes an owned array, then restores every default: no array,
    // single-byte, little-endian, not UCS-4, order 4321, failure character 'q'.
    void Empty() noexcept;

    // The byte count; 0 and ErrorNoData without an array.
    DWORD GetSize() const;
    // The byte at index; 0 with ErrorPastEnd when index is not below the size.
    BYTE GetAt(DWORD index) const;

    // Single-byte text: single-byte and not UCS-4. SetTextToASCII clears
    // UCS-4 and selects single-byte (true) or UTF-16 (false).
    bool IsTextASCII() const noexcept { return m_IsASCII && !m_IsUCS4; }
    bool SetTextToASCII(bool ascii) noexcept;
    // The byte order of UTF-16 text.
    bool IsTextBigEndian() const noexcept { return m_IsBigEndian; }
    bool SetTextToBigEndian(bool bigEndian) noexcept;
    // true selects UCS-4 (and clears single-byte); false only clears UCS-4.
    bool IsTextUCS4() const noexcept { return m_IsUCS4; }
    bool SetTextToUCS4(bool ucs4) noexcept;
    // 1234, 2143, 3412 or 4321: the bytes b0..b3 of a character, most
    // significant first, are b0 b1 b2 b3, b1 b0 b3 b2, b2 b3 b0 b1 or
    // b3 b2 b1 b0. Any other value stores 4321 and fails with ErrorBadUCS4Order.
    DWORD GetUCS4Order() const noexcept { return m_UCS4Order; }
    bool SetUCS4Order(DWORD order);
    // Replaces characters above 255 wherever characters become bytes.
    BYTE GetUnicodeToASCIITranslationFailureCharacter() const noexcept { return m_UnicodeToASCIITranslationFailureCharacter; }
    void SetUnicodeToASCIITranslationFailureCharacter(BYTE character) noexcept { m_UnicodeToASCIITranslationFailureCharacter = character; }

    // --- Byte-level searches (they ignore the encoding) ---
    //
    // On a match, result is the point of the first matching byte, reached
    // from start by stepping over every byte between. Without a match, result
    // is reset and the error is ErrorSuccess; a start at or past the end
    // resets result with ErrorPastEnd. start and result may be one object.

    bool Find(const CParsePoint& start, BYTE byte, CParsePoint& result) const;
    // The whole pattern, byte for byte. An empty pattern matches at start.
    bool Find(const CParsePoint& start, const CByteArray& pattern, CParsePoint& result) const;
    // As Find, with ASCII letters compared without case.
    bool FindNoCase(const CParsePoint& start, const CByteArray& pattern, CParsePoint& result) const;

    // --- Character-level operations (they honour the encoding) ---

    // The raw value of the character offset characters after point, without
    // moving it. Fails (character 0) with ErrorPastEnd when any byte of that
    // character lies at or past the end.
    bool PeekAtCharacter(const CParsePoint& point, DWORD& character, DWORD offset = 0) const;
    // PeekAtCharacter's value, or 0 on failure.
    DWORD PeekCharacter(const CParsePoint& point, DWORD offset = 0) const;
    // As PeekCharacter, but a value above 255 becomes the failure character.
    DWORD GetCharacter(const CParsePoint& point, DWORD offset = 0) const;
    // Reads the character at point and steps over each of its bytes (so in
    // UTF-16 and UCS-4 the column moves by the width, and any 0x0A byte counts
    // a line). Values above 255 become the failure character. Fails with
    // ErrorPastEnd (character 0) when a byte is missing; the point keeps the
    // bytes it already passed.
    bool GetNextCharacter(CParsePoint& point, DWORD& character) const;
    // Moves point past one character, stepping once (the column counts
    // characters) with the low byte of character, or when that is 0 with the
    // low byte of the character read there, then skipping the rest of its
    // bytes. When index + width is not below the size, the index alone moves
    // on by the width (saturating at 0xFFFFFFFF) and the call fails with
    // ErrorPastEnd: this is how a point reaches the end.
    bool AdvanceByOneCharacter(CParsePoint& point, DWORD character = 0) const;
    // The first point where the buffer's characters equal the pattern's bytes
    // one for one (a pattern byte b matches the character of value b);
    // result moves by whole characters. Candidates are tried while
    // index + pattern length (in characters) <= size. An empty pattern fails
    // with ErrorPastEnd; a start at or past the end too. When the first
    // character of a candidate cannot be read the search ends without a match;
    // when a later one cannot, it fails with that read's error.
    bool Find(const CParsePoint& start, const CString& pattern, CParsePoint& result) const;
    // Single-byte text: FindNoCase with the pattern's bytes. UTF-16: the
    // pattern widened to the buffer's byte order (high byte 0xFF for bytes
    // 0x80 to 0xFF, else 0) and searched with the byte-level FindNoCase.
    // UCS-4 is not supported: false, ErrorSuccess, result untouched.
    bool FindNoCase(const CParsePoint& start, const CString& pattern, CParsePoint& result) const;

    // --- Extraction: the point moves past what was taken ---
    //
    // Outputs are emptied first. A byte-array output may be the attached
    // array itself; it is then emptied too, and the operation sees no data.

    // Exactly count bytes (not characters) when index + count <= size;
    // otherwise nothing, with ErrorPastEnd.
    bool Get(CParsePoint& point, DWORD count, CByteArray& bytes) const;
    bool Get(CParsePoint& point, DWORD count, CString& text) const;
    // The bytes up to and including the first one equal to terminator. When
    // none follows, the point moves to the end and the call fails with
    // ErrorPastEnd; the byte-array form keeps the bytes it gathered, the
    // string form empties its output.
    bool GetUntilAndIncluding(CParsePoint& point, BYTE terminator, CByteArray& bytes) const;
    bool GetUntilAndIncluding(CParsePoint& point, BYTE terminator, CString& text) const;
    // Takes the byte at point, then looks for the pattern from the next byte
    // on (so a pattern right at point is not seen there), and takes
    // everything up to and including it. Fails with ErrorPastEnd and an empty
    // output when the pattern would run past the end; the point stays at the
    // first position where it would. An empty pattern takes one byte.
    bool GetUntilAndIncluding(CParsePoint& point, const CByteArray& pattern, CString& text) const;
    // Reads characters (any encoding) as one byte each, values above 255
    // becoming the failure character, until the last bytes gathered equal the
    // pattern; text then receives everything gathered. Fails with
    // ErrorPastEnd and an empty output when a character cannot be read; the
    // point keeps the characters read. An empty pattern takes one character.
    bool GetUntilAndIncluding(CParsePoint& point, const CString& pattern, CString& text) const;

    // --- Direct byte access, for readers that scan in bulk ---

    // The attached bytes, whatever the encoding (empty without an array).
    // Valid until the array changes; nothing is copied.
    std::string_view GetByteView() const noexcept
    {
        return m_Bytes != nullptr ? std::string_view(reinterpret_cast<const char*>(Data()), Size()) : std::string_view();
    }
    // Moves point forward to index end (at most the size) exactly as
    // stepping over each byte between would; an end at or before the point
    // leaves it unchanged. Sets no last error.
    void StepPointTo(CParsePoint& point, DWORD end) const noexcept;

private:
    static constexpr DWORD DefaultUCS4Order = 4321;
    static constexpr BYTE DefaultTranslationFailureCharacter = 'q';

    DWORD Size() const noexcept { return static_cast<DWORD>(m_Bytes->GetSize()); }
    const BYTE* Data() const noexcept { return m_Bytes->GetData(); }
    // Bytes per character: 1, 2 (UTF-16) or 4 (UCS-4).
    DWORD Width() const noexcept { return m_IsUCS4 ? 4 : (m_IsASCII ? 1 : 2); }
    // Assembles the character whose width bytes start at bytes. False only
    // for a UCS-4 order outside the four allowed.
    bool Decode(const BYTE* bytes, DWORD& value) const noexcept;
    DWORD Translate(DWORD value) const noexcept { return value > 255 ? m_UnicodeToASCIITranslationFailureCharacter : value; }

    // The general paths of the inline operations; they set the last error.
    bool PeekAtCharacterSlow(const CParsePoint& point, DWORD& character, DWORD offset) const;
    bool GetNextCharacterSlow(CParsePoint& point, DWORD& character) const;
    bool AdvanceByOneCharacterSlow(CParsePoint& point, DWORD character) const;
    // Reads the raw character at point and steps over its bytes, as
    // GetNextCharacter does; returns the error code without setting it.
    // Requires an attached array.
    DWORD StepCharacter(CParsePoint& point, DWORD& value) const noexcept;
    bool SearchBytes(const CParsePoint& start, const BYTE* pattern, DWORD length, bool noCase, CParsePoint& result) const;
    bool FindCharacters(const CParsePoint& start, const CString& pattern, CParsePoint& result) const;
    bool GetUntilPatternWide(CParsePoint& point, const CString& pattern, CString& text) const;

    bool m_AutomaticallyDelete = false;
    CByteArray* m_Bytes = nullptr;
    bool m_IsASCII = true;
    bool m_IsBigEndian = false;
    bool m_IsUCS4 = false;
    DWORD m_UCS4Order = DefaultUCS4Order;
    BYTE m_UnicodeToASCIITranslationFailureCharacter = DefaultTranslationFailureCharacter;
};

inline bool CDataParser::Decode(const BYTE* b, DWORD& value) const noexcept
{
    if (!m_IsUCS4) {
        if (m_IsASCII) {
            value = b[0];
        } else {
            value = m_IsBigEndian ? (DWORD(b[0]) << 8 | b[1]) : (DWORD(b[1]) << 8 | b[0]);
        }
        return true;
    }
    switch (m_UCS4Order) {
    case 1234:
        value = DWORD(b[0]) << 24 | DWORD(b[1]) << 16 | DWORD(b[2]) << 8 | b[3];
        return true;
    case 4321:
        value = DWORD(b[3]) << 24 | DWORD(b[2]) << 16 | DWORD(b[1]) << 8 | b[0];
        return true;
    case 2143:
        value = DWORD(b[1]) << 24 | DWORD(b[0]) << 16 | DWORD(b[3]) << 8 | b[2];
        return true;
    case 3412:
        value = DWORD(b[2]) << 24 | DWORD(b[3]) << 16 | DWORD(b[0]) << 8 | b[1];
        return true;
    default:
        value = 0;
        return false;
    }
}

inline bool CDataParser::PeekAtCharacter(const CParsePoint& point, DWORD& character, DWORD offset) const
{
    if (m_Bytes != nullptr && IsTextASCII()) {
        // The sum cannot wrap in 64 bits, and a byte below the size also
        // puts the point itself below the size.
        const ULONGLONG at = ULONGLONG(point.GetIndex()) + offset;
        if (at < Size()) {
            character = Data()[at];
            SetLastError(ErrorSuccess);
            return true;
        }
    }
    return PeekAtCharacterSlow(point, character, offset);
}

inline DWORD CDataParser::PeekCharacter(const CParsePoint& point, DWORD offset) const
{
    DWORD character = 0;
    PeekAtCharacter(point, character, offset);
    return character;
}

inline DWORD CDataParser::GetCharacter(const CParsePoint& point, DWORD offset) const
{
    return Translate(PeekCharacter(point, offset));
}

inline bool CDataParser::GetNextCharacter(CParsePoint& point, DWORD& character) const
{
    if (m_Bytes != nullptr && IsTextASCII()) {
        const DWORD index = point.GetIndex();
        if (index < Size()) {
            const BYTE byte = Data()[index];
            point.AutoIncrement(byte);
            character = byte;
            SetLastError(ErrorSuccess);
            return true;
        }
    }
    return GetNextCharacterSlow(point, character);
}

inline bool CDataParser::AdvanceByOneCharacter(CParsePoint& point, DWORD character) const
{
    if (m_Bytes != nullptr && IsTextASCII()) {
        const DWORD index = point.GetIndex();
        // index < size <= INT_MAX, so index + 1 does not wrap.
        if (index < Size() && index + 1 < Size()) {
            point.AutoIncrement(character != 0 ? BYTE(character) : Data()[index]);
            SetLastError(ErrorSuccess);
            return true;
        }
    }
    return AdvanceByOneCharacterSlow(point, character);
}
