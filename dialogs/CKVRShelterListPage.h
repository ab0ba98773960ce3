#pragma once
// Page 133 of the KVR configuration sheet: the list of 1 to 8 field pairs; new pairs come
// from the field wizard.
#include "dialogs/CKVRListPage.h"

class CKVRShelterListPage : public CKVRListPage {
    DECLARE_DYNAMIC(CKVRShelterListPage)
public:
    CKVRShelterListPage();

protected:
    void AddEntry() override;
};
