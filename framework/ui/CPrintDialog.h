#pragma once
// The print dialog and the print set-up dialog. The printer is one of the print system's
// queues (the default one until the user chooses) or a PDF file, whose name the dialogs
// then ask for; the print dialog asks for the pages (all, or from-to within the run's
// range) and the number of copies, the set-up dialog for the paper and its orientation.
// The last choices are kept for the whole program in the printer set-up.
#include "framework/gdi/CDC.h"
#include "framework/ui/CDialog.h"

#include <optional>
#include <vector>

constexpr DWORD PD_ALLPAGES = 0x0000;
constexpr DWORD PD_SELECTION = 0x0001;
constexpr DWORD PD_PAGENUMS = 0x0002;
constexpr DWORD PD_NOSELECTION = 0x0004;
constexpr DWORD PD_NOPAGENUMS = 0x0008;
constexpr DWORD PD_PRINTSETUP = 0x0040;
constexpr DWORD PD_RETURNDC = 0x0100;

constexpr UINT AFX_IDD_PRINTFILEDLG = 30724;
constexpr UINT AFX_IDD_PRINTSETUPDLG = 30725;
constexpr UINT AFX_IDP_PRINT_FILE_MISSING = 61740;
constexpr UINT AFX_IDS_PDF_PRINTER = 61741;

// The printer of the whole program: its queue, where its PDF goes and its paper.
struct PrinterSetup {
    // The queue chosen, empty for the PDF file; none until a dialog closed with OK.
    std::optional<CString> queue;
    CString path;
    GdiPageSetup page;
    BOOL landscape = FALSE;
};
PrinterSetup& AfxGetPrinterSetup();

struct CPrintInfo;
// Presets the print dialog of the info to its whole page range and runs it, unless the
// run is a preview or prints directly; TRUE when there is something to print on.
BOOL AfxDoPreparePrinting(CPrintInfo* pInfo);

struct PRINTDLG {
    DWORD Flags = PD_ALLPAGES;
    WORD nFromPage = 1;
    WORD nToPage = 1;
    WORD nMinPage = 1;
    WORD nMaxPage = 1;
    WORD nCopies = 1;
};

class CPrintDialog : public CDialog {
    DECLARE_DYNAMIC(CPrintDialog)
public:
    static constexpr int IDC_PRINTER = 1100;
    static constexpr int IDC_FILE = 1101;
    static constexpr int IDC_BROWSE = 1102;
    static constexpr int IDC_ALL = 1103;
    static constexpr int IDC_SELECTION = 1104;
    static constexpr int IDC_PAGES = 1105;
    static constexpr int IDC_FROM = 1106;
    static constexpr int IDC_TO = 1107;
    static constexpr int IDC_COPIES = 1108;
    static constexpr int IDC_PAPER = 1109;
    static constexpr int IDC_PORTRAIT = 1110;
    static constexpr int IDC_LANDSCAPE = 1111;

    explicit CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags = PD_ALLPAGES | PD_NOSELECTION,
                          CWnd* pParentWnd = nullptr);

    PRINTDLG m_pd;

    BOOL OnInitDialog() override;

    // Choices after OK.
    CString GetPathName() const { return m_strPath; }
    // The queue printed to; empty when the printer is the PDF file.
    CString GetQueueName() const;
    // The queue's name, or the PDF printer's.
    CString GetPrinterName() const;
    // Where the pages go: the PDF file, or the printer's location (empty when unknown).
    CString GetPortName() const;
    BOOL PrintAll() const { return (m_pd.Flags & (PD_PAGENUMS | PD_SELECTION)) == 0; }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    int GetCopies() const { return m_pd.nCopies; }
    // A queue makes the copies itself (the job asks for them); for the PDF file the pages
    // are drawn once per copy.
    BOOL PrinterMakesCopies() const { return GetQueueName().IsEmpty() ? FALSE : TRUE; }
    // A printer device for the chosen queue or file, the program's paper and, for a
    // queue, the copies; the caller attaches it to a CDC (which deletes it). nullptr when
    // it cannot be made.
    HDC CreatePrinterDC() const;
    // The program's paper, turned for landscape.
    static GdiPageSetup CurrentPage();

    // The choice the dialog offers before it runs (tests set it, too): the PDF file at
    // path, or a queue.
    void SetPathName(const CString& path);
    void SetQueueName(const CString& queue) { m_queue = queue; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    afx_msg void OnBrowse();
    afx_msg void OnPrinterChanged();
    // The queues and the PDF file into the printer box, the chosen one selected.
    void FillPrinters();
    // The printer box's index names the PDF file (or nothing).
    bool PdfChosen(int printer) const;

    struct Queue {
        CString name;
        CString location;
        bool isDefault = false;
    };
    // The print system's queues in the printer box's order (the PDF file follows them),
    // asked for once per dialog: a print server out of reach costs one short wait, not one
    // per question.
    const std::vector<Queue>& Queues() const;

    BOOL m_bSetupOnly;
    // Decided when first needed: the session's choice, else the default queue.
    mutable std::optional<CString> m_queue;
    mutable std::optional<std::vector<Queue>> m_queueList;
    int m_nPrinter = 0;
    CString m_strPath;
    int m_nRange = 0; // 0 all, 1 selection, 2 pages
    UINT m_nFrom = 1;
    UINT m_nTo = 1;
    UINT m_nCopies = 1;
    int m_nPaper = 0;
    int m_nOrientation = 0;

    DECLARE_MESSAGE_MAP()
};
