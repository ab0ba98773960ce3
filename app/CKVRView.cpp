#include "app/CKVRView.h"

#include "app/settings/CTalisoSetup.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CSplitterWnd.h"
#include "model/CScan.h"
#include "model/CShelter.h"
#include "model/DistanceUnit.h"

IMPLEMENT_DYNCREATE(CKVRView, CCommonView)

namespace {

BOOL ShowsScannerPanes(int mode)
{
    return mode == kModeMonitor || mode == kModeSimulation;
}

} // namespace

int CKVRView::GetScannerNumber() const
{
    auto* splitter = dynamic_cast<CSplitterWnd*>(GetParent());
    int row = 0;
    int col = 0;
    if (splitter == nullptr || !splitter->IsChildPane(const_cast<CKVRView*>(this), &row, &col))
        return 0;
    if (row < 0 || row > 1 || col < 0 || col > 1)
        return 0;
    return row * 2 + col + 1;
}

BOOL CKVRView::GetEvaluatedCase(int output, CEvaluatedCase& evaluated)
{
    const CKVRDoc* doc = GetFamilyDocument();
    if (doc == nullptr || output < 1 || output > 2)
        return FALSE;
    evaluated.scannerNumber = doc->GetCaseScannerNumber(output);
    evaluated.caseName = doc->GetCaseName(output);
    evaluated.scannerName = doc->GetCaseScannerName(output);
    evaluated.fieldPairName = doc->GetCaseShelterName(output);
    evaluated.protectiveField = doc->GetCaseField(output, kProtectiveField);
    evaluated.warningField = doc->GetCaseField(output, kWarningField);
    evaluated.scan = doc->GetCaseScan(output);
    return TRUE;
}

void CKVRView::SetCaptionText(const char* text)
{
    const CCommonDoc* doc = GetDocument();
    const int scanner = GetScannerNumber();
    if (doc == nullptr || !ShowsScannerPanes(doc->GetMode()) || scanner == 0) {
        CCommonView::SetCaptionText(text);
        return;
    }
    CString format;
    format.LoadString(IDS_SCANNER_CAPTION);
    CString caption;
    caption.Format(format.c_str(), scanner, ::GetUnitText(kUnitCm, !GetTalisoSetup().m_bViewMetric).c_str());
    CCommonView::SetCaptionText(caption.c_str());
}

void CKVRView::DrawMode2(CDC* pDC)
{
    DrawMode5(pDC);
}

void CKVRView::DrawMode5(CDC* pDC)
{
    const int scanner = GetScannerNumber();
    if (scanner == 0)
        return;
    const CTalisoSetup& setup = GetTalisoSetup();
    CEvaluatedCase cases[2];
    BOOL present[2] = {GetEvaluatedCase(1, cases[0]), GetEvaluatedCase(2, cases[1])};
    for (int i = 0; i < 2; ++i) {
        if (!present[i] || cases[i].scannerNumber != scanner)
            continue;
        DrawFieldFilled(pDC, cases[i].warningField, setup.GetFieldColor(kWarningField));
        DrawFieldFilled(pDC, cases[i].protectiveField, setup.GetFieldColor(kProtectiveField));
    }
    CScan* scan = nullptr;
    for (int i = 0; i < 2 && scan == nullptr; ++i) {
        if (present[i] && cases[i].scannerNumber == scanner)
            scan = cases[i].scan;
    }
    if (scan == nullptr)
        return;
    // The scanners' panes always show the scan as its contour line.
    const int oldRop = pDC->SetROP2(R2_COPYPEN);
    scan->SetNormalColor(setup.m_crNormalScan);
    scan->SetFlaggedColor(setup.m_crDamageScan);
    scan->DrawOutlineOnLayer(pDC, GetDocument()->GetActiveLayer());
    pDC->SetROP2(oldRop);
}

CString CKVRView::GetCaseText()
{
    CString texts[2];
    for (int output = 1; output <= 2; ++output) {
        CEvaluatedCase evaluated;
        CString& text = texts[output - 1];
        if (!GetEvaluatedCase(output, evaluated) || evaluated.caseName.IsEmpty())
            text = "-";
        else
            text = evaluated.caseName + ", " + evaluated.scannerName + ", " + evaluated.fieldPairName;
    }
    CString format;
    format.LoadString(IDS_EVALUATED_CASES);
    CString text;
    text.Format(format.c_str(), texts[0].c_str(), texts[1].c_str());
    return text;
}

void CKVRView::GetModeText2(CString& text)
{
    const CString scan = ScanText(GetResultScan());
    const CString cases = GetCaseText();
    if (scan.IsEmpty() || cases.IsEmpty())
        text = scan.IsEmpty() ? cases : scan;
    else
        text = scan + ", " + cases;
}

void CKVRView::GetModeText5(CString& text)
{
    text = GetCaseText();
}
