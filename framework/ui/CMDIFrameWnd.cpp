#include "framework/ui/CMDIFrameWnd.h"

#include "framework/ui/CControlBar.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CMDIChildWnd.h"
#include "framework/ui/CView.h"
#include "framework/ui/WindowHandle.h"

#include <QMdiArea>
#include <QMdiSubWindow>

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

namespace {

constexpr UINT kMdiClientId = 0xE900; // AFX_IDW_PANE_FIRST, as classic

const char* MdiClientClass()
{
    static const WindowClassInfo* info = [] {
        WindowClassInfo mdi;
        mdi.name = "MDICLIENT";
        mdi.createWidget = [](const CREATESTRUCT&, QWidget* parent) -> QWidget* {
            auto* area = new QMdiArea(parent);
            area->setActivationOrder(QMdiArea::ActivationHistoryOrder);
            return area;
        };
        return AfxRegisterWindowClass(std::move(mdi));
    }();
    return info->name.c_str();
}

QMdiArea* AreaOf(HWND hWndClient)
{
    return qobject_cast<QMdiArea*>(AfxWidgetFromHandle(hWndClient));
}

CMDIChildWnd* ChildOf(QMdiSubWindow* sub)
{
    if (sub == nullptr || sub->widget() == nullptr)
        return nullptr;
    return dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(AfxHandleFromWidget(sub->widget())));
}

QMdiSubWindow* SubWindowOf(const CWnd* child)
{
    QWidget* widget = child != nullptr ? AfxWidgetFromHandle(child->m_hWnd) : nullptr;
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w))
            return sub;
    }
    return nullptr;
}

} // namespace

CMDIFrameWnd::CMDIFrameWnd() = default;

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*)
{
    return CreateClient(lpcs, nullptr);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu*)
{
    CWnd client;
    if (!client.CreateEx(0, MdiClientClass(), nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                         GetClientArea(), this, kMdiClientId))
        return FALSE;
    m_hWndMDIClient = client.Detach();
    if (QMdiArea* area = AreaOf(m_hWndMDIClient)) {
        QObject::connect(area, &QMdiArea::subWindowActivated, area, [this, hWnd = m_hWnd](QMdiSubWindow* sub) {
            if (sub != nullptr && AfxIsLiveHandle(hWnd) && CWnd::FromHandlePermanent(hWnd) == this)
                OnActiveChildChanged(nullptr);
        });
    }
    return TRUE;
}

