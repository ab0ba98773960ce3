#include "dialogs/CKVRSpeedPage.h"

#include "dialogs/controls/UnitDataExchange.h"
#include "framework/core/Resources.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/DDX.h"
#include "model/CKVRConfig.h"
#include "model/ConfigLimits.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CKVRSpeedPage, CKVRConfigPage)

namespace {

constexpr UINT IDD_KVR_SPEED = 136;
constexpr int IDC_SPEED_VALUE1 = 2064;
constexpr int IDC_SPEED_VALUE2 = 2065;
constexpr int IDC_TOLERANCE = 2067;
constexpr int IDC_MIN_MEASURABLE = 2135;
constexpr int IDC_MAX_MEASURABLE = 2232;
constexpr int IDC_LOWEST_CASE = 2137;
constexpr int IDC_HIGHEST_CASE = 2138;
constexpr UINT IDS_MIN_SPEED_LINE = 1192;
constexpr UINT IDS_MAX_SPEED_LINE = 1193;
constexpr UINT kMinSpeedValue = 50;
constexpr UINT kMaxSpeedValue = 1000;
constexpr UINT kMaxTolerance = 25;
constexpr const char* kNoUnit = "";
constexpr const char* kPercent = "%";

CString SpeedLine(UINT nIDFormat, const char* format, int speed)
{
    CString value;
    value.Format(format, speed);
    CString line;
    AfxFormatString1(line, nIDFormat, value);
    return line;
}

// The leading decimal number of the text; 0 when there is none.
int LeadingNumber(const CString& text)
{
    return int(std::strtol(text.c_str(), nullptr, 10));
}

} // namespace

BEGIN_MESSAGE_MAP(CKVRSpeedPage, CKVRConfigPage)
    ON_EN_CHANGE(IDC_SPEED_VALUE1, OnSpeedValueChanged)
    ON_EN_CHANGE(IDC_SPEED_VALUE2, OnSpeedValueChanged)
END_MESSAGE_MAP()

CKVRSpeedPage::CKVRSpeedPage() : CKVRConfigPage(IDD_KVR_SPEED) {}

UINT CKVRSpeedPage::SpeedValueLimit(int lowestCaseSpeed, int highestCaseSpeed)
{
    return std::min<UINT>(kMaxSpeedValue, UINT(MaxSpeedLimitAbs(lowestCaseSpeed, highestCaseSpeed)));
}

void CKVRSpeedPage::DoDataExchange(CDataExchange* pDX)
{
    CKVRConfigPage::DoDataExchange(pDX);
    DDX_TextWithUnit(pDX, IDC_SPEED_VALUE1, m_nSpeed1, kNoUnit);
    DDV_MinMaxUInt(pDX, m_nSpeed1, kMinSpeedValue, m_nUpper);
    DDX_TextWithUnit(pDX, IDC_SPEED_VALUE2, m_nSpeed2, kNoUnit);
    DDV_MinMaxUInt(pDX, m_nSpeed2, kMinSpeedValue, m_nUpper);
    DDX_TextWithUnit(pDX, IDC_TOLERANCE, m_nTolerance, kPercent);
    DDV_MinMaxWithUnit(pDX, m_nTolerance, 0u, kMaxTolerance, kPercent);
}

BOOL CKVRSpeedPage::OnSetActive()
{
    m_bFirstSetActive = FALSE;
    const CKVRConfig* config = GetConfig();
    if (!config) return FALSE;
    const KVRUsedInputs used = config->GetUsedInputs();
    m_nUpper = SpeedValueLimit(used.speedLow, used.speedHigh);
    m_nSpeed1 = config->GetSpeedScale1();
    m_nSpeed2 = config->GetSpeedScale2();
    m_nTolerance = config->GetValueV1();
    UpdateData(FALSE);
    SetDlgItemText(IDC_LOWEST_CASE, SpeedLine(IDS_MIN_SPEED_LINE, "%d cm/s", used.speedLow));
    SetDlgItemText(IDC_HIGHEST_CASE, SpeedLine(IDS_MAX_SPEED_LINE, "%d cm/s", used.speedHigh));
    const BOOL speedUsed = (config->GetUsedFlags() & kUsesSpeed) != 0;
    for (const int id : {IDC_SPEED_VALUE1, IDC_SPEED_VALUE2, IDC_TOLERANCE}) EnableControl(id, speedUsed);
    OnSpeedValueChanged();
    return TRUE;
}

void CKVRSpeedPage::OnSpeedValueChanged()
{
    CString text1;
    CString text2;
    GetDlgItemText(IDC_SPEED_VALUE1, text1);
    GetDlgItemText(IDC_SPEED_VALUE2, text2);
    const int scale1 = LeadingNumber(text1);
    const int scale2 = LeadingNumber(text2);
    SetDlgItemText(IDC_MIN_MEASURABLE, SpeedLine(IDS_MIN_SPEED_LINE, "+-%d cm/s", MinSpeedLimit(scale1, scale2)));
    SetDlgItemText(IDC_MAX_MEASURABLE, SpeedLine(IDS_MAX_SPEED_LINE, "+-%d cm/s", MaxSpeedLimit(scale1, scale2)));
}

BOOL CKVRSpeedPage::OnKillActive()
{
    if (!UpdateData(TRUE)) return FALSE;
    if (CKVRConfig* config = GetConfig()) {
        config->SetSpeedScale1(m_nSpeed1);
        config->SetSpeedScale2(m_nSpeed2);
        config->SetValueV1(m_nTolerance);
    }
    return TRUE;
}
