#pragma once
// The view of a ZOK document in each pane of its frame: the scanner's own fields live and
// the contours of its teach-in and verification.
#include "app/CCommonView.h"

class CZOKView : public CCommonView {
    DECLARE_DYNCREATE(CZOKView)
public:
    CZOKView() = default;

    void DrawMode0(CDC* pDC) override;
    void DrawMode2(CDC* pDC) override;
    void DrawMode3(CDC* pDC) override;
    void DrawMode4(CDC* pDC) override;
    // The document's contours of the teach-in and of the verification.
    CShelter* GetTeachContour() override;
    CShelter* GetVerifyContour() override;
    void GetModeText0(CString& text) override;
    void GetModeText3(CString& text) override;
    void GetModeText4(CString& text) override;
};
