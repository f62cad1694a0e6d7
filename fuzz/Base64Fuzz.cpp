// Decodes arbitrary bytes in both forms, and checks that whatever is encoded
// decodes back to itself.
#include "text/Base64Coding.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CBase64Coding coder;
    CByteArray input;
    input.SetSize(int(size));
    if (size > 0)
        std::memcpy(input.GetData(), data, size);

    CByteArray decoded;
    const bool byteResult = coder.Decode(input, decoded);
    CByteArray decodedFromText;
    const bool textResult = coder.Decode(CString(reinterpret_cast<const char*>(data), int(size)), decodedFromText);
    if (byteResult != textResult || decoded.GetSize() != decodedFromText.GetSize())
        std::abort();

    CString text;
    CByteArray encoded, roundTrip;
    coder.Encode(input, text);
    coder.Encode(input, encoded);
    if (!coder.Decode(text, roundTrip) || roundTrip.GetSize() != input.GetSize())
        std::abort();
    if (size > 0 && std::memcmp(roundTrip.GetData(), data, size) != 0)
        std::abort();
    if (!coder.Decode(encoded, roundTrip) || roundTrip.GetSize() != input.GetSize())
        std::abort();
    return 0;
}
