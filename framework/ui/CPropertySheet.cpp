#include "framework/ui/CPropertySheet.h"

#include "framework/ui/CPropertySheetTabs.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/DialogWindow.h"
#include "framework/ui/WindowHandle.h"


#include <algorithm>

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
    ON_MESSAGE(PSM_SETWIZBUTTONS, OnSetWizButtons)
    ON_MESSAGE(PSM_SETFINISHTEXT, OnSetFinishText)
    ON_MESSAGE(PSM_CHANGED, OnPageChanged)
    ON_MESSAGE(PSM_UNCHANGED, OnPageUnchanged)
    ON_MESSAGE(PSM_SETCURSEL, OnSetCurSel)
    ON_MESSAGE(PSM_PRESSBUTTON, OnPressButton)
END_MESSAGE_MAP()

namespace {

// Dialog-unit sizes of the sheet's frame around the pages.
constexpr int kMargin = 7;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kButtonGap = 4;

DialogTemplate SheetFontTemplate()
{
    DialogTemplate fontSource;
    fontSource.font = DialogFontTemplate{8, "MS Sans Serif", 0, false, 0};
    return fontSource;
}

class SheetWindowGuard {
public:
    explicit SheetWindowGuard(CWnd& sheet, CPropertySheetTabs*& tabs) : m_sheet(sheet), m_tabs(tabs) {}
    ~SheetWindowGuard()
    {
        if (m_sheet.GetSafeHwnd()) m_sheet.DestroyWindow();
        m_tabs = nullptr;
    }
    SheetWindowGuard(const SheetWindowGuard&) = delete;
    SheetWindowGuard& operator=(const SheetWindowGuard&) = delete;

private:
    CWnd& m_sheet;
    CPropertySheetTabs*& m_tabs;
};

void ShowControl(CWnd* sheet, UINT id, bool show)
{
    if (CWnd* control = sheet->GetDlgItem(int(id))) control->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void EnableControl(CWnd* sheet, UINT id, bool enable)
{
    if (CWnd* control = sheet->GetDlgItem(int(id))) control->EnableWindow(enable ? TRUE : FALSE);
}

} // namespace

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    Construct(nIDCaption, pParentWnd, iSelectPage);
}

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    Construct(pszCaption, pParentWnd, iSelectPage);
}

CPropertySheet::~CPropertySheet()
{
    if (GetSafeHwnd()) DestroyWindow();
}

void CPropertySheet::Construct(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    m_strCaption.LoadString(nIDCaption);
    m_pParentWnd = pParentWnd;
    m_psh.nStartPage = iSelectPage;
}

void CPropertySheet::Construct(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    m_strCaption = pszCaption;
    m_pParentWnd = pParentWnd;
    m_psh.nStartPage = iSelectPage;
}

// ==================================================================== pages

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    if (!pPage) return;
    m_pages.push_back(pPage);
    if (m_tabs) m_tabs->AddTab(QString::fromUtf8(pPage->GetCaption().c_str()));
}

void CPropertySheet::RemovePage(CPropertyPage* pPage) { RemovePage(GetPageIndex(pPage)); }

void CPropertySheet::RemovePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount()) return;
    CPropertyPage* page = m_pages[std::size_t(nPage)];
    if (nPage == m_active) {
        const int other = nPage + 1 < GetPageCount() ? nPage + 1 : nPage - 1;
        if (other >= 0) ShowPage(other, 0);
    }
    if (page->GetSafeHwnd()) page->DestroyWindow();
    m_pages.erase(m_pages.begin() + nPage);
    if (m_tabs) m_tabs->RemoveTab(nPage);
    if (m_active > nPage) --m_active;
    if (m_active == nPage) m_active = -1;
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const
{
    return nPage >= 0 && nPage < GetPageCount() ? m_pages[std::size_t(nPage)] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const
{
    const auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
    return it == m_pages.end() ? -1 : int(it - m_pages.begin());
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    return m_active >= 0 ? GetPage(m_active) : GetPage(int(m_psh.nStartPage));
}

int CPropertySheet::GetActiveIndex() const { return m_active >= 0 ? m_active : int(m_psh.nStartPage); }

int CPropertySheet::PageIndexOfTemplate(UINT nTemplateId) const
{
    for (int i = 0; i < GetPageCount(); ++i) {
        if (m_pages[std::size_t(i)]->GetTemplateId() == nTemplateId) return i;
    }
    return -1;
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount()) return FALSE;
    if (!GetSafeHwnd()) {
        m_psh.nStartPage = UINT(nPage);
        return TRUE;
    }
    if (nPage == m_active) return TRUE;
    if (!LeavePage()) return FALSE;
    return ShowPage(nPage, 0) ? TRUE : FALSE;
}

