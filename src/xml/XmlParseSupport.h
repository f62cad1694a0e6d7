// Small helpers shared by the XML parsing sources: views of strings, white
// space trimming and the nesting guard. Internal to the library.
#pragma once

#include "framework/String.h"
#include "base/Types.h"
#include "xml/XmlCharClasses.h"
#include "xml/XmlNodeText.h"

#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace OrvXml {

inline std::string_view View(const CString& text) noexcept
{
    return std::string_view(text.GetString(), std::size_t(text.GetLength()));
}

inline std::string_view View(const CNodeText& text) noexcept
{
    return text.View();
}

inline CString ToCString(std::string_view text)
{
    return CString(text.data(), int(text.size()));
}

inline std::string_view TrimLeft(std::string_view text) noexcept
{
    while (!text.empty() && IsXmlSpace(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

inline std::string_view TrimRight(std::string_view text) noexcept
{
    while (!text.empty() && IsXmlSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

inline std::string_view Trim(std::string_view text) noexcept
{
    return TrimRight(TrimLeft(text));
}

inline bool StartsWith(std::string_view text, std::string_view prefix) noexcept
{
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

inline bool EndsWith(std::string_view text, std::string_view suffix) noexcept
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

inline bool IsQuote(char c) noexcept
{
    return c == '"' || c == '\'';
}

// Whether write option 0x100 can convert to the code page (see
// CExtensibleMarkupLanguageDocument::SetConversionCodePage).
bool IsSupportedCodePage(DWORD codePage);

// Whether the reference is one of the five predefined ones.
inline bool IsPredefinedReference(std::string_view reference) noexcept
{
    return reference == "&amp;" || reference == "&apos;" || reference == "&gt;" || reference == "&lt;"
        || reference == "&quot;";
}

// The index of the first white space character, or npos.
inline std::size_t FindSpace(std::string_view text) noexcept
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsXmlSpace(text[i])) {
            return i;
        }
    }
    return std::string_view::npos;
}

// The index of the first c in text at or after from, or npos.
inline std::size_t FindByte(std::string_view text, std::size_t from, char c) noexcept
{
    if (from >= text.size()) {
        return std::string_view::npos;
    }
    const void* hit = std::memchr(text.data() + from, c, text.size() - from);
    return hit != nullptr ? std::size_t(static_cast<const char*>(hit) - text.data()) : std::string_view::npos;
}

// FindByte for a byte that is usually near: sixteen bytes are compared at
// a time in place, which for a few dozen bytes beats the call to memchr.
inline std::size_t FindNearByte(std::string_view text, std::size_t from, char c) noexcept
{
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    for (; from + 16 <= text.size(); from += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + from));
        const unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, wanted)));
        if (mask != 0) {
            return from + unsigned(__builtin_ctz(mask));
        }
    }
#endif
    for (; from < text.size(); ++from) {
        if (text[from] == c) {
            return from;
        }
    }
    return std::string_view::npos;
}

// One bit per byte of the 64 bytes at bytes that equals c.
inline std::uint64_t ByteMask64(const char* bytes, char c) noexcept
{
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    const auto mask16 = [&](int i) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * i));
        return std::uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, wanted))));
    };
    return mask16(0) | mask16(1) << 16 | mask16(2) << 32 | mask16(3) << 48;
#else
    std::uint64_t mask = 0;
    for (int i = 0; i < 64; ++i) {
        mask |= std::uint64_t(bytes[i] == c) << i;
    }
    return mask;
#endif
}

// One bit per byte of text[at, at + 64) that equals c (bytes past the end
// of the text never match). The last block of a text is read as the 64
// bytes that end the text, shifted into place.
inline std::uint64_t ByteMask64(std::string_view text, std::size_t at, char c) noexcept
{
    const std::size_t remaining = text.size() - at;
    if (remaining >= 64) {
        return ByteMask64(text.data() + at, c);
    }
    if (text.size() >= 64) {
        return ByteMask64(text.data() + text.size() - 64, c) >> (64 - remaining);
    }
    char tail[64];
    std::memset(tail, c == 0 ? 1 : 0, sizeof tail);
    std::memcpy(tail, text.data() + at, remaining);
    return ByteMask64(tail, c);
}

