#include "framework/win/Menu.h"

#include "platform/ModuleState.h"

CMenu::~CMenu()
{
    DestroyMenu();
}

BOOL CMenu::Attach(HMENU menu)
{
    if (menu == nullptr)
        return FALSE;
    DestroyMenu();
    m_hMenu = menu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU menu = m_hMenu;
    m_hMenu = nullptr;
    return menu;
}

BOOL CMenu::CreateMenu() { return Attach(::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }

BOOL CMenu::LoadMenu(UINT id)
{
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(4) /* RT_MENU */);
    return module != nullptr && Attach(::LoadMenuA(module, MAKEINTRESOURCEA(id)));
}

BOOL CMenu::DestroyMenu()
{
    if (m_hMenu == nullptr)
        return FALSE;
    const BOOL destroyed = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    return destroyed;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const char* text) { return ::AppendMenuA(m_hMenu, flags, id, text); }

BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR id, const char* text)
{
    return ::InsertMenuA(m_hMenu, position, flags, id, text);
}

BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR id, const char* text)
{
    return ::ModifyMenuA(m_hMenu, position, flags, id, text);
}

BOOL CMenu::DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
BOOL CMenu::RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
BOOL CMenu::InsertMenuItem(UINT item, const MENUITEMINFOA* info, BOOL byPosition)
{
    return ::InsertMenuItemA(m_hMenu, item, byPosition, info);
}

BOOL CMenu::SetDefaultItem(UINT item, BOOL byPosition) { return ::SetMenuDefaultItem(m_hMenu, item, byPosition); }

UINT CMenu::CheckMenuItem(UINT id, UINT check) { return ::CheckMenuItem(m_hMenu, id, check); }
UINT CMenu::EnableMenuItem(UINT id, UINT enable) { return ::EnableMenuItem(m_hMenu, id, enable); }
int CMenu::GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
UINT CMenu::GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
UINT CMenu::GetMenuState(UINT id, UINT flags) const { return ::GetMenuState(m_hMenu, id, flags); }

int CMenu::GetMenuString(UINT id, CString& text, UINT flags) const
{
    const int length = ::GetMenuStringA(m_hMenu, id, nullptr, 0, flags);
    if (length <= 0) {
        text.Empty();
        return 0;
    }
    char* buffer = text.GetBuffer(length + 1);
    const int copied = ::GetMenuStringA(m_hMenu, id, buffer, length + 1, flags);
    text.ReleaseBuffer(copied > 0 ? copied : 0);
    return text.GetLength();
}

HMENU CMenu::GetSubMenu(int position) const { return ::GetSubMenu(m_hMenu, position); }

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, HWND owner, const RECT* exclude) const
{
    if (exclude == nullptr)
        return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner, nullptr);
    TPMPARAMS params {sizeof(TPMPARAMS), *exclude};
    return ::TrackPopupMenuEx(m_hMenu, flags, x, y, owner, &params);
}
