#pragma once
// What both device views share: the drawing and the status-pane texts that follow the
// document's mode, the field context menu of the editing mode, the panes of the field's
// device flags, and sending the configuration to the device.
#include "app/CPreviewViewExt.h"
#include "app/CReportPrinter.h"
#include "app/CTalisoView.h"

class CCommonDoc;
class CScan;

// Commands of the device views.
constexpr UINT ID_SEND_TO_DEVICE = 32863;
constexpr UINT ID_PRINT_CONFIG_PREVIEW = 32909;
// The confirmation preview posts WM_CONFIRM_PREVIEW_DONE when it closes (wParam: the button).
constexpr UINT kConfirmPrintButton = 58116;
constexpr UINT kConfirmCloseButton = 0xE300;

// Status-bar panes the device views fill.
constexpr UINT ID_PANE_MODE_TEXT = 51;
constexpr UINT ID_PANE_IN_DEVICE = 52;
constexpr UINT ID_PANE_LOCKED = 53;
constexpr UINT ID_PANE_MODE_NAME = 57;

// Texts of the device views.
constexpr UINT IDS_POLYGON_SHAPE = 905;
constexpr UINT IDS_RECTANGLE_SHAPE = 906;
constexpr UINT IDS_ARC_SHAPE = 907;
constexpr UINT IDS_MARKED_BEAMS = 910;
constexpr UINT IDS_TAUGHT_BEAMS = 911;
constexpr UINT IDS_EVALUATED_CASES = 912;
constexpr UINT IDS_PROTOCOL_POSITION = 913;
constexpr UINT IDS_MODE_NAME_FIRST = 921;
constexpr UINT IDP_SEND_CONFIGURATION = 1804;
constexpr UINT IDP_PREVIEW_FAILED = 61705;
// Scan texts by evaluation case 0 to 6.
constexpr UINT kScanTextIds[] = {917, 920, 916, 919, 915, 918, 914};

class CCommonView : public CTalisoView {
    DECLARE_DYNCREATE(CCommonView)
public:
    CCommonView() = default;

    CCommonDoc* GetDocument() const;

    std::unique_ptr<CMenu> GetContextMenu() override;
    void DrawObjects(CDC* pDC) override;
    void OnInitialUpdate() override;

    // One drawing and one text of status pane 51 per document mode.
    virtual void DrawMode0(CDC* pDC);
    virtual void DrawMode1(CDC* pDC);
    virtual void DrawMode2(CDC* pDC);
    virtual void DrawMode3(CDC* pDC);
    virtual void DrawMode4(CDC* pDC);
    virtual void DrawMode5(CDC* pDC);
    virtual void DrawMode6(CDC* pDC);
    virtual void GetModeText0(CString& text);
    virtual void GetModeText1(CString& text);
    virtual void GetModeText2(CString& text);
    virtual void GetModeText3(CString& text);
    virtual void GetModeText4(CString& text);
    virtual void GetModeText5(CString& text);
    virtual void GetModeText6(CString& text);

    // The texts of panes 51 and 57 for the document's mode.
    CString GetModeText();
    CString GetModeName() const;

    // The contours of the family document's teach-in (mode 3) and of its verification
    // (mode 4 and field transfer); the common view has none.
    virtual CShelter* GetTeachContour();
    virtual CShelter* GetVerifyContour();

    // The protocol entry shown by a replay (0-based, -1 for none) and the number of
    // entries; FALSE while no protocol is loaded.
    virtual BOOL GetProtocolPosition(int& shown, int& count);

    afx_msg void OnUpdateModePane(CCmdUI* pCmdUI);
    afx_msg void OnUpdateModeTextPane(CCmdUI* pCmdUI);
    afx_msg void OnUpdateInDevicePane(CCmdUI* pCmdUI);
    afx_msg void OnUpdateLockedPane(CCmdUI* pCmdUI);
    afx_msg void OnSendToDevice();
    afx_msg void OnUpdateSendToDevice(CCmdUI* pCmdUI);
    afx_msg LRESULT OnConfirmPreviewDone(WPARAM wParam, LPARAM lParam);
    // A follow-up the document posted (CCommonDoc::RequestFollowUp, RequestModeStop).
    afx_msg LRESULT OnDocumentFollowUp(WPARAM wParam, LPARAM lParam);

    // Printing: the report the document builds, on framed pages (CReportPrinter).
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    afx_msg void OnFilePrintPreviewPre();
    afx_msg void OnPrintConfiguration();
    afx_msg void OnUpdatePrintConfiguration(CCmdUI* pCmdUI);
    afx_msg LRESULT OnPreviewCommand(WPARAM wParam, LPARAM lParam);
    int GetPrintKind() const { return m_nPrintKind; }

protected:
    // The document's mode as the index of its drawing and text (any unknown mode as 0).
    int GetModeSlot() const;
    // The document's current result when it is a scan.
    CScan* GetResultScan() const;
    // A field filled in a colour, merged with what is drawn (overlaps show both colours).
    void DrawFieldFilled(CDC* pDC, CShelter* pField, COLORREF color);
    // A field filled in the current object's colour, then its marked beams.
    void DrawFieldWithBeams(CDC* pDC, CShelter* pField);
    // Mode drawings of a family's contour: mode 0 shows the contour being verified when
    // there is one, else the base drawing; mode 3 the second object and the taught
    // contour; mode 4 the contour being verified and the scan.
    void DrawVerifyContourOrBase(CDC* pDC, CShelter* pContour);
    void DrawSecondAndContour(CDC* pDC, CShelter* pContour);
    void DrawVerifyContourAndScan(CDC* pDC, CShelter* pContour);
    // Pane texts of a field or a scan; empty when there is nothing to tell.
    static CString ShapeText(CShelter* pField);
    static CString ScanText(CScan* pScan);
    static CString BeamCountText(CShelter* pField);
    static CString MarkedBeamText(CShelter* pField);

    // What is being printed: 0 plain, 1 confirmation after sending, 2 configuration report.
    int m_nPrintKind = 0;
    CReportPrinter m_reportPrinter;

    DECLARE_MESSAGE_MAP()
};
