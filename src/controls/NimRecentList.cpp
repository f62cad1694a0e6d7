#include "controls/NimRecentList.h"

#include "services/Registry.h"

#include <cstring>

namespace {

// True when format holds exactly one integer conversion and nothing else
// that printf would read an argument for.
bool IsSingleIntegerFormat(const char* format)
{
    int conversions = 0;
    for (const char* at = format; *at != '\0'; ++at) {
        if (*at != '%') {
            continue;
        }
        ++at;
        if (*at == '%') {
            continue;
        }
        at += std::strspn(at, "-+ 0#");
        at += std::strspn(at, "0123456789");
        if (*at == '\0' || std::strchr("diu", *at) == nullptr) {
            return false;
        }
        ++conversions;
    }
    return conversions == 1;
}

} // namespace

CNimRecentList::CNimRecentList(UINT start, const char* section, const char* entryFormat, int size,
                               int maxDisplayLength)
    : CRecentFileList(start, section, entryFormat, size, maxDisplayLength)
{
}

CNimRecentList::~CNimRecentList() = default;

void CNimRecentList::Add(const char* text)
{
    if (text == nullptr || *text == '\0' || m_nSize == 0) {
        return;
    }
    // The last slot is not searched: it is the hole when nothing matches.
    int hole = m_nSize - 1;
    for (int i = 0; i < m_nSize - 1; ++i) {
        if (m_arrNames[i].Compare(text) == 0) {
            hole = i;
            break;
        }
    }
    // The text may be one of the entries about to move: copy it first.
    const CString front(text);
    for (int i = hole; i > 0; --i) {
        m_arrNames[i] = m_arrNames[i - 1];
    }
    m_arrNames[0] = front;
}

BOOL CNimRecentList::ReadListEx(HKEY root, const char* basePath)
{
    CString name;
    if (!ValueName(1, name)) {
        return FALSE;
    }
    const CString path = KeyPath(basePath);
    CRegistry registry(root);
    if (!registry.VerifyKey(root, path, KEY_ALL_ACCESS)) {
        registry.CreateKey(root, path);
    }
    if (!registry.Open(root, path, KEY_ALL_ACCESS)) {
        return FALSE;
    }
    for (int position = 1; position <= m_nSize; ++position) {
        ValueName(position, name);
        registry.ReadString(name, m_arrNames[position - 1]);
    }
    return TRUE;
}

BOOL CNimRecentList::WriteListEx(HKEY root, const char* basePath)
{
    CString name;
    if (!ValueName(1, name)) {
        return FALSE;
    }
    const CString path = KeyPath(basePath);
    CRegistry registry(root);
    // A key with subkeys refuses a plain delete; it is then opened as it
    // is and its values are overwritten.
    if (registry.VerifyKey(root, path, KEY_ALL_ACCESS)) {
        registry.DeleteKey(root, path, FALSE);
    }
    if (!registry.CreateKey(root, path)) {
        return FALSE;
    }
    BOOL written = TRUE;
    for (int position = 1; position <= m_nSize; ++position) {
        const CString& entry = m_arrNames[position - 1];
        if (!entry.IsEmpty()) {
            ValueName(position, name);
            written = registry.WriteString(name, entry) && written;
        }
    }
    registry.Close();
    return written;
}

CString CNimRecentList::KeyPath(const char* basePath) const
{
    return CString(basePath) + "\\" + m_strSectionName;
}

bool CNimRecentList::ValueName(int position, CString& name) const
{
    if (!IsSingleIntegerFormat(m_strEntryFormat)) {
        return false;
    }
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    name.Format(m_strEntryFormat, position);
#pragma GCC diagnostic pop
    return true;
}
