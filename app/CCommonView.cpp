#include "app/CCommonView.h"

#include "framework/gdi/CDC.h"

IMPLEMENT_DYNAMIC(CCommonView, CView)

void CCommonView::OnDraw(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(client, RGB(0, 0, 0));
}
