// The library's own string table in the native build, generated from
// src/resources/Strings.rc by tools/StringTable.cmake. On Windows the same
// texts are string resources of the library's module.
#pragma once

#include "base/Types.h"

namespace platform {

struct StringTableEntry {
    UINT id;
    const char* text;
};

extern const StringTableEntry kLibraryStrings[];
extern const int kLibraryStringCount;

} // namespace platform
