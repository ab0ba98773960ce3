#pragma once
// The property sheet (caption string 1174) in which the user edits a ZOK scanner's
// configuration on six pages. It works on a copy and hands the copy back on OK; unlike
// the KVR sheet it runs no plausibility check, so OK returns whatever the pages hold.
#include "framework/ui/CPropertySheet.h"
#include "model/CZOKConfig.h"

#include <memory>

class CZOKConfigSheet : public CPropertySheet {
    DECLARE_DYNCREATE(CZOKConfigSheet)
public:
    explicit CZOKConfigSheet(CWnd* pParentWnd = nullptr);

    // Runs the sheet on a copy of the configuration (a default one for null). OK gives
    // the edited copy, owned by the caller; Cancel or a framework exception gives null.
    // The caller's configuration is never touched.
    std::unique_ptr<CZOKConfig> Edit(const CZOKConfig* pConfig);

    // The copy the pages edit; null outside Edit.
    CZOKConfig* GetConfig() const { return m_pConfig.get(); }

private:
    std::unique_ptr<CZOKConfig> m_pConfig;
};
