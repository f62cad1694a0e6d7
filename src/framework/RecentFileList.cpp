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
