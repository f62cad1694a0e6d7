// CImageList, an image list the object owns, and CIcon, an icon handle the
// object owns. Both destroy their handle when they go or are given another.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

#include <commctrl.h>

class ORV_API CIcon {
public:
    CIcon() = default;
    explicit CIcon(HICON icon) noexcept : m_hIcon(icon) {}
    ~CIcon();

    CIcon(const CIcon&) = delete;
    CIcon& operator=(const CIcon&) = delete;
    CIcon(CIcon&& other) noexcept : m_hIcon(other.Detach()) {}
    CIcon& operator=(CIcon&& other) noexcept;

    HICON GetSafeHandle() const noexcept { return m_hIcon; }
    operator HICON() const noexcept { return m_hIcon; }
    bool IsNull() const noexcept { return m_hIcon == nullptr; }
    // Destroys the icon held before, then holds this one.
    void Attach(HICON icon) noexcept;
    HICON Detach() noexcept;
    // Holds a copy of the icon (the caller keeps its own); FALSE when the
    // icon is null or cannot be copied.
    BOOL CopyFrom(HICON icon);
    BOOL DestroyIcon() noexcept;

private:
    HICON m_hIcon = nullptr;
};

class ORV_API CImageList {
public:
    CImageList() = default;
    ~CImageList();

    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST GetSafeHandle() const noexcept { return m_hImageList; }
    operator HIMAGELIST() const noexcept { return m_hImageList; }
    bool IsNull() const noexcept { return m_hImageList == nullptr; }
    // Destroys the list held before, then holds this one. FALSE for null.
    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach() noexcept;

    // A new empty list of images of the size, with ILC_ flags (colour depth,
    // ILC_MASK), room for `initial` images and growing by `grow`.
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    BOOL DeleteImageList();

    int GetImageCount() const;
    BOOL GetIconSize(int& cx, int& cy) const;
    // Adds the icon's image, scaled to the list's size; the icon stays the
    // caller's. Returns the new index, or -1.
    int Add(HICON icon);
    // Adds the bitmap's images, one per list width, with pixels of the mask
    // colour left transparent; the bitmap stays the caller's. Returns the
    // first new index, or -1.
    int AddMasked(HBITMAP bitmap, COLORREF mask);
    // Draws the image with its top-left at the point; style is ILD_ flags.
    BOOL Draw(HDC dc, int index, POINT point, UINT style = ILD_NORMAL) const;

private:
    HIMAGELIST m_hImageList = nullptr;
};
