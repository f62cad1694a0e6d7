// The module state: which module's resources strings, dialogs, menus and
// bitmaps are loaded from.
//
// The current resource module starts as the executable, as the application's
// module state has it. Scope objects that switch to another module (a
// branding module, the library's own resources) set it and put the previous
// one back. A resource that the current module lacks is looked for in this
// library's module next: the library sits in the resource chain behind the
// current module, so that its own strings and dialogs are found whatever
// module is current.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "platform/Module.h"

// This library's own module.
ORV_API HINSTANCE AfxGetLibraryHandle() noexcept;
// The executable's module.
ORV_API HINSTANCE AfxGetInstanceHandle() noexcept;

// The current resource module. It is one value for the process, changed by
// nested scopes on the user-interface thread; reads and writes are atomic so
// that other threads never see a torn value.
ORV_API HINSTANCE AfxGetResourceHandle() noexcept;
// A null module makes the executable current again.
ORV_API void AfxSetResourceHandle(HINSTANCE resource) noexcept;

// Loads string id into text, looking in the current resource module first
// and then, as the resource chain does, in the library's own module. TRUE
// when found; otherwise text is emptied and FALSE returned.
ORV_API BOOL LoadResourceString(UINT id, CString& text);
// The same chain starting from module in place of the current resource
// module: module first, then the library's own.
ORV_API BOOL LoadChainedResourceString(HINSTANCE module, UINT id, CString& text);
// The same from one module only (no chain).
ORV_API BOOL LoadResourceString(HINSTANCE module, UINT id, CString& text);

#if defined(_WIN32)
// The module that holds the resource: the current resource module, else
// this library. Null when neither has it.
ORV_API HINSTANCE AfxFindResourceHandle(const char* name, const char* type);
#endif
