// A byte string in the process code page: CString.
#pragma once

#include "OrvApi.h"

#include <compare>
#include <cstdarg>
#include <string>
#include <string_view>

// A length-counted byte string. It may hold embedded NUL bytes, and its
// buffer is always NUL-terminated so that it passes directly to C and Win32
// functions taking const char*. Lengths and indexes are int; operations
// that take a position or a count clamp it into range unless their contract
// says they throw. Null const char* arguments are treated as empty text.
class ORV_API CString {
public:
    CString() = default;
    // A null pointer gives an empty string.
    CString(const char* text);
    // Copies length bytes, NULs included. Throws CInvalidArgException for a
    // negative length, or for a null text with a positive length.
    CString(const char* text, int length);
    // repeat copies of ch; a repeat of zero or less gives an empty string.
    // Explicit so that an integer never turns into a one-character string.
    explicit CString(char ch, int repeat = 1);
    CString(const CString& other) = default;
    // Leaves other empty.
    CString(CString&& other) noexcept : m_text(std::move(other.m_text)) { other.m_text.clear(); }
    ~CString() = default;

    CString& operator=(const CString& other) = default;
    // Leaves other empty.
    CString& operator=(CString&& other) noexcept;
    CString& operator=(const char* text);
    CString& operator=(char ch);

    CString& operator+=(const CString& text);
    CString& operator+=(const char* text);
    CString& operator+=(char ch);

    friend CString operator+(const CString& left, const CString& right) { return Concat(left, right.m_text); }
    friend CString operator+(const CString& left, const char* right) { return Concat(left, right ? right : ""); }
    friend CString operator+(const char* left, const CString& right) { return Concat(CString(left), right.m_text); }
    friend CString operator+(const CString& left, char right) { return Concat(left, std::string_view(&right, 1)); }
    friend CString operator+(char left, const CString& right) { return Concat(CString(left), right.m_text); }

    // Byte-wise comparison, bytes taken as unsigned. The const char* forms
    // also serve with the const char* on the left, and != < > <= >= derive
    // from these.
    friend bool operator==(const CString& left, const CString& right) noexcept { return left.m_text == right.m_text; }
    friend bool operator==(const CString& left, const char* right) noexcept { return left.Compare(right) == 0; }
    friend std::strong_ordering operator<=>(const CString& left, const CString& right) noexcept
    {
        return left.m_text.compare(right.m_text) <=> 0;
    }
    friend std::strong_ordering operator<=>(const CString& left, const char* right) noexcept
    {
        return left.Compare(right) <=> 0;
    }

    operator const char*() const noexcept { return m_text.c_str(); }
    const char* GetString() const noexcept { return m_text.c_str(); }
    int GetLength() const noexcept { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const noexcept { return m_text.empty(); }
    void Empty() noexcept { m_text.clear(); }

    // Element access; an index outside [0, GetLength()) throws CInvalidArgException.
    char operator[](int index) const;
    char GetAt(int index) const;
    void SetAt(int index, char ch);

    // printf formatting with the C99 rules on every system, plus the Windows
    // length prefix I64 (as in %I64d). A null format gives an empty string; a
    // format the C library rejects throws CInvalidArgException and leaves the
    // string unchanged. The arguments may refer to this string itself.
    void Format(const char* format, ...);
    void FormatV(const char* format, va_list args);
    void AppendFormat(const char* format, ...);

    // Index of the first match at or after start, or -1. A negative start
    // counts as 0; empty text matches at start when start <= GetLength().
    int Find(char ch, int start = 0) const noexcept;
    int Find(const char* text, int start = 0) const noexcept;
    // Like Find(const char*), but the whole text counts, embedded NULs included.
    int Find(const CString& text, int start = 0) const noexcept;
    // Index of the last match, or -1; empty text matches at GetLength().
    int ReverseFind(char ch) const noexcept;
    int ReverseFind(const char* text) const noexcept;

    // Substrings. first is clamped to [0, GetLength()], then count to what
    // remains after first; negative counts give an empty string.
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;

    // Remove blanks (space, \t, \n, \v, \f, \r), one character, or any
    // character of a set, from one or both ends.
    CString& Trim();
    CString& Trim(char ch);
    CString& Trim(const char* set);
    CString& TrimLeft();
    CString& TrimLeft(char ch);
    CString& TrimLeft(const char* set);
    CString& TrimRight();
    CString& TrimRight(char ch);
    CString& TrimRight(const char* set);

    // ASCII letters only; bytes of 0x80 and above are left as they are.
    CString& MakeUpper() noexcept;
    CString& MakeLower() noexcept;

    // Both return the number of occurrences replaced, left to right without
    // overlap. An empty or null old text replaces nothing and returns 0.
    int Replace(char oldChar, char newChar) noexcept;
    int Replace(const char* oldText, const char* newText);
    // Returns the number of characters removed.
    int Remove(char ch);
    // index is clamped to [0, GetLength()]; both return the new length.
    int Insert(int index, char ch);
    int Insert(int index, const char* text);
    // Deletes up to count characters from index (both clamped, never throws);
    // returns the new length.
    int Delete(int index, int count = 1);

    // Negative, zero or positive as this string sorts before, equal to or
    // after text; bytes compare as unsigned, the NoCase form folds ASCII case.
    int Compare(const char* text) const noexcept;
    int CompareNoCase(const char* text) const noexcept;

    // Direct buffer access for functions that fill a caller's buffer.
    // GetBuffer returns at least minLength + 1 writable bytes holding the
    // current contents; until ReleaseBuffer the length may read as the
    // buffer size.
    // ReleaseBuffer(-1) takes the length up to the first NUL in the buffer.
    // Negative lengths (other than -1 for ReleaseBuffer) and a release length
    // beyond the buffer throw CInvalidArgException; a buffer that cannot be
    // allocated throws CMemoryException.
    char* GetBuffer(int minLength);
    char* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

private:
    explicit CString(std::string text) noexcept : m_text(std::move(text)) {}

    static CString Concat(CString left, std::string_view right)
    {
        left.m_text.append(right);
        return left;
    }

    std::size_t CheckedIndex(int index) const;
    void Resize(int length);

    std::string m_text;
};
