#include "platform/VersionResource.h"

#include <winver.h>

#include <cstring>

namespace platform {

bool QueryExecutablePath(CString& path, int capacity)
{
    path.Empty();
    if (capacity <= 1) {
        return false;
    }
    char* buffer = path.GetBuffer(capacity);
    const DWORD length = GetModuleFileNameA(nullptr, buffer, DWORD(capacity));
    // A full buffer means the path was cut short.
    const bool fits = length > 0 && length < DWORD(capacity);
    path.ReleaseBuffer(fits ? int(length) : 0);
    return fits;
}

bool ReadVersionResource(const char* path, CByteArray& block)
{
    block.RemoveAll();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) {
        return false;
    }
    block.SetSize(int(size));
    if (!GetFileVersionInfoA(path, 0, size, block.GetData())) {
        block.RemoveAll();
        return false;
    }
    return true;
}

bool QueryFixedVersion(const CByteArray& block, FixedVersionWords& words)
{
    void* value = nullptr;
    UINT length = 0;
    if (block.GetSize() == 0 || !VerQueryValueA(block.GetData(), "\\", &value, &length) || value == nullptr
        || length < sizeof(VS_FIXEDFILEINFO)) {
        return false;
    }
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, value, sizeof fixed);
    words.fileMS = fixed.dwFileVersionMS;
    words.fileLS = fixed.dwFileVersionLS;
    words.productMS = fixed.dwProductVersionMS;
    words.productLS = fixed.dwProductVersionLS;
    return true;
}

bool QueryFirstTranslation(const CByteArray& block, WORD& language, WORD& codePage)
{
    void* value = nullptr;
    UINT length = 0;
    if (block.GetSize() == 0 || !VerQueryValueA(block.GetData(), "\\VarFileInfo\\Translation", &value, &length)
        || value == nullptr || length < 2 * sizeof(WORD)) {
        return false;
    }
    WORD pair[2];
    std::memcpy(pair, value, sizeof pair);
    language = pair[0];
    codePage = pair[1];
    return true;
}

bool QueryVersionString(const CByteArray& block, const char* subBlock, CString& value)
{
    value.Empty();
    void* text = nullptr;
    UINT length = 0;
    if (block.GetSize() == 0 || !VerQueryValueA(block.GetData(), subBlock, &text, &length) || text == nullptr) {
        return false;
    }
    // The length counts characters and may include the terminator.
    const char* characters = static_cast<const char*>(text);
    value = CString(characters, int(strnlen(characters, length)));
    return true;
}

} // namespace platform
