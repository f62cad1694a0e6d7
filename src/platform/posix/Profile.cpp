// The native private-profile (INI file) functions; see Profile.h.
#include "platform/Profile.h"
#include "platform/StoreTesting.h"
#include "platform/SystemTime.h"
#include "platform/posix/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

#include <sys/stat.h>

namespace {

constexpr DWORD kErrorFileNotFound = 2;
constexpr DWORD kErrorWriteFault = 29;

std::mutex g_writeMutex;
int g_writeFault = -1;

std::string Trim(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return std::string();
    }
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'a' && x <= 'z') {
            x = static_cast<char>(x - 'a' + 'A');
        }
        if (y >= 'a' && y <= 'z') {
            y = static_cast<char>(y - 'a' + 'A');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

// One line of the file, classified.
struct Line {
    enum Kind { other, header, entry } kind = other;
    std::string text; // the line as it stands in the file
    std::string name; // section or key name
    std::string value;
};

Line Classify(const std::string& text)
{
    Line line;
    line.text = text;
    const std::string trimmed = Trim(text);
    if (trimmed.empty() || trimmed[0] == ';') {
        return line;
    }
    if (trimmed[0] == '[') {
        const std::size_t close = trimmed.find(']');
        line.kind = Line::header;
        line.name = Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        return line;
    }
    line.kind = Line::entry;
    const std::size_t equals = trimmed.find('=');
    line.name = Trim(trimmed.substr(0, equals));
    if (equals != std::string::npos) {
        line.value = Trim(trimmed.substr(equals + 1));
        if (line.value.size() >= 2 && (line.value.front() == '"' || line.value.front() == '\'') &&
            line.value.back() == line.value.front()) {
            line.value = line.value.substr(1, line.value.size() - 2);
        }
    }
    return line;
}

std::string WindowsDirectory()
{
    std::string folder;
    if (const char* root = std::getenv("KESTREL_ROOT"); root != nullptr && *root != '\0') {
        folder = root;
    } else {
        if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data != '\0') {
            folder = data;
        } else {
            const char* home = std::getenv("HOME");
            folder = std::string(home != nullptr ? home : "/tmp") + "/.local/share";
        }
        folder += "/Velkor/ORV Desktop";
    }
    return folder + "/Windows";
}

std::string ResolvePath(const char* file)
{
    const std::string path = platform::posix::NativePath(file);
    if (path.find('/') == std::string::npos) {
        return WindowsDirectory() + "/" + path;
    }
    return path;
}

// The file's lines, parsed. A missing file reads as empty.
class Profile {
public:
    explicit Profile(const std::string& path) : m_path(path)
    {
        std::string text;
        m_readError = platform::posix::ReadWholeFile(path, text);
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t stop = text.find('\n', start);
            if (stop == std::string::npos) {
                stop = text.size();
            }
            std::string line = text.substr(start, stop - start);
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            m_lines.push_back(Classify(line));
            start = stop + 1;
        }
    }

    bool Exists() const { return m_readError == 0; }
    // Any failure to read other than absence; such a file is not rewritten.
    bool Unreadable() const { return m_readError != 0 && m_readError != ENOENT; }

    // [first, last) are the lines of the first section of that name, header
    // excluded; false when there is none.
    bool FindSection(const std::string& name, std::size_t& header, std::size_t& last) const
    {
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            if (m_lines[i].kind == Line::header && SameName(m_lines[i].name, name)) {
                header = i;
                last = i + 1;
                while (last < m_lines.size() && m_lines[last].kind != Line::header) {
                    ++last;
                }
                return true;
            }
        }
        return false;
    }

    const Line* FindKey(const std::string& section, const std::string& key) const
    {
        std::size_t header = 0;
        std::size_t last = 0;
        if (!FindSection(section, header, last)) {
            return nullptr;
        }
        for (std::size_t i = header + 1; i < last; ++i) {
            if (m_lines[i].kind == Line::entry && SameName(m_lines[i].name, key)) {
                return &m_lines[i];
            }
        }
        return nullptr;
    }

    std::string SectionNames() const
    {
        std::string list;
        for (const Line& line : m_lines) {
            if (line.kind == Line::header) {
                list += line.name;
                list += '\0';
            }
        }
        return list;
    }

    std::string KeyNames(const std::string& section) const
    {
        std::string list;
        std::size_t header = 0;
        std::size_t last = 0;
        if (FindSection(section, header, last)) {
            for (std::size_t i = header + 1; i < last; ++i) {
                if (m_lines[i].kind == Line::entry) {
                    list += m_lines[i].name;
                    list += '\0';
                }
            }
        }
        return list;
    }

    void SetKey(const std::string& section, const std::string& key, const std::string& value)
    {
        const std::string text = key + "=" + value;
        std::size_t header = 0;
        std::size_t last = 0;
        if (!FindSection(section, header, last)) {
            m_lines.push_back(Classify("[" + section + "]"));
            m_lines.push_back(Classify(text));
            return;
        }
        std::size_t insertAt = header + 1;
        for (std::size_t i = header + 1; i < last; ++i) {
            if (m_lines[i].kind == Line::entry) {
                if (SameName(m_lines[i].name, key)) {
                    // The stored spelling of the name stays.
                    m_lines[i] = Classify(m_lines[i].name + "=" + value);
                    return;
                }
                insertAt = i + 1;
            }
        }
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), Classify(text));
    }

    bool DeleteKey(const std::string& section, const std::string& key)
    {
        std::size_t header = 0;
        std::size_t last = 0;
        if (!FindSection(section, header, last)) {
            return false;
        }
        for (std::size_t i = header + 1; i < last; ++i) {
            if (m_lines[i].kind == Line::entry && SameName(m_lines[i].name, key)) {
                m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(i));
                return true;
            }
        }
        return false;
    }

    bool DeleteSection(const std::string& section)
    {
        std::size_t header = 0;
        std::size_t last = 0;
        if (!FindSection(section, header, last)) {
            return false;
        }
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(header),
                      m_lines.begin() + static_cast<std::ptrdiff_t>(last));
        return true;
    }

    void ReplaceSection(const std::string& section, const std::vector<std::string>& entries)
    {
        std::size_t header = 0;
        std::size_t last = 0;
        std::vector<Line> body;
        for (const std::string& entry : entries) {
            body.push_back(Classify(entry));
        }
        if (!FindSection(section, header, last)) {
            m_lines.push_back(Classify("[" + section + "]"));
            m_lines.insert(m_lines.end(), body.begin(), body.end());
            return;
        }
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(header + 1),
                      m_lines.begin() + static_cast<std::ptrdiff_t>(last));
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(header + 1), body.begin(), body.end());
    }

    BOOL Save()
    {
        std::string text;
        for (const Line& line : m_lines) {
            text += line.text;
            text += "\r\n";
        }
        const int error = platform::posix::ReplaceFileAtomically(m_path, text, g_writeFault);
        if (error != 0) {
            SetLastError(error == EACCES || error == EPERM ? 5 : kErrorWriteFault);
            return FALSE;
        }
        return TRUE;
    }

