#include "controls/win/WindowWrappers.h"

#include "framework/win/Wnd.h"

#include <cstring>

CClientRect::CClientRect(HWND wnd)
{
    if (!::GetClientRect(wnd, this))
        SetRectEmpty();
}

CWindowRect::CWindowRect(HWND wnd)
{
    if (!::GetWindowRect(wnd, this))
        SetRectEmpty();
}

CWindowRect::CWindowRect(HWND wnd, HWND relativeTo) : CWindowRect(wnd)
{
    ::MapWindowPoints(nullptr, relativeTo, reinterpret_cast<POINT*>(static_cast<RECT*>(this)), 2);
}

CWindowRect& CWindowRect::operator=(const RECT& rect)
{
    SetRect(rect.left, rect.top, rect.right, rect.bottom);
    return *this;
}

CWindowText::CWindowText(HWND wnd) : CWindowText(ReadWindowText(wnd).GetString()) {}

CWindowText::CWindowText(const char* text)
{
    const size_t length = text != nullptr ? std::strlen(text) : 0;
    m_pText = new char[length + 1];
    if (length > 0)
        std::memcpy(m_pText, text, length);
    m_pText[length] = '\0';
}

CWindowText::~CWindowText()
{
    delete[] m_pText;
}

int CWindowText::GetLength() const
{
    return static_cast<int>(std::strlen(m_pText));
}

CWindowClass::CWindowClass(HWND wnd)
{
    char name[256] = "";
    if (wnd != nullptr && ::GetClassNameA(wnd, name, sizeof name) > 0)
        m_text = name;
}

CWindowRedraw::CWindowRedraw(HWND wnd) : m_hWnd(wnd)
{
    ::SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
}

CWindowRedraw::~CWindowRedraw()
{
    ::SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}
