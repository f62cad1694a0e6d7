// The shell seam on Windows: special folders, the module path, the ShellLink
// object and opening documents in their associated handler.
#include "platform/Shell.h"
#include "platform/win32/ComPtr.h"

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
    win32::CComPtr<IShellLinkA> shellLink;
    HRESULT result = shellLink.Create(CLSID_ShellLink, IID_IShellLinkA, CLSCTX_INPROC_SERVER);
    if (FAILED(result)) {
        return result;
    }
    result = shellLink->SetPath(target != nullptr ? target : "");
    if (SUCCEEDED(result)) {
        result = shellLink->SetDescription(description != nullptr ? description : "");
    }
    if (FAILED(result)) {
        return result;
    }
    win32::CComPtr<IPersistFile> file;
    result = shellLink.QueryInterface(IID_IPersistFile, file);
    if (FAILED(result)) {
        return result;
    }
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
