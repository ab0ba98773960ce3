#include "framework/ui/CPrintingDialog.h"

#include "framework/core/Resources.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CPrintDialog.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/MessageBox.h"

#include <QCoreApplication>
#include <QString>

#include <algorithm>

BOOL CPrintingDialog::s_bUserAbort = FALSE;

IMPLEMENT_DYNAMIC(CPrintingDialog, CDialog)

CPrintingDialog::CPrintingDialog() : CDialog(AFX_IDD_PRINTDLG) {}

BOOL CPrintingDialog::OnInitDialog()
{
    SetWindowText(AfxGetAppName());
    CenterWindow();
    return CDialog::OnInitDialog();
}

void CPrintingDialog::OnCancel()
{
    s_bUserAbort = TRUE;
    // Only the loop removes the dialog: it must stay a valid window until the job ends.
    if (CWnd* cancel = GetDlgItem(IDCANCEL)) cancel->EnableWindow(FALSE);
}

BOOL AfxPrintAbortProc(HDC, int)
{
    if (!CPrintingDialog::s_bUserAbort) QCoreApplication::processEvents(QEventLoop::AllEvents);
    return !CPrintingDialog::s_bUserAbort;
}

CString AfxPrintJobName(const CString& docName)
{
    const QString name = QString::fromUtf8(docName.c_str());
    if (name.size() <= AFX_PRINT_DOCNAME_MAX) return docName;
    return CString(name.left(AFX_PRINT_DOCNAME_MAX).toStdString());
}

namespace {

// Puts back what a job changed, on every road out of the loop.
class JobCleanup {
public:
    JobCleanup(CPrintJobClient& client, CDC& dc, CPrintInfo& info, CPrintingDialog& status, CWnd* parent)
        : m_client(client), m_dc(dc), m_info(info), m_status(status), m_parent(parent)
    {
    }
    ~JobCleanup()
    {
        if (m_docStarted) m_dc.AbortDoc();
        if (m_parent != nullptr && m_parent->GetSafeHwnd() != nullptr) m_parent->EnableWindow(TRUE);
        m_client.PrintJobEnd(&m_dc, &m_info);
        if (m_status.GetSafeHwnd() != nullptr) m_status.DestroyWindow();
    }
    JobCleanup(const JobCleanup&) = delete;
    JobCleanup& operator=(const JobCleanup&) = delete;

    void DocStarted() { m_docStarted = true; }
    void DocEnded() { m_docStarted = false; }

private:
    CPrintJobClient& m_client;
    CDC& m_dc;
    CPrintInfo& m_info;
    CPrintingDialog& m_status;
    CWnd* m_parent;
    bool m_docStarted = false; // until the document is ended, leaving aborts it
};

// "The system reports: <the printer's reason>."; empty when the printer gave none.
CString FailureReason(const CDC& dc)
{
    CString failure = dc.GetPrintFailure();
    failure.Trim();
    // The reason ends the sentence of its own text.
    while (!failure.IsEmpty() && failure.str().back() == '.') failure.Delete(failure.GetLength() - 1);
    CString reason;
    if (!failure.IsEmpty()) AfxFormatString1(reason, AFX_IDS_FILE_OS_REASON, failure.c_str());
    return reason;
}

// The queue by its name, the PDF file by its path.
CString PrinterNamed(const CPrintDialog& printer)
{
    const CString queue = printer.GetQueueName();
    return queue.IsEmpty() ? printer.GetPathName() : queue;
}

PrintJobResult StartFailed(const CDC& dc, const CPrintDialog& printer)
{
    const CString reason = FailureReason(dc);
    if (reason.IsEmpty()) {
        AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINT);
    } else {
        CString text;
        AfxFormatString2(text, AFX_IDP_PRINT_NOT_STARTED, PrinterNamed(printer).c_str(), reason.c_str());
        AfxMessageBox(text.c_str(), MB_ICONEXCLAMATION, AFX_IDP_PRINT_NOT_STARTED);
    }
    return PrintJobResult::StartFailed;
}

PrintJobResult PrintFailed(const CDC& dc)
{
    const CString reason = FailureReason(dc);
    CString text;
    if (reason.IsEmpty() || !text.LoadString(AFX_IDP_PRINT_FAILED)) {
        AfxMessageBox(AFX_IDP_PRINT_FAILED);
    } else {
        text += "\n" + reason;
        AfxMessageBox(text.c_str(), MB_ICONEXCLAMATION, AFX_IDP_PRINT_FAILED);
    }
    return PrintJobResult::PageFailed;
}

