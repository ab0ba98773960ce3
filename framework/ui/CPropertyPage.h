#pragma once
// One page of a property sheet or wizard: a child dialog from its own template, made
// when the page is first shown. The sheet calls the page's handlers in a fixed order.
#include "framework/core/CString.h"
#include "framework/ui/CDialog.h"

class CPropertySheet;

// What the sheet knows of a page besides its template.
struct PROPSHEETPAGE {
    DWORD dwFlags = PSP_DEFAULT; // PSP_USETITLE, PSP_HASHELP
    UINT nTemplateId = 0;
    CString strTitle;            // with PSP_USETITLE: the tab text instead of the template caption
};

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    // nIDCaption: a string id for the tab text; 0 keeps the template's caption.
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    void Construct(UINT nIDTemplate, UINT nIDCaption = 0);

    // The page becomes the shown one; FALSE refuses (a wizard then moves on in the same
    // direction). The default refreshes the controls from the members after the first time.
    virtual BOOL OnSetActive();
    // The page is left (another page, OK, Apply, Next or Back); FALSE keeps it. The default
    // validates and takes the controls' values (UpdateData).
    virtual BOOL OnKillActive();
    // OK and Apply reach every page that was shown: OnApply (default: OnOK, TRUE).
    virtual BOOL OnApply();
    virtual void OnOK();
    // Cancel: OnQueryCancel on the shown page (FALSE keeps the sheet open), then OnReset
    // (default: OnCancel) on every page that was shown.
    virtual BOOL OnQueryCancel();
    virtual void OnReset();
    virtual void OnCancel();
    // Wizard buttons: 0 goes to the neighbouring page, -1 stays, a page's template id goes
    // to that page. OnWizardFinish: FALSE keeps the wizard open.
    virtual LRESULT OnWizardBack();
    virtual LRESULT OnWizardNext();
    virtual BOOL OnWizardFinish();

    // Tells the sheet the page has changes to apply (enables Apply) or has none left.
    void SetModified(BOOL bChanged = TRUE);
    BOOL IsModified() const { return m_bModified; }

    // The tab text: the caption string, else the template's caption.
    CString GetCaption() const;

    PROPSHEETPAGE m_psp;

protected:
    friend class CPropertySheet;
    BOOL m_bFirstSetActive = TRUE;
    BOOL m_bModified = FALSE;
    UINT m_nIDCaption = 0;
};
