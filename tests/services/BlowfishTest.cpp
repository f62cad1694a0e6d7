// CBlowfish against Eric Young's published vectors (electronic codebook,
// variable key length, and the chaining modes), and its two errors.
#include "services/Blowfish.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const char* const kVectors =
#include "services/data/blowfish-vectors.inc"
    ;

using Bytes = std::vector<BYTE>;

Bytes FromHex(const std::string& hex)
{
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<BYTE>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::vector<std::string> Lines()
{
    std::vector<std::string> lines;
    std::istringstream stream(kVectors);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

// The text after the line that starts with label.
std::string LineAfter(const std::vector<std::string>& lines, const std::string& label)
{
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].rfind(label, 0) == 0)
            return lines[i + 1];
    }
    return {};
}

bool IsHex(const std::string& text, std::size_t length = 0)
{
    if (text.empty() || (length != 0 && text.size() != length))
        return false;
    return text.find_first_not_of("0123456789ABCDEF") == std::string::npos;
}

// The value of the last "name[n] = HEX" line (the chaining example comes
// after the variable-key section, which has a "data[8]" line of its own).
std::string HexField(const std::vector<std::string>& lines, const std::string& name)
{
    std::string value;
    for (const std::string& line : lines) {
        const std::size_t equals = line.find('=');
        if (line.rfind(name + "[", 0) != 0 || equals == std::string::npos)
            continue;
        std::istringstream rest(line.substr(equals + 1));
        std::string hex;
        if (rest >> hex && IsHex(hex))
            value = hex;
    }
    return value;
}

// The first three words of an electronic-codebook row: key, clear, cipher.
bool CodebookRow(const std::string& line, std::string& key, std::string& clear, std::string& cipher)
{
    std::istringstream words(line);
    return words >> key >> clear >> cipher && IsHex(key, 16) && IsHex(clear, 16) && IsHex(cipher, 16);
}

// A variable-key row "c=CIPHER k[ n]=KEY": cipher, key length and key.
bool VariableKeyRow(const std::string& line, std::string& cipher, std::size_t& length, std::string& key)
{
    const std::size_t open = line.find("k[");
    const std::size_t close = line.find("]=");
    if (line.rfind("c=", 0) != 0 || open == std::string::npos || close == std::string::npos || close < open)
        return false;
    cipher = line.substr(2, 16);
    length = std::stoul(line.substr(open + 2, close - open - 2));
    std::istringstream rest(line.substr(close + 2));
    return rest >> key && IsHex(cipher, 16) && IsHex(key);
}

std::string Trimmed(std::string text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r'))
        text.pop_back();
    return text;
}

std::string ErrorText(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "no exception";
}

} // namespace

TEST(Blowfish, MatchesTheCodebookVectorsBothWays)
{
    int checked = 0;
    for (const std::string& line : Lines()) {
        std::string keyText, clearText, cipherText;
        if (!CodebookRow(line, keyText, clearText, cipherText))
            continue;
        const Bytes key = FromHex(keyText);
        const Bytes clear = FromHex(clearText);
        const Bytes cipher = FromHex(cipherText);
        const CBlowfish fish(key.data(), key.size());
        Bytes buffer = clear;
        fish.Encrypt(buffer.data(), buffer.size());
        EXPECT_EQ(buffer, cipher) << line;
        fish.Decrypt(buffer.data(), buffer.size());
        EXPECT_EQ(buffer, clear) << line;
        ++checked;
    }
    EXPECT_EQ(checked, 34);
}

TEST(Blowfish, MatchesTheVariableKeyVectorsForKeysOfOneTo24Bytes)
{
    const Bytes clear = FromHex("FEDCBA9876543210");
    int checked = 0;
    for (const std::string& line : Lines()) {
        std::string cipherText, keyText;
        std::size_t length = 0;
        if (!VariableKeyRow(line, cipherText, length, keyText))
            continue;
        const Bytes key = FromHex(keyText);
        ASSERT_EQ(key.size(), length) << line;
        Bytes buffer = clear;
        CBlowfish(key.data(), key.size()).Encrypt(buffer.data(), buffer.size());
        EXPECT_EQ(buffer, FromHex(cipherText)) << line;
        ++checked;
    }
    EXPECT_EQ(checked, 24);
}

