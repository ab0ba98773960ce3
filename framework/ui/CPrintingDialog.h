#pragma once
// Printing pages: the status dialog shown while a job prints (its Cancel aborts the
// job) and the page loop that views and self-printing dialogs share. The loop always
// leaves things as it found them: the parent enabled again, the document ended (or
// aborted when a page failed), the end-of-printing hook run and the status dialog gone,
// whether the job completed, the user cancelled or the printer failed.
#include "framework/ui/CDialog.h"
#include "framework/ui/CPrintInfo.h"

class CDC;

constexpr UINT AFX_IDD_PRINTDLG = 30722;
constexpr UINT AFX_IDS_PRINTONPORT = 61504;
constexpr UINT AFX_IDS_PRINTPAGENUM = 61507;
constexpr UINT AFX_IDP_FAILED_TO_START_PRINT = 61702;
constexpr UINT AFX_IDP_PRINT_FAILED = 61746;
// The printer named and its reason: a queue that refused the job, a file that cannot be made.
constexpr UINT AFX_IDP_PRINT_NOT_STARTED = 61747;
// Controls of the status dialog.
constexpr int AFX_IDC_PRINT_DOCNAME = 201;
constexpr int AFX_IDC_PRINT_PRINTERNAME = 202;
constexpr int AFX_IDC_PRINT_PORTNAME = 203;
constexpr int AFX_IDC_PRINT_PAGENUM = 204;
// The longest job name a printer is given.
constexpr int AFX_PRINT_DOCNAME_MAX = 31;

class CPrintingDialog : public CDialog {
    DECLARE_DYNAMIC(CPrintingDialog)
public:
    CPrintingDialog();

    // Application name as the title, centred.
    BOOL OnInitDialog() override;

    // Shared by every status dialog: set by Cancel, cleared when a job starts.
    static BOOL s_bUserAbort;

protected:
    // Cancel aborts the job; the dialog stays until the loop removes it.
    void OnCancel() override;
};

// What the page loop asks of the one who prints.
class CPrintJobClient {
public:
    virtual ~CPrintJobClient() = default;
    virtual void PrintJobPrepareDC(CDC* pDC, CPrintInfo* pInfo) = 0;
    virtual void PrintJobBegin(CDC* pDC, CPrintInfo* pInfo) = 0;
    virtual void PrintJobPage(CDC* pDC, CPrintInfo* pInfo) = 0;
    virtual void PrintJobEnd(CDC* pDC, CPrintInfo* pInfo) = 0;
};

enum class PrintJobResult {
    Printed,       // every page went out
    NoPrinter,     // the chosen printer could not be made
    StartFailed,   // the printer refused the document (message 61747 with the printer and
                   // its reason shown, or 61702 when it gave none)
    PageFailed,    // a page could not be started or ended, or the printer did not take the
                   // finished document; the document was aborted (message 61746 shown,
                   // with the printer's reason when it gave one)
    Aborted,       // the user cancelled; the document was aborted
};

// Prints the pages of the info's range (from the from-page to the to-page, backwards
// when to < from, clamped into the min and max pages) on the printer of the info's print
// dialog, copies times unless the printer makes the copies itself, with status shown in a modeless CPrintingDialog owned by pParent,
// which is disabled meanwhile.
PrintJobResult AfxRunPrintJob(CPrintJobClient& client, CPrintInfo& info, CPrintingDialog& status, CWnd* pParent,
                               const CString& docName);

// The abort procedure of the loop: lets waiting messages run; FALSE once the user cancelled.
BOOL AfxPrintAbortProc(HDC hdc, int code);

// The job name a printer gets: the document name cut to 31 characters.
CString AfxPrintJobName(const CString& docName);
