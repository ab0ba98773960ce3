#pragma once
// Menus: a menu bar or popup as a list of items (command, popup, separator) with their
// enabled and checked states. The window layer shows them with Qt menus, sends
// WM_INITMENUPOPUP to the owner window when a popup opens (so update handlers set
// the item states) and posts WM_COMMAND when an item is chosen.
#include "framework/core/CObject.h"
#include "framework/core/CString.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/UiDefs.h"

class CWnd;

constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_MENUBARBREAK = 0x0020;
constexpr UINT MF_MENUBREAK = 0x0040;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_HELP = 0x4000;

constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

class CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)
public:
    CMenu() = default;
    ~CMenu() override; // destroys the attached menu
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;

    // Permanent object of the handle, else a temporary one that lives with the menu.
    static CMenu* FromHandle(HMENU hMenu);
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }
    BOOL Attach(HMENU hMenu);
    HMENU Detach();

    BOOL CreateMenu();      // an empty menu bar
    BOOL CreatePopupMenu(); // an empty popup
    // The menu resource of that id from the current resource module.
    BOOL LoadMenu(UINT nIDResource);
    BOOL DestroyMenu();

    UINT GetMenuItemCount() const;
    // Command id of the item at the position; -1 for a popup or a bad position, 0 for a separator.
    UINT GetMenuItemID(int nPos) const;
    CMenu* GetSubMenu(int nPos) const;
    // MF_ state bits of an item (for a popup the item count in the high byte); -1 when missing.
    UINT GetMenuState(UINT nID, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;

    // With MF_POPUP, nIDNewItem is the popup's HMENU (its ownership moves to this menu).
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL RemoveMenu(UINT nPosition, UINT nFlags); // a popup removed is not destroyed
    BOOL DeleteMenu(UINT nPosition, UINT nFlags); // a popup removed is destroyed

    // Previous state (MF_ENABLED/MF_GRAYED/MF_DISABLED, MF_CHECKED/MF_UNCHECKED), -1 when missing.
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);

    // Shows the popup at a screen point for the owner window: WM_INITMENUPOPUP first, then
    // the chosen command is posted to the owner (TPM_RETURNCMD: returned instead).
    // Under a ScriptedUi nothing is shown and nothing is chosen.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
};

BOOL IsMenu(HMENU hMenu);
BOOL DestroyMenu(HMENU hMenu);

// Menu items as the update handlers see them: the state goes into the menu.
class CMenuCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn = TRUE) override;
    void SetCheck(int nCheck = 1) override;
    void SetText(LPCTSTR lpszText) override;
};

// Runs the update handlers of every item of a popup through the target's route
// (bDisableIfNoHandler: items nobody handles are disabled).
void AfxUpdateMenuItems(CMenu* pPopup, CCmdTarget* pTarget, BOOL bDisableIfNoHandler);
