#include "dialogs/CPrintDialogBase.h"

#include "framework/ui/CPrintDialog.h"

IMPLEMENT_DYNAMIC(CPrintDialogBase, CPrintingDialog)

CPrintDialogBase::CPrintDialogBase()
{
    s_bUserAbort = FALSE;
}

PrintJobResult CPrintDialogBase::PrintContent(CWnd* pParent, const CString& docName)
{
    CPrintInfo info;
    if (!OnPreparePrinting(&info)) return PrintJobResult::NoPrinter;
    return AfxRunPrintJob(*this, info, *this, pParent, docName);
}

BOOL CPrintDialogBase::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }
void CPrintDialogBase::OnPrepareDC(CDC*, CPrintInfo*) {}
void CPrintDialogBase::OnBeginPrinting(CDC*, CPrintInfo*) {}
void CPrintDialogBase::PrintPage(CDC*, CPrintInfo*) {}
void CPrintDialogBase::OnEndPrinting(CDC*, CPrintInfo*) {}

BOOL CPrintDialogBase::DoPreparePrinting(CPrintInfo* pInfo)
{
    return AfxDoPreparePrinting(pInfo);
}
