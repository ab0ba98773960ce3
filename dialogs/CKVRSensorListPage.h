#pragma once
// Page 132 of the KVR configuration sheet: the list of 1 to 4 sensor configurations and a
// line naming the configuration's sensor model.
#include "dialogs/CKVRListPage.h"

class CKVRSensorListPage : public CKVRListPage {
    DECLARE_DYNAMIC(CKVRSensorListPage)
public:
    CKVRSensorListPage();

    BOOL OnInitDialog() override;

protected:
    int GetEntryCount() const override;
    void FillList() override;
    int FindEntry(const CString& name) const override;
    void RenameEntry(int n, const CString& name) override;
    void AddEntry() override;
    void DeleteEntry(int n) override;
};
