#pragma once
// A property sheet: pages on tabs with OK, Cancel, Apply and Help; or, in wizard mode,
// one page at a time with Back, Next (or Finish), Cancel and Help. DoModal returns IDOK,
// IDCANCEL or ID_WIZFINISH.
//
// Keyboard: Ctrl+Tab and Ctrl+PageDown show the next page of a tabbed sheet, Ctrl+Shift+Tab
// and Ctrl+PageUp the previous one, round the ends; the tab strip is a tab stop before
// the page, and with the focus its arrow keys choose the page. Every way of choosing a
// page leaves the shown one as a click on its tab does, so a page may refuse. A shown
// page gets the focus on its first tab stop; a wizard page without one gives it to the
// default button (Next or Finish), which Return presses.
//
// Order of the page handlers: a page is made (OnInitDialog, which loads its members) the
// first time it is shown, then OnSetActive. Leaving it: OnWizardNext or OnWizardBack
// first (wizards), then OnKillActive, then the next page's OnSetActive. OK: OnKillActive
// of the shown page, then OnApply of every page made so far. Cancel: OnQueryCancel of the
// shown page, then OnReset of every page made. Finish: OnWizardFinish of the shown page.
#include "framework/core/CString.h"
#include "framework/ui/CPropertyPage.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"

#include <vector>

class CPropertySheetTabs;

struct PROPSHEETHEADER {
    DWORD dwFlags = PSH_DEFAULT; // PSH_WIZARD, PSH_NOAPPLYNOW, PSH_HASHELP
    UINT nStartPage = 0;
};

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CPropertySheet() override;

    void Construct(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    void Construct(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    // Pages stay the caller's; they must outlive the sheet's run.
    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    int GetPageCount() const { return int(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    // Leaves the shown page as the user would (it may refuse) and shows the other.
    BOOL SetActivePage(int nPage);

    void SetTitle(LPCTSTR lpszText, UINT nStyle = 0);
    void SetWizardMode();
    BOOL IsWizard() const { return (m_psh.dwFlags & PSH_WIZARD) != 0; }
    // PSWIZB_BACK, PSWIZB_NEXT, PSWIZB_FINISH (Finish instead of Next), PSWIZB_DISABLEDFINISH.
    void SetWizardButtons(DWORD dwFlags);
    // Shows the Finish button, enabled and with this text, instead of Next.
    void SetFinishText(LPCTSTR lpszText);
    void EndDialog(int nEndID);

    virtual INT_PTR DoModal();
    // Runs once the sheet and its buttons exist; the default shows the start page.
    virtual BOOL OnInitDialog();

    PROPSHEETHEADER m_psh;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    LRESULT OnSetWizButtons(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFinishText(WPARAM wParam, LPARAM lParam);
    LRESULT OnPageChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnPageUnchanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCurSel(WPARAM wParam, LPARAM lParam);
    LRESULT OnPressButton(WPARAM wParam, LPARAM lParam);

    CWnd* m_pParentWnd = nullptr;
    CString m_strCaption;

private:
    BOOL CreateSheetWindow();
    void LayOutButtons();
    // direction +1 or -1: a refusing wizard page passes on to the next one that way; 0: no passing on.
    bool ShowPage(int index, int direction);
    bool LeavePage();
    void MoveToPage(int target, int direction);
    void OnOkButton();
    void OnApplyButton();
    void OnCancelButton();
    void OnBackOrNext(bool next);
    void OnFinishButton();
    void UpdateApplyButton();
    void OnPageChosen(int index);
    bool TurnPageByKey(int virtualKey);
    void FocusShownPage();
    void FocusDefaultButton();
    // After the wizard buttons changed: a page without a tab stop gives the keyboard to
    // the default button; a focused button that went out of reach gives it to the page.
    void KeepWizardFocus(HWND focusBefore);
    void ChainTabOrder();
    int PageIndexOfTemplate(UINT nTemplateId) const;

    std::vector<CPropertyPage*> m_pages;
    int m_active = -1;
    CPropertySheetTabs* m_tabs = nullptr; // a tabbed sheet's tabs; the window owns them
    CRect m_pageArea;

    DECLARE_MESSAGE_MAP()
};
