#include "app/CCommonView.h"

#include "app/CCommonDoc.h"
#include "app/CDeviceReport.h"
#include "app/settings/CTalisoSetup.h"
#include "device/dialogs/CLoginDialog.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CMDIChildWnd.h"
#include "framework/ui/CMenu.h"
#include "framework/ui/CPrintInfo.h"
#include "framework/ui/CPrintDialog.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/MessageBox.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "model/CScan.h"

IMPLEMENT_DYNCREATE(CCommonView, CTalisoView)

BEGIN_MESSAGE_MAP(CCommonView, CTalisoView)
    ON_UPDATE_COMMAND_UI(ID_PANE_MODE_NAME, OnUpdateModePane)
    ON_UPDATE_COMMAND_UI(ID_PANE_MODE_TEXT, OnUpdateModeTextPane)
    ON_UPDATE_COMMAND_UI(ID_PANE_IN_DEVICE, OnUpdateInDevicePane)
    ON_UPDATE_COMMAND_UI(ID_PANE_LOCKED, OnUpdateLockedPane)
    ON_COMMAND(ID_SEND_TO_DEVICE, OnSendToDevice)
    ON_UPDATE_COMMAND_UI(ID_SEND_TO_DEVICE, OnUpdateSendToDevice)
    ON_MESSAGE(WM_CONFIRM_PREVIEW_DONE, OnConfirmPreviewDone)
    ON_MESSAGE(WM_DOCUMENT_FOLLOW_UP, OnDocumentFollowUp)
    ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnFilePrintPreviewPre)
    ON_COMMAND(ID_PRINT_CONFIG_PREVIEW, OnPrintConfiguration)
    ON_UPDATE_COMMAND_UI(ID_PRINT_CONFIG_PREVIEW, OnUpdatePrintConfiguration)
    ON_MESSAGE(WM_PREVIEW_COMMAND, OnPreviewCommand)
END_MESSAGE_MAP()

namespace {

constexpr UINT kFieldContextMenu = 3;

CString FormatLoaded(UINT id, int first, int second)
{
    CString format;
    format.LoadString(id);
    CString text;
    text.Format(format.c_str(), first, second);
    return text;
}

} // namespace

CCommonDoc* CCommonView::GetDocument() const
{
    return dynamic_cast<CCommonDoc*>(m_pDocument);
}

void CCommonView::OnInitialUpdate()
{
    CTalisoView::OnInitialUpdate();
    if (!GetTalisoSetup().m_bViewMaximize)
        return;
    if (auto* child = dynamic_cast<CMDIChildWnd*>(GetParentFrame()); child != nullptr)
        child->MDIMaximize();
}

std::unique_ptr<CMenu> CCommonView::GetContextMenu()
{
    const CCommonDoc* doc = GetDocument();
    if (doc == nullptr || doc->GetMode() != kModeEdit)
        return nullptr;
    auto menu = std::make_unique<CMenu>();
    if (!menu->LoadMenu(kFieldContextMenu))
        return nullptr;
    return menu;
}

CScan* CCommonView::GetResultScan() const
{
    const CCommonDoc* doc = GetDocument();
    return doc != nullptr ? dynamic_cast<CScan*>(doc->GetResult()) : nullptr;
}

// --- drawing ---

int CCommonView::GetModeSlot() const
{
    const CCommonDoc* doc = GetDocument();
    const int mode = doc != nullptr ? doc->GetMode() : kModeNone;
    return mode >= kModeNone && mode <= kModeReplay ? mode : kModeNone;
}

void CCommonView::DrawObjects(CDC* pDC)
{
    using DrawSlot = void (CCommonView::*)(CDC*);
    static constexpr DrawSlot kDrawings[] = {&CCommonView::DrawMode0, &CCommonView::DrawMode1, &CCommonView::DrawMode2,
                                             &CCommonView::DrawMode3, &CCommonView::DrawMode4, &CCommonView::DrawMode5,
                                             &CCommonView::DrawMode6};
    (this->*kDrawings[GetModeSlot()])(pDC);
}

void CCommonView::DrawFieldFilled(CDC* pDC, CShelter* pField, COLORREF color)
{
    if (pField == nullptr)
        return;
    const int oldRop = pDC->SetROP2(R2_MERGEPEN);
    pField->SetFillColor(color);
    pField->DrawFilledOnLayer(pDC, GetDocument()->GetActiveLayer());
    pDC->SetROP2(oldRop);
}

