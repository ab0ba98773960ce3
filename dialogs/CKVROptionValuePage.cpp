#include "dialogs/CKVROptionValuePage.h"

#include "dialogs/controls/UnitDataExchange.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/DDX.h"
#include "model/CKVRConfig.h"

IMPLEMENT_DYNAMIC(CKVROptionValuePage, CKVRConfigPage)

namespace {

constexpr UINT IDD_KVR_OPTION_VALUE = 137;
constexpr int IDC_OPTION_OFF = 2051;
constexpr int IDC_OPTION_ON = 2053;
constexpr int IDC_OPTION_VALUE = 2052;
constexpr BYTE kMinValue = 5;
constexpr BYTE kMaxValue = 126;

} // namespace

BEGIN_MESSAGE_MAP(CKVROptionValuePage, CKVRConfigPage)
    ON_BN_CLICKED(IDC_OPTION_OFF, OnChoiceClicked)
    ON_BN_CLICKED(IDC_OPTION_ON, OnChoiceClicked)
END_MESSAGE_MAP()

CKVROptionValuePage::CKVROptionValuePage() : CKVRConfigPage(IDD_KVR_OPTION_VALUE) {}

void CKVROptionValuePage::DoDataExchange(CDataExchange* pDX)
{
    CKVRConfigPage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_OPTION_OFF, m_nChoice);
    DDX_TextWithUnit(pDX, IDC_OPTION_VALUE, m_byValue, "");
    DDV_MinMaxByte(pDX, m_byValue, kMinValue, kMaxValue);
}

BOOL CKVROptionValuePage::OnInitDialog()
{
    if (const CKVRConfig* config = GetConfig()) {
        const BYTE value = config->GetValueV2();
        m_nChoice = value != 0 ? 1 : 0;
        m_byValue = value != 0 ? value : kMinValue;
    }
    CKVRConfigPage::OnInitDialog();
    OnChoiceClicked();
    return TRUE;
}

void CKVROptionValuePage::OnChoiceClicked()
{
    EnableControl(IDC_OPTION_VALUE, IsDlgButtonChecked(IDC_OPTION_ON) == BST_CHECKED);
}

BOOL CKVROptionValuePage::OnKillActive()
{
    if (!UpdateData(TRUE)) return FALSE;
    if (CKVRConfig* config = GetConfig()) config->SetValueV2(m_nChoice == 1 ? m_byValue : BYTE(0));
    return TRUE;
}
