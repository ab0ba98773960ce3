#include "dialogs/CKVRControlWizard.h"

#include "dialogs/CKVRControlWizardPage.h"
#include "framework/core/CException.h"
#include "framework/core/Resources.h"
#include "model/CKVRConfig.h"
#include "model/CKVRControlConfig.h"

#include <initializer_list>

IMPLEMENT_DYNAMIC(CKVRControlWizard, CPropertySheet)

namespace {

constexpr UINT IDS_DEFAULT_NAME = 1182;

} // namespace

CKVRControlWizard::CKVRControlWizard(UINT nIDCaption, CWnd* pParentWnd)
    : CPropertySheet(nIDCaption, pParentWnd), m_nIDCaption(nIDCaption)
{
}

CKVRControlWizard::~CKVRControlWizard() = default;

void CKVRControlWizard::ResetTitle()
{
    CString caption;
    caption.LoadString(m_nIDCaption);
    SetTitle(caption);
}

BOOL CKVRControlWizard::RunWizard(const CKVRConfig& config, int nIndex, BOOL bNew)
{
    m_pControl.reset();
    if (bNew) {
        m_nCaseIndex = config.GetControlConfigCount();
        CString prefix;
        prefix.LoadString(IDS_DEFAULT_NAME);
        m_strName.Format("%s%d", prefix.c_str(), m_nCaseIndex + 1);
        m_pControl = std::make_unique<CKVRControlConfig>();
        m_pControl->SetScanCount(config.GetSensorType().GetMinScanCount());
    } else {
        const CKVRControlConfig* stored = config.GetControlConfig(nIndex);
        if (stored == nullptr) return FALSE;
        m_nCaseIndex = nIndex;
        m_strName = config.GetControlConfigName(nIndex);
        m_pControl = std::make_unique<CKVRControlConfig>(*stored);
    }
    m_pConfig = std::make_unique<CKVRConfig>(config);

    CKVRControlNamePage namePage;
    CKVRControlAssignWizardPage assignPage;
    CKVRControlInputsWizardPage inputsPage;
    CKVRControlSpeedWizardPage speedPage;
    CKVRControlOptionWizardPage optionPage;
    CKVRControlFollowWizardPage followPage;
    CKVRControlScansWizardPage scansPage;
    CKVRControlFinishPage finishPage;
    if (bNew) AddPage(&namePage);
    AddPage(&assignPage);
    if (config.GetUsedFlags() & kUsesSpeed)
        AddPage(&speedPage);
    else
        AddPage(&inputsPage);
    for (CPropertyPage* page : std::initializer_list<CPropertyPage*>{&optionPage, &followPage, &scansPage, &finishPage})
        AddPage(page);

    try {
        SetWizardMode();
        if (DoModal() != ID_WIZFINISH) m_pControl.reset();
    } catch (CException&) {
        m_pControl.reset();
    }
    // The pages end with this call; the sheet must not keep them.
    while (GetPageCount() > 0) RemovePage(0);
    return m_pControl != nullptr;
}

std::unique_ptr<CKVRControlConfig> RunNewKVRControlWizard(CWnd* pParent, const CKVRConfig& config, CString& name)
{
    CNewKVRControlWizard wizard(pParent);
    if (!wizard.Run(config)) return nullptr;
    name = wizard.GetName();
    return std::make_unique<CKVRControlConfig>(*wizard.GetControlConfig());
}

std::unique_ptr<CKVRControlConfig> RunEditKVRControlWizard(CWnd* pParent, const CKVRConfig& config, int nIndex)
{
    CEditKVRControlWizard wizard(pParent);
    if (!wizard.Run(config, nIndex)) return nullptr;
    return std::make_unique<CKVRControlConfig>(*wizard.GetControlConfig());
}
