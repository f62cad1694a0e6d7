#include "framework/RecentFileList.h"

#include <algorithm>

CRecentFileList::CRecentFileList(UINT start, const char* section, const char* entryFormat, int size,
                                 int maxDisplayLength)
    : m_nSize(std::max(size, 0))
    , m_strSectionName(section)
    , m_strEntryFormat(entryFormat)
    , m_nStart(start)
    , m_nMaxDisplayLength(maxDisplayLength)
{
    m_arrNames.SetSize(m_nSize);
}

CRecentFileList::~CRecentFileList() = default;

void CRecentFileList::Remove(int index)
{
    m_arrNames.RemoveAt(index);
    m_arrNames.Add(CString());
}

void CRecentFileList::Add(const char* pathName)
{
    if (pathName == nullptr || *pathName == '\0' || m_nSize == 0) {
        return;
    }
    int hole = m_nSize - 1;
    for (int i = 0; i < m_nSize; ++i) {
        if (m_arrNames[i].CompareNoCase(pathName) == 0) {
            hole = i;
            break;
        }
    }
    MoveToFront(hole, pathName);
}

void CRecentFileList::MoveToFront(int hole, const char* text)
{
    // The text may be one of the entries being moved: copy it first.
    const CString front(text);
    for (int i = hole; i > 0; --i) {
        m_arrNames[i] = m_arrNames[i - 1];
    }
    m_arrNames[0] = front;
}
