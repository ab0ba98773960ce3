#include "framework/ui/CPrintDialog.h"

#include "framework/gdi/GdiPrintQueue.h"
#include "framework/ui/CComboBox.h"
#include "framework/ui/CFileDialog.h"
#include "framework/ui/CPrintInfo.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/DDX.h"
#include "framework/ui/MessageBox.h"

#include <QDir>

#include <algorithm>
#include <utility>

namespace {

struct Paper {
    const char* name;
    int width;  // 0.01 mm, portrait
    int height;
};
constexpr Paper kPapers[] = {{"A4", 21000, 29700}, {"Letter", 21590, 27940}, {"A5", 14800, 21000}};
constexpr int kPaperCount = int(sizeof(kPapers) / sizeof(kPapers[0]));
constexpr UINT kMaxCopies = 99;

int PaperIndexOf(const GdiPageSetup& page)
{
    const int shorter = std::min(page.paperWidth, page.paperHeight);
    const int longer = std::max(page.paperWidth, page.paperHeight);
    for (int i = 0; i < kPaperCount; ++i)
        if (kPapers[i].width == shorter && kPapers[i].height == longer) return i;
    return 0;
}

CString DefaultPrintFile()
{
    const char* app = AfxGetAppName();
    const QString name = QString::fromUtf8(app != nullptr && *app != '\0' ? app : "print") + QStringLiteral(".pdf");
    return CString(QDir(QDir::homePath()).filePath(name).toStdString());
}

bool IsBlank(CString text)
{
    text.Trim();
    return text.IsEmpty();
}

CString FromQt(const QString& text) { return CString(text.toStdString()); }
QString ToQt(const CString& text) { return QString::fromUtf8(text.c_str()); }

// The box has no combo object of its own: lend it one while working on it.
template <class Work>
void WithCombo(CWnd& control, Work work)
{
    CComboBox box;
    box.Attach(control.GetSafeHwnd());
    work(box);
    box.Detach();
}

} // namespace

PrinterSetup& AfxGetPrinterSetup()
{
    static PrinterSetup setup = [] {
        PrinterSetup initial;
        initial.path = DefaultPrintFile();
        return initial;
    }();
    return setup;
}

BOOL AfxDoPreparePrinting(CPrintInfo* pInfo)
{
    if (pInfo == nullptr) return FALSE;
    if (pInfo->m_bPreview || pInfo->m_bDirect) return TRUE;
    PRINTDLG& pd = pInfo->m_pPD->m_pd;
    pd.nFromPage = pd.nMinPage;
    pd.nToPage = pd.nMaxPage;
    return pInfo->m_pPD->DoModal() == IDOK;
}

IMPLEMENT_DYNAMIC(CPrintDialog, CDialog)

BEGIN_MESSAGE_MAP(CPrintDialog, CDialog)
    ON_COMMAND(CPrintDialog::IDC_BROWSE, OnBrowse)
    ON_CBN_SELCHANGE(CPrintDialog::IDC_PRINTER, OnPrinterChanged)
END_MESSAGE_MAP()

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
    : CDialog(bPrintSetupOnly ? AFX_IDD_PRINTSETUPDLG : AFX_IDD_PRINTFILEDLG, pParentWnd), m_bSetupOnly(bPrintSetupOnly)
{
    m_pd.Flags = dwFlags | (bPrintSetupOnly ? PD_PRINTSETUP : 0);
    const PrinterSetup& setup = AfxGetPrinterSetup();
    m_strPath = setup.path;
    m_nPaper = PaperIndexOf(setup.page);
    m_nOrientation = setup.landscape ? 1 : 0;
    if (setup.queue) m_queue = *setup.queue;
}

void CPrintDialog::SetPathName(const CString& path)
{
    m_strPath = path;
    m_queue = CString();
}

