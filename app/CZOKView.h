#pragma once
// The view of a ZOK document in each pane of its frame: the scanner's own fields live and
// the contours of its teach-in and verification.
#include "app/CDeviceView.h"
#include "app/CZOKDoc.h"

// The contour modes are drawn and told as in every family view (CDeviceView).
class CZOKView : public CDeviceView<CZOKDoc> {
    DECLARE_DYNCREATE(CZOKView)
public:
    CZOKView() = default;

    void DrawMode2(CDC* pDC) override;
};
