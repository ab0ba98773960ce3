#include "dialogs/CKVRSensorListPage.h"

#include "framework/core/Resources.h"
#include "model/CKVRConfig.h"

IMPLEMENT_DYNAMIC(CKVRSensorListPage, CKVRListPage)

namespace {

constexpr UINT IDD_KVR_SENSORS = 132;
constexpr int IDC_SENSOR_MODEL = 2098;
constexpr UINT IDS_SENSOR_MODEL = 1183;

} // namespace

CKVRSensorListPage::CKVRSensorListPage() : CKVRListPage(IDD_KVR_SENSORS, kKVRSensorList) {}

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
