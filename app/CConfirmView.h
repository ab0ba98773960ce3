#pragma once
// The last check before a configuration goes to the device: a preview of the
// confirmation report whose Print button (relabelled "accept", string 960) accepts the
// transfer and whose Close button (string 961) rejects it. The decision reaches the
// printed view as WM_CONFIRM_PREVIEW_DONE with the preview's print command (accepted) or
// its close command (rejected); any other way of leaving the preview (closing its window, Escape,
// the printed view going away) counts as a rejection. Exactly one decision is sent.
#include "app/CPreviewViewExt.h"

class CConfirmView : public CPreviewView {
    DECLARE_DYNCREATE(CConfirmView)
public:
    CConfirmView();

    const CString& GetPrintCaption() const { return m_strPrint; }
    const CString& GetCloseCaption() const { return m_strClose; }

protected:
    void OnPreviewPrint() override;
    void OnPreviewClose() override;
    void OnEndPreview() override;

    afx_msg void OnUpdatePrint(CCmdUI* pCmdUI);
    afx_msg void OnUpdateClose(CCmdUI* pCmdUI);

private:
    void Decide(UINT command);

    CString m_strPrint;
    CString m_strClose;
    BOOL m_bDecided = FALSE;

    DECLARE_MESSAGE_MAP()
};
