#include "framework/String.h"

#include "framework/Exceptions.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>

namespace {

constexpr std::string_view kBlanks = " \t\n\v\f\r";

std::string_view View(const char* text) noexcept
{
    return text ? std::string_view(text) : std::string_view();
}

int ToIndex(std::size_t position) noexcept
{
    return position == std::string::npos ? -1 : static_cast<int>(position);
}

char FoldCase(char ch) noexcept
{
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

int CompareBytes(std::string_view left, std::string_view right, bool foldCase) noexcept
{
    const std::size_t common = std::min(left.size(), right.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto a = static_cast<unsigned char>(foldCase ? FoldCase(left[i]) : left[i]);
        const auto b = static_cast<unsigned char>(foldCase ? FoldCase(right[i]) : right[i]);
        if (a != b) {
            return a < b ? -1 : 1;
        }
    }
    return left.size() == right.size() ? 0 : (left.size() < right.size() ? -1 : 1);
}

// Rewrites the Windows length prefix I64 as the C99 prefix ll, so that one
// format string means the same on every C library. Only a prefix inside a
// conversion is rewritten: "%%I64d" is a literal percent sign followed by text.
std::string TranslateFormat(const char* format)
{
    std::string out;
    const char* p = format;
    while (*p != '\0') {
        if (*p != '%') {
            out += *p++;
            continue;
        }
        out += *p++;
        if (*p == '%') {
            out += *p++;
            continue;
        }
        while (*p != '\0' && std::strchr("-+ #0'123456789.*", *p) != nullptr) {
            out += *p++;
        }
        if (std::strncmp(p, "I64", 3) == 0) {
            out += "ll";
            p += 3;
        }
    }
    return out;
}

// The C library's formatter. mingw-w64 ships its own C99 implementation next
// to the system one, whose rules differ (exponent digits, return value on
// truncation); using it explicitly keeps the output identical to glibc's.
int FormatInto(char* buffer, std::size_t size, const char* format, va_list args)
{
#if defined(__MINGW32__)
    return __mingw_vsnprintf(buffer, size, format, args);
#else
    return std::vsnprintf(buffer, size, format, args);
#endif
}

std::string Render(const char* format, va_list args)
{
    if (format == nullptr) {
        return {};
    }
    std::string translated;
    if (std::strstr(format, "I64") != nullptr) {
        translated = TranslateFormat(format);
        format = translated.c_str();
    }
    // Most results fit a small stack buffer; longer ones are formatted a
    // second time into a buffer of the exact size the first pass reported.
    char small[256];
    va_list pass;
    va_copy(pass, args);
    const int length = FormatInto(small, sizeof small, format, pass);
    va_end(pass);
    if (length < 0) {
        throw CInvalidArgException();
    }
    if (static_cast<std::size_t>(length) < sizeof small) {
        return std::string(small, static_cast<std::size_t>(length));
    }
    std::string out(static_cast<std::size_t>(length), '\0');
    va_copy(pass, args);
    FormatInto(out.data(), out.size() + 1, format, pass);
    va_end(pass);
    return out;
}

} // namespace

CString::CString(const char* text) : m_text(View(text))
{
}

CString::CString(const char* text, int length)
{
    if (length < 0 || (text == nullptr && length > 0)) {
        throw CInvalidArgException();
    }
    if (length > 0) {
        m_text.assign(text, static_cast<std::size_t>(length));
    }
}

CString::CString(char ch, int repeat) : m_text(static_cast<std::size_t>(std::max(repeat, 0)), ch)
{
}

CString& CString::operator=(CString&& other) noexcept
{
    if (this != &other) {
        m_text = std::move(other.m_text);
        other.m_text.clear();
    }
    return *this;
}

CString& CString::operator=(const char* text)
{
    m_text.assign(View(text));
    return *this;
}

CString& CString::operator=(char ch)
{
    m_text.assign(1, ch);
    return *this;
}

CString& CString::operator+=(const CString& text)
{
    m_text.append(text.m_text);
    return *this;
}

CString& CString::operator+=(const char* text)
{
    m_text.append(View(text));
    return *this;
}

CString& CString::operator+=(char ch)
{
    m_text.push_back(ch);
    return *this;
}

std::size_t CString::CheckedIndex(int index) const
{
    if (index < 0 || index >= GetLength()) {
        throw CInvalidArgException();
    }
    return static_cast<std::size_t>(index);
}

char CString::operator[](int index) const
{
    return m_text[CheckedIndex(index)];
}

char CString::GetAt(int index) const
{
    return m_text[CheckedIndex(index)];
}

void CString::SetAt(int index, char ch)
{
    m_text[CheckedIndex(index)] = ch;
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    try {
        m_text = Render(format, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

void CString::FormatV(const char* format, va_list args)
{
    m_text = Render(format, args);
}

void CString::AppendFormat(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    try {
        m_text += Render(format, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

int CString::Find(char ch, int start) const noexcept
{
    return ToIndex(m_text.find(ch, static_cast<std::size_t>(std::max(start, 0))));
}

int CString::Find(const char* text, int start) const noexcept
{
    // std::string::find already answers npos for a start past the end, and
    // the start itself for empty text at or before the end.
    return ToIndex(m_text.find(View(text), static_cast<std::size_t>(std::max(start, 0))));
}

int CString::Find(const CString& text, int start) const noexcept
{
    return ToIndex(m_text.find(text.m_text, static_cast<std::size_t>(std::max(start, 0))));
}

int CString::ReverseFind(char ch) const noexcept
{
    return ToIndex(m_text.rfind(ch));
}

int CString::ReverseFind(const char* text) const noexcept
{
    return ToIndex(m_text.rfind(View(text)));
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    const int length = GetLength();
    first = std::clamp(first, 0, length);
    count = std::clamp(count, 0, length - first);
    return CString(m_text.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(count)));
}

CString CString::Left(int count) const
{
    return Mid(0, count);
}

CString CString::Right(int count) const
{
    const int length = GetLength();
    count = std::clamp(count, 0, length);
    return Mid(length - count, count);
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

CString& CString::Trim(char ch)
{
    return TrimRight(ch).TrimLeft(ch);
}

CString& CString::Trim(const char* set)
{
    return TrimRight(set).TrimLeft(set);
}

CString& CString::TrimLeft()
{
    return TrimLeft(kBlanks.data());
}

CString& CString::TrimLeft(char ch)
{
    m_text.erase(0, std::min(m_text.find_first_not_of(ch), m_text.size()));
    return *this;
}

CString& CString::TrimLeft(const char* set)
{
    // The set is copied first: it may point into this string.
    const std::string chars(View(set));
    m_text.erase(0, std::min(m_text.find_first_not_of(chars), m_text.size()));
    return *this;
}

CString& CString::TrimRight()
{
    return TrimRight(kBlanks.data());
}

CString& CString::TrimRight(char ch)
{
    const std::size_t last = m_text.find_last_not_of(ch);
    m_text.erase(last == std::string::npos ? 0 : last + 1);
    return *this;
}

CString& CString::TrimRight(const char* set)
{
    const std::string chars(View(set));
    const std::size_t last = m_text.find_last_not_of(chars);
    m_text.erase(last == std::string::npos ? 0 : last + 1);
    return *this;
}

CString& CString::MakeUpper() noexcept
{
    for (char& ch : m_text) {
        if (ch >= 'a' && ch <= 'z') {
            ch = static_cast<char>(ch - 'a' + 'A');
        }
    }
    return *this;
}

CString& CString::MakeLower() noexcept
{
    for (char& ch : m_text) {
        ch = FoldCase(ch);
    }
    return *this;
}

int CString::Replace(char oldChar, char newChar) noexcept
{
    int count = 0;
    for (char& ch : m_text) {
        if (ch == oldChar) {
            ch = newChar;
            ++count;
        }
    }
    return count;
}

int CString::Replace(const char* oldText, const char* newText)
{
    const std::string_view from = View(oldText);
    if (from.empty()) {
        return 0;
    }
    // The result is built aside, so either argument may point into this
    // string; the string changes only once the result is complete.
    const std::string_view to = View(newText);
    std::string result;
    int count = 0;
    std::size_t done = 0;
    for (std::size_t hit = m_text.find(from); hit != std::string::npos; hit = m_text.find(from, done)) {
        result.append(m_text, done, hit - done).append(to);
        done = hit + from.size();
        ++count;
    }
    if (count > 0) {
        result.append(m_text, done);
        m_text = std::move(result);
    }
    return count;
}

int CString::Remove(char ch)
{
    return static_cast<int>(std::erase(m_text, ch));
}

int CString::Insert(int index, char ch)
{
    m_text.insert(static_cast<std::size_t>(std::clamp(index, 0, GetLength())), 1, ch);
    return GetLength();
}

int CString::Insert(int index, const char* text)
{
    // Copied first: text may point into this string.
    const std::string piece(View(text));
    m_text.insert(static_cast<std::size_t>(std::clamp(index, 0, GetLength())), piece);
    return GetLength();
}

int CString::Delete(int index, int count)
{
    const int length = GetLength();
    index = std::clamp(index, 0, length);
    count = std::clamp(count, 0, length - index);
    m_text.erase(static_cast<std::size_t>(index), static_cast<std::size_t>(count));
    return GetLength();
}

int CString::Compare(const char* text) const noexcept
{
    return CompareBytes(m_text, View(text), false);
}

int CString::CompareNoCase(const char* text) const noexcept
{
    return CompareBytes(m_text, View(text), true);
}

void CString::Resize(int length)
{
    try {
        m_text.resize(static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        throw CMemoryException();
    } catch (const std::length_error&) {
        throw CMemoryException();
    }
}

char* CString::GetBuffer(int minLength)
{
    if (minLength < 0) {
        throw CInvalidArgException();
    }
    if (minLength > GetLength()) {
        Resize(minLength);
    }
    return m_text.data();
}

char* CString::GetBufferSetLength(int length)
{
    if (length < 0) {
        throw CInvalidArgException();
    }
    Resize(length);
    return m_text.data();
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength == -1) {
        m_text.resize(std::min(m_text.find('\0'), m_text.size()));
        return;
    }
    if (newLength < 0 || newLength > GetLength()) {
        throw CInvalidArgException();
    }
    m_text.resize(static_cast<std::size_t>(newLength));
}
