#pragma once
// The document of a ZOK scanner (see CDeviceDoc for what both families share): its
// configuration holds one protective and one warning field; the selector only tells
// whether the scanner is selected, and the current and second field are named by kind.
#include "app/CDeviceDoc.h"
#include "model/CZOKConfig.h"

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

    void FillSelectorCombo(CSelectorComboBox* pCombo) override;
    void FillFirstObjectCombo(CSelectorComboBox* pCombo) override;
    void FillSecondObjectCombo(CSelectorComboBox* pCombo) override;

    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    // While a document file loads, an unknown version shows message 337.
    void ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault) override;

protected:
    CShelter* FieldOf(CShelterSelection selection) const override;
    void CheckSelections() override;
    NewDocumentReading<CZOKConfig> ReadNewDocument() override;
    std::unique_ptr<CZOKConfig> RunNewWizard() override;
    std::unique_ptr<CZOKConfig> EditConfiguration(const CZOKConfig* pOwn) override;
    std::unique_ptr<CZOKConfig> ReadDeviceConfiguration() override;
    std::unique_ptr<CShelter> ReadDeviceField(CShelterSelection selection) override;
    BOOL TestDeviceConnection() override;

private:
    void PutField(CShelterSelection selection, const CSensorObject* pObject);

    BOOL m_bOpening = FALSE;

    // The family's device dialogs.
    afx_msg void OnProtocolResults();
    afx_msg void OnDiagnosisResults();
    afx_msg void OnZOKParameters();
    afx_msg void OnUpdateZOKParameters(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()
};
