// CRecentFileList, the fixed-size list of recent entries behind a menu of
// recently used items.
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/String.h"
#include "base/Types.h"

// A list of `size` text entries, newest first; an empty string is an empty
// slot. The section and entry format name where a derived list keeps its
// entries; the first command identifier and the display length are kept for
// the menu that shows the list. Copies copy every field. Adding, reading and
// writing entries belong to the derived list.
class ORV_API CRecentFileList {
public:
    // A size below 0 is taken as 0: a list with no slots, to which nothing
    // can be added.
    CRecentFileList(UINT start, const char* section, const char* entryFormat, int size,
                    int maxDisplayLength = 30);
    virtual ~CRecentFileList();

    CRecentFileList(const CRecentFileList&) = default;
    CRecentFileList& operator=(const CRecentFileList&) = default;

    int GetSize() const noexcept { return m_nSize; }
    // The entry at index; outside [0, GetSize()) throws CInvalidArgException.
    CString& operator[](int index) { return m_arrNames[index]; }
    const CString& operator[](int index) const { return m_arrNames[index]; }

protected:
    int m_nSize;
    CStringArray m_arrNames;
    CString m_strSectionName;
    CString m_strEntryFormat;
    UINT m_nStart;
    int m_nMaxDisplayLength;
};
