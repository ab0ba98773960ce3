#pragma once
// The document of a ZOK scanner (see CDeviceDoc for what both families share): its
// configuration holds one protective and one warning field; the selector only tells
// whether the scanner is selected, and the current and second field are named by kind.
#include "app/CDeviceDoc.h"
#include "model/CZOKConfig.h"

#include <memory>

class CPolyShelter;

class CZOKDoc : public CDeviceDoc<CZOKConfig> {
    DECLARE_SERIAL(CZOKDoc)
public:
    // Values of the selected scanner.
    static constexpr int kNoScanner = 0;
    static constexpr int kScanner = 1;

    CZOKDoc();
    ~CZOKDoc() override;

    // The field of a kind of the shown configuration (null for another kind).
    CShelter* GetField(int kind) const;
    // Response time of the shown configuration in ms; 0 without one.
    int GetResponseTime() const;

    // Both objects are stored: a copy goes into the configuration under the kind.
    void SetCurrentObject(CSensorObject* pObject) override;
    COLORREF GetCurrentObjectColor() override;
    void SetSecondObject(CSensorObject* pObject) override;
    COLORREF GetSecondObjectColor() override;
    WORD GetSensorCount() override { return 1; }

    // The printed report of the configuration shown (CZOKReport).
    int BuildReport(CObList* pPrintObjects, int nKind) override;

    // Modes (CZOKDocModes.cpp): edit, live monitoring, teach-in, verification; the scan.
    int RunMode1(int nAction) override;
    int RunMode2(int nAction) override;
    int RunMode3(int nAction) override;
    int RunMode4(int nAction) override;
    std::unique_ptr<CSensorObject> FetchScan(WORD wDivisor) override;
    // The contours of mode 3 and of mode 4 or the field transfer (null when none).
    CPolyShelter* GetTeachContour() const;
    CPolyShelter* GetVerifyContour() const;
    // Replaces (and deletes) the contour of the verification or field transfer; null drops it.
    void SetVerifyContour(std::unique_ptr<CPolyShelter> contour);

    // Two-step write with its confirmation, behind the firmware gate (CZOKDocTransfer.cpp).
    int TransferToDevice() override;
    int ConfirmTransfer(int nAccepted) override;

    void FillSelectorCombo(CSelectorComboBox* pCombo) override;

    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    // While a document file loads, an unknown version shows message 337.
    void ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault) override;

protected:
    CShelter* FieldOf(CShelterSelection selection) const override;
    void CheckSelections() override;
    // The protective field, then the warning field, both under the configuration's
    // second name.
    std::vector<FieldItem> GetFieldItems() const override;
    std::unique_ptr<CZOKConfig> RunNewWizard() override;
    std::unique_ptr<CZOKConfig> EditConfiguration(const CZOKConfig* pOwn) override;
    std::unique_ptr<CShelter> ReadDeviceField(CShelterSelection selection) override;
    // CZOKDocTransfer.cpp.
    void RunFieldTransfer() override;

private:
    void PutField(CShelterSelection selection, const CSensorObject* pObject);

    BOOL m_bOpening = FALSE;

    // Modes (CZOKDocModes.cpp). A teach-in or verification starts only with the device's
    // capability, the scanner selected and the document saved or its changes let go.
    BOOL CheckContourStart(int capability, UINT nIDPrompt);
    std::unique_ptr<CPolyShelter> m_pTeachContour;
    std::unique_ptr<CPolyShelter> m_pVerifyContour;

    // The scanner's parameter-set dialog.
    afx_msg void OnZOKParameters();
    afx_msg void OnUpdateZOKParameters(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()
};
