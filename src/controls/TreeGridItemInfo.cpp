#include "controls/TreeGridItemInfo.h"

CTreeGridItemInfo::~CTreeGridItemInfo() = default;

void CTreeGridItemInfo::SetItemText(const CString& text, COLORREF color)
{
    m_strItemName = text;
    m_clf = color;
}

BOOL CTreeGridItemInfo::SetSubItemText(int subItem, const CString& text)
{
    if (subItem < 0)
        return FALSE;
    if (subItem >= m_subItems.GetSize())
        m_subItems.SetSize(subItem + 1);
    m_subItems[subItem] = text;
    return TRUE;
}

CString CTreeGridItemInfo::GetSubItem(int subItem) const
{
    if (subItem < 0 || subItem >= m_subItems.GetSize())
        return CString();
    return m_subItems[subItem];
}

void CTreeGridItemInfo::SetControlType(CONTROLTYPE type, int column)
{
    m_controlTypes[column] = type;
}

BOOL CTreeGridItemInfo::GetControlType(int column, CONTROLTYPE& type) const
{
    const auto found = m_controlTypes.find(column);
    type = found == m_controlTypes.end() ? edit : found->second;
    return found != m_controlTypes.end();
}

void CTreeGridItemInfo::SetListData(int column, const CStringArray& list)
{
    CStringArray& copy = m_listData[column];
    copy.RemoveAll();
    copy.Append(list);
}

const CStringArray* CTreeGridItemInfo::GetListData(int column) const
{
    const auto found = m_listData.find(column);
    return found == m_listData.end() ? nullptr : &found->second;
}

COLORREF CTreeGridItemInfo::GetBkColor(int column) const
{
    const auto found = m_colors.find(column);
    return found == m_colors.end() ? kDefaultColor : found->second;
}

void CTreeGridItemInfo::CopyObjects(const CTreeGridItemInfo& other)
{
    m_strItemName = other.m_strItemName;
    m_clf = other.m_clf;
    m_subItems.RemoveAll();
    m_subItems.Append(other.m_subItems);
    m_bCheck = other.m_bCheck;
    m_iImage = other.m_iImage;
    m_dwUserValue = other.m_dwUserValue;
}

void CTreeGridItemInfo::CopyControls(const CTreeGridItemInfo& other)
{
    m_controlTypes = other.m_controlTypes;
    m_listData.clear();
    for (const auto& [column, list] : other.m_listData)
        SetListData(column, list);
}

void CTreeGridItemInfo::CopyColors(const CTreeGridItemInfo& other)
{
    m_colors = other.m_colors;
}
