#pragma once
// What both device views share: the scanner's surroundings on black.
#include "framework/ui/CView.h"

class CCommonView : public CView {
    DECLARE_DYNAMIC(CCommonView)
public:
    CCommonView() = default;
    void OnDraw(CDC* pDC) override;
};
