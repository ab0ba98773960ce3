#pragma once
// The diagnosis results dialog (template 108): OK reads the identification and the error
// list of the connected device into a text report, which the user can print or save to a
// text file.
// The dialog stays open after a read. The family variants build the text.
#include "dialogs/DiagnosisText.h"
#include "framework/ui/CDialog.h"

class CDiagnosisResultsDialog : public CDialog {
    DECLARE_DYNAMIC(CDiagnosisResultsDialog)
public:
    static constexpr UINT IDD = 108;
    static constexpr int IDC_REPORT = 2027;
    static constexpr int IDC_SAVE = 2029;
    static constexpr int IDC_PRINT = 2030;
    static constexpr int IDC_INCLUDE_SCANNERS = 2162;

    explicit CDiagnosisResultsDialog(CWnd* pParentWnd = nullptr);

    BOOL OnInitDialog() override;

    // Builds the report into text; false when the device could not be read (the shown
    // report then stays as it was).
    virtual bool BuildText(CString& text);

    int m_bIncludeScanners = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    void OnSave();
    void OnPrint();

    // Time stamp and statistics choice for the next report.
    DiagnosisTextOptions CurrentOptions() const;

    DECLARE_MESSAGE_MAP()
};

class CZOKDiagnosisResultsDialog : public CDiagnosisResultsDialog {
    DECLARE_DYNAMIC(CZOKDiagnosisResultsDialog)
public:
    using CDiagnosisResultsDialog::CDiagnosisResultsDialog;
    bool BuildText(CString& text) override;
};

class CKVRDiagnosisResultsDialog : public CDiagnosisResultsDialog {
    DECLARE_DYNAMIC(CKVRDiagnosisResultsDialog)
public:
    using CDiagnosisResultsDialog::CDiagnosisResultsDialog;
    bool BuildText(CString& text) override;

private:
    void AppendScannerSections(int count, CString& text, const DiagnosisTextOptions& options);
};