const std::vector<CPrintDialog::Queue>& CPrintDialog::Queues() const
{
    if (!m_queueList) {
        m_queueList.emplace();
        for (const GdiPrintQueueInfo& info : GdiLookUpPrintQueues())
            m_queueList->push_back({.name = FromQt(info.name), .location = FromQt(info.location), .isDefault = info.isDefault});
    }
    return *m_queueList;
}

CString CPrintDialog::GetQueueName() const
{
    if (!m_queue) {
        const std::vector<Queue>& queues = Queues();
        const auto found = std::find_if(queues.begin(), queues.end(), [](const Queue& q) { return q.isDefault; });
        m_queue = found != queues.end() ? found->name : CString();
    }
    return *m_queue;
}

CString CPrintDialog::GetPrinterName() const
{
    const CString queue = GetQueueName();
    if (!queue.IsEmpty()) return queue;
    CString name;
    if (!name.LoadString(AFX_IDS_PDF_PRINTER)) name = "PDF file";
    return name;
}

CString CPrintDialog::GetPortName() const
{
    const CString queue = GetQueueName();
    if (queue.IsEmpty()) return m_strPath;
    for (const Queue& known : Queues())
        if (known.name == queue) return known.location;
    return CString();
}

GdiPageSetup CPrintDialog::CurrentPage()
{
    const PrinterSetup& setup = AfxGetPrinterSetup();
    GdiPageSetup page = setup.page;
    const bool wide = page.paperWidth > page.paperHeight;
    if (bool(setup.landscape) != wide) std::swap(page.paperWidth, page.paperHeight);
    return page;
}

HDC CPrintDialog::CreatePrinterDC() const
{
    CDC dc;
    GdiPageSetup page = CurrentPage();
    const CString queue = GetQueueName();
    if (queue.IsEmpty()) {
        if (m_strPath.IsEmpty() || !dc.CreatePrinterDC(m_strPath, page)) return nullptr;
    } else {
        GdiApplyQueueMargins(ToQt(queue), page);
        if (!dc.CreateQueuePrinterDC(queue, page, m_pd.nCopies)) return nullptr;
    }
    return dc.Detach();
}

void CPrintDialog::FillPrinters()
{
    // A queue gone since it was chosen gives way to the default one, and that to the file.
    const CString chosen = GetQueueName();
    const std::vector<Queue>& queues = Queues();
    int fallback = -1;
    m_nPrinter = -1;
    for (int i = 0; i < int(queues.size()); ++i) {
        if (queues[std::size_t(i)].isDefault) fallback = i;
        if (!chosen.IsEmpty() && queues[std::size_t(i)].name == chosen) m_nPrinter = i;
    }
    const int pdf = int(queues.size());
    if (m_nPrinter < 0) m_nPrinter = chosen.IsEmpty() || fallback < 0 ? pdf : fallback;
    CString pdfName;
    if (!pdfName.LoadString(AFX_IDS_PDF_PRINTER)) pdfName = "PDF file";
    if (CWnd* control = GetDlgItem(IDC_PRINTER)) {
        WithCombo(*control, [&](CComboBox& box) {
            for (const Queue& queue : queues) box.AddString(queue.name);
            box.AddString(pdfName);
        });
    }
}

bool CPrintDialog::PdfChosen(int printer) const { return printer < 0 || printer >= int(Queues().size()); }

void CPrintDialog::OnPrinterChanged()
{
    int printer = m_nPrinter;
    if (CWnd* control = GetDlgItem(IDC_PRINTER)) WithCombo(*control, [&](CComboBox& box) { printer = box.GetCurSel(); });
    for (const int id : {IDC_FILE, IDC_BROWSE})
        if (CWnd* control = GetDlgItem(id)) control->EnableWindow(PdfChosen(printer));
}

