#include "dialogs/CComWizardPage.h"

#include "device/CSensor.h"
#include "device/DeviceProcedures.h"
#include "dialogs/CComWizard.h"
#include "dialogs/ComPortProbe.h"
#include "framework/core/Profile.h"
#include "framework/core/Resources.h"
#include "framework/ui/CWaitCursor.h"
#include "framework/ui/DDX.h"
#include "framework/ui/MessageBox.h"

IMPLEMENT_DYNAMIC(CComWizardPage, CWizardPage)

CComWizardPage::CComWizardPage(UINT nIDTemplate) : CWizardPage(nIDTemplate, IDB_SIDE_PICTURE) {}

CComWizard* CComWizardPage::GetWizard() const
{
    return dynamic_cast<CComWizard*>(GetSheet());
}

// ------------------------------------------------------------------ introduction

CComWizardIntroPage::CComWizardIntroPage() : CComWizardPage(IDD) {}

BOOL CComWizardIntroPage::OnSetActive()
{
    SetWizardButtons(kButtonsNext);
    if (CPropertySheet* sheet = GetSheet()) {
        CString caption;
        caption.LoadString(CComWizard::IDS_CAPTION);
        sheet->SetTitle(caption);
    }
    return CComWizardPage::OnSetActive();
}

// ------------------------------------------------------------------ family

CComWizardFamilyPage::CComWizardFamilyPage() : CComWizardPage(IDD) {}

void CComWizardFamilyPage::DoDataExchange(CDataExchange* pDX)
{
    CComWizardPage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_FAMILY, m_nFamilyChoice);
}

BOOL CComWizardFamilyPage::OnSetActive()
{
    if (CComWizard* wizard = GetWizard())
        m_nFamilyChoice = wizard->m_nFamily != 0 ? 1 : 0;
    UpdateData(FALSE);
    SetWizardButtons(kButtonsBackNext);
    return TRUE;
}

BOOL CComWizardFamilyPage::OnKillActive()
{
    if (!CComWizardPage::OnKillActive())
        return FALSE;
    if (CComWizard* wizard = GetWizard())
        wizard->m_nFamily = m_nFamilyChoice != 0 ? 1 : 0;
    return TRUE;
}

// ------------------------------------------------------------------ port

CComWizardPortPage::CComWizardPortPage() : CComWizardPage(IDD) {}

void CComWizardPortPage::DoDataExchange(CDataExchange* pDX)
{
    CComWizardPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PORTS, m_portList);
    DDX_LBIndex(pDX, IDC_PORTS, m_nSelected);
}

BOOL CComWizardPortPage::OnInitDialog()
{
    CComWizardPage::OnInitDialog();
    const CString iniPath = CComWizard::GetIniPath();
    for (int port = kFirstComPort; port <= kLastComPort; ++port) {
        if (!CanOpenComPort(port, iniPath))
            continue;
        CString number;
        number.Format("%d", port);
        CString item;
        AfxFormatString1(item, IDS_PORT_ITEM, number);
        const int index = m_portList.AddString(item);
        if (index >= 0)
            m_portList.SetItemData(index, DWORD_PTR(port));
    }
    UpdateData(FALSE);
    return TRUE;
}

BOOL CComWizardPortPage::OnSetActive()
{
    SetWizardButtons(kButtonsBackNext);
    return CComWizardPage::OnSetActive();
}

// Only going on needs a port; Back leaves the page as it is.
LRESULT CComWizardPortPage::OnWizardNext()
{
    if (!UpdateData(TRUE))
        return -1;
    if (m_nSelected < 0 || m_nSelected >= m_portList.GetCount()) {
        AfxMessageBox(IDP_NO_PORT, MB_OK);
        return -1;
    }
    const int port = int(m_portList.GetItemData(m_nSelected));
    if (!CanOpenComPort(port, CComWizard::GetIniPath())) {
        AfxMessageBox(IDP_PORT_UNAVAILABLE, MB_OK);
        return -1;
    }
    if (CComWizard* wizard = GetWizard()) {
        wizard->m_nPort = port;
        wizard->LoadSavePort(1);
    }
    return 0;
}

// ------------------------------------------------------------------ search

CComWizardSearchPage::CComWizardSearchPage() : CComWizardPage(IDD) {}

void CComWizardSearchPage::DoDataExchange(CDataExchange* pDX)
{
    CComWizardPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PROGRESS, m_strText);
}

BOOL CComWizardSearchPage::OnSetActive()
{
    if (CComWizard* wizard = GetWizard())
        wizard->m_nFound = 0;
    m_strText.Empty();
    UpdateData(FALSE);
    SetWizardButtons(kButtonsBackNext);
    return TRUE;
}

// The result page follows whatever the search found; the session prompts for itself.
LRESULT CComWizardSearchPage::OnWizardNext()
{
    CComWizard* wizard = GetWizard();
    CSensor sensor;
    if (wizard && ConnectSensor(sensor, TRUE)) {
        m_strText.LoadString(IDS_SEARCHING);
        UpdateData(FALSE);
        UpdateWindow();
        {
            CWaitCursor wait;
            if (!CComWizard::IsSimulating())
                wizard->m_nFound = sensor.ProbeFamily(BYTE(wizard->m_nFamily), TRUE) ? 1 : 0;
        }
        DisconnectSensor(sensor, TRUE);
    }
    return 0;
}

// ------------------------------------------------------------------ result

CComWizardResultPage::CComWizardResultPage() : CComWizardPage(IDD) {}

void CComWizardResultPage::DoDataExchange(CDataExchange* pDX)
{
    CComWizardPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_RESULT, m_strText);
}

BOOL CComWizardResultPage::OnSetActive()
{
    const CComWizard* wizard = GetWizard();
    if (wizard && wizard->m_nFound) {
        // The set-up as the search left it, the baud rate it found included.
        const CString iniPath = CComWizard::GetIniPath();
        const CString port = ReadProfileString("SETUP", "Port", "1", iniPath);
        const CString baud = ReadProfileString("SETUP", "Baud", "9600", iniPath);
        AfxFormatString2(m_strText, IDS_FOUND, port, baud);
    } else {
        m_strText.LoadString(CComWizard::IsSimulating() ? IDS_SIMULATING : IDS_NOT_FOUND);
    }
    UpdateData(FALSE);
    SetFinishButtons();
    return TRUE;
}