bool CPropertySheet::LeavePage()
{
    CPropertyPage* page = GetPage(m_active);
    return !page || page->OnKillActive();
}

bool CPropertySheet::ShowPage(int index, int direction)
{
    // Making a page puts the focus into it; a user on the strip stays there.
    const bool stripFocused = m_tabs && m_tabs->hasFocus();
    for (; index >= 0 && index < GetPageCount(); index += direction) {
        CPropertyPage* page = m_pages[std::size_t(index)];
        if (!page->GetSafeHwnd()) {
            page->m_bFirstSetActive = TRUE;
            page->m_pParentWnd = this;
            if (!page->CreateAndInit(this, true)) return false;
            page->MoveWindow(m_pageArea.left, m_pageArea.top, m_pageArea.Width(), m_pageArea.Height(), FALSE);
            ChainTabOrder();
        }
        if (page->OnSetActive()) {
            CPropertyPage* previous = GetPage(m_active);
            m_active = index;
            page->ShowWindow(SW_SHOW);
            if (previous && previous != page && previous->GetSafeHwnd()) previous->ShowWindow(SW_HIDE);
            if (m_tabs) m_tabs->SetCurrent(index);
            if (stripFocused)
                m_tabs->setFocus();
            else
                FocusShownPage();
            return true;
        }
        if (direction == 0) return false;
    }
    return false;
}

void CPropertySheet::MoveToPage(int target, int direction) { ShowPage(target, direction); }

void CPropertySheet::OnPageChosen(int index)
{
    if (index == m_active) return;
    if (!LeavePage()) return;
    ShowPage(index, 0);
}

bool CPropertySheet::TurnPageByKey(int virtualKey)
{
    if (IsWizard() || GetPageCount() == 0 || GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) return false;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    int step = 0;
    if (virtualKey == VK_TAB)
        step = shift ? -1 : 1;
    else if (virtualKey == VK_NEXT && !shift)
        step = 1;
    else if (virtualKey == VK_PRIOR && !shift)
        step = -1;
    if (step == 0) return false;
    const int count = GetPageCount();
    OnPageChosen((GetActiveIndex() + step + count) % count);
    return true;
}

void CPropertySheet::FocusShownPage()
{
    CPropertyPage* page = GetPage(m_active);
    if (HWND first = page ? AfxFirstTabStop(page->GetSafeHwnd()) : nullptr)
        ::SetFocus(first);
    else if (IsWizard())
        FocusDefaultButton();
}

void CPropertySheet::FocusDefaultButton()
{
    const LRESULT defId = SendMessage(DM_GETDEFID, 0, 0);
    if (HIWORD(DWORD(defId)) != DC_HASDEFID) return;
    CWnd* button = GetDlgItem(int(LOWORD(DWORD(defId))));
    QWidget* widget = button ? AfxWidgetFromHandle(button->GetSafeHwnd()) : nullptr;
    if (widget && !widget->isHidden() && button->IsWindowEnabled()) button->SetFocus();
}

void CPropertySheet::KeepWizardFocus(HWND focusBefore)
{
    CPropertyPage* page = GetPage(m_active);
    if (!IsWizard() || !page || !page->GetSafeHwnd()) return;
    if (!AfxFirstTabStop(page->GetSafeHwnd())) {
        FocusDefaultButton();
        return;
    }
    QWidget* before = AfxIsLiveHandle(focusBefore) ? AfxWidgetFromHandle(focusBefore) : nullptr;
    if (before && AfxParentHandle(focusBefore) == m_hWnd && (before->isHidden() || !before->isEnabled())) FocusShownPage();
}

