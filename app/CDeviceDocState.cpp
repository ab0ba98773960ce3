#include "app/CDeviceDocState.h"

#include "device/dialogs/CLoginDialog.h"
#include "device/ProcedureApplication.h"
#include "model/CShelter.h"

namespace {

BOOL IsFieldKind(int kind)
{
    return kind == kProtectiveField || kind == kWarningField;
}

// An unset selection is valid: it names no field.
BOOL NamesAField(CShelterSelection selection, int pairCount)
{
    const int index = selection.GetIndex();
    return index >= 0 && index < pairCount && IsFieldKind(selection.GetKind());
}

} // namespace

CDeviceDocState::CDeviceDocState(int noScanner)
    : m_nSelectedScanner(noScanner), m_nSavedSelectedScanner(noScanner), m_nNoScanner(noScanner)
{
    m_current.Clear();
    m_savedCurrent.Clear();
    m_second.Clear();
    m_savedSecond.Clear();
    LoadDefaultIdentity();
}

void CDeviceDocState::SelectFirstField(int firstScanner, BOOL keepOwn)
{
    if (keepOwn) {
        m_nSavedSelectedScanner = m_nSelectedScanner;
        m_savedCurrent = m_current;
        m_savedSecond = m_second;
    }
    m_nSelectedScanner = firstScanner;
    m_current.SetIndexKind(0, kProtectiveField);
    m_second.Clear();
}

void CDeviceDocState::RestoreSelections()
{
    m_nSelectedScanner = m_nSavedSelectedScanner;
    m_current = m_savedCurrent;
    m_second = m_savedSecond;
}

void CDeviceDocState::ClearSelections()
{
    m_nSelectedScanner = m_nNoScanner;
    m_current.Clear();
    m_second.Clear();
}

void CDeviceDocState::CheckSelections(int lowestScanner, int highestScanner, int pairCount)
{
    if (m_nSelectedScanner < lowestScanner || m_nSelectedScanner > highestScanner)
        m_nSelectedScanner = m_nNoScanner;
    if (m_current.GetIndex() != -1 && !NamesAField(m_current, pairCount)) {
        if (pairCount > 0)
            m_current.SetIndexKind(0, kProtectiveField);
        else
            m_current.Clear();
    }
    if (m_second.GetIndex() != -1 && !NamesAField(m_second, pairCount))
        m_second.Clear();
}

void CDeviceDocState::SetIdentity(const CString& name, const CString& type)
{
    m_strDeviceName = name;
    m_strDeviceType = type;
}

void CDeviceDocState::LoadDefaultIdentity()
{
    CString none;
    none.LoadString(IDS_NO_DEVICE_IDENTITY);
    SetIdentity(none, none);
}

void CDeviceDocState::ShowIdentity(const CString& name, const CString& type)
{
    if (!m_bIdentityShown) {
        m_strSavedDeviceName = m_strDeviceName;
        m_strSavedDeviceType = m_strDeviceType;
        m_bIdentityShown = TRUE;
    }
    SetIdentity(name, type);
}

void CDeviceDocState::RestoreIdentity()
{
    if (!m_bIdentityShown)
        return;
    SetIdentity(m_strSavedDeviceName, m_strSavedDeviceType);
    m_bIdentityShown = FALSE;
}

DocumentFileState CDeviceDocState::GetOwnFileState(BOOL deviceShown) const
{
    DocumentFileState state;
    state.selectedScanner = deviceShown ? m_nSavedSelectedScanner : m_nSelectedScanner;
    state.current = deviceShown ? m_savedCurrent : m_current;
    state.second = deviceShown ? m_savedSecond : m_second;
    state.deviceName = m_bIdentityShown ? m_strSavedDeviceName : m_strDeviceName;
    state.deviceType = m_bIdentityShown ? m_strSavedDeviceType : m_strDeviceType;
    state.simulatedFile = m_nSimulatedFile;
    return state;
}

void CDeviceDocState::TakeFileState(const DocumentFileState& state)
{
    m_nSelectedScanner = state.selectedScanner;
    m_current = state.current;
    m_second = state.second;
    SetIdentity(state.deviceName, state.deviceType);
    m_bIdentityShown = FALSE;
    m_nSimulatedFile = state.simulatedFile;
}

void CDeviceDocState::MarkSimulatedFile()
{
    ProcedureApplication* application = GetProcedureApplication();
    m_nSimulatedFile = application != nullptr && application->IsSimulating() ? 1 : 0;
}

BOOL CDeviceDocState::IsRefusedAtUserLevel() const
{
    constexpr int kServiceLevel = 5;
    return m_nSimulatedFile != 0 && theLoginDialog.GetLevel() == kServiceLevel;
}
