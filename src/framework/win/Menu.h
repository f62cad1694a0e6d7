// CMenu: a menu handle, owned (destroyed with the object) unless detached.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "base/Types.h"

class ORV_API CMenu {
public:
    CMenu() = default;
    ~CMenu();

    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU GetSafeHmenu() const noexcept { return m_hMenu; }
    operator HMENU() const noexcept { return m_hMenu; }
    // Destroys the menu held before, then holds this one.
    BOOL Attach(HMENU menu);
    HMENU Detach();

    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    // Loads a menu from the module that holds it (see ModuleState.h).
    BOOL LoadMenu(UINT id);
    BOOL DestroyMenu();

    BOOL AppendMenu(UINT flags, UINT_PTR idNewItem = 0, const char* text = nullptr);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR idNewItem = 0, const char* text = nullptr);
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR idNewItem = 0, const char* text = nullptr);
    BOOL DeleteMenu(UINT position, UINT flags);
    BOOL RemoveMenu(UINT position, UINT flags);
    BOOL InsertMenuItem(UINT item, const MENUITEMINFOA* info, BOOL byPosition);
    // The default item is drawn in bold; -1 clears it.
    BOOL SetDefaultItem(UINT item, BOOL byPosition);
    UINT CheckMenuItem(UINT id, UINT check);
    UINT EnableMenuItem(UINT id, UINT enable);

    int GetMenuItemCount() const;
    UINT GetMenuItemID(int position) const;
    UINT GetMenuState(UINT id, UINT flags) const;
    int GetMenuString(UINT id, CString& text, UINT flags) const;
    // The popup at the position, or null. The menu stays owned by this one.
    HMENU GetSubMenu(int position) const;

    // Shows the menu as a popup; with TPM_RETURNCMD the chosen command is
    // the result.
    BOOL TrackPopupMenu(UINT flags, int x, int y, HWND owner, const RECT* exclude = nullptr) const;

private:
    HMENU m_hMenu = nullptr;
};
