#include "dialogs/CComWizard.h"

#include "device/ProcedureApplication.h"
#include "dialogs/CComWizardPage.h"
#include "framework/core/Profile.h"

#include <optional>

IMPLEMENT_DYNAMIC(CComWizard, CPropertySheet)

namespace {

constexpr const char* kSetupSection = "SETUP";

// A key of "SETUP" as it stood before the run; an absent key stays absent when put back.
class SavedSetupKey {
public:
    SavedSetupKey(const CString& iniPath, const char* key) : m_iniPath(iniPath), m_key(key)
    {
        // A key is absent when two different defaults both come back.
        const CString first = ReadProfileString(kSetupSection, key, "\x01", iniPath);
        const CString second = ReadProfileString(kSetupSection, key, "\x02", iniPath);
        if (first == second)
            m_value = first;
    }
    void Restore() const
    {
        if (m_iniPath.IsEmpty())
            return;
        WritePrivateProfileString(kSetupSection, m_key, m_value ? m_value->c_str() : nullptr, m_iniPath);
    }

private:
    CString m_iniPath;
    const char* m_key;
    std::optional<CString> m_value;
};

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
    WritePrivateProfileString(kSetupSection, "Port", port, iniPath);
    WritePrivateProfileString(kSetupSection, "Parity", "EVEN", iniPath);
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

    // The port page stores its choice at once so that the search uses it, and the
    // search may change the baud rate. Without a device found, the set-up the user had
    // is put back key by key, so a cancelled or failed run leaves the file as it was.
    const CString iniPath = GetIniPath();
    const SavedSetupKey savedPort(iniPath, "Port");
    const SavedSetupKey savedParity(iniPath, "Parity");
    const SavedSetupKey savedBaud(iniPath, "Baud");
    LoadSavePort(0);
    const int previousPort = m_nPort;

    CPropertySheet::DoModal();

    if (m_nFound == 0) {
        m_nPort = previousPort;
        savedPort.Restore();
        savedParity.Restore();
        savedBaud.Restore();
    } else {
        LoadSavePort(1);
    }
    for (int i = GetPageCount() - 1; i >= 0; --i)
        RemovePage(i);
    return m_nFound;
}