void CMDIFrameWnd::OnDestroy()
{
    if (QMdiArea* area = AreaOf(m_hWndMDIClient))
        QObject::disconnect(area, &QMdiArea::subWindowActivated, nullptr, nullptr);
    m_pLastActive = nullptr;
    m_bDestroying = true;
    CFrameWnd::OnDestroy();
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const
{
    CMDIChildWnd* active = nullptr;
    QMdiArea* area = AreaOf(m_hWndMDIClient);
    if (area != nullptr) {
        // The last child made active, while it lives; else Qt's current one.
        for (QMdiSubWindow* sub : area->subWindowList()) {
            if (ChildOf(sub) == m_pLastActive && m_pLastActive != nullptr)
                active = m_pLastActive;
        }
        if (active == nullptr)
            active = ChildOf(area->currentSubWindow());
    }
    if (pbMaximized != nullptr) {
        QMdiSubWindow* sub = SubWindowOf(active);
        *pbMaximized = sub != nullptr && sub->isMaximized();
    }
    return active;
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate)
{
    auto* child = dynamic_cast<CMDIChildWnd*>(pWndActivate);
    QMdiArea* area = AreaOf(m_hWndMDIClient);
    QMdiSubWindow* sub = SubWindowOf(child);
    if (area == nullptr || sub == nullptr)
        return;
    area->setActiveSubWindow(sub);
    OnActiveChildChanged(child);
}

void CMDIFrameWnd::OnActiveChildChanged(CMDIChildWnd* pRequested)
{
    CMDIChildWnd* now = pRequested;
    if (now == nullptr) {
        QMdiArea* area = AreaOf(m_hWndMDIClient);
        now = area != nullptr ? ChildOf(area->currentSubWindow()) : nullptr;
    }
    CMDIChildWnd* before = m_pLastActive;
    if (now == before)
        return;
    m_pLastActive = now;
    if (before != nullptr && before->m_hWnd != nullptr)
        before->OnMDIActivate(FALSE, now, before);
    if (now != nullptr)
        now->OnMDIActivate(TRUE, now, before);
    else
        MDISetMenu(nullptr);
    OnUpdateFrameTitle(TRUE);
}

void CMDIFrameWnd::OnChildDestroyed(CMDIChildWnd* pChild)
{
    if (m_bDestroying || pChild != m_pLastActive)
        return;
    m_pLastActive = nullptr;
    // The most recently active of the others takes over.
    CMDIChildWnd* next = nullptr;
    if (QMdiArea* area = AreaOf(m_hWndMDIClient)) {
        const auto subs = area->subWindowList(QMdiArea::ActivationHistoryOrder);
        for (auto it = subs.rbegin(); it != subs.rend() && next == nullptr; ++it) {
            CMDIChildWnd* candidate = ChildOf(*it);
            if (candidate != nullptr && candidate != pChild && candidate->m_hWnd != nullptr)
                next = candidate;
        }
    }
    if (next != nullptr) {
        MDIActivate(next);
        return;
    }
    MDISetMenu(nullptr);
    OnUpdateFrameTitle(TRUE);
}

void CMDIFrameWnd::MDIMaximize(CWnd* pWnd)
{
    if (QMdiSubWindow* sub = SubWindowOf(pWnd))
        sub->showMaximized();
}

void CMDIFrameWnd::MDIRestore(CWnd* pWnd)
{
    if (QMdiSubWindow* sub = SubWindowOf(pWnd))
        sub->showNormal();
}

void CMDIFrameWnd::MDINext()
{
    if (QMdiArea* area = AreaOf(m_hWndMDIClient)) {
        area->activateNextSubWindow();
        OnActiveChildChanged(ChildOf(area->currentSubWindow()));
    }
}

void CMDIFrameWnd::MDICascade()
{
    if (QMdiArea* area = AreaOf(m_hWndMDIClient))
        area->cascadeSubWindows();
}

void CMDIFrameWnd::MDITile()
{
    if (QMdiArea* area = AreaOf(m_hWndMDIClient))
        area->tileSubWindows();
}

void CMDIFrameWnd::MDISetMenu(HMENU hMenu)
{
    if (m_hWnd == nullptr)
        return;
    HMENU wanted = hMenu != nullptr ? hMenu : m_hMenuDefault;
    if (m_hWnd->menu == wanted && m_hWnd->menuBar)
        return;
    m_hWnd->menu = wanted;
    DrawMenuBar();
    RecalcLayout();
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    if (CMDIChildWnd* child = MDIGetActive())
        return child;
    return this;
}

CView* CMDIFrameWnd::GetActiveView() const
{
    if (CMDIChildWnd* child = MDIGetActive())
        return child->GetActiveView();
    return CFrameWnd::GetActiveView();
}

void CMDIFrameWnd::RecalcLayout(BOOL)
{
    if (m_hWnd == nullptr)
        return;
    CRect area = GetClientArea();
    AfxRepositionBars(this, area);
    if (CWnd* client = CWnd::FromHandle(m_hWndMDIClient); client != nullptr && AfxIsLiveHandle(m_hWndMDIClient))
        client->MoveWindow(&area);
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CMDIChildWnd* child = MDIGetActive();
    CDocument* doc = child != nullptr ? child->GetActiveDocument() : nullptr;
    UpdateFrameTitleForDocument(bAddToTitle && doc != nullptr ? doc->GetTitle().c_str() : nullptr);
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The active child's route goes on to this frame and the application itself.
    if (CMDIChildWnd* child = MDIGetActive())
        return child->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
