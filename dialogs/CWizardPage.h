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

private:
    CPictureButton m_picture;
    UINT m_nIDBitmap;
};
