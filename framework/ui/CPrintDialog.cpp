#include "framework/ui/CPrintDialog.h"

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
END_MESSAGE_MAP()

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
    : CDialog(bPrintSetupOnly ? AFX_IDD_PRINTSETUPDLG : AFX_IDD_PRINTFILEDLG, pParentWnd), m_bSetupOnly(bPrintSetupOnly)
{
    m_pd.Flags = dwFlags | (bPrintSetupOnly ? PD_PRINTSETUP : 0);
    const PrinterSetup& setup = AfxGetPrinterSetup();
    m_strPath = setup.path;
    m_nPaper = PaperIndexOf(setup.page);
    m_nOrientation = setup.landscape ? 1 : 0;
}

CString CPrintDialog::GetPrinterName() const
{
    CString name;
    if (!name.LoadString(AFX_IDS_PDF_PRINTER)) name = "PDF file";
    return name;
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
    if (m_strPath.IsEmpty() || !dc.CreatePrinterDC(m_strPath, CurrentPage())) return nullptr;
    return dc.Detach();
}

BOOL CPrintDialog::OnInitDialog()
{
    if (!m_bSetupOnly) {
        m_nFrom = m_pd.nFromPage;
        m_nTo = m_pd.nToPage;
        m_nCopies = std::max<UINT>(1, m_pd.nCopies);
        m_nRange = (m_pd.Flags & PD_PAGENUMS) ? 2 : (m_pd.Flags & PD_SELECTION) ? 1 : 0;
    }
    // The box has no combo object of its own: lend it one while filling.
    if (CWnd* control = GetDlgItem(IDC_PAPER)) {
        CComboBox paper;
        paper.Attach(control->GetSafeHwnd());
        for (const Paper& p : kPapers) paper.AddString(p.name);
        paper.Detach();
    }
    const BOOL result = CDialog::OnInitDialog();
    SetDlgItemText(IDC_PRINTER, GetPrinterName());
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
    DDX_Text(pDX, IDC_FILE, m_strPath);
    if (pDX->m_bSaveAndValidate && IsBlank(m_strPath)) {
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