void CCommonView::DrawFieldWithBeams(CDC* pDC, CShelter* pField)
{
    CCommonDoc* doc = GetDocument();
    DrawFieldFilled(pDC, pField, doc->GetCurrentObjectColor());
    const int oldRop = pDC->SetROP2(R2_COPYPEN);
    pField->DrawBeamsOnLayer(pDC, doc->GetActiveLayer());
    pDC->SetROP2(oldRop);
}

void CCommonView::DrawMode0(CDC* pDC)
{
    CTalisoView::DrawObjects(pDC);
}

void CCommonView::DrawMode1(CDC* pDC)
{
    CCommonDoc* doc = GetDocument();
    DrawFieldFilled(pDC, doc->GetSecondObject(), doc->GetSecondObjectColor());
    CShelter* current = doc->GetCurrentObject();
    DrawFieldFilled(pDC, current, doc->GetCurrentObjectColor());
    DrawScan(pDC, GetResultScan());
    if (current != nullptr) {
        const int oldRop = pDC->SetROP2(R2_COPYPEN);
        const int marker = GetTalisoSetup().m_nMarkerSizeUnits;
        current->SetHandleSize(marker, marker);
        current->DrawHandlesOnLayer(pDC, doc->GetActiveLayer());
        pDC->SetROP2(oldRop);
    }
}

void CCommonView::DrawMode2(CDC*) {}

void CCommonView::DrawMode3(CDC* pDC)
{
    DrawSecondAndContour(pDC, GetDocument()->GetCurrentObject());
}

void CCommonView::DrawMode4(CDC*) {}

void CCommonView::DrawMode5(CDC*) {}

void CCommonView::DrawMode6(CDC* pDC)
{
    DrawScan(pDC, GetResultScan());
}

void CCommonView::DrawVerifyContourOrBase(CDC* pDC, CShelter* pContour)
{
    if (pContour != nullptr)
        DrawFieldWithBeams(pDC, pContour);
    else
        CTalisoView::DrawObjects(pDC);
}

void CCommonView::DrawSecondAndContour(CDC* pDC, CShelter* pContour)
{
    CCommonDoc* doc = GetDocument();
    DrawFieldFilled(pDC, doc->GetSecondObject(), doc->GetSecondObjectColor());
    DrawFieldFilled(pDC, pContour, doc->GetCurrentObjectColor());
}

void CCommonView::DrawVerifyContourAndScan(CDC* pDC, CShelter* pContour)
{
    if (pContour != nullptr)
        DrawFieldWithBeams(pDC, pContour);
    DrawScan(pDC, GetResultScan());
}

// --- mode texts ---

CString CCommonView::ShapeText(CShelter* pField)
{
    CString text;
    if (auto* poly = dynamic_cast<CPolyShelter*>(pField); poly != nullptr)
        return FormatLoaded(IDS_POLYGON_SHAPE, poly->GetVertexCount(), poly->GetBeamCount());
    if (dynamic_cast<CRectShelter*>(pField) != nullptr)
        text.LoadString(IDS_RECTANGLE_SHAPE);
    else if (dynamic_cast<CArcShelter*>(pField) != nullptr)
        text.LoadString(IDS_ARC_SHAPE);
    return text;
}

CString CCommonView::ScanText(CScan* pScan)
{
    if (pScan == nullptr || !CScan::IsValidEvalCase(pScan->GetEvalCase()))
        return CString();
    CString format;
    format.LoadString(kScanTextIds[pScan->GetEvalCase()]);
    CString text;
    const int fa = pScan->GetFACount();
    const int fb = pScan->GetFBCount();
    const int re = pScan->GetRECount();
    switch (pScan->GetEvalCase()) {
    case 0: text.Format(format.c_str(), fa, fb, int(pScan->CountFlag3())); break;
    case 2: text.Format(format.c_str(), fa, fb, int(pScan->GetFCCount())); break;
    case 4: text.Format(format.c_str(), fa, fb); break;
    case 6: text.Format(format.c_str(), fa); break;
    default: text.Format(format.c_str(), re); break; // cases 1, 3 and 5
    }
    return text;
}

