#include "framework/win/ImageList.h"

// ------------------------------------------------------------------ CIcon

CIcon::~CIcon()
{
    DestroyIcon();
}

CIcon& CIcon::operator=(CIcon&& other) noexcept
{
    if (this != &other)
        Attach(other.Detach());
    return *this;
}

void CIcon::Attach(HICON icon) noexcept
{
    if (icon == m_hIcon)
        return;
    DestroyIcon();
    m_hIcon = icon;
}

HICON CIcon::Detach() noexcept
{
    HICON icon = m_hIcon;
    m_hIcon = nullptr;
    return icon;
}

BOOL CIcon::CopyFrom(HICON icon)
{
    HICON copy = icon != nullptr ? ::CopyIcon(icon) : nullptr;
    if (copy == nullptr)
        return FALSE;
    Attach(copy);
    return TRUE;
}

BOOL CIcon::DestroyIcon() noexcept
{
    if (m_hIcon == nullptr)
        return FALSE;
    const BOOL destroyed = ::DestroyIcon(m_hIcon);
    m_hIcon = nullptr;
    return destroyed;
}

// ------------------------------------------------------------- CImageList

CImageList::~CImageList()
{
    DeleteImageList();
}

BOOL CImageList::Attach(HIMAGELIST list)
{
    if (list == nullptr)
        return FALSE;
    if (list != m_hImageList)
        DeleteImageList();
    m_hImageList = list;
    return TRUE;
}

HIMAGELIST CImageList::Detach() noexcept
{
    HIMAGELIST list = m_hImageList;
    m_hImageList = nullptr;
    return list;
}

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    return Attach(::ImageList_Create(cx, cy, flags, initial, grow));
}

BOOL CImageList::DeleteImageList()
{
    if (m_hImageList == nullptr)
        return FALSE;
    const BOOL destroyed = ::ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return destroyed;
}

int CImageList::GetImageCount() const { return m_hImageList != nullptr ? ::ImageList_GetImageCount(m_hImageList) : 0; }

BOOL CImageList::GetIconSize(int& cx, int& cy) const { return ::ImageList_GetIconSize(m_hImageList, &cx, &cy); }
int CImageList::Add(HICON icon) { return ::ImageList_ReplaceIcon(m_hImageList, -1, icon); }

BOOL CImageList::Draw(HDC dc, int index, POINT point, UINT style) const
{
    return ::ImageList_Draw(m_hImageList, index, dc, point.x, point.y, style);
}

int CImageList::AddMasked(HBITMAP bitmap, COLORREF mask)
{
    return m_hImageList != nullptr ? ::ImageList_AddMasked(m_hImageList, bitmap, mask) : -1;
}
