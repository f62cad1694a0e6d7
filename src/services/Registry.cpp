#include "services/Registry.h"

#include "framework/Archive.h"
#include "framework/Exceptions.h"
#include "framework/MemFile.h"

#include "Kestrel.h"

#include <climits>
#include <cstring>

namespace {

// The binary forms are built in an in-memory file growing by 1024 bytes,
// through an archive with a 4096-byte buffer.
constexpr UINT kMemFileGrowth = 1024;
constexpr int kArchiveBuffer = 4096;
// Names longer than this buffer (with its NUL) cannot be enumerated.
constexpr DWORD kNameBuffer = 200;
// Where an enumeration failure is reported from, as the message gives it.
constexpr UINT kListKeyLine = 469;
constexpr UINT kListValuesLine = 544;

// A key opened for the length of one operation, closed on every way out.
class CScopedKey {
public:
    CScopedKey() = default;
    ~CScopedKey()
    {
        if (m_key != nullptr) {
            RegCloseKey(m_key);
        }
    }
    CScopedKey(const CScopedKey&) = delete;
    CScopedKey& operator=(const CScopedKey&) = delete;

    HKEY* Receive() noexcept { return &m_key; }
    HKEY Get() const noexcept { return m_key; }

private:
    HKEY m_key = nullptr;
};

// Builds a binary image through a storing archive.
template <class Store>
CByteArray BuildImage(Store store)
{
    CMemFile file(kMemFileGrowth);
    {
        CArchive archive(&file, CArchive::store, kArchiveBuffer);
        store(archive);
        archive.Close();
    }
    CByteArray bytes;
    bytes.SetSize(static_cast<int>(file.GetLength()));
    file.SeekToBegin();
    if (bytes.GetSize() > 0) {
        file.Read(bytes.GetData(), static_cast<UINT>(bytes.GetSize()));
    }
    return bytes;
}

// Reads a stored image back through a loading archive.
template <class Load>
void LoadImage(CByteArray& bytes, Load load)
{
    CMemFile file(bytes.GetData(), static_cast<UINT>(bytes.GetSize()));
    CArchive archive(&file, CArchive::load, kArchiveBuffer);
    load(archive);
}

CString ErrorText(LONG code)
{
#if defined(_WIN32)
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&text), 0, nullptr);
    CString result = length > 0 && text != nullptr ? CString(text, static_cast<int>(length)) : CString();
    if (text != nullptr) {
        LocalFree(text);
    }
    result.TrimRight();
    return result;
#else
    const char* text = platform::RegistryErrorText(code);
    CString result;
    if (text != nullptr) {
        result = text;
    } else {
        result.Format("Unknown error %ld.", static_cast<long>(code));
    }
    return result;
#endif
}

// Tells the user that an enumeration stopped: "<code> <call>\nRegistry <line>"
// under the system's text for the code.
void ReportEnumerationError(LONG code, const char* call, UINT line)
{
    CString text;
    text.Format("%u %s\n%s %u", static_cast<unsigned>(code), call, "Registry", line);
    const CString caption = ErrorText(code);
#if defined(_WIN32)
    MessageBoxA(nullptr, text, caption, MB_OK | MB_ICONINFORMATION);
#else
    // The log keeps one line per entry, so the line break becomes a space.
    CString oneLine = text;
    oneLine.Replace('\n', ' ');
    HostLogFormat(4, "%s: %s", caption.GetString(), oneLine.GetString());
#endif
}

} // namespace

CRegistry::CRegistry(HKEY rootKey) : m_hKey(rootKey)
{
}

CRegistry::~CRegistry()
{
    Close();
}

void CRegistry::Hold(HKEY key)
{
    if (m_hKey != nullptr && m_hKey != key) {
        RegCloseKey(m_hKey);
    }
    m_hKey = key;
}

BOOL CRegistry::Close()
{
    if (m_hKey == nullptr) {
        return FALSE;
    }
    const LONG result = RegCloseKey(m_hKey);
    m_hKey = nullptr;
    return result == ERROR_SUCCESS;
}

BOOL CRegistry::Open(HKEY root, const char* subKey, REGSAM access)
{
    Close();
    m_strKeyPath = subKey;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey, 0, access, &key) != ERROR_SUCCESS) {
        return FALSE;
    }
    m_hKey = key;
    return TRUE;
}

