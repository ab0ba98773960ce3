#pragma once
// The list pages of the KVR configuration sheet: entry names alone in list box 2050; add
// (2168), rename (2173) and delete (2059) buttons. A double click renames unless the page
// says otherwise.
#include "dialogs/CKVRConfigPage.h"
#include "dialogs/CKVRListPageBase.h"

class CKVRListPage : public CKVRListPageBase<CKVRConfigPage> {
    DECLARE_DYNAMIC(CKVRListPage)
public:
    CKVRListPage(UINT nIDTemplate, const KVRConfigList& list);

    BOOL OnInitDialog() override;

protected:
    // A new entry; the page's own way.
    virtual void AddEntry() = 0;

    afx_msg void OnAdd();
    afx_msg virtual void OnListDoubleClick();

    DECLARE_MESSAGE_MAP()
};