// Tab goes from the strip through the pages' controls to the buttons, as the user reads
// the sheet; pages made later would otherwise come after the buttons.
void CPropertySheet::ChainTabOrder()
{
    std::vector<QWidget*> order;
    if (m_tabs) order.push_back(m_tabs);
    for (CPropertyPage* page : m_pages) {
        if (!page->GetSafeHwnd()) continue;
        for (HWND control : AfxChildHandles(page->GetSafeHwnd())) {
            QWidget* widget = AfxWidgetFromHandle(control);
            if (widget && (widget->focusPolicy() & Qt::TabFocus)) order.push_back(widget);
        }
    }
    for (UINT id : {ID_WIZBACK, ID_WIZNEXT, ID_WIZFINISH, UINT(IDOK), UINT(IDCANCEL), ID_APPLY_NOW, ID_HELP}) {
        if (CWnd* button = GetDlgItem(int(id))) order.push_back(AfxWidgetFromHandle(button->GetSafeHwnd()));
    }
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

// ==================================================================== window

BOOL CPropertySheet::CreateSheetWindow()
{
    if (GetSafeHwnd() || m_pages.empty() || !AfxEnsureGuiApplication()) return FALSE;
    // The page area fits the largest page.
    int pageWidth = 0;
    int pageHeight = 0;
    for (CPropertyPage* page : m_pages) {
        const DialogTemplate* pageTemplate = page->FindTemplate();
        if (!pageTemplate) return FALSE;
        const DialogLayout layout = AfxLayoutDialog(*pageTemplate, nullptr);
        pageWidth = std::max(pageWidth, layout.rect.Width());
        pageHeight = std::max(pageHeight, layout.rect.Height());
    }
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    if (!CreateEx(0, kDialogClassName, m_strCaption, style, CRect(0, 0, 1, 1), parent, 0)) return FALSE;
    AfxSetDialogFont(m_hWnd, SheetFontTemplate());
    SetWindowText(m_strCaption);
    const DialogBaseUnits units = AfxDialogWidget(m_hWnd)->units;
    const int margin = DialogUnitsToPixelsX(kMargin, units);
    int top = margin;
    if (!IsWizard()) {
        auto* tabs = new CPropertySheetTabs([this](int index) { OnPageChosen(index); }, AfxWidgetFromHandle(m_hWnd));
        tabs->setFont(AfxWidgetFromHandle(m_hWnd)->font());
        for (CPropertyPage* page : m_pages) tabs->AddTab(QString::fromUtf8(page->GetCaption().c_str()));
        tabs->setGeometry(margin, margin, pageWidth, tabs->HeightForWidth(pageWidth));
        tabs->show();
        m_tabs = tabs;
        top += tabs->height();
    }
    m_pageArea = CRect(margin, top, margin + pageWidth, top + pageHeight);
    LayOutButtons();
    return TRUE;
}

void CPropertySheet::LayOutButtons()
{
    const DialogBaseUnits units = AfxDialogWidget(m_hWnd)->units;
    const int margin = DialogUnitsToPixelsX(kMargin, units);
    const int width = DialogUnitsToPixelsX(kButtonWidth, units);
    const int height = DialogUnitsToPixelsY(kButtonHeight, units);
    const int gap = DialogUnitsToPixelsX(kButtonGap, units);
    const bool help = (m_psh.dwFlags & PSH_HASHELP) != 0;

    struct Button {
        UINT id;
        const char* text;
        DWORD style;
    };
    std::vector<Button> buttons;
    if (IsWizard()) {
        buttons = {{ID_WIZBACK, "< &Back", BS_PUSHBUTTON}, {ID_WIZNEXT, "&Next >", BS_DEFPUSHBUTTON},
                   {IDCANCEL, "Cancel", BS_PUSHBUTTON}};
    } else {
        buttons = {{IDOK, "OK", BS_DEFPUSHBUTTON}, {IDCANCEL, "Cancel", BS_PUSHBUTTON}};
        if (!(m_psh.dwFlags & PSH_NOAPPLYNOW)) buttons.push_back({ID_APPLY_NOW, "&Apply", BS_PUSHBUTTON | WS_DISABLED});
    }
    if (help) buttons.push_back({ID_HELP, "Help", BS_PUSHBUTTON});

    const int rowWidth = int(buttons.size()) * width + (int(buttons.size()) - 1) * gap;
    const int clientWidth = std::max(m_pageArea.right + margin, rowWidth + 2 * margin);
    const int y = m_pageArea.bottom + margin;
    int x = clientWidth - margin - rowWidth;
    for (const Button& button : buttons) {
        const QRect rect(x, y, width, height);
        AfxCreateDialogControl(m_hWnd, "BUTTON", button.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | button.style, rect,
                               button.id);
        // Finish takes the place of Next when it shows.
        if (button.id == ID_WIZNEXT)
            AfxCreateDialogControl(m_hWnd, "BUTTON", "Finish", WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, rect, ID_WIZFINISH);
        x += width + gap;
    }
    SendMessage(DM_SETDEFID, IsWizard() ? ID_WIZNEXT : IDOK, 0);
    SetWindowPos(nullptr, 0, 0, clientWidth, y + height + margin, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CPropertySheet::OnInitDialog()
{
    const int start = std::clamp(int(m_psh.nStartPage), 0, std::max(0, GetPageCount() - 1));
    if (!ShowPage(start, 1)) return FALSE;
    CenterWindow();
    return TRUE;
}

INT_PTR CPropertySheet::DoModal()
{
    m_active = -1;
    for (CPropertyPage* page : m_pages) page->m_bModified = FALSE;
    SheetWindowGuard guard(*this, m_tabs);
    if (!CreateSheetWindow()) return -1;
    if (!OnInitDialog() && GetSafeHwnd() && !AfxDialogWidget(m_hWnd)->ended) EndDialog(-1);
    if (!GetSafeHwnd()) return -1;
    return AfxRunModalDialog(m_hWnd, *this, 0);
}

void CPropertySheet::EndDialog(int nEndID)
{
    if (GetSafeHwnd()) AfxEndDialog(m_hWnd, nEndID);
}

void CPropertySheet::SetTitle(LPCTSTR lpszText, UINT)
{
    m_strCaption = lpszText;
    if (GetSafeHwnd()) SetWindowText(lpszText);
}

void CPropertySheet::SetWizardMode() { m_psh.dwFlags |= PSH_WIZARD; }

void CPropertySheet::SetWizardButtons(DWORD dwFlags)
{
    // Posted: it takes effect once the handler that asked has returned.
    if (GetSafeHwnd()) PostMessage(PSM_SETWIZBUTTONS, 0, LPARAM(dwFlags));
}

void CPropertySheet::SetFinishText(LPCTSTR lpszText)
{
    if (GetSafeHwnd()) SendMessage(PSM_SETFINISHTEXT, 0, LPARAM(lpszText));
}

// ==================================================================== messages

LRESULT CPropertySheet::OnSetWizButtons(WPARAM, LPARAM lParam)
{
    HWND focusBefore = ::GetFocus();
    const DWORD flags = DWORD(lParam);
    EnableControl(this, ID_WIZBACK, (flags & PSWIZB_BACK) != 0);
    const bool finish = (flags & (PSWIZB_FINISH | PSWIZB_DISABLEDFINISH)) != 0;
    ShowControl(this, ID_WIZNEXT, !finish);
    ShowControl(this, ID_WIZFINISH, finish);
    EnableControl(this, ID_WIZNEXT, (flags & PSWIZB_NEXT) != 0);
    EnableControl(this, ID_WIZFINISH, (flags & PSWIZB_FINISH) != 0);
    SendMessage(DM_SETDEFID, finish ? ID_WIZFINISH : ID_WIZNEXT, 0);
    KeepWizardFocus(focusBefore);
    return 0;
}

LRESULT CPropertySheet::OnSetFinishText(WPARAM, LPARAM lParam)
{
    HWND focusBefore = ::GetFocus();
    // Back keeps what SetWizardButtons gave it; the finish page of a wizard may go back.
    if (CWnd* finish = GetDlgItem(int(ID_WIZFINISH))) {
        finish->SetWindowText(reinterpret_cast<LPCTSTR>(lParam));
        finish->EnableWindow(TRUE);
        finish->ShowWindow(SW_SHOW);
    }
    ShowControl(this, ID_WIZNEXT, false);
    SendMessage(DM_SETDEFID, ID_WIZFINISH, 0);
    KeepWizardFocus(focusBefore);
    return 0;
}

LRESULT CPropertySheet::OnPageChanged(WPARAM, LPARAM)
{
    UpdateApplyButton();
    return 0;
}

LRESULT CPropertySheet::OnPageUnchanged(WPARAM, LPARAM)
{
    UpdateApplyButton();
    return 0;
}

void CPropertySheet::UpdateApplyButton()
{
    const bool modified = std::any_of(m_pages.begin(), m_pages.end(), [](const CPropertyPage* p) { return p->IsModified(); });
    EnableControl(this, ID_APPLY_NOW, modified);
}

LRESULT CPropertySheet::OnSetCurSel(WPARAM wParam, LPARAM lParam)
{
    auto* page = reinterpret_cast<CPropertyPage*>(lParam);
    return SetActivePage(page ? GetPageIndex(page) : int(wParam));
}

LRESULT CPropertySheet::OnPressButton(WPARAM wParam, LPARAM)
{
    static const UINT ids[] = {ID_WIZBACK, ID_WIZNEXT, ID_WIZFINISH, IDOK, ID_APPLY_NOW, IDCANCEL, ID_HELP};
    if (wParam >= sizeof ids / sizeof ids[0]) return FALSE;
    CWnd* button = GetDlgItem(int(ids[wParam]));
    if (!button || !button->IsWindowEnabled()) return FALSE;
    button->SendMessage(BM_CLICK, 0, 0);
    return TRUE;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    const bool ours = pMsg->hwnd == m_hWnd || IsChild(CWnd::FromHandle(pMsg->hwnd));
    if (ours && pMsg->message == WM_KEYDOWN && TurnPageByKey(int(pMsg->wParam))) return TRUE;
    return ::IsDialogMessage(m_hWnd, pMsg);
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // The sheet's own message map first (a sheet may take over Apply or Help).
    if (CWnd::OnCommand(wParam, lParam)) return TRUE;
    const UINT id = LOWORD(DWORD(wParam));
    if (lParam != 0 && HIWORD(DWORD(wParam)) != BN_CLICKED) return FALSE;
    switch (id) {
    case IDOK: OnOkButton(); return TRUE;
    case IDCANCEL: OnCancelButton(); return TRUE;
    case ID_APPLY_NOW: OnApplyButton(); return TRUE;
    case ID_WIZBACK: OnBackOrNext(false); return TRUE;
    case ID_WIZNEXT: OnBackOrNext(true); return TRUE;
    case ID_WIZFINISH: OnFinishButton(); return TRUE;
    case ID_HELP:
        if (CPropertyPage* page = GetPage(m_active)) page->SendMessage(WM_COMMAND, ID_HELP, 0);
        return TRUE;
    default: return FALSE;
    }
}

void CPropertySheet::OnOkButton()
{
    if (!LeavePage()) return;
    for (int i = 0; i < GetPageCount(); ++i) {
        CPropertyPage* page = m_pages[std::size_t(i)];
        if (page->GetSafeHwnd() && !page->OnApply()) {
            if (i != m_active) ShowPage(i, 0);
            return;
        }
    }
    EndDialog(IDOK);
}

void CPropertySheet::OnApplyButton()
{
    if (!LeavePage()) return;
    for (CPropertyPage* page : m_pages) {
        if (page->GetSafeHwnd() && !page->OnApply()) return;
    }
    for (CPropertyPage* page : m_pages) page->m_bModified = FALSE;
    UpdateApplyButton();
}

void CPropertySheet::OnCancelButton()
{
    if (CPropertyPage* page = GetPage(m_active); page && !page->OnQueryCancel()) return;
    for (CPropertyPage* page : m_pages) {
        if (page->GetSafeHwnd()) page->OnReset();
    }
    EndDialog(IDCANCEL);
}

void CPropertySheet::OnBackOrNext(bool next)
{
    CPropertyPage* page = GetPage(m_active);
    if (!page) return;
    const LRESULT answer = next ? page->OnWizardNext() : page->OnWizardBack();
    if (answer == -1) return;
    const int target = answer == 0 ? m_active + (next ? 1 : -1) : PageIndexOfTemplate(UINT(answer));
    if (target < 0 || target >= GetPageCount()) return;
    if (!page->OnKillActive()) return;
    MoveToPage(target, next ? 1 : -1);
}

void CPropertySheet::OnFinishButton()
{
    CPropertyPage* page = GetPage(m_active);
    if (page && !page->OnWizardFinish()) return;
    EndDialog(ID_WIZFINISH);
}