BOOL CRegistry::Open(const char* subKey, REGSAM access)
{
    HKEY key = nullptr;
    if (m_hKey == nullptr || RegOpenKeyExA(m_hKey, subKey, 0, access, &key) != ERROR_SUCCESS) {
        return FALSE;
    }
    m_strKeyPath = subKey;
    Hold(key);
    return TRUE;
}

BOOL CRegistry::VerifyKey(HKEY root, const char* subKey, REGSAM access)
{
    Close();
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey, 0, access, &key) != ERROR_SUCCESS) {
        return FALSE;
    }
    RegCloseKey(key);
    return TRUE;
}

BOOL CRegistry::VerifyKey(const char* subKey, REGSAM access)
{
    HKEY key = nullptr;
    const bool found = m_hKey != nullptr && RegOpenKeyExA(m_hKey, subKey, 0, access, &key) == ERROR_SUCCESS;
    if (found) {
        RegCloseKey(key);
    }
    Close();
    return found ? TRUE : FALSE;
}

BOOL CRegistry::VerifyValue(const char* name)
{
    return RegQueryValueExA(m_hKey, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

BOOL CRegistry::CreateKey(HKEY root, const char* subKey, DWORD options)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(root, subKey, 0, nullptr, options, KEY_ALL_ACCESS, nullptr, &key, &disposition) !=
        ERROR_SUCCESS) {
        return FALSE;
    }
    // A held key that is the root passed in stays open: the caller named it
    // and may pass it again. Any other held key is closed.
    if (m_hKey != root) {
        Hold(key);
    } else {
        m_hKey = key;
    }
    return TRUE;
}

BOOL CRegistry::CreateKey(const char* subKey, DWORD options)
{
    const HKEY parent = m_hKey;
    if (parent == nullptr || !CreateKey(parent, subKey, options)) {
        return FALSE;
    }
    // The new key replaces the held one, which is closed: the caller passed
    // no key of its own here.
    RegCloseKey(parent);
    return TRUE;
}

BOOL CRegistry::DeleteKey(HKEY root, const char* subKey, BOOL recursive)
{
    const LONG result = recursive ? static_cast<LONG>(SHDeleteKeyA(root, subKey)) : RegDeleteKeyA(root, subKey);
    return result == ERROR_SUCCESS;
}

BOOL CRegistry::DeleteValue(const char* name)
{
    return RegDeleteValueA(m_hKey, name) == ERROR_SUCCESS;
}

BOOL CRegistry::WriteString(const char* name, const char* text)
{
    const char* stored = text != nullptr ? text : "";
    const auto size = static_cast<DWORD>(std::strlen(stored) + 1);
    return RegSetValueExA(m_hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(stored), size) == ERROR_SUCCESS;
}

BOOL CRegistry::ReadString(const char* name, CString& text)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(m_hKey, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ ||
        size > static_cast<DWORD>(INT_MAX)) {
        return FALSE;
    }
    CByteArray buffer;
    buffer.SetSize(static_cast<int>(size));
    DWORD got = size;
    if (RegQueryValueExA(m_hKey, name, nullptr, &type, buffer.GetData(), &got) == ERROR_SUCCESS && type == REG_SZ) {
        // The stored bytes need not end in a NUL; the text stops at the
        // first NUL or at the end of the data.
        const char* chars = reinterpret_cast<const char*>(buffer.GetData());
        int length = 0;
        while (static_cast<DWORD>(length) < got && chars[length] != '\0') {
            ++length;
        }
        text = CString(chars, length);
    }
    return TRUE;
}

BOOL CRegistry::Write(const char* name, const unsigned long& value)
{
    if (value > 0xFFFFFFFFul) {
        return FALSE;
    }
    const auto dword = static_cast<DWORD>(value);
    BYTE bytes[4];
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<BYTE>(dword >> (8 * i));
    }
    return RegSetValueExA(m_hKey, name, 0, REG_DWORD, bytes, sizeof bytes) == ERROR_SUCCESS;
}

BOOL CRegistry::Read(const char* name, unsigned long& value)
{
    DWORD type = 0;
    BYTE bytes[4] = {};
    DWORD size = sizeof bytes;
    if (RegQueryValueExA(m_hKey, name, nullptr, &type, bytes, &size) != ERROR_SUCCESS || type != REG_DWORD ||
        size != sizeof bytes) {
        return FALSE;
    }
    value = static_cast<unsigned long>(bytes[0]) | (static_cast<unsigned long>(bytes[1]) << 8) |
            (static_cast<unsigned long>(bytes[2]) << 16) | (static_cast<unsigned long>(bytes[3]) << 24);
    return TRUE;
}

