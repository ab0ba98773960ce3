#include "dialogs/CShelterWizard.h"

#include "dialogs/CShelterWizardPage.h"
#include "model/CPolyShelter.h"
#include "model/CShelter.h"

IMPLEMENT_DYNAMIC(CShelterWizard, CPropertySheet)

CShelterWizard::CShelterWizard(CWnd* pParentWnd) : CPropertySheet(IDS_CAPTION, pParentWnd) {}

INT_PTR CShelterWizard::DoModal()
{
    CShelterNamePage namePage;
    CShelterShapePage shapePage;
    CShelterFinishPage finishPage;
    AddPage(&namePage);
    AddPage(&shapePage);
    AddPage(&finishPage);
    SetWizardMode();
    INT_PTR result = IDCANCEL;
    try {
        result = CPropertySheet::DoModal();
    } catch (...) {
        for (int i = GetPageCount() - 1; i >= 0; --i) RemovePage(i);
        throw;
    }
    // The pages live on this stack frame only.
    for (int i = GetPageCount() - 1; i >= 0; --i) RemovePage(i);
    return result;
}

BOOL CShelterWizard::SkipPage(int) { return FALSE; }

BOOL CShelterWizard::IsNameUsed(const CString& name) const
{
    for (int i = 0; i < m_usedNames.GetSize(); ++i)
        if (m_usedNames[i] == name) return TRUE;
    return FALSE;
}

std::unique_ptr<CShelter> CShelterWizard::CreateProtectiveField() const
{
    return m_shapes.CreateProtectiveField(m_sensorType);
}

std::unique_ptr<CPolyShelter> CShelterWizard::CreateWarningField() const
{
    return m_shapes.CreateWarningField(m_sensorType);
}

BOOL CShelterWizard::RunForNewPair(CWnd* pParentWnd, const CSensorType& type, const std::vector<CString>& usedNames,
                                   const CString& proposedName, CString& name, std::unique_ptr<CShelter>& protective,
                                   std::unique_ptr<CShelter>& warning)
{
    protective.reset();
    warning.reset();
    CShelterWizard wizard(pParentWnd);
    wizard.m_sensorType = type;
    for (const CString& used : usedNames) wizard.m_usedNames.Add(used);
    wizard.m_strName = proposedName;
    if (wizard.DoModal() != ID_WIZFINISH) return FALSE;
    std::unique_ptr<CShelter> newProtective = wizard.CreateProtectiveField();
    std::unique_ptr<CShelter> newWarning = wizard.CreateWarningField();
    // A pair needs both fields; one alone is dropped.
    if (!newProtective || !newWarning) return FALSE;
    protective = std::move(newProtective);
    warning = std::move(newWarning);
    name = wizard.m_strName;
    return TRUE;
}