private:
    std::string m_path;
    int m_readError = 0;
    std::vector<Line> m_lines;
};

bool BreaksLine(const char* text)
{
    return text != nullptr && std::strpbrk(text, "\r\n") != nullptr;
}

BOOL Refuse()
{
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

// Loads the file under the process and file locks, lets `change` edit and
// save it, and refuses a file that cannot be read rather than overwrite it.
template <class Change>
BOOL ChangeProfile(const char* file, Change change)
{
    const std::string path = ResolvePath(file);
    std::lock_guard<std::mutex> guard(g_writeMutex);
    const platform::posix::FileLock lock(path);
    Profile profile(path);
    if (profile.Unreadable()) {
        SetLastError(5);
        return FALSE;
    }
    return change(profile);
}

DWORD CopyList(const std::string& list, char* buffer, DWORD size)
{
    if (list.size() + 1 <= size) {
        std::memcpy(buffer, list.data(), list.size());
        buffer[list.size()] = '\0';
        if (list.empty() && size > 1) {
            buffer[1] = '\0';
        }
        return static_cast<DWORD>(list.size());
    }
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

DWORD CopyText(const std::string& text, char* buffer, DWORD size)
{
    const std::size_t length = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return static_cast<DWORD>(length);
}

} // namespace

DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultText, char* buffer,
                               DWORD size, const char* file)
{
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const Profile profile(ResolvePath(file));
    if (section == nullptr) {
        return CopyList(profile.SectionNames(), buffer, size);
    }
    if (key == nullptr) {
        return CopyList(profile.KeyNames(section), buffer, size);
    }
    if (const Line* line = profile.FindKey(section, key)) {
        return CopyText(line->value, buffer, size);
    }
    SetLastError(kErrorFileNotFound);
    std::string fallback = defaultText != nullptr ? defaultText : "";
    fallback.erase(fallback.find_last_not_of(' ') + 1);
    return CopyText(fallback, buffer, size);
}

BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value, const char* file)
{
    if (section == nullptr || file == nullptr || std::strchr(section, ']') != nullptr || BreaksLine(section) ||
        BreaksLine(key) || BreaksLine(value) || (key != nullptr && std::strchr(key, '=') != nullptr)) {
        return Refuse();
    }
    return ChangeProfile(file, [&](Profile& profile) -> BOOL {
        if (key == nullptr) {
            return profile.DeleteSection(section) ? profile.Save() : TRUE;
        }
        if (value == nullptr) {
            return profile.DeleteKey(section, key) ? profile.Save() : TRUE;
        }
        profile.SetKey(section, Trim(key), value);
        return profile.Save();
    });
}

BOOL WritePrivateProfileSectionA(const char* section, const char* text, const char* file)
{
    if (section == nullptr || file == nullptr || std::strchr(section, ']') != nullptr || BreaksLine(section)) {
        return Refuse();
    }
    std::vector<std::string> entries;
    for (const char* entry = text; entry != nullptr && *entry != '\0'; entry += std::strlen(entry) + 1) {
        if (BreaksLine(entry)) {
            return Refuse();
        }
        entries.emplace_back(entry);
    }
    return ChangeProfile(file, [&](Profile& profile) -> BOOL {
        if (text == nullptr) {
            return profile.DeleteSection(section) ? profile.Save() : TRUE;
        }
        profile.ReplaceSection(section, entries);
        return profile.Save();
    });
}

BOOL PathFileExistsA(const char* path)
{
    if (path == nullptr || *path == '\0') {
        return FALSE;
    }
    struct stat status {};
    return ::stat(platform::posix::NativePath(path).c_str(), &status) == 0 ? TRUE : FALSE;
}

UINT GetWindowsDirectoryA(char* buffer, UINT size)
{
    const std::string folder = WindowsDirectory();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return 0;
    }
    if (buffer == nullptr || folder.size() + 1 > size) {
        return static_cast<UINT>(folder.size() + 1);
    }
    std::memcpy(buffer, folder.c_str(), folder.size() + 1);
    return static_cast<UINT>(folder.size());
}

namespace platform {

void SetProfileWriteFaultForTesting(int failAfterBytes)
{
    std::lock_guard<std::mutex> guard(g_writeMutex);
    g_writeFault = failAfterBytes < 0 ? -1 : failAfterBytes;
}

} // namespace platform