#if !defined(_WIN32)
BOOL CRegistry::Write(const char* name, const DWORD& value)
{
    return Write(name, static_cast<unsigned long>(value));
}

BOOL CRegistry::Read(const char* name, DWORD& value)
{
    unsigned long wide = 0;
    if (!Read(name, wide)) {
        return FALSE;
    }
    value = static_cast<DWORD>(wide);
    return TRUE;
}
#endif

BOOL CRegistry::WriteBinary(const char* name, const BYTE* data, DWORD size)
{
    static const BYTE nothing = 0;
    return RegSetValueExA(m_hKey, name, 0, REG_BINARY, data != nullptr ? data : &nothing, size) == ERROR_SUCCESS;
}

BOOL CRegistry::Write(const char* name, const CByteArray& bytes)
{
    return WriteBinary(name, bytes.GetData(), static_cast<DWORD>(bytes.GetSize()));
}

BOOL CRegistry::Read(const char* name, CByteArray& bytes)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(m_hKey, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_BINARY ||
        size > static_cast<DWORD>(INT_MAX)) {
        return FALSE;
    }
    CByteArray stored;
    stored.SetSize(static_cast<int>(size));
    DWORD got = size;
    if (RegQueryValueExA(m_hKey, name, nullptr, &type, stored.GetData(), &got) != ERROR_SUCCESS ||
        type != REG_BINARY) {
        return FALSE;
    }
    stored.SetSize(static_cast<int>(got));
    bytes.Copy(stored);
    return TRUE;
}

BOOL CRegistry::Write(const char* name, const int& value)
{
    const auto fixed = static_cast<LONG>(value);
    const CByteArray image = BuildImage([&](CArchive& archive) { archive << fixed; });
    return Write(name, image);
}

BOOL CRegistry::Read(const char* name, int& value)
{
    CByteArray image;
    if (!Read(name, image)) {
        return FALSE;
    }
    LONG stored = 0;
    LoadImage(image, [&](CArchive& archive) { archive >> stored; });
    value = static_cast<int>(stored);
    return TRUE;
}

BOOL CRegistry::Write(const char* name, const long& value)
{
    if (value < static_cast<long>(INT32_MIN) || value > static_cast<long>(INT32_MAX)) {
        return FALSE;
    }
    return Write(name, static_cast<int>(value));
}

BOOL CRegistry::Read(const char* name, long& value)
{
    int stored = 0;
    if (!Read(name, stored)) {
        return FALSE;
    }
    value = stored;
    return TRUE;
}

BOOL CRegistry::Write(const char* name, const bool& value)
{
    return Write(name, value ? 1 : 0);
}

BOOL CRegistry::Read(const char* name, bool& value)
{
    // False first, so that a failed read, and a short value that throws,
    // both leave the flag false.
    value = false;
    int stored = 0;
    if (!Read(name, stored)) {
        return FALSE;
    }
    value = stored != 0;
    return TRUE;
}

BOOL CRegistry::Write(const char* name, const CRect& rect)
{
    const CByteArray image = BuildImage([&](CArchive& archive) {
        archive << static_cast<LONG>(rect.left) << static_cast<LONG>(rect.top) << static_cast<LONG>(rect.right)
                << static_cast<LONG>(rect.bottom);
    });
    return Write(name, image);
}

BOOL CRegistry::Read(const char* name, CRect& rect)
{
    CByteArray image;
    if (!Read(name, image)) {
        return FALSE;
    }
    LONG sides[4] = {};
    LoadImage(image, [&](CArchive& archive) { archive >> sides[0] >> sides[1] >> sides[2] >> sides[3]; });
    rect.left = sides[0];
    rect.top = sides[1];
    rect.right = sides[2];
    rect.bottom = sides[3];
    return TRUE;
}

#if defined(_WIN32)
BOOL CRegistry::Write(const char* name, HWND window)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement)) {
        return FALSE;
    }
    const CByteArray image = BuildImage([&](CArchive& archive) {
        archive << static_cast<DWORD>(placement.flags) << static_cast<DWORD>(placement.showCmd)
                << static_cast<LONG>(placement.ptMinPosition.x) << static_cast<LONG>(placement.ptMinPosition.y)
                << static_cast<LONG>(placement.ptMaxPosition.x) << static_cast<LONG>(placement.ptMaxPosition.y)
                << static_cast<LONG>(placement.rcNormalPosition.left)
                << static_cast<LONG>(placement.rcNormalPosition.top)
                << static_cast<LONG>(placement.rcNormalPosition.right)
                << static_cast<LONG>(placement.rcNormalPosition.bottom);
    });
    return Write(name, image);
}

