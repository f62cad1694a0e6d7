// The module state's current resource module and string loading from it.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "platform/Module.h"

// The module that string and dialog loads use first. Until a caller sets
// one it is the library's own module. It is one value for the process (the
// application's module state), changed by nested scopes on the
// user-interface thread; reads and writes are atomic so that other threads
// never see a torn value.
ORV_API HINSTANCE AfxGetResourceHandle() noexcept;
ORV_API void AfxSetResourceHandle(HINSTANCE resource) noexcept;

// Loads string id into text, looking in the current resource module first
// and then, as the resource chain does, in the library's own module. TRUE
// when found; otherwise text is emptied and FALSE returned.
ORV_API BOOL LoadResourceString(UINT id, CString& text);
// The same from one module only (no chain).
ORV_API BOOL LoadResourceString(HINSTANCE module, UINT id, CString& text);
