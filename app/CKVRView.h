#pragma once
// The view of a KVR document in each pane of its frame. While the unit is watched live or
// its case switching is simulated, the pane tells which scanner the view shows: panes
// (0,0), (0,1), (1,0) and (1,1) are scanners 1 to 4.
#include "app/CDeviceView.h"
#include "app/CKVRDoc.h"

constexpr UINT IDS_SCANNER_CAPTION = 957;

// One of the two monitoring cases the unit (or its simulation) evaluates.
struct CEvaluatedCase {
    int scannerNumber = 0; // 1 to 4; 0 when the case has no scanner
    CString caseName;      // empty when no case is active
    CString scannerName;
    CString fieldPairName;
    CShelter* protectiveField = nullptr;
    CShelter* warningField = nullptr;
    CScan* scan = nullptr;
};

// The contour modes are drawn and told as in every family view (CDeviceView).
class CKVRView : public CDeviceView<CKVRDoc> {
    DECLARE_DYNCREATE(CKVRView)
public:
    CKVRView() = default;

    void SetCaptionText(const char* text) override;
    void DrawMode2(CDC* pDC) override;
    void DrawMode5(CDC* pDC) override;
    void GetModeText2(CString& text) override;
    void GetModeText5(CString& text) override;

    // 1 to 4 by the splitter pane that holds the view; 0 outside the panes.
    int GetScannerNumber() const;
    // The evaluated case of output 1 or 2 as the KVR document holds it; FALSE without one.
    virtual BOOL GetEvaluatedCase(int output, CEvaluatedCase& evaluated);

    // "case, scanner, field pair" of both evaluated cases.
    CString GetCaseText();
};
