// The native registry's tree in memory: keys with their subkeys and
// values, and the name rules shared by the store file and the API.
#pragma once

#include "platform/Registry.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform::posix::registry {

inline constexpr std::size_t kMaximumKeyNameLength = 255;
inline constexpr std::size_t kMaximumValueNameLength = 16383;

struct Value {
    std::string name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct Key {
    std::string name;
    bool isVolatile = false;
    std::vector<Key> subkeys; // sorted by name without case
    std::vector<Value> values; // in the order first set
};

// Compares names without regard to ASCII case: <0, 0 or >0.
int CompareNoCase(const std::string& a, const std::string& b);
Key* FindSubkey(Key& key, const std::string& name);
// Adds a subkey in name order and returns it.
Key& AddSubkey(Key& key, const std::string& name, bool isVolatile);
// The value of that name (null means the default value ""), or null.
Value* FindValue(Key& key, const char* name);
// Removes every volatile key, with all below it.
void DropVolatileKeys(Key& key);

// The name of a predefined root ("HKEY_CURRENT_USER", ...), or null for
// any other handle.
const char* RootName(HKEY key);
bool IsRootName(const std::string& name);
// The predefined roots, each once.
inline constexpr std::uintptr_t kRoots[] = {0x80000000u, 0x80000001u, 0x80000002u, 0x80000003u, 0x80000005u};

// Splits a subkey path into its levels; null and "" give none. A level
// that is empty fails with ERROR_BAD_PATHNAME, one that is too long with
// ERROR_INVALID_PARAMETER.
LONG SplitPath(const char* subKey, std::vector<std::string>& levels);

} // namespace platform::posix::registry