CString CCommonView::BeamCountText(CShelter* pField)
{
    auto* poly = dynamic_cast<CPolyShelter*>(pField);
    if (poly == nullptr)
        return CString();
    CString format;
    format.LoadString(IDS_TAUGHT_BEAMS);
    CString text;
    text.Format(format.c_str(), poly->GetBeamCount());
    return text;
}

CString CCommonView::MarkedBeamText(CShelter* pField)
{
    auto* poly = dynamic_cast<CPolyShelter*>(pField);
    if (poly == nullptr)
        return CString();
    return FormatLoaded(IDS_MARKED_BEAMS, poly->GetMarkedBeamCount(), poly->GetBeamCount());
}

void CCommonView::GetModeText0(CString& text)
{
    text.Empty();
}

void CCommonView::GetModeText1(CString& text)
{
    text = ShapeText(GetDocument()->GetCurrentObject());
}

void CCommonView::GetModeText2(CString& text)
{
    text = ScanText(GetResultScan());
}

void CCommonView::GetModeText3(CString& text)
{
    text = BeamCountText(GetDocument()->GetCurrentObject());
}

void CCommonView::GetModeText4(CString& text)
{
    text = MarkedBeamText(GetDocument()->GetCurrentObject());
}

void CCommonView::GetModeText5(CString& text)
{
    GetModeText1(text);
}

void CCommonView::GetModeText6(CString& text)
{
    int shown = 0;
    int count = 0;
    if (GetProtocolPosition(shown, count))
        text = FormatLoaded(IDS_PROTOCOL_POSITION, shown + 1, count);
    else
        text.Empty();
}

CShelter* CCommonView::GetTeachContour()
{
    return nullptr;
}

CShelter* CCommonView::GetVerifyContour()
{
    return nullptr;
}

BOOL CCommonView::GetProtocolPosition(int& shown, int& count)
{
    const CCommonDoc* doc = GetDocument();
    int position = 0;
    count = doc != nullptr ? doc->GetProtocolPosition(&position, nullptr) : 0;
    shown = position - 1;
    return count > 0;
}

CString CCommonView::GetModeText()
{
    using TextSlot = void (CCommonView::*)(CString&);
    static constexpr TextSlot kTexts[] = {&CCommonView::GetModeText0, &CCommonView::GetModeText1,
                                          &CCommonView::GetModeText2, &CCommonView::GetModeText3,
                                          &CCommonView::GetModeText4, &CCommonView::GetModeText5,
                                          &CCommonView::GetModeText6};
    CString text;
    (this->*kTexts[GetModeSlot()])(text);
    return text;
}

CString CCommonView::GetModeName() const
{
    CString text;
    if (const int slot = GetModeSlot(); slot != kModeNone)
        text.LoadString(IDS_MODE_NAME_FIRST + UINT(slot - kModeEdit));
    return text;
}

// --- panes ---

void CCommonView::OnUpdateModePane(CCmdUI* pCmdUI)
{
    ShowPaneText(pCmdUI, GetModeName(), TRUE);
}

void CCommonView::OnUpdateModeTextPane(CCmdUI* pCmdUI)
{
    ShowPaneText(pCmdUI, GetModeText(), TRUE);
}

void CCommonView::OnUpdateInDevicePane(CCmdUI* pCmdUI)
{
    CCommonDoc* doc = GetDocument();
    const CShelter* field = doc != nullptr ? doc->GetCurrentObject() : nullptr;
    pCmdUI->Enable(field != nullptr && field->IsProtectiveInDevice());
}

void CCommonView::OnUpdateLockedPane(CCmdUI* pCmdUI)
{
    CCommonDoc* doc = GetDocument();
    const CShelter* field = doc != nullptr ? doc->GetCurrentObject() : nullptr;
    pCmdUI->Enable(field != nullptr && field->IsLocked());
}

// --- sending to the device ---

void CCommonView::OnUpdateSendToDevice(CCmdUI* pCmdUI)
{
    const CCommonDoc* doc = GetDocument();
    pCmdUI->Enable(theLoginDialog.CanSendConfiguration() && doc != nullptr && doc->GetMode() == kModeNone);
}

