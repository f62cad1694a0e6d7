// The native registry's tree in memory.
#include "platform/posix/RegistryTree.h"

#include <algorithm>

namespace platform::posix::registry {

namespace {

char Fold(char ch)
{
    return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
}

} // namespace

int CompareNoCase(const std::string& a, const std::string& b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(Fold(a[i]));
        const auto y = static_cast<unsigned char>(Fold(b[i]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

Key* FindSubkey(Key& key, const std::string& name)
{
    for (Key& child : key.subkeys) {
        if (CompareNoCase(child.name, name) == 0) {
            return &child;
        }
    }
    return nullptr;
}

Key& AddSubkey(Key& key, const std::string& name, bool isVolatile)
{
    auto place = key.subkeys.begin();
    while (place != key.subkeys.end() && CompareNoCase(place->name, name) < 0) {
        ++place;
    }
    Key child;
    child.name = name;
    child.isVolatile = isVolatile;
    return *key.subkeys.insert(place, std::move(child));
}

Value* FindValue(Key& key, const char* name)
{
    const std::string wanted = name != nullptr ? name : "";
    for (Value& value : key.values) {
        if (CompareNoCase(value.name, wanted) == 0) {
            return &value;
        }
    }
    return nullptr;
}

const char* RootName(HKEY key)
{
    switch (reinterpret_cast<std::uintptr_t>(key)) {
    case 0x80000000:
        return "HKEY_CLASSES_ROOT";
    case 0x80000001:
        return "HKEY_CURRENT_USER";
    case 0x80000002:
        return "HKEY_LOCAL_MACHINE";
    case 0x80000003:
        return "HKEY_USERS";
    case 0x80000005:
        return "HKEY_CURRENT_CONFIG";
    default:
        return nullptr;
    }
}

bool IsRootName(const std::string& name)
{
    for (const std::uintptr_t root : kRoots) {
        if (name == RootName(reinterpret_cast<HKEY>(root))) {
            return true;
        }
    }
    return false;
}

LONG SplitPath(const char* subKey, std::vector<std::string>& levels)
{
    levels.clear();
    if (subKey == nullptr || *subKey == '\0') {
        return ERROR_SUCCESS;
    }
    const std::string path = subKey;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t stop = path.find('\\', start);
        if (stop == std::string::npos) {
            stop = path.size();
        }
        if (stop == start) {
            return ERROR_BAD_PATHNAME;
        }
        if (stop - start > kMaximumKeyNameLength) {
            return ERROR_INVALID_PARAMETER;
        }
        levels.push_back(path.substr(start, stop - start));
        start = stop + 1;
    }
    return ERROR_SUCCESS;
}

void DropVolatileKeys(Key& key)
{
    std::erase_if(key.subkeys, [](const Key& child) { return child.isVolatile; });
    for (Key& child : key.subkeys) {
        DropVolatileKeys(child);
    }
}

} // namespace platform::posix::registry
