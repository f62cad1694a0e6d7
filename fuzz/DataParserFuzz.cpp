// Drives every CDataParser operation over arbitrary bytes, in every encoding,
// from arbitrary points (far past the end and with counters about to wrap
// included), and checks each answer against a plain model that steps one
// byte or one character at a time, as the operations are defined. The bulk
// scans of the parser must give exactly the model's results and points.
//
// Input: mode, operation, pattern length, point selectors, index, count,
// byte, then the pattern, then the buffer itself.
#include "xml/DataParser.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

#define CHECK(condition)                                                                                         \
    do {                                                                                                         \
        if (!(condition))                                                                                        \
            std::abort();                                                                                        \
    } while (0)

constexpr DWORD kOrders[] = {1234, 2143, 3412, 4321};

struct Input {
    const std::uint8_t* data;
    std::size_t size;

    BYTE Byte()
    {
        if (size == 0)
            return 0;
        --size;
        return *data++;
    }
    DWORD Dword()
    {
        DWORD value = 0;
        for (int i = 0; i < 4; ++i)
            value = value << 8 | Byte();
        return value;
    }
};

enum Encoding { kSingle, kLittle, kBig, kUCS4 };

// The model: the buffer and its encoding, read the plain way.
struct Model {
    std::string bytes;
    Encoding encoding;
    DWORD order;
    BYTE failure;

    DWORD Size() const { return DWORD(bytes.size()); }
    BYTE At(ULONGLONG index) const { return BYTE(bytes[std::size_t(index)]); }
    DWORD Width() const { return encoding == kSingle ? 1 : encoding == kUCS4 ? 4 : 2; }

    // The character whose bytes start at index; all of them exist.
    DWORD Value(ULONGLONG index) const
    {
        const DWORD b0 = At(index);
        if (encoding == kSingle)
            return b0;
        const DWORD b1 = At(index + 1);
        if (encoding == kLittle)
            return b1 * 256 + b0;
        if (encoding == kBig)
            return b0 * 256 + b1;
        const DWORD b2 = At(index + 2), b3 = At(index + 3);
        switch (order) {
        case 1234: return b0 << 24 | b1 << 16 | b2 << 8 | b3;
        case 4321: return b3 << 24 | b2 << 16 | b1 << 8 | b0;
        case 2143: return b1 << 24 | b0 << 16 | b3 << 8 | b2;
        default: return b2 << 24 | b3 << 16 | b0 << 8 | b1;
        }
    }
    DWORD Translated(DWORD value) const { return value > 255 ? failure : value; }
    bool Fits(ULONGLONG index, ULONGLONG count) const { return index + count <= Size(); }

    void Step(CParsePoint& point) const { point.AutoIncrement(At(point.GetIndex())); }
    void StepTo(CParsePoint& point, DWORD end) const
    {
        while (point.GetIndex() < end)
            Step(point);
    }
};

BYTE Fold(BYTE byte)
{
    return byte >= 'A' && byte <= 'Z' ? BYTE(byte | 0x20) : byte;
}

void ExpectError(DWORD error)
{
    CHECK(GetLastError() == error);
}

void ExpectReset(const CParsePoint& point)
{
    CHECK(point == CParsePoint());
}

// Byte-level search, one byte at a time.
bool ModelSearch(const Model& model, const CParsePoint& start, const std::string& pattern, bool noCase,
                 CParsePoint& result, DWORD& error)
{
    result = CParsePoint();
    if (start.GetIndex() >= model.Size()) {
        error = CDataParser::ErrorPastEnd;
        return false;
    }
    error = CDataParser::ErrorSuccess;
    for (CParsePoint point = start; model.Fits(point.GetIndex(), pattern.size()); model.Step(point)) {
        bool match = true;
        for (std::size_t i = 0; i < pattern.size() && match; ++i) {
            const BYTE have = model.At(ULONGLONG(point.GetIndex()) + i), want = BYTE(pattern[i]);
            match = noCase ? Fold(have) == Fold(want) : have == want;
        }
        if (match) {
            result = point;
            return true;
        }
    }
    return false;
}

void CheckSearch(const Model& model, const CParsePoint& start, const std::string& pattern,
                 bool noCase, bool found, const CParsePoint& result)
{
    CParsePoint expected;
    DWORD error = 0;
    CHECK(ModelSearch(model, start, pattern, noCase, expected, error) == found);
    ExpectError(error);
    CHECK(result == expected);
}

CByteArray ToArray(const std::string& bytes)
{
    CByteArray array;
    for (char byte : bytes)
        array.Add(BYTE(byte));
    return array;
}