// The published chaining example has 29 bytes; padded with zeros to 32, its
// first 29 cipher bytes are the same in both modes, and CBC's published 32
// bytes were made with exactly that padding.
TEST(Blowfish, MatchesTheChainingVectorsAndRoundTrips)
{
    const std::vector<std::string> lines = Lines();
    const Bytes key = FromHex(HexField(lines, "key"));
    const Bytes iv = FromHex(HexField(lines, "iv"));
    const Bytes clear = FromHex(HexField(lines, "data"));
    const Bytes cbc = FromHex(HexField(lines, "cipher"));
    const Bytes cfb = FromHex(Trimmed(LineAfter(lines, "cfb64 cipher text")));
    ASSERT_EQ(key.size(), 16u);
    ASSERT_EQ(iv.size(), 8u);
    ASSERT_EQ(clear.size(), 29u);
    ASSERT_EQ(cbc.size(), 32u);
    ASSERT_EQ(cfb.size(), 29u);
    EXPECT_EQ(std::string(clear.begin(), clear.end() - 1), "7654321 Now is the time for ");

    const CBlowfish fish(key.data(), key.size());
    Bytes padded = clear;
    padded.resize(32, 0);

    Bytes buffer = padded;
    fish.Encrypt(buffer.data(), buffer.size(), CBlowfish::CBC, iv.data());
    EXPECT_EQ(buffer, cbc);
    fish.Decrypt(buffer.data(), buffer.size(), CBlowfish::CBC, iv.data());
    EXPECT_EQ(buffer, padded);

    buffer = padded;
    fish.Encrypt(buffer.data(), buffer.size(), CBlowfish::CFB, iv.data());
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 29), cfb);
    fish.Decrypt(buffer.data(), buffer.size(), CBlowfish::CFB, iv.data());
    EXPECT_EQ(buffer, padded);
}

TEST(Blowfish, ChainingWithoutAnInitialValueStartsFromZero)
{
    const BYTE key[] = {'k', 'e', 'y'};
    const BYTE zero[8] = {};
    const CBlowfish fish(key, sizeof key);
    for (CBlowfish::Mode mode : {CBlowfish::CBC, CBlowfish::CFB}) {
        Bytes implicit(24, 0x5A);
        Bytes explicitZero = implicit;
        fish.Encrypt(implicit.data(), implicit.size(), mode);
        fish.Encrypt(explicitZero.data(), explicitZero.size(), mode, zero);
        EXPECT_EQ(implicit, explicitZero);
        // Equal plain blocks give different cipher blocks once chained.
        EXPECT_NE(Bytes(implicit.begin(), implicit.begin() + 8), Bytes(implicit.begin() + 8, implicit.begin() + 16));
    }
}

TEST(Blowfish, KeysBeyond56BytesUseTheirFirst56)
{
    Bytes longKey(72);
    for (std::size_t i = 0; i < longKey.size(); ++i)
        longKey[i] = static_cast<BYTE>(i * 7 + 1);
    Bytes viaLong(8, 0x11);
    Bytes viaPrefix = viaLong;
    Bytes via55 = viaLong;
    CBlowfish(longKey.data(), longKey.size()).Encrypt(viaLong.data(), 8);
    CBlowfish(longKey.data(), 56).Encrypt(viaPrefix.data(), 8);
    CBlowfish(longKey.data(), 55).Encrypt(via55.data(), 8);
    EXPECT_EQ(viaLong, viaPrefix);
    EXPECT_NE(viaPrefix, via55);
}

TEST(Blowfish, RefusesAnEmptyKeyAndPartialBlocksWithoutTouchingTheBuffer)
{
    const BYTE key[] = {1, 2, 3, 4};
    EXPECT_EQ(ErrorText([&] { CBlowfish(key, 0); }), "Incorrect key length");
    EXPECT_EQ(ErrorText([&] { CBlowfish(nullptr, 4); }), "Incorrect key length");

    const CBlowfish fish(key, sizeof key);
    for (std::size_t length : {0u, 1u, 7u, 9u, 15u}) {
        Bytes buffer(16, 0x33);
        for (CBlowfish::Mode mode : {CBlowfish::ECB, CBlowfish::CBC, CBlowfish::CFB}) {
            EXPECT_EQ(ErrorText([&] { fish.Encrypt(buffer.data(), length, mode); }), "Incorrect buffer length")
                << length;
            EXPECT_EQ(ErrorText([&] { fish.Decrypt(buffer.data(), length, mode); }), "Incorrect buffer length")
                << length;
        }
        EXPECT_EQ(buffer, Bytes(16, 0x33)) << length;
    }
    Bytes buffer(8, 0x33);
    EXPECT_THROW(fish.Encrypt(buffer.data(), 8, static_cast<CBlowfish::Mode>(7)), std::invalid_argument);
    EXPECT_EQ(buffer, Bytes(8, 0x33));
}
