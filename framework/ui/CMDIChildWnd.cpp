#include "framework/ui/CMDIChildWnd.h"

#include "framework/core/Resources.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CMDIFrameWnd.h"
#include "framework/ui/CView.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/WindowHandle.h"

#include <QMdiArea>
#include <QMdiSubWindow>

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

namespace {

// A child frame's widget sits in a sub-window of the MDI area, which draws its caption.
const char* MdiChildClass()
{
    static const WindowClassInfo* info = [] {
        WindowClassInfo child;
        child.name = "TalisoMDIChild";
        child.createWidget = [](const CREATESTRUCT& cs, QWidget* parent) -> QWidget* {
            QWidget* widget = AfxNewPlainWindowWidget(nullptr);
            if (auto* area = qobject_cast<QMdiArea*>(parent)) {
                QMdiSubWindow* sub = area->addSubWindow(widget);
                sub->setAttribute(Qt::WA_DeleteOnClose, false);
                sub->setWindowTitle(QString::fromUtf8(cs.lpszName != nullptr ? cs.lpszName : ""));
                const QSize size = area->viewport()->size();
                sub->resize(cs.cx > 0 ? cs.cx : std::max(size.width() * 2 / 3, 200),
                            cs.cy > 0 ? cs.cy : std::max(size.height() * 2 / 3, 150));
            } else if (parent != nullptr) {
                widget->setParent(parent);
            }
            return widget;
        };
        return AfxRegisterWindowClass(std::move(child));
    }();
    return info->name.c_str();
}

QMdiSubWindow* SubWindowOf(HWND hWnd)
{
    QWidget* widget = AfxWidgetFromHandle(hWnd);
    return widget != nullptr ? qobject_cast<QMdiSubWindow*>(widget->parentWidget()) : nullptr;
}

} // namespace

CMDIChildWnd::CMDIChildWnd() = default;

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = MdiChildClass();
    return CFrameWnd::PreCreateWindow(cs);
}

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext)
{
    if (pParentWnd == nullptr)
        pParentWnd = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    if (pParentWnd == nullptr || pParentWnd->m_hWndMDIClient == nullptr)
        return FALSE;
    m_pMDIFrame = pParentWnd;
    if (lpszWindowName != nullptr && m_strTitle.IsEmpty())
        m_strTitle = lpszWindowName;
    CWnd* client = CWnd::FromHandle(pParentWnd->m_hWndMDIClient);
    // The sub-window shows the child; the child itself stays hidden until it is activated.
    if (!CreateEx(0, lpszClassName, lpszWindowName, (dwStyle | WS_CHILD) & ~WS_VISIBLE, rect, client, 0, pContext))
        return FALSE;
    if (QMdiSubWindow* sub = SubWindowOf(m_hWnd))
        sub->setWindowTitle(QString::fromUtf8(m_strTitle.c_str()));
    return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    CString title;
    title.LoadString(nIDResource);
    if (const int newline = title.Find('\n'); newline >= 0)
        title = title.Left(newline);
    m_strTitle = title;
    m_nIDHelp = nIDResource;
    LoadAccelTable(nIDResource);
    if (!Create(nullptr, m_strTitle.c_str(), dwDefaultStyle, rectDefault, dynamic_cast<CMDIFrameWnd*>(pParentWnd),
                pContext))
        return FALSE;
    LoadFrameIcon(nIDResource);
    return TRUE;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    if (m_pMDIFrame != nullptr)
        return m_pMDIFrame;
    return dynamic_cast<CMDIFrameWnd*>(GetParentFrame());
}

void CMDIChildWnd::MDIActivate()
{
    if (CMDIFrameWnd* frame = GetMDIFrame())
        frame->MDIActivate(this);
}

void CMDIChildWnd::MDIMaximize()
{
    if (CMDIFrameWnd* frame = GetMDIFrame())
        frame->MDIMaximize(this);
}

void CMDIChildWnd::MDIRestore()
{
    if (CMDIFrameWnd* frame = GetMDIFrame())
        frame->MDIRestore(this);
}

void CMDIChildWnd::MDIDestroy()
{
    DestroyWindow();
}

void CMDIChildWnd::ActivateFrame(int nCmdShow)
{
    QMdiSubWindow* sub = SubWindowOf(m_hWnd);
    if (nCmdShow == SW_SHOWMAXIMIZED && sub != nullptr)
        sub->showMaximized();
    else if (sub != nullptr && !sub->isVisible())
        sub->show();
    ShowWindow(SW_SHOW);
    MDIActivate();
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd*, CWnd*)
{
    CMDIFrameWnd* frame = GetMDIFrame();
    if (bActivate && frame != nullptr)
        frame->MDISetMenu(m_hMenuShared);
    if (CView* view = GetActiveView())
        view->OnActivateView(bActivate, bActivate ? view : nullptr, view);
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CDocument* doc = GetActiveDocument();
    CString title = m_strTitle;
    if (bAddToTitle && (GetStyle() & FWS_ADDTOTITLE) && doc != nullptr)
        title = doc->GetTitle();
    SetFrameText(title);
    if (CMDIFrameWnd* frame = GetMDIFrame(); frame != nullptr && frame->MDIGetActive() == this)
        frame->OnUpdateFrameTitle(bAddToTitle);
}

void CMDIChildWnd::SetFrameText(const CString& text)
{
    CString current;
    GetWindowText(current);
    if (current != text)
        SetWindowText(text.c_str());
    if (QMdiSubWindow* sub = SubWindowOf(m_hWnd))
        sub->setWindowTitle(QString::fromUtf8(text.c_str()));
}

BOOL CMDIChildWnd::RouteBeyondFrame(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The main frame's own handlers come before the application's.
    if (CMDIFrameWnd* frame = GetMDIFrame(); frame != nullptr && frame->DispatchOwnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CFrameWnd::RouteBeyondFrame(nID, nCode, pExtra, pHandlerInfo);
}

void CMDIChildWnd::OnDestroy()
{
    QMdiSubWindow* sub = SubWindowOf(m_hWnd);
    const BOOL wasMaximized = sub != nullptr && sub->isMaximized();
    if (sub != nullptr) {
        sub->hide();
        sub->deleteLater();
    }
    CFrameWnd::OnDestroy();
    if (CMDIFrameWnd* frame = GetMDIFrame())
        frame->OnChildDestroyed(this, wasMaximized);
}