void ShowStatus(CPrintingDialog& status, CWnd* parent, const CString& docName, const CPrintDialog& printer)
{
    if (!status.Create(AFX_IDD_PRINTDLG, parent)) return;
    status.SetDlgItemText(AFX_IDC_PRINT_DOCNAME, docName);
    status.SetDlgItemText(AFX_IDC_PRINT_PRINTERNAME, printer.GetPrinterName());
    CString port;
    const CString portName = printer.GetPortName();
    if (!portName.IsEmpty()) AfxFormatString1(port, AFX_IDS_PRINTONPORT, portName);
    status.SetDlgItemText(AFX_IDC_PRINT_PORTNAME, port);
    status.ShowWindow(SW_SHOW);
    status.UpdateWindow();
}

void ShowPageNumber(CPrintingDialog& status, UINT page)
{
    if (status.GetSafeHwnd() == nullptr) return;
    CString format;
    if (!format.LoadString(AFX_IDS_PRINTPAGENUM)) format = "Page %u";
    CString text;
    text.Format(format.c_str(), page);
    status.SetDlgItemText(AFX_IDC_PRINT_PAGENUM, text);
}

CRect WholePage(CDC& dc)
{
    CRect page(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
    dc.DPtoLP(&page);
    return page;
}

} // namespace

PrintJobResult AfxRunPrintJob(CPrintJobClient& client, CPrintInfo& info, CPrintingDialog& status, CWnd* pParent,
                               const CString& docName)
{
    CDC dc;
    if (!dc.Attach(info.m_pPD->CreatePrinterDC())) {
        // Whoever prepared the job still hears its beginning and its end.
        AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINT);
        if (dc.CreateRecordingDC(2100, 2970, 254, 254, TRUE)) {
            dc.m_bPrinting = TRUE;
            client.PrintJobBegin(&dc, &info);
            client.PrintJobEnd(&dc, &info);
        }
        return PrintJobResult::NoPrinter;
    }
    dc.m_bPrinting = TRUE;
    client.PrintJobBegin(&dc, &info);

    JobCleanup cleanup(client, dc, info, status, pParent);
    ShowStatus(status, pParent, docName, *info.m_pPD);
    if (pParent != nullptr && pParent->GetSafeHwnd() != nullptr) pParent->EnableWindow(FALSE);
    // Disabling the parent disables the windows it owns; the status dialog and its Cancel
    // must stay usable.
    if (status.GetSafeHwnd() != nullptr) status.EnableWindow(TRUE);

    CPrintingDialog::s_bUserAbort = FALSE;
    dc.SetAbortProc(AfxPrintAbortProc);

    const CString jobName = AfxPrintJobName(docName);
    if (dc.StartDoc(jobName) <= 0) return StartFailed(dc, *info.m_pPD);
    cleanup.DocStarted();

    const UINT low = info.GetMinPage();
    const UINT high = std::max(low, info.GetMaxPage());
    const UINT from = std::clamp(info.GetFromPage(), low, high);
    const UINT to = std::clamp(info.GetToPage(), low, high);
    const int step = to >= from ? 1 : -1;
    const UINT copies = info.m_pPD->PrinterMakesCopies() ? 1 : std::max<UINT>(1, info.GetCopies());

    for (UINT copy = 0; copy < copies; ++copy) {
        info.m_bContinuePrinting = TRUE;
        UINT printed = 0;
        for (UINT page = from;; page = UINT(int(page) + step)) {
            info.m_nCurPage = page;
            client.PrintJobPrepareDC(&dc, &info);
            if (!info.m_bContinuePrinting) break;
            info.m_rectDraw = WholePage(dc);
            ShowPageNumber(status, page);
            if (dc.StartPage() <= 0) return PrintFailed(dc);
            client.PrintJobPage(&dc, &info);
            if (dc.EndPage() <= 0) return CPrintingDialog::s_bUserAbort ? PrintJobResult::Aborted : PrintFailed(dc);
            ++printed;
            if (page == to) break;
        }
        if (printed == 0) break;
    }
    // The printer may still refuse the finished document (a queue takes it only now).
    const bool ended = dc.EndDoc() > 0;
    cleanup.DocEnded();
    return ended ? PrintJobResult::Printed : PrintFailed(dc);
}