BOOL CPrintDialog::OnInitDialog()
{
    if (!m_bSetupOnly) {
        m_nFrom = m_pd.nFromPage;
        m_nTo = m_pd.nToPage;
        m_nCopies = std::max<UINT>(1, m_pd.nCopies);
        m_nRange = (m_pd.Flags & PD_PAGENUMS) ? 2 : (m_pd.Flags & PD_SELECTION) ? 1 : 0;
    }
    if (CWnd* control = GetDlgItem(IDC_PAPER)) {
        WithCombo(*control, [](CComboBox& paper) {
            for (const Paper& p : kPapers) paper.AddString(p.name);
        });
    }
    FillPrinters();
    const BOOL result = CDialog::OnInitDialog();
    OnPrinterChanged();
    if (m_pd.Flags & PD_NOPAGENUMS) {
        for (const int id : {IDC_PAGES, IDC_FROM, IDC_TO})
            if (CWnd* control = GetDlgItem(id)) control->EnableWindow(FALSE);
    }
    if (m_pd.Flags & PD_NOSELECTION) {
        if (CWnd* control = GetDlgItem(IDC_SELECTION)) control->EnableWindow(FALSE);
    }
    return result;
}

void CPrintDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_PRINTER, m_nPrinter);
    DDX_Text(pDX, IDC_FILE, m_strPath);
    if (pDX->m_bSaveAndValidate && PdfChosen(m_nPrinter) && IsBlank(m_strPath)) {
        AfxMessageBox(AFX_IDP_PRINT_FILE_MISSING, MB_ICONEXCLAMATION);
        pDX->Fail();
    }
    if (m_bSetupOnly) {
        DDX_CBIndex(pDX, IDC_PAPER, m_nPaper);
        DDX_Radio(pDX, IDC_PORTRAIT, m_nOrientation);
        return;
    }
    DDX_Radio(pDX, IDC_ALL, m_nRange);
    DDX_Text(pDX, IDC_COPIES, m_nCopies);
    DDV_MinMaxUInt(pDX, m_nCopies, 1, kMaxCopies);
    if (m_nRange == 2 || !pDX->m_bSaveAndValidate) {
        DDX_Text(pDX, IDC_FROM, m_nFrom);
        if (m_nRange == 2) DDV_MinMaxUInt(pDX, m_nFrom, m_pd.nMinPage, m_pd.nMaxPage);
        DDX_Text(pDX, IDC_TO, m_nTo);
        if (m_nRange == 2) DDV_MinMaxUInt(pDX, m_nTo, m_pd.nMinPage, m_pd.nMaxPage);
    }
}

void CPrintDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    PrinterSetup& setup = AfxGetPrinterSetup();
    m_queue = PdfChosen(m_nPrinter) ? CString() : Queues()[std::size_t(m_nPrinter)].name;
    setup.queue = m_queue;
    setup.path = m_strPath;
    if (m_bSetupOnly) {
        const Paper& paper = kPapers[std::clamp(m_nPaper, 0, kPaperCount - 1)];
        setup.page.paperWidth = paper.width;
        setup.page.paperHeight = paper.height;
        setup.landscape = m_nOrientation == 1;
    } else {
        m_pd.Flags &= ~(PD_PAGENUMS | PD_SELECTION);
        if (m_nRange == 2) {
            m_pd.Flags |= PD_PAGENUMS;
            m_pd.nFromPage = WORD(m_nFrom);
            m_pd.nToPage = WORD(m_nTo);
        } else {
            if (m_nRange == 1) m_pd.Flags |= PD_SELECTION;
            m_pd.nFromPage = m_pd.nMinPage;
            m_pd.nToPage = m_pd.nMaxPage;
        }
        m_pd.nCopies = WORD(m_nCopies);
    }
    EndDialog(IDOK);
}

void CPrintDialog::OnBrowse()
{
    CString path;
    GetDlgItemText(IDC_FILE, path);
    CFileDialog dialog(FALSE, "pdf", path, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "PDF Files (*.pdf)|*.pdf||", this);
    if (dialog.DoModal() == IDOK) SetDlgItemText(IDC_FILE, dialog.GetPathName());
}
