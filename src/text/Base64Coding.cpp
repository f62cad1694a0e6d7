#include "text/Base64Coding.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr BYTE kSkip = 254;
constexpr BYTE kInvalid = 255;
constexpr int kLineLength = 72;

// Length of the encoding without line breaks: four characters per started
// group of three, plus the closing "=" when the input fills its last group.
int EncodedLength(int inputLength)
{
    int length = (inputLength + 2) / 3 * 4;
    if (inputLength % 3 == 0)
        ++length;
    return length;
}

// The two characters of every 12-bit value, so that a group of three bytes
// takes two look-ups instead of four.
struct CharacterPairs {
    char pair[4096][2];
    constexpr CharacterPairs() : pair {}
    {
        for (int value = 0; value < 4096; ++value) {
            pair[value][0] = kAlphabet[value >> 6];
            pair[value][1] = kAlphabet[value & 63];
        }
    }
};
constexpr CharacterPairs kPairs;

// For the decoder's fast path: each character's 6-bit value already shifted
// into its place in a group of four, or a high bit for anything that is not
// one of the 64 characters.
struct ShiftedValues {
    std::uint32_t shifted[4][256];
    constexpr ShiftedValues() : shifted {}
    {
        for (int place = 0; place < 4; ++place) {
            for (int c = 0; c < 256; ++c)
                shifted[place][c] = 0x80000000u;
            for (int value = 0; value < 64; ++value)
                shifted[place][BYTE(kAlphabet[value])] = std::uint32_t(value) << (18 - 6 * place);
        }
    }
};
constexpr ShiftedValues kShifted;

// The default decoding table, to tell whether an override changed it.
struct DefaultTable {
    BYTE value[256];
    constexpr DefaultTable() : value {}
    {
        for (int c = 0; c < 256; ++c)
            value[c] = kInvalid;
        for (int v = 0; v < 64; ++v)
            value[BYTE(kAlphabet[v])] = BYTE(v);
        for (BYTE blank : {BYTE('\t'), BYTE('\n'), BYTE('\r'), BYTE(' ')})
            value[blank] = kSkip;
    }
};
constexpr DefaultTable kDefaultTable;

// Writes the characters of the encoding to `out`, which has room for
// EncodedLength(length) characters.
void EncodeInto(const BYTE* in, int length, char* out)
{
    int i = 0;
    for (; i + 3 <= length; i += 3, out += 4) {
        const unsigned group = unsigned(in[i]) << 16 | unsigned(in[i + 1]) << 8 | in[i + 2];
        std::memcpy(out, kPairs.pair[group >> 12], 2);
        std::memcpy(out + 2, kPairs.pair[group & 4095], 2);
    }
    const int rest = length - i;
    if (rest == 0) {
        *out = '=';
        return;
    }
    const unsigned group = unsigned(in[i]) << 16 | (rest == 2 ? unsigned(in[i + 1]) << 8 : 0u);
    *out++ = kAlphabet[group >> 18];
    *out++ = kAlphabet[(group >> 12) & 63];
    *out++ = rest == 2 ? kAlphabet[(group >> 6) & 63] : '=';
    *out = '=';
}

} // namespace

CBase64Coding::CBase64Coding() = default;

CBase64Coding::~CBase64Coding() = default;

void CBase64Coding::m_InitializeDecoderTable()
{
    std::memcpy(m_DecoderTable, kDefaultTable.value, sizeof m_DecoderTable);
}

bool CBase64Coding::Decode(const CString& source, CByteArray& destination)
{
    return DecodeBytes(reinterpret_cast<const BYTE*>(source.GetString()), source.GetLength(), destination);
}

bool CBase64Coding::Decode(const CByteArray& source, CByteArray& destination)
{
    if (&source == &destination) {
        CByteArray copy(source);
        return DecodeBytes(copy.GetData(), int(copy.GetSize()), destination);
    }
    return DecodeBytes(source.GetData(), int(source.GetSize()), destination);
}

