#pragma once
// Prints the text of the diagnosis results: its lines (each ended by CR LF) in the
// printer's font, as many pages as they fill.
#include "dialogs/CPrintDialogBase.h"

class CDiagnosisPrintDialog : public CPrintDialogBase {
    DECLARE_DYNAMIC(CDiagnosisPrintDialog)
public:
    explicit CDiagnosisPrintDialog(const CString& text) : m_strText(text) {}

protected:
    // One page and no page or selection choice in the print dialog.
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    // The text's pages on this printer become the range.
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void PrintPage(CDC* pDC, CPrintInfo* pInfo) override;

private:
    CString m_strText;
};
