#include "app/CZOKView.h"

#include "app/settings/CTalisoSetup.h"
#include "app/CZOKDoc.h"
#include "model/CPolyShelter.h"

IMPLEMENT_DYNCREATE(CZOKView, CCommonView)

void CZOKView::DrawMode0(CDC* pDC)
{
    DrawVerifyContourOrBase(pDC, GetVerifyContour());
}

void CZOKView::DrawMode2(CDC* pDC)
{
    if (auto* doc = dynamic_cast<CZOKDoc*>(GetDocument()); doc != nullptr) {
        for (int kind : {kWarningField, kProtectiveField})
            DrawFieldFilled(pDC, doc->GetField(kind), GetTalisoSetup().GetFieldColor(kind));
    }
    DrawScan(pDC, GetResultScan());
}

void CZOKView::DrawMode3(CDC* pDC)
{
    DrawSecondAndContour(pDC, GetTeachContour());
}

void CZOKView::DrawMode4(CDC* pDC)
{
    DrawVerifyContourAndScan(pDC, GetVerifyContour());
}

void CZOKView::GetModeText0(CString& text)
{
    GetModeText4(text);
}

void CZOKView::GetModeText3(CString& text)
{
    text = BeamCountText(GetTeachContour());
}

void CZOKView::GetModeText4(CString& text)
{
    text = MarkedBeamText(GetVerifyContour());
}

CShelter* CZOKView::GetTeachContour()
{
    const auto* doc = dynamic_cast<const CZOKDoc*>(GetDocument());
    return doc != nullptr ? doc->GetTeachContour() : nullptr;
}

CShelter* CZOKView::GetVerifyContour()
{
    const auto* doc = dynamic_cast<const CZOKDoc*>(GetDocument());
    return doc != nullptr ? doc->GetVerifyContour() : nullptr;
}
