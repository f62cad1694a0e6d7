// The native registry API: the process-wide store, kept in step with its
// file, and the Win32 registry calls over it (see Registry.h). The tree is
// in RegistryTree.h, its file format in RegistryFile.h.
#include "platform/Registry.h"
#include "platform/StoreTesting.h"
#include "platform/posix/AtomicFile.h"
#include "platform/posix/RegistryFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include <sys/stat.h>

struct HKEY__ {
    std::vector<std::string> path; // root name first
    REGSAM access = 0;
};

using namespace platform::posix::registry;

namespace {

struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long long modifiedSeconds = 0;
    long modifiedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
};

FileIdentity IdentityOf(const std::string& path)
{
    FileIdentity identity;
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        identity.exists = true;
        identity.device = status.st_dev;
        identity.inode = status.st_ino;
        identity.size = status.st_size;
        identity.modifiedSeconds = status.st_mtim.tv_sec;
        identity.modifiedNanoseconds = status.st_mtim.tv_nsec;
    }
    return identity;
}

std::string StorePath()
{
    if (const char* file = std::getenv("ORV_REGISTRY_FILE"); file != nullptr && *file != '\0') {
        return file;
    }
    std::string folder;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != '\0') {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        folder = std::string(home != nullptr ? home : "/tmp") + "/.config";
    }
    return folder + "/Velkor/ORV Desktop/registry.txt";
}

class Store {
public:
    std::mutex mutex;
    std::set<HKEY__*> handles;
    int writeFault = -1;

    // Brings the tree up to date with the file. Returns ERROR_SUCCESS or
    // ERROR_REGISTRY_CORRUPT.
    LONG Refresh()
    {
        const std::string path = StorePath();
        const FileIdentity identity = IdentityOf(path);
        if (m_loaded && path == m_path && identity == m_identity) {
            return m_corrupt ? ERROR_REGISTRY_CORRUPT : ERROR_SUCCESS;
        }
        m_path = path;
        m_identity = identity;
        m_loaded = true;
        m_corrupt = false;
        std::string text;
        const int error = platform::posix::ReadWholeFile(path, text);
        Key parsed;
        if (error == ENOENT || (error == 0 && text.empty())) {
            m_top = Key();
        } else if (error != 0 || !ParseStore(text, parsed)) {
            m_corrupt = true;
            m_top = Key();
            return ERROR_REGISTRY_CORRUPT;
        } else {
            m_top = std::move(parsed);
        }
        EnsureRoots();
        return ERROR_SUCCESS;
    }

    void Forget() { m_loaded = false; }

    Key& Top() { return m_top; }

    // Writes the tree out. On failure the tree is put back from saved.
    LONG Save(Key saved)
    {
        const int error = platform::posix::ReplaceFileAtomically(m_path, SerializeTree(m_top), writeFault);
        if (error != 0) {
            m_top = std::move(saved);
            return ERROR_REGISTRY_IO_FAILED;
        }
        m_identity = IdentityOf(m_path);
        return ERROR_SUCCESS;
    }

    const std::string& Path() const { return m_path; }

private:
    void EnsureRoots()
    {
        for (const std::uintptr_t root : kRoots) {
            const char* name = RootName(reinterpret_cast<HKEY>(root));
            if (FindSubkey(m_top, name) == nullptr) {
                AddSubkey(m_top, name, false);
            }
        }
    }

    Key m_top;
    std::string m_path;
    FileIdentity m_identity;
    bool m_loaded = false;
    bool m_corrupt = false;
};

Store& TheStore()
{
    static Store store;
    return store;
}

// Resolves a handle to its path and rights. Predefined roots have every
// right; unknown handles fail with ERROR_INVALID_HANDLE.
LONG ResolveHandle(Store& store, HKEY key, std::vector<std::string>& path, REGSAM& access)
{
    if (const char* root = RootName(key)) {
        path.assign(1, root);
        access = KEY_ALL_ACCESS;
        return ERROR_SUCCESS;
    }
    if (key == nullptr || store.handles.count(key) == 0) {
        return ERROR_INVALID_HANDLE;
    }
    path = key->path;
    access = key->access;
    return ERROR_SUCCESS;
}

Key* Walk(Key& top, const std::vector<std::string>& path)
{
    Key* key = &top;
    for (const std::string& level : path) {
        key = FindSubkey(*key, level);
        if (key == nullptr) {
            return nullptr;
        }
    }
    return key;
}

