#pragma once
// The view of a ZOK document in each pane of its frame.
#include "app/CCommonView.h"

class CZOKView : public CCommonView {
    DECLARE_DYNCREATE(CZOKView)
public:
    CZOKView() = default;
};