void CCommonView::OnSendToDevice()
{
    CCommonDoc* doc = GetDocument();
    if (doc == nullptr)
        return;
    AfxMessageBox(IDP_SEND_CONFIGURATION, MB_OK);
    if (!doc->TransferToDevice())
        return;
    m_nPrintKind = 1;
    if (DoConfirmPreview(this))
        return;
    // Without the preview the device's corrected configuration is rejected, so that the
    // device is never left half-written.
    AfxMessageBox(IDP_PREVIEW_FAILED, MB_OK | MB_ICONEXCLAMATION);
    m_nPrintKind = 0;
    doc->ConfirmTransfer(0);
}

LRESULT CCommonView::OnConfirmPreviewDone(WPARAM wParam, LPARAM)
{
    CCommonDoc* doc = GetDocument();
    if (doc != nullptr && wParam == kConfirmPrintButton)
        doc->ConfirmTransfer(1);
    else if (doc != nullptr && wParam == kConfirmCloseButton)
        doc->ConfirmTransfer(0);
    return 1;
}

LRESULT CCommonView::OnDocumentFollowUp(WPARAM wParam, LPARAM lParam)
{
    if (CCommonDoc* doc = GetDocument())
        doc->RunFollowUp(this, wParam, lParam);
    return 1;
}

// --- printing (CReportPrinter lays out and frames the pages) ---

void CCommonView::OnFilePrintPreviewPre()
{
    if (!DoPrintPreview(AFX_IDD_PREVIEW_TOOLBAR, this, RUNTIME_CLASS(CPreviewViewPre), new CPrintPreviewState))
        AfxMessageBox(IDP_PREVIEW_FAILED, MB_OK | MB_ICONEXCLAMATION);
}

void CCommonView::OnUpdatePrintConfiguration(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(theLoginDialog.CanPrintPreview());
}

void CCommonView::OnPrintConfiguration()
{
    m_nPrintKind = kPrintDeviceReport;
    const UINT toolBar = theLoginDialog.CanSaveDocument() ? IDR_PREVIEW_SAVE_TOOLBAR : AFX_IDD_PREVIEW_TOOLBAR;
    if (!DoReportPreview(this, toolBar)) {
        m_nPrintKind = 0;
        AfxMessageBox(IDP_PREVIEW_FAILED, MB_OK | MB_ICONEXCLAMATION);
    }
}

LRESULT CCommonView::OnPreviewCommand(WPARAM wParam, LPARAM)
{
    if (wParam == AFX_ID_PREVIEW_PRINT) {
        m_nPrintKind = kPrintDeviceReport;
        PostMessage(WM_COMMAND, ID_FILE_PRINT);
    } else if (wParam == ID_PREVIEW_SAVE_COPY) {
        CCommonDoc* doc = GetDocument();
        CString path;
        if (doc != nullptr && AfxGetApp() != nullptr &&
            AfxGetApp()->DoPromptFileName(path, AFX_IDS_SAVEFILE, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE,
                                          doc->GetDocTemplate()))
            doc->DoSave(path, FALSE);
    }
    return 1;
}

BOOL CCommonView::OnPreparePrinting(CPrintInfo* pInfo)
{
    AfxGetApp()->m_nNumPreviewPages = 1;
    pInfo->m_pPD->m_pd.Flags |= PD_NOPAGENUMS | PD_NOSELECTION;
    CCommonDoc* doc = GetDocument();
    if (!DoPreparePrinting(pInfo) || doc == nullptr) {
        m_nPrintKind = 0;
        return FALSE;
    }
    const int prepared = doc->PreparePrint(m_nPrintKind);
    if (prepared == 0)
        m_nPrintKind = 0;
    return prepared;
}

void CCommonView::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    CCommonDoc* doc = GetDocument();
    const int kind = m_nPrintKind;
    m_reportPrinter.BeginPrinting(pDC, pInfo, doc != nullptr ? doc->GetTitle() : CString(), kind == kPrintDeviceReport,
                                  [doc, kind](CObList& objects) { return doc != nullptr ? doc->BuildReport(&objects, kind) : 0; });
}

void CCommonView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    CTalisoView::OnPrepareDC(pDC, pInfo);
    if (pDC->IsPrinting())
        m_reportPrinter.PrepareDC(pDC, pInfo);
}

void CCommonView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    m_reportPrinter.PrintPage(pDC, pInfo);
}

void CCommonView::OnEndPrinting(CDC*, CPrintInfo*)
{
    m_reportPrinter.EndPrinting();
    if (CCommonDoc* doc = GetDocument())
        doc->EndPrint(m_nPrintKind);
    m_nPrintKind = 0;
}
