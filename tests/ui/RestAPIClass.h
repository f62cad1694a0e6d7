// Where the REST API component's class is registered in the class registry,
// by the tests and by the set-up helper stand-in (checknet.exe).
#pragma once

#include "services/Registry.h"

#include <windows.h>

inline constexpr const char* kRestAPIClassKey = "CLSID\\{32C6BA9D-A05F-4CB3-9C1F-40F80819D5B9}";

inline void UnregisterRestAPIClass() { RegDeleteTreeA(HKEY_CLASSES_ROOT, kRestAPIClassKey); }

// Removes the REST API settings from the global settings key.
inline void RemoveRestAPISettings()
{
    COrvRegistry registry;
    if (registry.Open()) {
        for (const char* name : {"RestAPINetworkInterface", "RestAPIPort", "RestAPIServiceName", "RestAPIAllowedIpList",
                 "RestAPIEnabled"})
            registry.DeleteValue(name);
    }
}