// The common start of every call: lock, refresh, resolve the handle, find
// its key and check the rights it needs.
class Session {
public:
    Session(HKEY key, REGSAM needed) : m_lock(TheStore().mutex)
    {
        Store& store = TheStore();
        m_result = store.Refresh();
        if (m_result == ERROR_SUCCESS) {
            m_result = ResolveHandle(store, key, m_path, m_access);
        }
        if (m_result == ERROR_SUCCESS) {
            m_key = Walk(store.Top(), m_path);
            if (m_key == nullptr) {
                m_result = ERROR_KEY_DELETED;
            } else if ((m_access & needed) != needed) {
                m_result = ERROR_ACCESS_DENIED;
            }
        }
    }

    LONG Result() const { return m_result; }
    Key& Current() { return *m_key; }
    const std::vector<std::string>& Path() const { return m_path; }

private:
    std::lock_guard<std::mutex> m_lock;
    LONG m_result = ERROR_SUCCESS;
    std::vector<std::string> m_path;
    REGSAM m_access = 0;
    Key* m_key = nullptr;
};

// A change: holds the store file's lock across reading the latest store,
// changing it and writing it back, so that processes do not lose each
// other's changes.
class Change {
public:
    Change(HKEY key, REGSAM needed)
        : m_fileLock(StorePath()), m_session(key, needed)
    {
        if (m_session.Result() == ERROR_SUCCESS) {
            m_saved = TheStore().Top();
        }
    }

    LONG Result() const { return m_session.Result(); }
    Key& Current() { return m_session.Current(); }
    const std::vector<std::string>& Path() const { return m_session.Path(); }
    LONG Commit() { return TheStore().Save(std::move(m_saved)); }

private:
    platform::posix::FileLock m_fileLock;
    Session m_session;
    Key m_saved;
};

HKEY NewHandle(std::vector<std::string> path, REGSAM access)
{
    auto handle = std::make_unique<HKEY__>();
    handle->path = std::move(path);
    handle->access = access;
    TheStore().handles.insert(handle.get());
    return handle.release();
}

