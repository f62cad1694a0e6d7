// CBlowfish: the published 64-bit block cipher with a 16-round Feistel
// network, used for the research-service token.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

#include <cstddef>
#include <cstdint>

// Enciphers and deciphers buffers in place with one key. Blocks are read
// and written in the cipher's standard big-endian byte order: the first
// four bytes of a block are the left half, most significant byte first.
//
// Errors are raised as std::runtime_error (a std::exception) with the texts
// "Incorrect key length" and "Incorrect buffer length".
class ORV_API CBlowfish {
public:
    // Electronic codebook, cipher-block chaining and 64-bit cipher feedback.
    enum Mode { ECB = 0, CBC = 1, CFB = 2 };
    enum { BlockSize = 8, MaxKeyLength = 56 };

    // A key of 1 to 56 bytes; a longer key uses its first 56 bytes. A key of
    // length 0 (or a null key) throws "Incorrect key length".
    CBlowfish(const BYTE* key, std::size_t length);

    // length must be a nonzero multiple of 8, else "Incorrect buffer length"
    // is thrown and the buffer is left as it was; a mode outside the enum
    // throws std::invalid_argument. CBC and CFB start from the 8-byte
    // initial value iv (zero when iv is null); ECB ignores it.
    void Encrypt(BYTE* buffer, std::size_t length, Mode mode = ECB, const BYTE* iv = nullptr) const;
    void Decrypt(BYTE* buffer, std::size_t length, Mode mode = ECB, const BYTE* iv = nullptr) const;

    // One block as its two 32-bit halves.
    void EncryptBlock(std::uint32_t& left, std::uint32_t& right) const noexcept;
    void DecryptBlock(std::uint32_t& left, std::uint32_t& right) const noexcept;

private:
    std::uint32_t Round(std::uint32_t half) const noexcept;
    void EncryptBytes(BYTE* block) const noexcept;
    void DecryptBytes(BYTE* block) const noexcept;

    std::uint32_t m_p[18];
    std::uint32_t m_s[4][256];
};
