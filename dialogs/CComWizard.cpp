#include "dialogs/CComWizard.h"

#include "device/ProcedureApplication.h"
#include "dialogs/CComWizardPage.h"
#include "framework/core/Profile.h"
#include "framework/core/ProfileBatch.h"
#include "framework/ui/CWinApp.h"

#include <utility>

IMPLEMENT_DYNAMIC(CComWizard, CPropertySheet)

namespace {

constexpr const char* kSetupSection = "SETUP";

} // namespace

CComWizard::CComWizard(CWnd* pParentWnd) : CPropertySheet(IDS_CAPTION, pParentWnd) {}

CString CComWizard::GetIniPath()
{
    ProcedureApplication* application = GetProcedureApplication();
    return application ? application->GetIniPath() : CString();
}

BOOL CComWizard::IsSimulating()
{
    ProcedureApplication* application = GetProcedureApplication();
    return application && application->IsSimulating();
}

void CComWizard::LoadSavePort(int flag)
{
    const CString iniPath = GetIniPath();
    if (flag == 0) {
        m_nPort = iniPath.IsEmpty() ? kDefaultPort
                                    : int(GetPrivateProfileInt(kSetupSection, "Port", kDefaultPort, iniPath));
        return;
    }
    if (iniPath.IsEmpty())
        return;
    CString port;
    port.Format("%d", m_nPort);
    ProfileBatch ini(iniPath);
    ini.WriteString(kSetupSection, "Port", port);
    ini.WriteString(kSetupSection, "Parity", "EVEN");
    if (!ini.Commit() && !std::exchange(m_bWriteFailureShown, true))
        AfxReportProfileWriteError(iniPath, ini.Error());
}

INT_PTR CComWizard::DoModal()
{
    CComWizardIntroPage intro;
    CComWizardFamilyPage family;
    CComWizardPortPage port;
    CComWizardSearchPage search;
    CComWizardResultPage result;
    for (CPropertyPage* page : {static_cast<CPropertyPage*>(&intro), static_cast<CPropertyPage*>(&family),
                                static_cast<CPropertyPage*>(&port), static_cast<CPropertyPage*>(&search),
                                static_cast<CPropertyPage*>(&result)})
        AddPage(page);
    SetWizardMode();

    // The port page stores its choice at once so that the search uses it. Without a
    // device found the port the user had goes back; the line's parity is written either way.
    LoadSavePort(0);
    const int previousPort = m_nPort;
    m_bWriteFailureShown = false;

    CPropertySheet::DoModal();

    if (m_nFound == 0)
        m_nPort = previousPort;
    LoadSavePort(1);
    for (int i = GetPageCount() - 1; i >= 0; --i)
        RemovePage(i);
    return m_nFound;
}