std::string FromArray(const CByteArray& array)
{
    return std::string(reinterpret_cast<const char*>(array.GetData()), std::size_t(array.GetSize()));
}

void FuzzByteSearches(const CDataParser& parser, const Model& model, const CParsePoint& start,
                      const std::string& pattern, BYTE byte)
{
    CParsePoint result = start;
    bool found = parser.Find(result, byte, result); // start and result as one object
    CheckSearch(model, start, std::string(1, char(byte)), false, found, result);
    found = parser.Find(start, ToArray(pattern), result);
    CheckSearch(model, start, pattern, false, found, result);
    found = parser.FindNoCase(start, ToArray(pattern), result);
    CheckSearch(model, start, pattern, true, found, result);
}

void FuzzPeek(const CDataParser& parser, const Model& model, const CParsePoint& point, DWORD offset)
{
    const ULONGLONG first = ULONGLONG(point.GetIndex()) + ULONGLONG(offset) * model.Width();
    const bool fits = model.Fits(first, model.Width());
    DWORD character = 12345;
    CHECK(parser.PeekAtCharacter(point, character, offset) == fits);
    ExpectError(fits ? CDataParser::ErrorSuccess : CDataParser::ErrorPastEnd);
    CHECK(character == (fits ? model.Value(first) : 0));
    CHECK(parser.PeekCharacter(point, offset) == character);
    CHECK(parser.GetCharacter(point, offset) == model.Translated(character));
}

// Reads to the end with GetNextCharacter, which must step over every byte.
void FuzzGetNext(const CDataParser& parser, const Model& model, CParsePoint point)
{
    for (;;) {
        CParsePoint expected = point;
        const DWORD index = point.GetIndex();
        const bool fits = model.Fits(index, model.Width());
        DWORD character = 12345;
        CHECK(parser.GetNextCharacter(point, character) == fits);
        ExpectError(fits ? CDataParser::ErrorSuccess : CDataParser::ErrorPastEnd);
        model.StepTo(expected, DWORD(std::min<ULONGLONG>(ULONGLONG(index) + model.Width(), model.Size())));
        CHECK(point == expected);
        if (!fits) {
            CHECK(character == 0);
            return;
        }
        CHECK(character == model.Translated(model.Value(index)));
    }
}

void FuzzAdvance(const CDataParser& parser, const Model& model, CParsePoint point, DWORD given)
{
    for (int steps = 0;; ++steps) {
        const CParsePoint before = point;
        const ULONGLONG next = ULONGLONG(before.GetIndex()) + model.Width();
        const bool inside = next < model.Size();
        CHECK(parser.AdvanceByOneCharacter(point, given) == inside);
        ExpectError(inside ? CDataParser::ErrorSuccess : CDataParser::ErrorPastEnd);
        CParsePoint expected = before;
        if (inside) {
            expected.AutoIncrement(BYTE(given != 0 ? given : model.Value(before.GetIndex())));
            expected.SetIndex(DWORD(next));
        } else {
            expected.SetIndex(DWORD(std::min<ULONGLONG>(next, 0xFFFFFFFF)));
        }
        CHECK(point == expected);
        if (!inside || steps > 64)
            return;
    }
}

// The character search, one character at a time through the public reads.
void FuzzFindString(const CDataParser& parser, const Model& model, const CParsePoint& start, const std::string& pattern)
{
    CParsePoint result = start;
    const bool found = parser.Find(start, CString(pattern.data(), int(pattern.size())), result);
    const DWORD error = GetLastError();
    if (pattern.empty() || start.GetIndex() >= model.Size()) {
        CHECK(!found && error == CDataParser::ErrorPastEnd);
        ExpectReset(result);
        return;
    }
    for (CParsePoint point = start; model.Fits(point.GetIndex(), pattern.size());) {
        const CParsePoint candidate = point;
        const bool readable = model.Fits(point.GetIndex(), model.Width());
        DWORD character = 0;
        parser.GetNextCharacter(point, character);
        if (!readable)
            break;
        if (model.Value(candidate.GetIndex()) != BYTE(pattern[0]))
            continue;
        CParsePoint probe = point;
        std::size_t matched = 1;
        for (; matched < pattern.size(); ++matched) {
            const ULONGLONG at = probe.GetIndex();
            if (!parser.GetNextCharacter(probe, character)) {
                CHECK(!found && error == CDataParser::ErrorPastEnd);
                ExpectReset(result);
                return;
            }
            if (model.Value(at) != BYTE(pattern[matched]))
                break;
        }
        if (matched == pattern.size()) {
            CHECK(found && error == CDataParser::ErrorSuccess && result == candidate);
            return;
        }
    }
    CHECK(!found && error == CDataParser::ErrorSuccess);
    ExpectReset(result);
}

