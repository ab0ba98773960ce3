#include "app/CZOKDoc.h"

#include "app/CZOKReport.h"
#include "app/CSelectorComboBox.h"
#include "app/CTalisoApp.h"
#include "app/settings/CTalisoSetup.h"
#include "app/DeviceConfigurationRead.h"
#include "app/DeviceDocCombos.h"
#include "device/dialogs/CLoginDialog.h"
#include "device/CZOKSensor.h"
#include "device/ZOKProcedures.h"
#include "dialogs/CZOKConfigSheet.h"
#include "dialogs/CZOKConfigWizard.h"
#include "dialogs/CZOKParameterDialog.h"
#include "framework/core/CArchive.h"
#include "framework/core/CException.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/MessageBox.h"
#include "model/CPolyShelter.h"
#include "model/ConfigLimits.h"

IMPLEMENT_SERIAL(CZOKDoc, CCommonDoc, 1)

// The commands of both families are routed by CDeviceDoc.
BEGIN_MESSAGE_MAP(CZOKDoc, CDeviceDoc<CZOKConfig>)
    ON_COMMAND(ID_ZOK_PARAMETERS, OnZOKParameters)
    ON_UPDATE_COMMAND_UI(ID_ZOK_PARAMETERS, OnUpdateZOKParameters)
END_MESSAGE_MAP()

CZOKDoc::CZOKDoc() : CDeviceDoc(kNoScanner, kScanner) {}
CZOKDoc::~CZOKDoc() = default;

// ------------------------------------------------------------ configuration access

void CZOKDoc::CheckSelections()
{
    m_state.CheckSelections(kNoScanner, kScanner, 1);
}

CShelter* CZOKDoc::GetField(int kind) const
{
    const CZOKConfig* config = GetConfiguration();
    return config != nullptr ? config->GetShelter(kind) : nullptr;
}

int CZOKDoc::GetResponseTime() const
{
    const CZOKConfig* config = GetConfiguration();
    return config != nullptr ? ZOKResponseTime(config->GetScanCount()) : 0;
}

// ------------------------------------------------------------ objects of the views

CShelter* CZOKDoc::FieldOf(CShelterSelection selection) const
{
    return GetField(selection.GetKind());
}

void CZOKDoc::PutField(CShelterSelection selection, const CSensorObject* pObject)
{
    CZOKConfig* config = GetConfiguration();
    if (pObject == nullptr || config == nullptr)
        return;
    std::unique_ptr<CSensorObject> clone = pObject->Clone();
    if (dynamic_cast<CShelter*>(clone.get()) == nullptr)
        return;
    // A kind the configuration does not hold leaves the clone here, which deletes it.
    std::unique_ptr<CShelter> field(static_cast<CShelter*>(clone.release()));
    config->SetShelter(selection.GetKind(), std::move(field));
}

void CZOKDoc::SetCurrentObject(CSensorObject* pObject)
{
    PutField(m_state.m_current, pObject);
}

COLORREF CZOKDoc::GetCurrentObjectColor()
{
    return GetTalisoSetup().GetFieldColor(m_state.m_current.GetKind());
}

void CZOKDoc::SetSecondObject(CSensorObject* pObject)
{
    PutField(m_state.m_second, pObject);
}

COLORREF CZOKDoc::GetSecondObjectColor()
{
    return GetTalisoSetup().GetFieldColor(m_state.m_second.GetKind());
}

// ------------------------------------------------------------ bar controls

void CZOKDoc::FillSelectorCombo(CSelectorComboBox* pCombo)
{
    const CZOKConfig* config = GetConfiguration();
    CString name;
    if (config != nullptr)
        name = config->GetProtectiveName();
    else
        name.LoadString(1180);
    ::FillScannerCombo(*pCombo, {name}, kNoScanner, kScanner, m_state.m_nSelectedScanner);
}

std::vector<FieldItem> CZOKDoc::GetFieldItems() const
{
    std::vector<FieldItem> items;
    const CZOKConfig* config = GetConfiguration();
    if (config == nullptr)
        return items;
    for (int kind : {kProtectiveField, kWarningField}) {
        if (config->GetShelter(kind) == nullptr)
            continue;
        FieldItem item{config->GetWarningName(), CShelterSelection()};
        item.selection.SetIndexKind(0, kind);
        items.push_back(item);
    }
    return items;
}

// ------------------------------------------------------------ file

BOOL CZOKDoc::OnOpenDocument(LPCTSTR lpszPathName)
{
    m_bOpening = TRUE;
    const BOOL opened = CDeviceDoc::OnOpenDocument(lpszPathName);
    m_bOpening = FALSE;
    return opened;
}

void CZOKDoc::ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault)
{
    const auto* archive = dynamic_cast<const CArchiveException*>(e);
    if (m_bOpening && !bSaving && archive != nullptr && archive->m_cause == CArchiveException::badSchema) {
        AfxMessageBox(IDP_UNKNOWN_FILE_VERSION, MB_ICONEXCLAMATION);
        return;
    }
    CDeviceDoc::ReportSaveLoadException(lpszPathName, e, bSaving, nIDPDefault);
}

// ------------------------------------------------------------ device sessions and dialogs

std::unique_ptr<CZOKConfig> CZOKDoc::RunNewWizard()
{
    CNewZOKConfigWizard wizard(AfxGetMainWnd());
    return wizard.Run();
}

std::unique_ptr<CZOKConfig> CZOKDoc::EditConfiguration(const CZOKConfig* pOwn)
{
    if (theLoginDialog.UsesWizards()) {
        CEditZOKConfigWizard wizard(AfxGetMainWnd());
        return wizard.RunWizard(pOwn);
    }
    CZOKConfigSheet sheet(AfxGetMainWnd());
    return sheet.Edit(pOwn);
}

std::unique_ptr<CShelter> CZOKDoc::ReadDeviceField(CShelterSelection selection)
{
    std::unique_ptr<CShelter> field;
    RunIdentifiedSession<CZOKSensor>([&](CZOKSensor& sensor) {
        if (selection.GetKind() == kProtectiveField)
            field = ReadZOKField(sensor, TRUE);
        else
            field = ReadZOKFieldSub1(sensor, TRUE);
        return field != nullptr;
    });
    return field;
}

int CZOKDoc::BuildReport(CObList* pPrintObjects, int nKind)
{
    const CZOKConfig* config = GetConfiguration();
    if (pPrintObjects == nullptr || config == nullptr)
        return 0;
    return CZOKReport(*pPrintObjects, ReportUnits::FromSettings()).Build(*config, nKind, GetDeviceName(), GetDeviceTypeText());
}

// ------------------------------------------------------------ parameter-set dialog

void CZOKDoc::OnZOKParameters()
{
    RunDeviceDialog<CZOKParameterDialog>();
}

void CZOKDoc::OnUpdateZOKParameters(CCmdUI* pCmdUI)
{
    EnableIdleCommand(pCmdUI, *this, theLoginDialog.CanEditZOKParameters());
}
