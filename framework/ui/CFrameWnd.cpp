#include "framework/ui/CFrameWnd.h"

#include "framework/core/Resources.h"
#include "framework/ui/CControlBar.h"
#include "framework/ui/CStatusBar.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CView.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/WindowHandle.h"

#include <QIcon>
#include <QImage>
#include <QMdiSubWindow>
#include <QPixmap>

#include <algorithm>
#include <memory>
#include <vector>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(0, 0, 0, 0);

namespace {

// Size of a frame placed "by the system".
constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 600;

} // namespace

CFrameWnd* CWnd::GetParentFrame() const
{
    for (CWnd* parent = GetParent(); parent != nullptr; parent = parent->GetParent()) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(parent))
            return frame;
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    auto* frame = dynamic_cast<CFrameWnd*>(const_cast<CWnd*>(this));
    if (frame == nullptr)
        frame = GetParentFrame();
    while (frame != nullptr) {
        CFrameWnd* outer = frame->GetParentFrame();
        if (outer == nullptr)
            break;
        frame = outer;
    }
    return frame;
}

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    CString title;
    title.LoadString(nIDResource);
    if (const int newline = title.Find('\n'); newline >= 0)
        title = title.Left(newline);
    m_strTitle = title;
    m_nIDHelp = nIDResource;
    if (m_menuDefault.m_hMenu == nullptr && m_menuDefault.LoadMenu(nIDResource))
        m_hMenuDefault = m_menuDefault.m_hMenu;
    LoadAccelTable(nIDResource);
    if (!Create(nullptr, m_strTitle.c_str(), dwDefaultStyle, rectDefault, pParentWnd, nullptr, 0, pContext))
        return FALSE;
    LoadFrameIcon(nIDResource);
    return TRUE;
}

BOOL CFrameWnd::LoadFrameIcon(UINT nIDResource)
{
    const std::vector<std::uint8_t>* bytes = FindIconResource(AfxGetResourceHandle(), nIDResource);
    QWidget* widget = AfxWidgetFromHandle(m_hWnd);
    QImage image;
    if (bytes == nullptr || widget == nullptr || !image.loadFromData(bytes->data(), int(bytes->size())))
        return FALSE;
    // Inside an MDI area the sub-window around the frame draws the caption.
    QWidget* captioned = widget;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(widget->parentWidget()))
        captioned = sub;
    captioned->setWindowIcon(QIcon(QPixmap::fromImage(image)));
    return TRUE;
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCTSTR, DWORD dwExStyle, CCreateContext* pContext)
{
    if (lpszWindowName != nullptr && m_strTitle.IsEmpty())
        m_strTitle = lpszWindowName;
    CRect place(rect);
    if (place.IsRectEmpty())
        place = CRect(0, 0, kDefaultWidth, kDefaultHeight);
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle & ~WS_CHILD, place, pParentWnd, 0, pContext);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (m_hMenuDefault != nullptr && (GetStyle() & WS_CHILD) == 0) {
        m_hWnd->menu = m_hMenuDefault;
        DrawMenuBar();
    }
    auto* context = lpCreateStruct != nullptr ? static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams) : nullptr;
    if (!OnCreateClient(lpCreateStruct, context))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext != nullptr && pContext->m_pNewViewClass != nullptr)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CView* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    if (pContext == nullptr || pContext->m_pNewViewClass == nullptr)
        return nullptr;
    std::unique_ptr<CObject> object = pContext->m_pNewViewClass->CreateObject();
    auto* view = dynamic_cast<CView*>(object.get());
    if (view == nullptr)
        return nullptr;
    // Until its window exists the view is ours to delete.
    view->m_bAutoDelete = FALSE;
    if (!view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext) ||
        view->m_hWnd == nullptr)
        return nullptr;
    view->m_bAutoDelete = TRUE;
    object.release();
    return view;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* previous = m_pViewActive;
    if (pViewNew == previous)
        return;
    m_pViewActive = pViewNew;
    if (!bNotify)
        return;
    if (previous != nullptr)
        previous->OnActivateView(FALSE, pViewNew, previous);
    if (pViewNew != nullptr && m_pViewActive == pViewNew)
        pViewNew->OnActivateView(TRUE, pViewNew, previous);
}