// Calls check(ampersand) for each '&' of the text, in order; check returns
// the index just past the reference it read there (an '&' before that
// index is not offered again), or npos to stop. Returns false when a check
// stopped. References are dense in text, so the text is taken 64 bytes at
// a time and the '&' of a block are read from one bit mask, without a
// search per reference.
template <class Check>
bool ForEachAmpersand(std::string_view text, Check check)
{
    std::size_t next = 0;
    for (std::size_t block = 0; block < text.size(); block += 64) {
        std::uint64_t ampersands = ByteMask64(text, block, '&');
        while (ampersands != 0) {
            const std::size_t ampersand = block + std::size_t(__builtin_ctzll(ampersands));
            ampersands &= ampersands - 1;
            if (ampersand < next) {
                continue;
            }
            next = check(ampersand);
            if (next == std::string_view::npos) {
                return false;
            }
        }
    }
    return true;
}

// Parse calls that nest through declarations (a DOCTYPE internal subset
// whose parameter entities hold markup that again holds a DOCTYPE) recurse on
// the machine stack, about ten frames per level. Thirty-two levels stay far
// inside a 1 MB stack even in sanitizer builds; real documents use one or two.
inline constexpr DWORD kMaximumRecursiveParseDepth = 32;

// Parameter-entity expansion on this thread: how many replacement texts are
// being read as markup, one inside the other, and the work the current
// parse has done through entities (expansions, and nodes made while a
// replacement text is read), bounded by kMaximumEntityExpansion.
struct CEntityExpansion {
    DWORD depth = 0;
    DWORD work = 0;
};
inline thread_local CEntityExpansion t_EntityExpansion;
inline constexpr char kEntityExpansionTooLarge[] = "Entity references expand too much.";

// The length of a start tag or declaration at the start of rest, up to and
// including the first '>' that stands outside quotes; npos without one. In
// a start tag only a quote after '=' (and white space) opens a value, and
// when one is never closed the first '>' ends the tag, so the attribute
// reader reports the fault. In a declaration any quote opens a literal,
// and one never closed leaves the declaration without its end (npos): a
// declaration cut at a quoted '>' would read differently once written.
// An ENTITY declaration ends at the first '>' after its first literal (its
// value), or, when that literal is never closed, at its first '>', and its
// reader then reports the missing quote.
inline std::size_t QuotedMarkupLength(std::string_view rest, bool declaration, bool cutAtFirst,
    bool firstLiteralOnly = false) noexcept
{
    const std::size_t first = FindNearByte(rest, 0, '>');
    if (first == std::string_view::npos) {
        return first;
    }
    // Most tags hold no quote before their first '>' (end tags, tags
    // without attributes).
    const std::string_view head = rest.substr(0, first);
    if (FindNearByte(head, 0, '"') == std::string_view::npos && FindNearByte(head, 0, '\'') == std::string_view::npos) {
        return first + 1;
    }
    // Otherwise one pass over the bytes that matter: each quoted value is
    // skipped whole, and the first '>' between them ends the markup.
    struct Stops {
        bool stop[256] = {};
        constexpr Stops() { stop[BYTE('>')] = stop[BYTE('"')] = stop[BYTE('\'')] = true; }
    };
    static constexpr Stops kStops;
    for (std::size_t at = 0; at < rest.size(); ++at) {
        while (!kStops.stop[BYTE(rest[at])]) {
            if (++at == rest.size()) {
                return cutAtFirst ? first + 1 : std::string_view::npos;
            }
        }
        const char c = rest[at];
        if (c == '>') {
            return at + 1;
        }
        if (!declaration) {
            // In a start tag a value's quote follows '=' and white space.
            std::size_t back = at;
            while (back > 0 && IsXmlSpace(rest[back - 1])) {
                --back;
            }
            if (back == 0 || rest[back - 1] != '=') {
                continue;
            }
        }
        const std::size_t close = FindByte(rest, at + 1, c);
        if (close == std::string_view::npos) {
            break;
        }
        if (firstLiteralOnly) {
            const std::size_t end = FindNearByte(rest, close + 1, '>');
            return end == std::string_view::npos ? end : end + 1;
        }
        at = close;
    }
    return cutAtFirst ? first + 1 : std::string_view::npos;
}

} // namespace OrvXml