// Reads groups of four characters, skipping white space. A "=" in the first
// or second place of a group ends the text with nothing more to write; in the
// third or fourth place it ends the text after the bytes it completes. An
// invalid character, or input that ends inside a group, fails and empties the
// output; input that ends between groups without any "=" keeps what was
// decoded but fails.
bool CBase64Coding::DecodeBytes(const BYTE* source, int length, CByteArray& destination)
{
    if (!TableIsBuilt())
        m_InitializeDecoderTable();
    if (length <= 0) {
        destination.RemoveAll();
        return false;
    }
    // The output is sized for the longest result once, and cut to what was
    // written at the end; its storage is reused from call to call.
    destination.SetSize(length / 4 * 3 + 3);
    BYTE* out = destination.GetData();
    int written = 0;
    int position = 0;
    const BYTE* table = m_DecoderTable;
    // The fast path reads its own copy of the default table; a table that
    // an override changed is read character by character.
    const bool fast = std::memcmp(table, kDefaultTable.value, sizeof m_DecoderTable) == 0;

    enum class Read { Value, Pad, End, Invalid };
    auto next = [&](BYTE& value) {
        while (position < length) {
            const BYTE c = source[position++];
            value = table[c];
            if (value < 64)
                return Read::Value;
            if (c == '=')
                return Read::Pad;
            if (value != kSkip)
                return Read::Invalid;
        }
        return Read::End;
    };
    auto finish = [&](bool complete) {
        destination.SetSize(written);
        return complete;
    };
    auto fail = [&]() {
        destination.RemoveAll();
        return false;
    };

    for (;;) {
        // Fast path: runs of four valid characters.
        while (fast && position + 4 <= length) {
            const std::uint32_t group = kShifted.shifted[0][source[position]] | kShifted.shifted[1][source[position + 1]]
                | kShifted.shifted[2][source[position + 2]] | kShifted.shifted[3][source[position + 3]];
            if (group & 0x80000000u)
                break;
            out[written] = BYTE(group >> 16);
            out[written + 1] = BYTE(group >> 8);
            out[written + 2] = BYTE(group);
            written += 3;
            position += 4;
        }

        BYTE v[4] {};
        Read r = next(v[0]);
        if (r == Read::End)
            return finish(false);
        if (r == Read::Invalid)
            return fail();
        if (r == Read::Pad)
            return finish(true);

        r = next(v[1]);
        if (r == Read::End || r == Read::Invalid)
            return fail();
        if (r == Read::Pad)
            return finish(true);

        r = next(v[2]);
        if (r == Read::End || r == Read::Invalid)
            return fail();
        out[written++] = BYTE(v[0] << 2 | v[1] >> 4);
        if (r == Read::Pad)
            return finish(true);

        r = next(v[3]);
        if (r == Read::End || r == Read::Invalid)
            return fail();
        out[written++] = BYTE(v[1] << 4 | v[2] >> 2);
        if (r == Read::Pad)
            return finish(true);
        out[written++] = BYTE(v[2] << 6 | v[3]);
    }
}

bool CBase64Coding::Encode(const CByteArray& source, CByteArray& destination)
{
    if (&source == &destination) {
        const CByteArray copy(source);
        return Encode(copy, destination);
    }
    const int length = int(source.GetSize());
    destination.SetSize(EncodedLength(length));
    EncodeInto(source.GetData(), length, reinterpret_cast<char*>(destination.GetData()));
    return true;
}

bool CBase64Coding::Encode(const CByteArray& source, CString& destination)
{
    const int length = int(source.GetSize());
    const int characters = EncodedLength(length);
    const int breaks = (characters - 1) / kLineLength;

    // Every line but the last holds exactly 54 input bytes (72 characters).
    // Encoding a full line also writes a "=" after it, which the line break
    // then overwrites; the last line carries the real closing "=".
    constexpr int kBytesPerLine = kLineLength / 4 * 3;
    char* out = destination.GetBufferSetLength(characters + 2 * breaks);
    const BYTE* in = source.GetData();
    int done = 0;
    for (int line = 0; line < breaks; ++line, done += kBytesPerLine) {
        EncodeInto(in + done, kBytesPerLine, out);
        out += kLineLength;
        *out++ = '\r';
        *out++ = '\n';
    }
    EncodeInto(in + done, length - done, out);
    destination.ReleaseBuffer(characters + 2 * breaks);
    return true;
}
