// The application object: CWinApp (its name only, so far).
#pragma once

#include "OrvApi.h"
#include "framework/Object.h"

// The application's object. m_pszAppName is the application's name: null
// until someone gives it one, and then a private copy made with malloc
// that the object frees with free when it is destroyed.
class ORV_API CWinApp : public CObject {
public:
    // Takes a private copy of appName (nothing for null).
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    const char* m_pszAppName = nullptr;
};
