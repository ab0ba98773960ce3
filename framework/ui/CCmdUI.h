#pragma once
// The state of one user-interface item (menu item, tool bar button, status pane, bar
// control) as the update handlers see it. The item kind derives and applies the state.
#include "framework/core/CString.h"
#include "framework/ui/UiDefs.h"

class CCmdTarget;
class CMenu;
class CWnd;

class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1); // 0 unchecked, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCTSTR lpszText);

    // Lets the update request go on to the next target of the route after this handler.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks the target's route for the item's state; with bDisableIfNoHandler an item that
    // no update handler enabled is enabled exactly when some target handles its command.
    void DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CMenu* m_pMenu = nullptr;       // the menu of a menu item, else nullptr
    CMenu* m_pSubMenu = nullptr;    // a popup's menu when the item opens one
    CMenu* m_pParentMenu = nullptr;
    CWnd* m_pOther = nullptr;       // the bar or control of a non-menu item
    UINT m_nIndexMax = 0;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
};

// Collects the state an update handler sets without applying it anywhere; the window
// layer uses it to test whether a command is enabled before running it.
class CTestCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn = TRUE) override;
    void SetCheck(int nCheck = 1) override;
    void SetRadio(BOOL bOn = TRUE) override;
    void SetText(LPCTSTR lpszText) override;

    BOOL m_bEnabled = TRUE;
    int m_nCheck = -1; // -1 while no handler set a check state
    CString m_strText;
    BOOL m_bTextSet = FALSE;
};