void FuzzFindNoCaseString(const CDataParser& parser, const Model& model, const CParsePoint& start,
                          const std::string& pattern)
{
    const CParsePoint marker = [] { CParsePoint point; point.SetLine(77); return point; }();
    CParsePoint result = marker;
    const bool found = parser.FindNoCase(start, CString(pattern.data(), int(pattern.size())), result);
    if (model.encoding == kUCS4) {
        CHECK(!found && result == marker);
        return;
    }
    std::string bytes = pattern;
    if (model.encoding != kSingle) {
        bytes.clear();
        for (char byte : pattern) {
            const char high = BYTE(byte) >= 0x80 ? char(0xFF) : char(0);
            bytes += model.encoding == kBig ? std::string{high, byte} : std::string{byte, high};
        }
    }
    CheckSearch(model, start, bytes, true, found, result);
}

void FuzzGet(const CDataParser& parser, const Model& model, const CParsePoint& start, DWORD count)
{
    const bool fits = model.Fits(start.GetIndex(), count);
    CParsePoint expected = start;
    if (fits)
        model.StepTo(expected, start.GetIndex() + count);
    CParsePoint point = start;
    CByteArray bytes = ToArray("stale");
    CHECK(parser.Get(point, count, bytes) == fits);
    ExpectError(fits ? CDataParser::ErrorSuccess : CDataParser::ErrorPastEnd);
    CHECK(point == expected);
    const std::string taken = fits ? model.bytes.substr(start.GetIndex(), count) : std::string();
    CHECK(FromArray(bytes) == taken);
    point = start;
    CString text = "stale";
    CHECK(parser.Get(point, count, text) == fits);
    CHECK(point == expected);
    CHECK(std::string(text.GetString(), std::size_t(text.GetLength())) == taken);
}

void FuzzGetUntilByte(const CDataParser& parser, const Model& model, const CParsePoint& start, BYTE terminator)
{
    // The model gathers byte by byte.
    CParsePoint expected = start;
    std::string gathered;
    bool found = false;
    while (expected.GetIndex() < model.Size() && !found) {
        const BYTE byte = model.At(expected.GetIndex());
        gathered += char(byte);
        model.Step(expected);
        found = byte == terminator;
    }
    CParsePoint point = start;
    CByteArray bytes = ToArray("stale");
    CHECK(parser.GetUntilAndIncluding(point, terminator, bytes) == found);
    ExpectError(found ? CDataParser::ErrorSuccess : CDataParser::ErrorPastEnd);
    CHECK(point == expected && FromArray(bytes) == gathered);
    point = start;
    CString text = "stale";
    CHECK(parser.GetUntilAndIncluding(point, terminator, text) == found);
    CHECK(point == expected);
    CHECK(std::string(text.GetString(), std::size_t(text.GetLength())) == (found ? gathered : std::string()));
}

void FuzzGetUntilBytePattern(const CDataParser& parser, const Model& model, const CParsePoint& start,
                             const std::string& pattern)
{
    CParsePoint expected = start;
    std::string gathered;
    bool found = false;
    if (expected.GetIndex() < model.Size()) {
        gathered += char(model.At(expected.GetIndex()));
        model.Step(expected);
        while (model.Fits(expected.GetIndex(), pattern.size())) {
            if (model.bytes.compare(expected.GetIndex(), pattern.size(), pattern) == 0) {
                gathered += pattern;
                model.StepTo(expected, expected.GetIndex() + DWORD(pattern.size()));
                found = true;
                break;
            }
            gathered += char(model.At(expected.GetIndex()));
            model.Step(expected);
        }
    }
    CParsePoint point = start;
    CString text = "stale";
    CHECK(parser.GetUntilAndIncluding(point, ToArray(pattern), text) == found);
    ExpectError(found ? CDataParser::ErrorSuccess : CDataParser::ErrorPastEnd);
    CHECK(point == expected);
    CHECK(std::string(text.GetString(), std::size_t(text.GetLength())) == (found ? gathered : std::string()));
}

void FuzzGetUntilStringPattern(const CDataParser& parser, const Model& model, const CParsePoint& start,
                               const std::string& pattern)
{
    CParsePoint expected = start;
    std::string gathered;
    bool found = false;
    while (!found) {
        const DWORD index = expected.GetIndex();
        if (!model.Fits(index, model.Width())) {
            model.StepTo(expected, std::max(index, model.Size()));
            break;
        }
        gathered += char(model.Translated(model.Value(index)));
        model.StepTo(expected, index + model.Width());
        found = gathered.size() >= pattern.size()
                && gathered.compare(gathered.size() - pattern.size(), pattern.size(), pattern) == 0;
    }
    CParsePoint point = start;
    CString text = "stale";
    CHECK(parser.GetUntilAndIncluding(point, CString(pattern.data(), int(pattern.size())), text) == found);
    ExpectError(found ? CDataParser::ErrorSuccess : CDataParser::ErrorPastEnd);
    CHECK(point == expected);
    CHECK(std::string(text.GetString(), std::size_t(text.GetLength())) == (found ? gathered : std::string()));
}

