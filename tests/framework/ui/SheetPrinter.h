#pragma once
// A print job client for the page loop's tests: writes "Sheet <n>" on every page and
// logs the hooks; onPage runs after each page is drawn.
#include "framework/gdi/CDC.h"
#include "framework/ui/CPrintingDialog.h"

#include <functional>
#include <vector>

class SheetPrinter : public CPrintJobClient {
public:
    std::vector<UINT> pages;
    int begins = 0;
    int ends = 0;
    std::function<void(UINT)> onPage;

    void PrintJobPrepareDC(CDC*, CPrintInfo*) override {}
    void PrintJobBegin(CDC*, CPrintInfo*) override { ++begins; }
    void PrintJobPage(CDC* pDC, CPrintInfo* pInfo) override
    {
        pages.push_back(pInfo->m_nCurPage);
        CString text;
        text.Format("Sheet %u", pInfo->m_nCurPage);
        pDC->TextOut(pInfo->m_rectDraw.left + 100, pInfo->m_rectDraw.top + 100, text);
        if (onPage) onPage(pInfo->m_nCurPage);
    }
    void PrintJobEnd(CDC*, CPrintInfo*) override { ++ends; }
};
