#pragma once
// Prints the listing of a scanner's parameter set: the whole text on one page, from one
// inch below and right of the printable area's corner.
#include "dialogs/CPrintDialogBase.h"

class CZOKParameterPrintDialog : public CPrintDialogBase {
    DECLARE_DYNAMIC(CZOKParameterPrintDialog)
public:
    explicit CZOKParameterPrintDialog(const CString& text) : m_strText(text) {}

protected:
    // One page, no page or selection choice.
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void PrintPage(CDC* pDC, CPrintInfo* pInfo) override;

private:
    CString m_strText;
};
