#pragma once
// The view of a KVR document in each pane of its frame.
#include "app/CCommonView.h"

class CKVRView : public CCommonView {
    DECLARE_DYNCREATE(CKVRView)
public:
    CKVRView() = default;
};
