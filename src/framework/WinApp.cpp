#include "framework/WinApp.h"

#include <cstdlib>
#include <cstring>

CWinApp::CWinApp(const char* appName)
{
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
    std::free(const_cast<char*>(m_pszAppName));
}
