#pragma once
// A dialog that prints its own content: it is the status dialog of its print run, and its
// hooks decide the pages. PrintContent asks for the printer, then prints the page range
// backwards when the to-page lies below the from-page; Cancel in the status dialog stops
// the run after the page being printed. The parent is disabled while the run lasts and
// enabled again however it ends.
#include "framework/ui/CPrintingDialog.h"

class CPrintDialogBase : public CPrintingDialog, protected CPrintJobClient {
    DECLARE_DYNAMIC(CPrintDialogBase)
public:
    CPrintDialogBase();

    // Prints with the status dialog owned by the parent; the printer gets the document
    // name cut to 31 characters. The result tells how the run ended.
    PrintJobResult PrintContent(CWnd* pParent, const CString& docName);

protected:
    // The default runs the print dialog (DoPreparePrinting).
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintPage(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);

    // Presets the print dialog to the run's whole page range and runs it.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);

private:
    void PrintJobPrepareDC(CDC* pDC, CPrintInfo* pInfo) override { OnPrepareDC(pDC, pInfo); }
    void PrintJobBegin(CDC* pDC, CPrintInfo* pInfo) override { OnBeginPrinting(pDC, pInfo); }
    void PrintJobPage(CDC* pDC, CPrintInfo* pInfo) override { PrintPage(pDC, pInfo); }
    void PrintJobEnd(CDC* pDC, CPrintInfo* pInfo) override { OnEndPrinting(pDC, pInfo); }
};
