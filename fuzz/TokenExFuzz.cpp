// Splits, pops, joins and path-splits arbitrary text. The first byte picks the
// delimiter's length (0 to 3) and the keep-empty flag; the next bytes are the
// delimiter and the rest is the source.
#include "text/TokenEx.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int delimiterLength = data[0] & 3;
    const bool keepEmpty = (data[0] & 4) != 0;
    if (size < std::size_t(1 + delimiterLength))
        return 0;
    const CString delimiter(reinterpret_cast<const char*>(data + 1), delimiterLength);
    const int skip = 1 + delimiterLength;
    const CString source(reinterpret_cast<const char*>(data + skip), int(size) - skip);

    CTokenEx tokens;
    CStringArray parts;
    tokens.Split(source, delimiter, parts, keepEmpty);

    // Popping tokens one by one yields the same tokens as Split, except that
    // Split drops an empty last token; and it always consumes the source.
    CString rest = source;
    int popped = 0;
    while (!rest.IsEmpty() && popped <= source.GetLength() + 1) {
        tokens.GetString(rest, delimiter, keepEmpty);
        ++popped;
    }
    if (!rest.IsEmpty())
        std::abort();

    // Joining the kept-empty split of a source gives the source back, save
    // for a trailing delimiter Split drops.
    if (keepEmpty) {
        const CString joined = tokens.Join(delimiter, parts);
        if (source.Left(joined.GetLength()) != joined)
            std::abort();
    }

    CString drive, directory, name, extension;
    tokens.SplitPath(false, source, drive, directory, name, extension);
    if (drive.GetLength() + directory.GetLength() + name.GetLength() + extension.GetLength() > source.GetLength())
        std::abort();
    tokens.SplitPath(true, source, drive, directory, name, extension);
    return 0;
}
