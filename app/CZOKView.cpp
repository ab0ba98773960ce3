#include "app/CZOKView.h"

#include "app/settings/CTalisoSetup.h"

IMPLEMENT_DYNCREATE(CZOKView, CCommonView)

void CZOKView::DrawMode2(CDC* pDC)
{
    if (const CZOKDoc* doc = GetFamilyDocument(); doc != nullptr) {
        for (int kind : {kWarningField, kProtectiveField})
            DrawFieldFilled(pDC, doc->GetField(kind), GetTalisoSetup().GetFieldColor(kind));
    }
    DrawScan(pDC, GetResultScan());
}
