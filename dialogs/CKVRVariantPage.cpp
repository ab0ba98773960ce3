#include "dialogs/CKVRVariantPage.h"

#include "framework/core/Resources.h"
#include "framework/ui/MessageBox.h"
#include "model/CArcShelter.h"
#include "model/CKVRConfig.h"

IMPLEMENT_DYNAMIC(CKVRVariantPage, CKVRConfigPage)

namespace {

constexpr UINT IDD_KVR_VARIANT = 138;
constexpr int IDC_VARIANT0 = 2157;
constexpr int IDC_VARIANT1 = 2159;
constexpr int IDC_SIZE_OFF = 2091;
constexpr int IDC_SIZE_ON = 2092;
constexpr UINT IDP_SIZE_OPTION = 461;
constexpr UINT IDP_TO_VARIANT1 = 467;
constexpr UINT IDP_TO_VARIANT0 = 468;
// Only this type's variants differ in what fields and cases may hold.
constexpr WORD kTypeWithVariants = 7;
constexpr int kProtectiveKind = 1;
constexpr int kWarningKind = 2;

// RAII guard: a handler that runs blocks the others.
class BusyGuard {
public:
    explicit BusyGuard(BOOL& busy) : m_busy(busy) { m_busy = TRUE; }
    ~BusyGuard() { m_busy = FALSE; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    BOOL& m_busy;
};

} // namespace

BEGIN_MESSAGE_MAP(CKVRVariantPage, CKVRConfigPage)
    ON_BN_CLICKED(IDC_VARIANT0, OnVariant0Clicked)
    ON_BN_CLICKED(IDC_VARIANT1, OnVariant1Clicked)
    ON_BN_CLICKED(IDC_SIZE_OFF, OnSizeOffClicked)
    ON_BN_CLICKED(IDC_SIZE_ON, OnSizeOnClicked)
END_MESSAGE_MAP()

CKVRVariantPage::CKVRVariantPage() : CKVRConfigPage(IDD_KVR_VARIANT) {}

BOOL CKVRVariantPage::OnSetActive()
{
    m_bFirstSetActive = FALSE;
    const CKVRConfig* config = GetConfig();
    if (!config) return FALSE;
    m_wVariant = config->GetSensorType().GetVariant() == 1 ? 1 : 0;
    m_bySize = config->GetDeviceBitV3() ? 1 : 0;
    ShowChoices();
    return TRUE;
}

void CKVRVariantPage::ShowChoices()
{
    CheckRadioButton(IDC_VARIANT0, IDC_VARIANT1, m_wVariant == 1 ? IDC_VARIANT1 : IDC_VARIANT0);
    CheckRadioButton(IDC_SIZE_OFF, IDC_SIZE_ON, m_bySize ? IDC_SIZE_ON : IDC_SIZE_OFF);
}

BOOL CKVRVariantPage::Ask(UINT nIDPrompt, const CString& insert)
{
    CString text;
    AfxFormatString1(text, nIDPrompt, insert);
    return AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION, nIDPrompt) == IDYES;
}

void CKVRVariantPage::FocusOn(int nID)
{
    if (CWnd* control = GetDlgItem(nID)) control->SetFocus();
}

// A protective field that reaches beyond the smaller range becomes an arc of that range.
void CKVRVariantPage::ChangeToVariant0(CKVRConfig& config)
{
    CSensorType type = config.GetSensorType();
    type.SetVariant(0);
    config.SetSensorType(type);
    for (int n = 0; n < config.GetShelterConfigCount(); ++n) {
        CKVRShelterConfig* pair = config.GetShelterConfig(n);
        if (!pair) continue;
        if (CShelter* protective = pair->GetShelter(kProtectiveKind)) {
            const WORD maxDistance = type.GetProtectiveMaxDistance();
            if (protective->GetMaxExtent() > maxDistance) {
                auto arc = std::make_unique<CArcShelter>();
                arc->Initialize(type, maxDistance, kProtectiveKind);
                pair->SetShelter(kProtectiveKind, std::move(arc));
            } else {
                protective->ReplaceSensorType(type);
            }
        }
        if (CShelter* warning = pair->GetShelter(kWarningKind)) warning->ReplaceSensorType(type);
    }
}

// Variant 1 allows fewer scans: every case falls back to the smallest number.
void CKVRVariantPage::ChangeToVariant1(CKVRConfig& config)
{
    CSensorType type = config.GetSensorType();
    type.SetVariant(1);
    config.SetSensorType(type);
    for (int n = 0; n < config.GetControlConfigCount(); ++n) {
        if (CKVRControlConfig* control = config.GetControlConfig(n)) control->SetScanCount(type.GetMinScanCount());
    }
    for (int n = 0; n < config.GetShelterConfigCount(); ++n) {
        CKVRShelterConfig* pair = config.GetShelterConfig(n);
        if (!pair) continue;
        for (const int kind : {kProtectiveKind, kWarningKind}) {
            if (CShelter* field = pair->GetShelter(kind)) field->ReplaceSensorType(type);
        }
    }
}

void CKVRVariantPage::OnVariant0Clicked()
{
    if (m_bBusy) return;
    const BusyGuard guard(m_bBusy);
    CKVRConfig* config = GetConfig();
    if (config && m_wVariant == 1 && config->GetSensorType().GetTypeCode() == kTypeWithVariants) {
        if (!Ask(IDP_TO_VARIANT0, CString())) {
            ShowChoices();
            FocusOn(IDC_VARIANT1);
            return;
        }
        ChangeToVariant0(*config);
    }
    m_wVariant = 0;
    ShowChoices();
}

void CKVRVariantPage::OnVariant1Clicked()
{
    if (m_bBusy) return;
    const BusyGuard guard(m_bBusy);
    CKVRConfig* config = GetConfig();
    if (config && m_wVariant == 0 && config->GetSensorType().GetTypeCode() == kTypeWithVariants) {
        if (!Ask(IDP_TO_VARIANT1, CString())) {
            ShowChoices();
            FocusOn(IDC_VARIANT0);
            return;
        }
        ChangeToVariant1(*config);
    }
    m_wVariant = 1;
    ShowChoices();
}

void CKVRVariantPage::OnSizeOffClicked()
{
    if (m_bBusy) return;
    const BusyGuard guard(m_bBusy);
    m_bySize = 0;
    ShowChoices();
}

void CKVRVariantPage::OnSizeOnClicked()
{
    if (m_bBusy) return;
    const BusyGuard guard(m_bBusy);
    if (!m_bySize) {
        CString size;
        size.Format("%d mm", m_wVariant == 1 ? 70 : 50);
        if (!Ask(IDP_SIZE_OPTION, size)) {
            ShowChoices();
            FocusOn(IDC_SIZE_OFF);
            return;
        }
    }
    m_bySize = 1;
    ShowChoices();
}

BOOL CKVRVariantPage::OnKillActive()
{
    if (CKVRConfig* config = GetConfig()) {
        CSensorType type = config->GetSensorType();
        type.SetVariant(m_wVariant);
        config->SetSensorType(type);
        config->SetDeviceBitV3(m_bySize);
    }
    return TRUE;
}
