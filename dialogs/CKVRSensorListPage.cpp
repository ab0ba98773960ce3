#include "dialogs/CKVRSensorListPage.h"

#include "dialogs/CNewNameDialog.h"
#include "framework/core/Resources.h"
#include "model/CKVRConfig.h"

IMPLEMENT_DYNAMIC(CKVRSensorListPage, CKVRListPage)

namespace {

constexpr UINT IDD_KVR_SENSORS = 132;
constexpr int IDC_SENSOR_MODEL = 2098;
constexpr int kMaxSensors = 4;
constexpr UINT IDS_SENSOR_STEM = 1180;
constexpr UINT IDP_SENSOR_USED = 452;
constexpr UINT IDP_DELETE_SENSOR = 457;
constexpr UINT IDS_SENSOR_MODEL = 1183;

} // namespace

CKVRSensorListPage::CKVRSensorListPage() : CKVRListPage(IDD_KVR_SENSORS, kMaxSensors) {}

BOOL CKVRSensorListPage::OnInitDialog()
{
    CKVRListPage::OnInitDialog();
    if (const CKVRConfig* config = GetConfig()) {
        CString line;
        AfxFormatString1(line, IDS_SENSOR_MODEL, config->GetSensorType().GetModelName());
        SetDlgItemText(IDC_SENSOR_MODEL, line);
    }
    return TRUE;
}

int CKVRSensorListPage::GetEntryCount() const
{
    return GetConfig()->GetSensorConfigCount();
}

void CKVRSensorListPage::FillList()
{
    GetConfig()->FillSensorListBox(&m_list, TRUE);
}

int CKVRSensorListPage::FindEntry(const CString& name) const
{
    return GetConfig()->FindSensorConfig(name);
}

void CKVRSensorListPage::RenameEntry(int n, const CString& name)
{
    GetConfig()->RenameSensorConfig(n, name);
}

void CKVRSensorListPage::AddEntry()
{
    CNewNameDialog dialog(this);
    dialog.m_strName = DefaultName(IDS_SENSOR_STEM);
    if (dialog.DoModal() != IDOK || !IsNameFree(dialog.m_strName)) return;
    CKVRConfig* config = GetConfig();
    config->AddSensorConfig(dialog.m_strName, std::make_unique<CKVRSensorConfig>());
    Refresh(config->GetSensorConfigCount() - 1);
}

void CKVRSensorListPage::DeleteEntry(int n)
{
    CKVRConfig* config = GetConfig();
    const CString name = config->GetSensorConfigName(n);
    if (config->IsSensorConfigUsed(n)) {
        ShowRefusal(IDP_SENSOR_USED, name);
        return;
    }
    if (!ConfirmDeletion(IDP_DELETE_SENSOR, name)) return;
    config->RemoveSensorConfig(n);
    Refresh(0);
}