// Splits the buffer into strings at the pattern's bytes and joins them again.
void FuzzInitializeFromStrings(const Model& model, const std::string& pattern)
{
    CStringArray strings;
    std::size_t from = 0;
    for (char cut : pattern) {
        const std::size_t to = std::min(model.bytes.size(), from + BYTE(cut) % 16);
        strings.Add(CString(model.bytes.data() + from, int(to - from)));
        from = to;
    }
    strings.Add(CString(model.bytes.data() + from, int(model.bytes.size() - from)));
    CDataParser parser;
    CHECK(parser.Initialize(strings));
    CHECK(parser.GetSize() == model.Size());
    for (DWORD i = 0; i < model.Size(); ++i)
        CHECK(parser.GetAt(i) == model.At(i));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input input{data, size};
    const BYTE mode = input.Byte();
    const BYTE operation = input.Byte();
    const std::size_t patternLength = input.Byte() % 12;
    const BYTE selectors = input.Byte();
    const DWORD rawIndex = input.Dword();
    const DWORD rawCount = input.Dword();
    const BYTE byte = input.Byte();
    std::string pattern;
    for (std::size_t i = 0; i < patternLength && input.size > 0; ++i)
        pattern += char(input.Byte());

    Model model{std::string(reinterpret_cast<const char*>(input.data), input.size), Encoding(mode & 3),
                kOrders[(mode >> 2) & 3], BYTE(mode >> 4 | 0x40)};

    CDataParser parser;
    CHECK(parser.Initialize(new CByteArray(ToArray(model.bytes)), true));
    parser.SetTextToASCII(model.encoding == kSingle);
    parser.SetTextToBigEndian(model.encoding == kBig);
    parser.SetTextToUCS4(model.encoding == kUCS4);
    // A stray order value must fall back to 4321 before the real one is set.
    CHECK(!parser.SetUCS4Order(rawCount | 0x10000));
    CHECK(parser.GetUCS4Order() == 4321);
    CHECK(parser.SetUCS4Order(model.order));
    parser.SetUnicodeToASCIITranslationFailureCharacter(model.failure);

    // Mostly points inside (or just past) the buffer; sometimes anywhere.
    CParsePoint start;
    start.SetIndex(selectors & 1 ? rawIndex : rawIndex % (model.Size() + 3));
    start.SetLine(selectors & 2 ? 0xFFFFFFFF : 1 + (rawIndex & 7));
    start.SetColumn(selectors & 4 ? 0xFFFFFFFE : 1 + (rawIndex >> 3 & 7));
    const DWORD count = selectors & 8 ? rawCount : rawCount % (model.Size() + 3);
    const DWORD given = selectors & 16 ? byte : 0;

    switch (operation % 12) {
    case 0: FuzzByteSearches(parser, model, start, pattern, byte); break;
    case 1: FuzzPeek(parser, model, start, count); break;
    case 2: FuzzGetNext(parser, model, start); break;
    case 3: FuzzAdvance(parser, model, start, given); break;
    case 4: FuzzFindString(parser, model, start, pattern); break;
    case 5: FuzzFindNoCaseString(parser, model, start, pattern); break;
    case 6: FuzzGet(parser, model, start, count); break;
    case 7: FuzzGetUntilByte(parser, model, start, byte); break;
    case 8: FuzzGetUntilBytePattern(parser, model, start, pattern); break;
    case 9: FuzzGetUntilStringPattern(parser, model, start, pattern); break;
    case 10: FuzzInitializeFromStrings(model, pattern); break;
    default:
        FuzzByteSearches(parser, model, start, pattern, byte);
        FuzzPeek(parser, model, start, count);
        FuzzGetNext(parser, model, start);
        FuzzAdvance(parser, model, start, given);
        FuzzFindString(parser, model, start, pattern);
        FuzzFindNoCaseString(parser, model, start, pattern);
        FuzzGet(parser, model, start, count);
        FuzzGetUntilByte(parser, model, start, byte);
        FuzzGetUntilBytePattern(parser, model, start, pattern);
        FuzzGetUntilStringPattern(parser, model, start, pattern);
        break;
    }
    return 0;
}
