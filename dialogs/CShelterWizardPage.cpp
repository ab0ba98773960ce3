#include "dialogs/CShelterWizardPage.h"

#include "dialogs/CShelterWizard.h"
#include "framework/core/Resources.h"
#include "framework/ui/DDX.h"
#include "framework/ui/MessageBox.h"

IMPLEMENT_DYNAMIC(CShelterWizardPage, CWizardPage)

CShelterWizardPage::CShelterWizardPage(UINT nIDTemplate) : CWizardPageOf(nIDTemplate, IDB_SIDE_PICTURE) {}

// ------------------------------------------------------------------ name

CShelterNamePage::CShelterNamePage() : CShelterWizardPage(IDD) {}

void CShelterNamePage::DoDataExchange(CDataExchange* pDX)
{
    CShelterWizardPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_NAME, m_strName);
    DDV_MaxChars(pDX, m_strName, kMaxNameLength);
}

BOOL CShelterNamePage::OnSetActive()
{
    SetWizardButtons(kButtonsNext);
    if (CShelterWizard* wizard = GetWizard()) {
        CString caption;
        caption.LoadString(CShelterWizard::IDS_CAPTION);
        wizard->SetTitle(caption);
        m_strName = wizard->m_strName;
    }
    UpdateData(FALSE);
    return TRUE;
}

BOOL CShelterNamePage::OnKillActive()
{
    if (!CShelterWizardPage::OnKillActive()) return FALSE;
    CShelterWizard* wizard = GetWizard();
    if (!wizard) return TRUE;
    if (wizard->IsNameUsed(m_strName)) {
        CString text;
        AfxFormatString1(text, IDP_NAME_USED, m_strName);
        AfxMessageBox(text, MB_OK, IDP_NAME_USED);
        if (CWnd* edit = GetDlgItem(IDC_NAME)) GotoDlgCtrl(edit);
        return FALSE;
    }
    wizard->m_strName = m_strName;
    return TRUE;
}

// ------------------------------------------------------------------ shapes

BEGIN_MESSAGE_MAP(CShelterShapePage, CShelterWizardPage)
    ON_CBN_SELCHANGE(CShelterShapes::IDC_PROTECTIVE_SHAPE, OnShapeChanged)
    ON_CBN_SELCHANGE(CShelterShapes::IDC_WARNING_SHAPE, OnShapeChanged)
    ON_CONTROL_RANGE(BN_CLICKED, CShelterShapes::IDC_PROTECTIVE_SIZES, CShelterShapes::IDC_WARNING_SIZES, OnSizes)
END_MESSAGE_MAP()

CShelterShapePage::CShelterShapePage() : CShelterShapesPageBase(IDD) {}

CShelterShapes* CShelterShapePage::GetShapes()
{
    CShelterWizard* wizard = GetWizard();
    return wizard ? &wizard->m_shapes : nullptr;
}

const CSensorType* CShelterShapePage::GetShapesType() const
{
    const CShelterWizard* wizard = GetWizard();
    return wizard ? &wizard->m_sensorType : nullptr;
}

// ------------------------------------------------------------------ end

CShelterFinishPage::CShelterFinishPage() : CShelterWizardPage(IDD) {}

BOOL CShelterFinishPage::OnSetActive()
{
    SetFinishButtons();
    return CShelterWizardPage::OnSetActive();
}
