#include "services/Blowfish.h"

#include "services/BlowfishTables.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

constexpr int kRounds = 16;

std::uint32_t LoadBigEndian(const BYTE* bytes) noexcept
{
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8)
        | std::uint32_t{bytes[3]};
}

void StoreBigEndian(std::uint32_t value, BYTE* bytes) noexcept
{
    bytes[0] = static_cast<BYTE>(value >> 24);
    bytes[1] = static_cast<BYTE>(value >> 16);
    bytes[2] = static_cast<BYTE>(value >> 8);
    bytes[3] = static_cast<BYTE>(value);
}

void XorBlock(BYTE* target, const BYTE* source) noexcept
{
    for (int i = 0; i < CBlowfish::BlockSize; ++i)
        target[i] ^= source[i];
}

// Checked before any byte changes, so a refused call leaves the buffer whole.
void CheckArguments(std::size_t length, CBlowfish::Mode mode)
{
    if (length == 0 || length % CBlowfish::BlockSize != 0)
        throw std::runtime_error("Incorrect buffer length");
    if (mode != CBlowfish::ECB && mode != CBlowfish::CBC && mode != CBlowfish::CFB)
        throw std::invalid_argument("Unknown cipher mode");
}

// The chaining value before the first block: the caller's, or zero.
void StartChain(BYTE* chain, const BYTE* iv) noexcept
{
    if (iv != nullptr)
        std::memcpy(chain, iv, CBlowfish::BlockSize);
    else
        std::memset(chain, 0, CBlowfish::BlockSize);
}

} // namespace

CBlowfish::CBlowfish(const BYTE* key, std::size_t length)
{
    if (key == nullptr || length == 0)
        throw std::runtime_error("Incorrect key length");
    length = std::min<std::size_t>(length, MaxKeyLength);

    std::memcpy(m_p, blowfish::kInitialP, sizeof m_p);
    std::memcpy(m_s, blowfish::kInitialS, sizeof m_s);

    // The key, repeated cyclically, is folded into the P-array ...
    std::size_t next = 0;
    for (std::uint32_t& subkey : m_p) {
        std::uint32_t word = 0;
        for (int i = 0; i < 4; ++i) {
            word = (word << 8) | key[next];
            next = (next + 1) % length;
        }
        subkey ^= word;
    }
    // ... and then every subkey is replaced, in order, by the encipherment
    // of the running block under the subkeys made so far.
    std::uint32_t left = 0;
    std::uint32_t right = 0;
    for (int i = 0; i < 18; i += 2) {
        EncryptBlock(left, right);
        m_p[i] = left;
        m_p[i + 1] = right;
    }
    for (auto& box : m_s) {
        for (int i = 0; i < 256; i += 2) {
            EncryptBlock(left, right);
            box[i] = left;
            box[i + 1] = right;
        }
    }
}

std::uint32_t CBlowfish::Round(std::uint32_t half) const noexcept
{
    return ((m_s[0][half >> 24] + m_s[1][(half >> 16) & 0xFF]) ^ m_s[2][(half >> 8) & 0xFF]) + m_s[3][half & 0xFF];
}

void CBlowfish::EncryptBlock(std::uint32_t& left, std::uint32_t& right) const noexcept
{
    std::uint32_t l = left;
    std::uint32_t r = right;
    for (int i = 0; i < kRounds; ++i) {
        l ^= m_p[i];
        r ^= Round(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= m_p[kRounds];
    l ^= m_p[kRounds + 1];
    left = l;
    right = r;
}

void CBlowfish::DecryptBlock(std::uint32_t& left, std::uint32_t& right) const noexcept
{
    std::uint32_t l = left;
    std::uint32_t r = right;
    for (int i = kRounds + 1; i > 1; --i) {
        l ^= m_p[i];
        r ^= Round(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= m_p[1];
    l ^= m_p[0];
    left = l;
    right = r;
}

void CBlowfish::EncryptBytes(BYTE* block) const noexcept
{
    std::uint32_t left = LoadBigEndian(block);
    std::uint32_t right = LoadBigEndian(block + 4);
    EncryptBlock(left, right);
    StoreBigEndian(left, block);
    StoreBigEndian(right, block + 4);
}

void CBlowfish::DecryptBytes(BYTE* block) const noexcept
{
    std::uint32_t left = LoadBigEndian(block);
    std::uint32_t right = LoadBigEndian(block + 4);
    DecryptBlock(left, right);
    StoreBigEndian(left, block);
    StoreBigEndian(right, block + 4);
}

void CBlowfish::Encrypt(BYTE* buffer, std::size_t length, Mode mode, const BYTE* iv) const
{
    CheckArguments(length, mode);
    BYTE chain[BlockSize];
    StartChain(chain, iv);
    for (std::size_t offset = 0; offset < length; offset += BlockSize) {
        BYTE* block = buffer + offset;
        switch (mode) {
        case ECB:
            EncryptBytes(block);
            break;
        case CBC:
            // Each plain block is mixed with the previous cipher block first.
            XorBlock(block, chain);
            EncryptBytes(block);
            std::memcpy(chain, block, BlockSize);
            break;
        case CFB:
            // The previous cipher block, enciphered, is the key stream.
            EncryptBytes(chain);
            XorBlock(block, chain);
            std::memcpy(chain, block, BlockSize);
            break;
        }
    }
}

void CBlowfish::Decrypt(BYTE* buffer, std::size_t length, Mode mode, const BYTE* iv) const
{
    CheckArguments(length, mode);
    BYTE chain[BlockSize];
    BYTE cipher[BlockSize];
    StartChain(chain, iv);
    for (std::size_t offset = 0; offset < length; offset += BlockSize) {
        BYTE* block = buffer + offset;
        switch (mode) {
        case ECB:
            DecryptBytes(block);
            break;
        case CBC:
            std::memcpy(cipher, block, BlockSize);
            DecryptBytes(block);
            XorBlock(block, chain);
            std::memcpy(chain, cipher, BlockSize);
            break;
        case CFB:
            std::memcpy(cipher, block, BlockSize);
            EncryptBytes(chain);
            XorBlock(block, chain);
            std::memcpy(chain, cipher, BlockSize);
            break;
        }
    }
}
