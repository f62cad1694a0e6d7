#include "services/IniFile.h"

#include "platform/Profile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

// The private-profile reads fill a buffer of this many characters.
constexpr DWORD kValueBuffer = 256;
// Key name lists are read into a buffer that doubles until the list fits,
// up to this size; a section with more names than that lists the first.
constexpr DWORD kLargestKeyList = 16 * 1024 * 1024;

// atol's reading, but saturating instead of overflowing.
long ParseLong(const CString& text)
{
    char* end = nullptr;
    const long value = std::strtol(text.GetString(), &end, 10);
    return end == text.GetString() ? 0 : value;
}

CString FormatLong(long value)
{
    CString text;
    text.Format("%ld", value);
    return text;
}

CString FormatDouble(double value)
{
    if (value == 0.0) {
        return CString("0");
    }
    CString text;
    text.Format("%f", value);
    return text;
}

} // namespace

CIniFile::CIniFile(const char* file, const char* section)
{
    SetFile(file);
    SetSection(section);
}

BOOL CIniFile::SetFile(const char* path)
{
    if (path == nullptr) {
        char folder[260] = {};
        const UINT length = GetWindowsDirectoryA(folder, sizeof folder);
        m_strFile = CString(folder, length < sizeof folder ? static_cast<int>(length) : 0) + "\\WIN.INI";
        return TRUE;
    }
    if (!PathFileExistsA(path)) {
        return FALSE;
    }
    m_strFile = path;
    return TRUE;
}

void CIniFile::SetSection(const char* name)
{
    m_strSection = name;
}

CString CIniFile::GetString(const char* section, const char* key, const char* defaultText) const
{
    char buffer[kValueBuffer] = {};
    const DWORD length = GetPrivateProfileStringA(SectionOr(section), key, defaultText != nullptr ? defaultText : "",
                                                  buffer, kValueBuffer, m_strFile);
    return CString(buffer, static_cast<int>(length < kValueBuffer ? length : kValueBuffer - 1));
}

BOOL CIniFile::SetString(const char* section, const char* key, const char* value) const
{
    return WritePrivateProfileStringA(SectionOr(section), key, value, m_strFile);
}

bool CIniFile::GetBool(const char* section, const char* key, bool defaultValue) const
{
    const CString text = GetString(section, key, defaultValue ? "1" : "0");
    if (text.IsEmpty()) {
        return false;
    }
    const char first = text[0];
    return first == '1' || first == 'y' || first == 'Y';
}

BOOL CIniFile::SetBool(const char* section, const char* key, bool value) const
{
    return SetString(section, key, value ? "1" : "0");
}

long CIniFile::GetLong(const char* section, const char* key, long defaultValue) const
{
    return ParseLong(GetString(section, key, FormatLong(defaultValue)));
}

BOOL CIniFile::SetLong(const char* section, const char* key, long value) const
{
    return SetString(section, key, FormatLong(value));
}

int CIniFile::GetInt(const char* section, const char* key, int defaultValue) const
{
    const long value = GetLong(section, key, defaultValue);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

BOOL CIniFile::SetInt(const char* section, const char* key, int value) const
{
    return SetLong(section, key, value);
}

double CIniFile::GetDouble(const char* section, const char* key, double defaultValue) const
{
    const CString text = GetString(section, key, FormatDouble(defaultValue));
    return std::strtod(text.GetString(), nullptr);
}

BOOL CIniFile::SetDouble(const char* section, const char* key, double value) const
{
    return SetString(section, key, FormatDouble(value));
}

bool CIniFile::GetKeyNames(const char* section, CStringArray& names) const
{
    // A null key asks for the list of key names: each ends in a NUL and the
    // list in another. A list cut short comes back with length size - 2.
    CString list;
    DWORD size = 4096;
    DWORD length = 0;
    for (;;) {
        char* buffer = list.GetBuffer(static_cast<int>(size));
        length = GetPrivateProfileStringA(SectionOr(section), nullptr, "", buffer, size, m_strFile);
        list.ReleaseBuffer(static_cast<int>(length < size ? length : 0));
        if (length + 2 < size || size >= kLargestKeyList) {
            break;
        }
        size *= 2;
    }
    if (length == 0) {
        return false;
    }
    const char* text = list.GetString();
    int start = 0;
    for (int i = 0; i < static_cast<int>(length); ++i) {
        if (text[i] == '\0') {
            if (i > start) {
                names.Add(CString(text + start, i - start));
            }
            start = i + 1;
        }
    }
    if (start < static_cast<int>(length)) {
        names.Add(CString(text + start, static_cast<int>(length) - start));
    }
    return true;
}

BOOL CIniFile::DeleteSection(const char* section) const
{
    return WritePrivateProfileSectionA(SectionOr(section), nullptr, m_strFile);
}
