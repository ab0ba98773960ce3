#pragma once
// What the views of both device families draw and tell alike: the contours of their
// document's teach-in (mode 3) and of its verification (modes 0 and 4, and the field
// transfer). Mode 0 shows the contour being verified, else the base drawing; mode 3 the
// second object and the taught contour; mode 4 the contour being verified and the scan.
// The texts of modes 3 and 4 (and 0, as 4) count the contours' beams. Doc is the family
// document; a view of any other document has no contours.
#include "app/CCommonView.h"
#include "model/CPolyShelter.h"

template <class Doc>
class CDeviceView : public CCommonView {
public:
    void DrawMode0(CDC* pDC) override { DrawVerifyContourOrBase(pDC, GetVerifyContour()); }
    void DrawMode3(CDC* pDC) override { DrawSecondAndContour(pDC, GetTeachContour()); }
    void DrawMode4(CDC* pDC) override { DrawVerifyContourAndScan(pDC, GetVerifyContour()); }
    void GetModeText0(CString& text) override { GetModeText4(text); }
    void GetModeText3(CString& text) override { text = BeamCountText(GetTeachContour()); }
    void GetModeText4(CString& text) override { text = MarkedBeamText(GetVerifyContour()); }

    CShelter* GetTeachContour() override
    {
        const Doc* doc = GetFamilyDocument();
        return doc != nullptr ? doc->GetTeachContour() : nullptr;
    }

    CShelter* GetVerifyContour() override
    {
        const Doc* doc = GetFamilyDocument();
        return doc != nullptr ? doc->GetVerifyContour() : nullptr;
    }

protected:
    const Doc* GetFamilyDocument() const { return dynamic_cast<const Doc*>(GetDocument()); }
};
