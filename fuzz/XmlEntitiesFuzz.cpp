// Feeds arbitrary references and texts to the entity table: the input is
// split at its first NUL into a reference and a replacement text, and every
// operation must hold its contract.
#include "xml/ExtensibleMarkupLanguageEntities.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    const void* nul = std::memchr(data, 0, size);
    const std::size_t split = nul != nullptr ? std::size_t(static_cast<const std::uint8_t*>(nul) - data) : size;
    const CString reference(text, int(split));
    const CString replacement(split < size ? CString(text + split + 1, int(size - split - 1)) : CString());

    CExtensibleMarkupLanguageEntities entities;
    DWORD rule = 0;
    const bool knownBefore = entities.IsEntity(reference, rule);
    CString resolved;
    const bool resolvedBefore = entities.Resolve(reference, resolved);
    // A numeric reference that resolves is always well formed.
    if (resolvedBefore && !knownBefore) {
        std::abort();
    }
    const int sizeBefore = entities.GetSize();
    if (entities.Add(reference, replacement)) {
        // A named entity just added is known and resolves.
        if (!entities.IsEntity(reference, rule) || !entities.Resolve(reference, resolved)) {
            std::abort();
        }
        if (entities.GetSize() != sizeBefore + 1) {
            std::abort();
        }
    } else if (entities.GetSize() != sizeBefore) {
        std::abort();
    }
    // The table stays sorted.
    DWORD index = 0;
    CString previous;
    CString current;
    CString value;
    bool first = true;
    entities.Enumerate(index);
    while (entities.GetNext(index, current, value)) {
        if (!first && !(previous < current)) {
            std::abort();
        }
        previous = current;
        first = false;
    }
    return 0;
}
