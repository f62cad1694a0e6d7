// CBlowfish against Eric Young's published vectors (electronic codebook,
// variable key length, and the chaining modes), and its two errors.
#include "services/Blowfish.h"

#include <gtest/gtest.h>

#include <functional>
#include <regex>
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

// An electronic-codebook row: key, clear and cipher blocks.
const std::regex kCodebookRow(R"(^\s*([0-9A-F]{16})\s+([0-9A-F]{16})\s+([0-9A-F]{16})\b)");
// A variable-key row "c=CIPHER k[ n]=KEY": cipher, key length and key.
const std::regex kVariableKeyRow(R"(^c=([0-9A-F]{16}) k\[ *(\d+)\]=([0-9A-F]+)\b)");

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

TEST(Blowfish, MatchesTheCodebookAndVariableKeyVectors)
{
    int codebook = 0;
    int variableKey = 0;
    std::istringstream vectors(kVectors);
    for (std::string line; std::getline(vectors, line);) {
        std::smatch row;
        Bytes key, clear, cipher;
        if (std::regex_search(line, row, kCodebookRow)) {
            key = FromHex(row[1]);
            clear = FromHex(row[2]);
            cipher = FromHex(row[3]);
            ++codebook;
        } else if (std::regex_search(line, row, kVariableKeyRow)) {
            // Keys of 1 to 24 bytes, each over the same clear block.
            key = FromHex(row[3]);
            clear = FromHex("FEDCBA9876543210");
            cipher = FromHex(row[1]);
            ++variableKey;
            EXPECT_EQ(key.size(), std::stoul(row[2])) << line;
        } else {
            continue;
        }
        const CBlowfish fish(key.data(), key.size());
        Bytes buffer = clear;
        fish.Encrypt(buffer.data(), buffer.size());
        EXPECT_EQ(buffer, cipher) << line;
        fish.Decrypt(buffer.data(), buffer.size());
        EXPECT_EQ(buffer, clear) << line;
    }
    EXPECT_EQ(codebook, 34);
    EXPECT_EQ(variableKey, 24);
}

// The published chaining example has 29 bytes; padded with zeros to 32, its
// first 29 cipher bytes are the same in both modes, and CBC's published 32
// bytes were made with exactly that padding.
TEST(Blowfish, MatchesTheChainingVectorsRoundTripsAndStartsFromZeroWithoutAnInitialValue)
{
    const Bytes key = FromHex("0123456789ABCDEFF0E1D2C3B4A59687");
    const Bytes iv = FromHex("FEDCBA9876543210");
    const std::string text("7654321 Now is the time for ", 29); // with its NUL
    Bytes padded(text.begin(), text.end());
    padded.resize(32, 0);
    const Bytes cbc = FromHex("6B77B4D63006DEE605B156E27403979358DEB9E7154616D959F1652BD5FF92CC");
    const Bytes cfb = FromHex("E73214A2822139CAF26ECF6D2EB9E76E3DA3DE04D1517200519D57A6C3");

    const CBlowfish fish(key.data(), key.size());
    for (const auto& [mode, expected] : {std::pair {CBlowfish::CBC, cbc}, std::pair {CBlowfish::CFB, cfb}}) {
        Bytes buffer = padded;
        fish.Encrypt(buffer.data(), buffer.size(), mode, iv.data());
        EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + std::ptrdiff_t(expected.size())), expected) << mode;
        fish.Decrypt(buffer.data(), buffer.size(), mode, iv.data());
        EXPECT_EQ(buffer, padded) << mode;
    }
    const BYTE shortKey[] = {'k', 'e', 'y'};
    const BYTE zero[8] = {};
    const CBlowfish shortFish(shortKey, sizeof shortKey);
    for (CBlowfish::Mode mode : {CBlowfish::CBC, CBlowfish::CFB}) {
        Bytes implicit(24, 0x5A);
        Bytes explicitZero = implicit;
        shortFish.Encrypt(implicit.data(), implicit.size(), mode);
        shortFish.Encrypt(explicitZero.data(), explicitZero.size(), mode, zero);
        EXPECT_EQ(implicit, explicitZero);
        // Equal plain blocks give different cipher blocks once chained.
        EXPECT_NE(Bytes(implicit.begin(), implicit.begin() + 8), Bytes(implicit.begin() + 8, implicit.begin() + 16));
    }
}

TEST(Blowfish, UsesTheFirst56KeyBytesAndRefusesAnEmptyKeyAndPartialBlocksWithoutTouchingTheBuffer)
{
    const BYTE key[] = {1, 2, 3, 4};
    EXPECT_EQ(ErrorText([&] { CBlowfish(key, 0); }), "Incorrect key length");
    EXPECT_EQ(ErrorText([&] { CBlowfish(nullptr, 4); }), "Incorrect key length");

    const CBlowfish fish(key, sizeof key);
    for (std::size_t length : {0u, 1u, 7u, 9u, 15u}) {
        SCOPED_TRACE(length);
        Bytes buffer(16, 0x33);
        for (CBlowfish::Mode mode : {CBlowfish::ECB, CBlowfish::CBC, CBlowfish::CFB}) {
            EXPECT_EQ(ErrorText([&] { fish.Encrypt(buffer.data(), length, mode); }), "Incorrect buffer length");
            EXPECT_EQ(ErrorText([&] { fish.Decrypt(buffer.data(), length, mode); }), "Incorrect buffer length");
        }
        EXPECT_EQ(buffer, Bytes(16, 0x33));
    }
    Bytes buffer(8, 0x33);
    EXPECT_THROW(fish.Encrypt(buffer.data(), 8, static_cast<CBlowfish::Mode>(7)), std::invalid_argument);
    EXPECT_EQ(buffer, Bytes(8, 0x33));

    // Keys beyond 56 bytes use their first 56.
    Bytes longKey(72);
    for (std::size_t i = 0; i < longKey.size(); ++i)
        longKey[i] = static_cast<BYTE>(i * 7 + 1);
    const auto encrypted = [&](std::size_t length) {
        Bytes block(8, 0x11);
        CBlowfish(longKey.data(), length).Encrypt(block.data(), 8);
        return block;
    };
    EXPECT_EQ(encrypted(longKey.size()), encrypted(56));
    EXPECT_NE(encrypted(56), encrypted(55));
}
