#include "framework/WinApp.h"

#include <cstdlib>
#include <cstring>

namespace {

CWinApp* g_app = nullptr;

} // namespace

CWinApp* AfxGetApp()
{
    return g_app;
}

CWinApp::CWinApp(const char* appName)
{
    if (g_app == nullptr)
        g_app = this;
    if (appName == nullptr)
        return;
    const std::size_t size = std::strlen(appName) + 1;
    if (auto* copy = static_cast<char*>(std::malloc(size)); copy != nullptr) {
        std::memcpy(copy, appName, size);
        m_pszAppName = copy;
    }
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
    std::free(const_cast<char*>(m_pszAppName));
}
