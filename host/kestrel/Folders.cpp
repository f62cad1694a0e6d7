// The product folders and the global settings file.
#include "Folders.h"
#include "Kestrel.h"
#include "Output.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#  define WIN32_LEAN_AND_MEAN
#  include <windows.h>
#else
#  include <cctype>
#  include <fstream>
#endif

namespace kestrel {

std::string HostRoot()
{
    if (const char* root = std::getenv("KESTREL_ROOT"); root != nullptr && *root != '\0')
        return root;
#if defined(_WIN32)
    const char* base = std::getenv("APPDATA");
    std::string folder = base != nullptr ? base : "C:\\";
#else
    std::string folder;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data != '\0') {
        folder = data;
    } else {
        const char* home = std::getenv("HOME");
        folder = std::string(home != nullptr ? home : "/tmp") + "/.local/share";
    }
#endif
    return folder + kSeparator + "Velkor" + kSeparator + "ORV Desktop";
}

std::string EnsureFolder(const std::string& path)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path), error);
    return !error && std::filesystem::is_directory(std::filesystem::path(path), error) ? path : std::string();
}

} // namespace kestrel

namespace {

int WriteFolder(const char* name, char* buffer, int capacity)
{
    const std::string folder = kestrel::EnsureFolder(kestrel::HostRoot() + kestrel::kSeparator + name);
    if (folder.empty() || folder.size() >= std::size_t(capacity < 0 ? 0 : capacity)) {
        kestrel::WriteText("", buffer, capacity);
        return 0;
    }
    kestrel::WriteText(folder, buffer, capacity);
    return 1;
}

std::string SettingsFile()
{
    return kestrel::HostRoot() + kestrel::kSeparator + "Kestrel.ini";
}

#if !defined(_WIN32)
std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    const std::size_t last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

bool SameName(const std::string& a, const char* b)
{
    const std::string other = b;
    if (a.size() != other.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower((unsigned char)a[i]) != std::tolower((unsigned char)other[i]))
            return false;
    }
    return true;
}

// Reads the INI file the way the Windows profile functions do: section and
// key names compare without case, blanks around names and values are
// dropped, and the first matching key wins.
bool ReadSetting(const char* section, const char* key, std::string& value)
{
    std::ifstream in(SettingsFile());
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        line = Trimmed(line);
        if (!line.empty() && line.front() == '[') {
            const std::size_t close = line.find(']');
            inSection = close != std::string::npos && SameName(Trimmed(line.substr(1, close - 1)), section);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inSection && equals != std::string::npos && SameName(Trimmed(line.substr(0, equals)), key)) {
            value = Trimmed(line.substr(equals + 1));
            return true;
        }
    }
    return false;
}
#endif

} // namespace

extern "C" {

int HostGetUserDirectory(char* buffer, int capacity)
{
    return WriteFolder("User", buffer, capacity);
}

int HostGetAllUsersDirectory(char* buffer, int capacity)
{
    return WriteFolder("AllUsers", buffer, capacity);
}

int HostGetWorkingDirectory(char* buffer, int capacity)
{
    return WriteFolder("Working", buffer, capacity);
}

int HostGetGlobalSetting(const char* section, const char* key, char* buffer, int capacity, const char* defaultText)
{
    if (buffer == nullptr || capacity < 1)
        return 0;
    const char* fallback = defaultText != nullptr ? defaultText : "";
    if (section == nullptr || key == nullptr)
        return kestrel::WriteText(fallback, buffer, capacity);
#if defined(_WIN32)
    return int(GetPrivateProfileStringA(section, key, fallback, buffer, DWORD(capacity), SettingsFile().c_str()));
#else
    std::string value;
    return kestrel::WriteText(ReadSetting(section, key, value) ? value : std::string(fallback), buffer, capacity);
#endif
}

} // extern "C"