LONG CopyName(const std::string& name, char* buffer, DWORD* length)
{
    if (buffer == nullptr || length == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    if (name.size() + 1 > *length) {
        return ERROR_MORE_DATA;
    }
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    *length = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

LONG CopyData(const Value& value, DWORD* type, BYTE* data, DWORD* dataSize)
{
    if (type != nullptr) {
        *type = value.type;
    }
    if (data != nullptr && dataSize == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    if (dataSize == nullptr) {
        return ERROR_SUCCESS;
    }
    const auto size = static_cast<DWORD>(value.data.size());
    if (data != nullptr) {
        if (size > *dataSize) {
            *dataSize = size;
            return ERROR_MORE_DATA;
        }
        if (size > 0) {
            std::memcpy(data, value.data.data(), size);
        }
    }
    *dataSize = size;
    return ERROR_SUCCESS;
}

LONG DeleteKey(HKEY key, const char* subKey, bool recursive)
{
    std::vector<std::string> levels;
    if (subKey == nullptr || *subKey == '\0') {
        return ERROR_INVALID_PARAMETER;
    }
    if (const LONG split = SplitPath(subKey, levels); split != ERROR_SUCCESS) {
        return split;
    }
    Change change(key, 0);
    if (change.Result() != ERROR_SUCCESS) {
        return change.Result();
    }
    Key* parent = &change.Current();
    for (std::size_t i = 0; i + 1 < levels.size(); ++i) {
        parent = FindSubkey(*parent, levels[i]);
        if (parent == nullptr) {
            return ERROR_FILE_NOT_FOUND;
        }
    }
    Key* victim = FindSubkey(*parent, levels.back());
    if (victim == nullptr) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (!recursive && !victim->subkeys.empty()) {
        return ERROR_ACCESS_DENIED;
    }
    const std::string name = victim->name;
    std::erase_if(parent->subkeys, [&](const Key& child) { return child.name == name; });
    return change.Commit();
}

} // namespace

LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD, REGSAM desired, PHKEY result)
{
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    std::vector<std::string> levels;
    if (const LONG split = SplitPath(subKey, levels); split != ERROR_SUCCESS) {
        return split;
    }
    Session session(key, 0);
    if (session.Result() != ERROR_SUCCESS) {
        return session.Result();
    }
    std::vector<std::string> path = session.Path();
    Key* current = &session.Current();
    for (const std::string& level : levels) {
        current = FindSubkey(*current, level);
        if (current == nullptr) {
            return ERROR_FILE_NOT_FOUND;
        }
        // The stored spelling, so that every handle names the key alike.
        path.push_back(current->name);
    }
    *result = NewHandle(std::move(path), desired);
    return ERROR_SUCCESS;
}

LONG RegCreateKeyExA(HKEY key, const char* subKey, DWORD, char*, DWORD options, REGSAM desired,
                     const SECURITY_ATTRIBUTES*, PHKEY result, DWORD* disposition)
{
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    if ((options & ~REG_OPTION_VOLATILE) != 0) {
        return ERROR_INVALID_PARAMETER;
    }
    std::vector<std::string> levels;
    if (const LONG split = SplitPath(subKey, levels); split != ERROR_SUCCESS) {
        return split;
    }
    Change change(key, 0);
    if (change.Result() != ERROR_SUCCESS) {
        return change.Result();
    }
    std::vector<std::string> path = change.Path();
    Key* current = &change.Current();
    bool created = false;
    const bool wantVolatile = (options & REG_OPTION_VOLATILE) != 0;
    // A lasting key cannot live under a volatile one; checked before any
    // level is added, so that a refusal changes nothing.
    for (const std::string& level : levels) {
        Key* child = FindSubkey(*current, level);
        if (child == nullptr) {
            if (current->isVolatile && !wantVolatile) {
                return ERROR_CHILD_MUST_BE_VOLATILE;
            }
            break;
        }
        current = child;
    }
    current = &change.Current();
    for (const std::string& level : levels) {
        Key* child = FindSubkey(*current, level);
        if (child == nullptr) {
            child = &AddSubkey(*current, level, wantVolatile);
            created = true;
        }
        path.push_back(child->name);
        current = child;
    }
    if (created) {
        if (const LONG saved = change.Commit(); saved != ERROR_SUCCESS) {
            return saved;
        }
    }
    if (disposition != nullptr) {
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    }
    *result = NewHandle(std::move(path), desired);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key)
{
    if (RootName(key) != nullptr) {
        return ERROR_SUCCESS;
    }
    Store& store = TheStore();
    std::lock_guard<std::mutex> lock(store.mutex);
    if (key == nullptr || store.handles.erase(key) == 0) {
        return ERROR_INVALID_HANDLE;
    }
    delete key;
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD*, DWORD* type, BYTE* data, DWORD* dataSize)
{
    Session session(key, KEY_QUERY_VALUE);
    if (session.Result() != ERROR_SUCCESS) {
        return session.Result();
    }
    const Value* value = FindValue(session.Current(), valueName);
    if (value == nullptr) {
        return ERROR_FILE_NOT_FOUND;
    }
    return CopyData(*value, type, data, dataSize);
}

LONG RegSetValueExA(HKEY key, const char* valueName, DWORD, DWORD type, const BYTE* data, DWORD dataSize)
{
    if (data == nullptr && dataSize > 0) {
        return ERROR_INVALID_PARAMETER;
    }
    if (valueName != nullptr && std::strlen(valueName) > kMaximumValueNameLength) {
        return ERROR_INVALID_PARAMETER;
    }
    Change change(key, KEY_SET_VALUE);
    if (change.Result() != ERROR_SUCCESS) {
        return change.Result();
    }
    Value* value = FindValue(change.Current(), valueName);
    if (value == nullptr) {
        change.Current().values.push_back(Value{valueName != nullptr ? valueName : "", type, {}});
        value = &change.Current().values.back();
    }
    value->type = type;
    value->data.assign(data, data + dataSize);
    return change.Commit();
}

LONG RegDeleteValueA(HKEY key, const char* valueName)
{
    Change change(key, KEY_SET_VALUE);
    if (change.Result() != ERROR_SUCCESS) {
        return change.Result();
    }
    Value* value = FindValue(change.Current(), valueName);
    if (value == nullptr) {
        return ERROR_FILE_NOT_FOUND;
    }
    const std::string name = value->name;
    std::erase_if(change.Current().values, [&](const Value& each) { return each.name == name; });
    return change.Commit();
}

LONG RegDeleteKeyA(HKEY key, const char* subKey)
{
    return DeleteKey(key, subKey, false);
}

LONG SHDeleteKeyA(HKEY key, const char* subKey)
{
    return DeleteKey(key, subKey, true);
}

LONG RegQueryInfoKeyA(HKEY key, char* keyClass, DWORD* classLength, DWORD*, DWORD* subKeys,
                      DWORD* maxSubKeyLength, DWORD* maxClassLength, DWORD* values, DWORD* maxValueNameLength,
                      DWORD* maxValueLength, DWORD* securityDescriptor, FILETIME* lastWriteTime)
{
    Session session(key, KEY_QUERY_VALUE);
    if (session.Result() != ERROR_SUCCESS) {
        return session.Result();
    }
    const Key& current = session.Current();
    if (keyClass != nullptr && classLength != nullptr && *classLength > 0) {
        keyClass[0] = '\0';
    }
    if (classLength != nullptr) {
        *classLength = 0;
    }
    DWORD longestKey = 0;
    for (const Key& child : current.subkeys) {
        longestKey = std::max(longestKey, static_cast<DWORD>(child.name.size()));
    }
    DWORD longestName = 0;
    DWORD largest = 0;
    for (const Value& value : current.values) {
        longestName = std::max(longestName, static_cast<DWORD>(value.name.size()));
        largest = std::max(largest, static_cast<DWORD>(value.data.size()));
    }
    const std::pair<DWORD*, DWORD> answers[] = {
        {subKeys, static_cast<DWORD>(current.subkeys.size())},
        {maxSubKeyLength, longestKey},
        {maxClassLength, 0},
        {values, static_cast<DWORD>(current.values.size())},
        {maxValueNameLength, longestName},
        {maxValueLength, largest},
        {securityDescriptor, 0},
    };
    for (const auto& [target, answer] : answers) {
        if (target != nullptr) {
            *target = answer;
        }
    }
    if (lastWriteTime != nullptr) {
        *lastWriteTime = FILETIME{0, 0};
    }
    return ERROR_SUCCESS;
}

LONG RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD*, char* keyClass,
                   DWORD* classLength, FILETIME* lastWriteTime)
{
    Session session(key, KEY_ENUMERATE_SUB_KEYS);
    if (session.Result() != ERROR_SUCCESS) {
        return session.Result();
    }
    const Key& current = session.Current();
    if (index >= current.subkeys.size()) {
        return ERROR_NO_MORE_ITEMS;
    }
    const LONG copied = CopyName(current.subkeys[index].name, name, nameLength);
    if (copied != ERROR_SUCCESS) {
        return copied;
    }
    if (keyClass != nullptr && classLength != nullptr && *classLength > 0) {
        keyClass[0] = '\0';
    }
    if (classLength != nullptr) {
        *classLength = 0;
    }
    if (lastWriteTime != nullptr) {
        *lastWriteTime = FILETIME{0, 0};
    }
    return ERROR_SUCCESS;
}