CDocument* CFrameWnd::GetActiveDocument()
{
    CView* view = GetActiveView();
    return view != nullptr ? view->GetDocument() : nullptr;
}

CRect CFrameWnd::GetClientArea() const
{
    CRect client;
    GetClientRect(&client);
    if (m_hWnd != nullptr)
        client.top = std::min(client.bottom, client.top + AfxPlaceMenuBar(m_hWnd));
    return client;
}

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_hWnd == nullptr)
        return;
    CRect area = GetClientArea();
    AfxRepositionBars(this, area);
    if (CWnd* pane = GetDlgItem(int(AFX_IDW_PANE_FIRST)))
        pane->MoveWindow(&area);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT)
{
    if (pBar == nullptr)
        return;
    DWORD style = pBar->GetBarStyle();
    if (nDockBarID == AFX_IDW_DOCKBAR_BOTTOM)
        style = (style & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_BOTTOM;
    else if (nDockBarID != 0 || !(style & CBRS_ALIGN_ANY))
        style = (style & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP; // no side bars: the rest dock at the top
    pBar->SetBarStyle(style);
    RecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL)
{
    if (pBar == nullptr || pBar->m_hWnd == nullptr)
        return;
    pBar->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    RecalcLayout();
}

CControlBar* CFrameWnd::GetControlBar(UINT nID)
{
    return dynamic_cast<CControlBar*>(GetDlgItem(int(nID)));
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    RecalcLayout();
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1)
        nCmdShow = IsWindowVisible() ? SW_SHOW : SW_SHOWNORMAL;
    ShowWindow(nCmdShow);
    BringWindowToTop();
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    // The first view becomes the active one.
    if (GetActiveView() == nullptr) {
        if (auto* view = dynamic_cast<CView*>(GetDescendantWindow(int(AFX_IDW_PANE_FIRST), TRUE)))
            SetActiveView(view, FALSE);
    }
    if (pDoc != nullptr) {
        std::vector<CView*> views;
        for (POSITION pos = pDoc->GetFirstViewPosition(); pos != nullptr;)
            views.push_back(pDoc->GetNextView(pos));
        for (CView* view : views) {
            if (view->GetParentFrame() == this)
                view->OnInitialUpdate();
        }
    }
    if (bMakeVisible) {
        ActivateFrame();
        if (CView* view = GetActiveView())
            view->OnActivateView(TRUE, view, view);
    }
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCTSTR lpszDocName)
{
    CString title = m_strTitle;
    if ((GetStyle() & FWS_ADDTOTITLE) && lpszDocName != nullptr && *lpszDocName != '\0') {
        title = (GetStyle() & FWS_PREFIXTITLE) != 0 ? CString(lpszDocName) + " - " + m_strTitle
                                                    : m_strTitle + " - " + lpszDocName;
    }
    CString current;
    GetWindowText(current);
    if (current != title)
        SetWindowText(title.c_str());
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CDocument* doc = GetActiveDocument();
    UpdateFrameTitleForDocument(bAddToTitle && doc != nullptr ? doc->GetTitle().c_str() : nullptr);
}

void CFrameWnd::SetMessageText(LPCTSTR lpszText)
{
    m_strMessageText = lpszText != nullptr ? lpszText : "";
    if (auto* bar = dynamic_cast<CStatusBar*>(GetDlgItem(int(AFX_IDW_STATUS_BAR)))) {
        bar->SetPaneText(0, m_strMessageText.c_str());
        return;
    }
    if (CFrameWnd* outer = GetParentFrame())
        outer->SetMessageText(m_strMessageText.c_str());
}

void CFrameWnd::SetMessageText(UINT nID)
{
    CString text;
    text.LoadString(nID);
    SetMessageText(text.c_str());
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CView* view = GetActiveView(); view != nullptr && view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (DispatchOwnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return RouteBeyondFrame(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::LoadAccelTable(UINT nIDResource)
{
    const std::vector<AccelEntry>* table = FindAcceleratorTable(AfxGetResourceHandle(), nIDResource);
    if (table == nullptr)
        return FALSE;
    m_accelerators = *table;
    return TRUE;
}

namespace {

bool KeyIsDown(int virtualKey)
{
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}

// A virtual-key entry matches the key with exactly its Ctrl, Shift and Alt state.
bool MatchesVirtualKey(const AccelEntry& entry, const MSG& msg)
{
    if (entry.key != msg.wParam)
        return false;
    const bool alt = msg.message == WM_SYSKEYDOWN || KeyIsDown(VK_MENU);
    return ((entry.fVirt & FCONTROL) != 0) == KeyIsDown(VK_CONTROL) &&
           ((entry.fVirt & FSHIFT) != 0) == KeyIsDown(VK_SHIFT) && ((entry.fVirt & FALT) != 0) == alt;
}

// A character entry matches the typed character; only Alt is told apart.
bool MatchesCharacter(const AccelEntry& entry, const MSG& msg)
{
    return entry.key == msg.wParam && ((entry.fVirt & FALT) != 0) == (msg.message == WM_SYSCHAR);
}

} // namespace

UINT CFrameWnd::FindAccelerator(const MSG& msg) const
{
    const bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    const bool character = msg.message == WM_CHAR || msg.message == WM_SYSCHAR;
    if (!keyDown && !character)
        return 0;
    for (const AccelEntry& entry : m_accelerators) {
        const bool virtualKey = (entry.fVirt & FVIRTKEY) != 0;
        if (keyDown && virtualKey && MatchesVirtualKey(entry, msg))
            return entry.cmd;
        if (character && !virtualKey && MatchesCharacter(entry, msg))
            return entry.cmd;
    }
    return 0;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg == nullptr || m_hWnd == nullptr)
        return FALSE;
    const UINT command = FindAccelerator(*pMsg);
    if (command == 0)
        return FALSE;
    // Code 1 in the high word: the command came from an accelerator.
    PostMessage(WM_COMMAND, WPARAM(MAKELONG(WORD(command), 1)), 0);
    return TRUE;
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI)
{
    int virtualKey = VK_SCROLL;
    if (pCmdUI->m_nID == ID_INDICATOR_CAPS)
        virtualKey = VK_CAPITAL;
    else if (pCmdUI->m_nID == ID_INDICATOR_NUM)
        virtualKey = VK_NUMLOCK;
    pCmdUI->Enable((GetKeyState(virtualKey) & 1) != 0);
}

BOOL CFrameWnd::OnBarCheck(UINT nID)
{
    CControlBar* bar = GetControlBar(nID);
    if (bar == nullptr)
        return FALSE;
    ShowControlBar(bar, !bar->IsVisible(), FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    CControlBar* bar = GetControlBar(pCmdUI->m_nID);
    if (bar == nullptr) {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->SetCheck(bar->IsVisible() ? 1 : 0);
}

BOOL CFrameWnd::RouteBeyondFrame(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu || pPopupMenu == nullptr)
        return;
    AfxUpdateMenuItems(pPopupMenu, this, m_bAutoMenuEnable);
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    if (GetStyle() & FWS_ADDTOTITLE)
        OnUpdateFrameTitle(TRUE);
    return 0;
}

void CFrameWnd::OnClose()
{
    CWinApp* app = AfxGetApp();
    const bool isMain = app != nullptr && app->m_pMainWnd == this;
    CDocument* doc = GetActiveDocument();
    if (!isMain && doc != nullptr && !doc->CanCloseFrame(this))
        return;
    if (isMain) {
        if (!app->SaveAllModified())
            return;
        app->CloseAllDocuments(FALSE);
        if (app->m_pMainWnd == nullptr)
            return;
    }
    // The last frame of a document closes the document (which destroys the frame).
    if (doc != nullptr && !isMain) {
        int otherFrames = 0;
        for (POSITION pos = doc->GetFirstViewPosition(); pos != nullptr;) {
            CView* view = doc->GetNextView(pos);
            if (view->GetParentFrame() != this)
                ++otherFrames;
        }
        if (otherFrames == 0) {
            doc->PreCloseFrame(this);
            doc->OnCloseDocument();
            return;
        }
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    m_pViewActive = nullptr;
    CWnd::OnDestroy();
}

void CFrameWnd::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}
