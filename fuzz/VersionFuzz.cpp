// Parses arbitrary text as a version. Whatever it reads must write back as a
// text that reads as the same version, commas must read as points, and the
// order of two versions must be consistent.
#include "services/Version.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const CVersion version(text.c_str());

    const CString written = version.ToString();
    if (written.IsEmpty() != version.IsEmpty() || CVersion(written) != version) {
        std::abort();
    }

    std::string points = text;
    for (char& ch : points) {
        if (ch == ',') {
            ch = '.';
        }
    }
    if (CVersion(points.c_str()) != version) {
        std::abort();
    }

    // The second half of the input as another version.
    const CVersion other(text.substr(size / 2).c_str());
    const int relations = int(version < other) + int(other < version) + int(version == other);
    if (relations != 1) {
        std::abort();
    }
    return 0;
}