LONG RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD*, DWORD* type, BYTE* data,
                   DWORD* dataSize)
{
    Session session(key, KEY_QUERY_VALUE);
    if (session.Result() != ERROR_SUCCESS) {
        return session.Result();
    }
    const Key& current = session.Current();
    if (index >= current.values.size()) {
        return ERROR_NO_MORE_ITEMS;
    }
    const Value& value = current.values[index];
    const LONG copied = CopyName(value.name, name, nameLength);
    if (copied != ERROR_SUCCESS) {
        return copied;
    }
    return CopyData(value, type, data, dataSize);
}

namespace platform {

const char* RegistryErrorText(LONG code)
{
    switch (code) {
    case ERROR_SUCCESS:
        return "The operation completed successfully.";
    case ERROR_FILE_NOT_FOUND:
        return "The system cannot find the file specified.";
    case ERROR_ACCESS_DENIED:
        return "Access is denied.";
    case ERROR_INVALID_HANDLE:
        return "The handle is invalid.";
    case ERROR_OUTOFMEMORY:
        return "Not enough memory resources are available to complete this operation.";
    case static_cast<LONG>(ERROR_INVALID_PARAMETER):
        return "The parameter is incorrect.";
    case ERROR_BAD_PATHNAME:
        return "The specified path is invalid.";
    case ERROR_MORE_DATA:
        return "More data is available.";
    case ERROR_NO_MORE_ITEMS:
        return "No more data is available.";
    case ERROR_REGISTRY_CORRUPT:
        return "The configuration registry database is corrupt.";
    case ERROR_REGISTRY_IO_FAILED:
        return "An I/O operation initiated by the registry failed unrecoverably.";
    case ERROR_KEY_DELETED:
        return "Illegal operation attempted on a registry key that has been marked for deletion.";
    case ERROR_KEY_HAS_CHILDREN:
        return "Cannot create a symbolic link in a registry key that already has subkeys or values.";
    case ERROR_CHILD_MUST_BE_VOLATILE:
        return "Cannot create a stable subkey under a volatile parent key.";
    default:
        return nullptr;
    }
}

void SetRegistryWriteFaultForTesting(int failAfterBytes)
{
    Store& store = TheStore();
    std::lock_guard<std::mutex> lock(store.mutex);
    store.writeFault = failAfterBytes < 0 ? -1 : failAfterBytes;
}

void ResetRegistryCacheForTesting()
{
    Store& store = TheStore();
    std::lock_guard<std::mutex> lock(store.mutex);
    store.Forget();
}

} // namespace platform