BOOL CRegistry::Read(const char* name, HWND window)
{
    // The placement is 40 bytes; a longer value does not fit the 44-byte
    // buffer and fails the query.
    BYTE buffer[44] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer;
    if (RegQueryValueExA(m_hKey, name, nullptr, &type, buffer, &size) != ERROR_SUCCESS || type != REG_BINARY) {
        return FALSE;
    }
    CByteArray image;
    image.SetSize(static_cast<int>(size));
    std::memcpy(image.GetData(), buffer, size);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    LoadImage(image, [&](CArchive& archive) {
        DWORD flags = 0;
        DWORD show = 0;
        LONG fields[8] = {};
        archive >> flags >> show;
        for (LONG& field : fields) {
            archive >> field;
        }
        placement.flags = flags;
        placement.showCmd = show;
        placement.ptMinPosition = POINT{fields[0], fields[1]};
        placement.ptMaxPosition = POINT{fields[2], fields[3]};
        placement.rcNormalPosition = RECT{fields[4], fields[5], fields[6], fields[7]};
    });
    return SetWindowPlacement(window, &placement);
}
#endif

BOOL CRegistry::Write(const char* name, CObject& object)
{
    const CByteArray image = BuildImage([&](CArchive& archive) { object.Serialize(archive); });
    return Write(name, image);
}

BOOL CRegistry::Read(const char* name, CObject& object)
{
    CByteArray image;
    if (!Read(name, image)) {
        return FALSE;
    }
    LoadImage(image, [&](CArchive& archive) { object.Serialize(archive); });
    return TRUE;
}

BOOL CRegistry::List(const char* subKey, CStringArray& names, bool listKeys)
{
    CScopedKey scoped;
    if (m_hKey == nullptr || RegOpenKeyExA(m_hKey, subKey, 0, KEY_ALL_ACCESS, scoped.Receive()) != ERROR_SUCCESS) {
        return FALSE;
    }
    const HKEY key = scoped.Get();
    DWORD count = 0;
    const LONG counted = listKeys ? RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                                                     nullptr, nullptr, nullptr, nullptr, nullptr)
                                  : RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                     &count, nullptr, nullptr, nullptr, nullptr);
    BOOL result = counted == ERROR_SUCCESS;
    if (result) {
        names.RemoveAll();
        for (DWORD index = 0; index < count; ++index) {
            char name[kNameBuffer];
            DWORD length = kNameBuffer;
            const LONG read = listKeys
                                  ? RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr)
                                  : RegEnumValueA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (read != ERROR_SUCCESS) {
                ReportEnumerationError(read, listKeys ? "RegEnumKeyEx" : "RegEnumValue",
                                       listKeys ? kListKeyLine : kListValuesLine);
                result = FALSE;
                break;
            }
            names.Add(CString(name, static_cast<int>(length)));
        }
    }
    return result;
}

BOOL CRegistry::ListKey(const char* subKey, CStringArray& names)
{
    return List(subKey, names, true);
}

BOOL CRegistry::ListValues(const char* subKey, CStringArray& names)
{
    return List(subKey, names, false);
}

COrvRegistry::COrvRegistry() : CRegistry(HKEY_CURRENT_USER)
{
}

COrvRegistry::~COrvRegistry() = default;

BOOL COrvRegistry::Open(REGSAM)
{
    return CRegistry::Open(HKEY_CURRENT_USER, ORV_SETTINGS_GLOBAL_KEY, KEY_ALL_ACCESS);
}

BOOL COrvRegistry::Open(const char* subKey, REGSAM)
{
    return CRegistry::Open(subKey, KEY_ALL_ACCESS);
}

void COrvRegistry::VerifyCreateSettingsGlobal()
{
    if (!VerifyKey(HKEY_CURRENT_USER, ORV_SETTINGS_GLOBAL_KEY, KEY_ALL_ACCESS)) {
        CreateKey(HKEY_CURRENT_USER, ORV_SETTINGS_GLOBAL_KEY, REG_OPTION_NON_VOLATILE);
    }
}
