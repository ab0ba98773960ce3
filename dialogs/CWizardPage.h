#pragma once
// The base of every wizard page: a property page with a picture on its left side
// (control 2085 of the page template, a disabled picture button showing the wizard's
// bitmap) and access to the sheet that runs it.
#include "dialogs/controls/CPictureButton.h"
#include "framework/ui/CPropertyPage.h"
#include "framework/ui/CPropertySheet.h"

class CWizardPage : public CPropertyPage {
    DECLARE_DYNAMIC(CWizardPage)
public:
    static constexpr int IDC_WIZARD_PICTURE = 2085;

    // Wizard button sets the pages ask for.
    static constexpr DWORD kButtonsNext = PSWIZB_NEXT;                    // 2
    static constexpr DWORD kButtonsBackNext = PSWIZB_BACK | PSWIZB_NEXT;  // 3
    static constexpr DWORD kButtonsBackFinish = PSWIZB_BACK | PSWIZB_FINISH; // 5

    CWizardPage(UINT nIDTemplate, UINT nIDBitmap);
    ~CWizardPage() override;

    // Binds the picture to control 2085, loads the bitmap, sizes the picture to it and
    // disables it so that it takes neither the focus nor a click. A template without the
    // control gets no picture; the page works all the same.
    BOOL OnInitDialog() override;

    // The sheet the page is shown in, null before it is.
    CPropertySheet* GetSheet() const;
    UINT GetBitmapId() const { return m_nIDBitmap; }
    const CPictureButton& GetPicture() const { return m_picture; }

protected:
    // Posted to the sheet; takes effect once the calling handler has returned.
    void SetWizardButtons(DWORD dwFlags) const;
    void SetFinishText(LPCTSTR lpszText) const;
    // Whether the page is the sheet's first one: the edit variants of the wizards start
    // on a later page.
    bool IsFirstPage() const;
    // Back and Next, or Next only on the sheet's first page.
    void SetBackNextButtons() const;
    // A wizard's last page: Back and Finish, the finish button reading "OK".
    void SetFinishButtons() const;

private:
    CPictureButton m_picture;
    UINT m_nIDBitmap;
};

// A page of one wizard class that keeps its sheet: every exchange first runs the
// framework's exchange and then stores the page's sheet, through which the page reaches
// its wizard.
template <class Wizard>
class CWizardPageOf : public CWizardPage {
public:
    // The wizard the page runs in; null before the page is shown.
    Wizard* GetWizard() const { return dynamic_cast<Wizard*>(m_pSheet ? m_pSheet : GetSheet()); }

protected:
    CWizardPageOf(UINT nIDTemplate, UINT nIDBitmap) : CWizardPage(nIDTemplate, nIDBitmap) {}

    void DoDataExchange(CDataExchange* pDX) override
    {
        CWizardPage::DoDataExchange(pDX);
        m_pSheet = GetSheet();
    }

    CPropertySheet* m_pSheet = nullptr;
};
