// The shell seam on Windows: special folders, the module path, the ShellLink
// object and opening documents in their associated handler.
#include "platform/Shell.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shlguid.h>
#include <shellapi.h>

#include <string>

namespace {

int CsidlOf(platform::SpecialFolder folder)
{
    switch (folder) {
    case platform::SpecialFolder::AppData:
        return CSIDL_APPDATA;
    case platform::SpecialFolder::Desktop:
        return CSIDL_DESKTOP;
    case platform::SpecialFolder::Programs:
        return CSIDL_PROGRAMS;
    }
    return CSIDL_APPDATA;
}

// Releases a COM interface when the scope ends.
template <class T>
class CReleaser {
public:
    explicit CReleaser(T* object) : m_object(object) {}
    ~CReleaser()
    {
        if (m_object != nullptr) {
            m_object->Release();
        }
    }
    CReleaser(const CReleaser&) = delete;
    CReleaser& operator=(const CReleaser&) = delete;

private:
    T* m_object;
};

} // namespace

namespace platform {

bool GetSpecialFolderPath(SpecialFolder folder, CString& path)
{
    char buffer[MAX_PATH + 1] {};
    if (!SHGetSpecialFolderPathA(nullptr, buffer, CsidlOf(folder), FALSE) || buffer[0] == '\0') {
        return false;
    }
    CString found(buffer);
    while (found.GetLength() > 3 && found[found.GetLength() - 1] == '\\') {
        found = found.Left(found.GetLength() - 1);
    }
    path = found;
    return true;
}

HRESULT CreateShellLink(const char* target, const char* link, const char* description)
{
    IShellLinkA* shellLink = nullptr;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
        reinterpret_cast<void**>(&shellLink));
    if (FAILED(result)) {
        return result;
    }
    CReleaser<IShellLinkA> releaseLink(shellLink);
    result = shellLink->SetPath(target != nullptr ? target : "");
    if (SUCCEEDED(result)) {
        result = shellLink->SetDescription(description != nullptr ? description : "");
    }
    if (FAILED(result)) {
        return result;
    }
    IPersistFile* file = nullptr;
    result = shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (FAILED(result)) {
        return result;
    }
    CReleaser<IPersistFile> releaseFile(file);
    WCHAR wide[MAX_PATH] {};
    if (link == nullptr || MultiByteToWideChar(CP_ACP, 0, link, -1, wide, MAX_PATH) == 0) {
        return E_INVALIDARG;
    }
    return file->Save(wide, TRUE);
}

INT_PTR ShellOpen(const char* file, int showCommand)
{
    const HINSTANCE result = ShellExecuteA(nullptr, "open", file != nullptr ? file : "", nullptr, nullptr, showCommand);
    return reinterpret_cast<INT_PTR>(result);
}

CComScope::CComScope()
    : m_initialised(SUCCEEDED(CoInitialize(nullptr)))
{
}

CComScope::~CComScope()
{
    if (m_initialised) {
        CoUninitialize();
    }
}

} // namespace platform
