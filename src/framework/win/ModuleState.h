// The module state: which module's resources dialogs, menus, bitmaps and
// strings are loaded from.
//
// The current resource module starts as the executable. Scope objects that
// switch to another module (a branding module, the library's own resources)
// set it and put the previous one back. A resource that the current module
// lacks is looked for in this library's module next, so that the library's
// own dialogs are found whatever module is current.
#pragma once

#include "OrvApi.h"
#include "platform/Types.h"

// This library's own module.
ORV_API HINSTANCE AfxGetLibraryHandle();
// The executable's module.
ORV_API HINSTANCE AfxGetInstanceHandle();
ORV_API HINSTANCE AfxGetResourceHandle();
// A null module makes the executable current again.
ORV_API void AfxSetResourceHandle(HINSTANCE module);
// The module that holds the resource: the current resource module, else
// this library. Null when neither has it.
ORV_API HINSTANCE AfxFindResourceHandle(const char* name, const char* type);
