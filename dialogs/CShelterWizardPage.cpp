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
    ON_BN_CLICKED(CShelterShapes::IDC_PROTECTIVE_SIZES, OnProtectiveSizes)
    ON_BN_CLICKED(CShelterShapes::IDC_WARNING_SIZES, OnWarningSizes)
END_MESSAGE_MAP()

CShelterShapePage::CShelterShapePage() : CShelterWizardPage(IDD) {}

void CShelterShapePage::DoDataExchange(CDataExchange* pDX)
{
    CShelterWizardPage::DoDataExchange(pDX);
    if (CShelterWizard* wizard = GetWizard()) DDX_ShelterShapes(pDX, wizard->m_shapes);
}

BOOL CShelterShapePage::OnInitDialog()
{
    CShelterWizardPage::OnInitDialog();
    if (CShelterWizard* wizard = GetWizard()) EnableShelterSizeButtons(*this, wizard->m_shapes);
    return TRUE;
}

BOOL CShelterShapePage::OnSetActive()
{
    SetWizardButtons(kButtonsBackNext);
    const BOOL result = CShelterWizardPage::OnSetActive();
    if (CShelterWizard* wizard = GetWizard()) EnableShelterSizeButtons(*this, wizard->m_shapes);
    return result;
}

void CShelterShapePage::OnShapeChanged()
{
    CShelterWizard* wizard = GetWizard();
    if (!wizard || !UpdateData(TRUE)) return;
    EnableShelterSizeButtons(*this, wizard->m_shapes);
}

void CShelterShapePage::OnProtectiveSizes()
{
    CShelterWizard* wizard = GetWizard();
    if (!wizard || !UpdateData(TRUE)) return;
    wizard->m_shapes.EditSizes(CShelterShapes::kProtectiveKind, this, wizard->m_sensorType);
}

void CShelterShapePage::OnWarningSizes()
{
    CShelterWizard* wizard = GetWizard();
    if (!wizard || !UpdateData(TRUE)) return;
    wizard->m_shapes.EditSizes(CShelterShapes::kWarningKind, this, wizard->m_sensorType);
}

// ------------------------------------------------------------------ end

CShelterFinishPage::CShelterFinishPage() : CShelterWizardPage(IDD) {}

BOOL CShelterFinishPage::OnSetActive()
{
    SetFinishButtons();
    return CShelterWizardPage::OnSetActive();
}
