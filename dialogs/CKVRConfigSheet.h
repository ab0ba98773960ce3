#pragma once
// The property sheet (caption 1173) in which the user edits a whole KVR configuration on
// eight pages. It works on a copy and hands the copy back only after OK, and OK is taken
// only when the whole configuration passes its plausibility check: a failing check keeps
// the sheet open on the page the user was on, so no edit is lost.
#include "framework/ui/CPropertySheet.h"
#include "model/CKVRConfig.h"

#include <memory>

class KVREntryWizards;

class CKVRConfigSheet : public CPropertySheet {
    DECLARE_DYNCREATE(CKVRConfigSheet)
public:
    explicit CKVRConfigSheet(CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CKVRConfigSheet() override;

    // Edits a copy of the configuration (a default one for null). A new configuration
    // after OK; null after Cancel or when the sheet could not run.
    std::unique_ptr<CKVRConfig> Edit(const CKVRConfig* pConfig);

    // The configuration being edited; null outside Edit.
    CKVRConfig* GetConfig() const { return m_pConfig.get(); }

    // The wizards that add field pairs and cases; they must outlive the sheet's run.
    void SetEntryWizards(KVREntryWizards* pWizards) { m_pWizards = pWizards; }
    KVREntryWizards* GetEntryWizards() const { return m_pWizards; }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    // The shown page gives up its values, then the whole configuration is checked.
    BOOL AcceptOk();

    std::unique_ptr<CKVRConfig> m_pConfig;
    KVREntryWizards* m_pWizards = nullptr;
};
