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
    void AddEntry() override { AddNamedSensor(); }
};
