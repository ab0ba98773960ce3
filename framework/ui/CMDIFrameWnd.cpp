#include "framework/ui/CMDIFrameWnd.h"

#include "framework/ui/CControlBar.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CMDIChildWnd.h"
#include "framework/ui/CView.h"
#include "framework/ui/WindowHandle.h"

#include "framework/gdi/GdiQt.h"
#include "framework/ui/CMenu.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>

#include <algorithm>

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
    ON_COMMAND_EX(ID_WINDOW_ARRANGE, OnMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_CASCADE, OnMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_TILE_HORZ, OnMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_ARRANGE, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_CASCADE, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_HORZ, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
    ON_COMMAND_EX_RANGE(AFX_IDM_FIRST_MDICHILD, AFX_IDM_FIRST_MDICHILD + kMaxMDIChildMenuItems - 1,
                        OnActivateChildFromMenu)
END_MESSAGE_MAP()

namespace {

constexpr UINT kMdiClientId = 0xE900; // AFX_IDW_PANE_FIRST, the first pane's id
constexpr int kKeyF4 = VK_F1 + 3;
constexpr int kKeyF6 = VK_F1 + 5;

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

// Paints the client area's background through WM_ERASEBKGND when a window object has
// subclassed the client (a picture behind the children); else Qt paints it.
class ClientBackgroundPainter final : public QObject {
public:
    ClientBackgroundPainter(QObject* parent, HWND hWndClient) : QObject(parent), m_hWndClient(hWndClient) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* viewport = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::Paint || viewport == nullptr || !AfxIsLiveHandle(m_hWndClient) ||
            CWnd::FromHandlePermanent(m_hWndClient) == nullptr)
            return QObject::eventFilter(watched, event);
        QImage image(viewport->size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        LRESULT erased = 0;
        if (HDC hdc = GdiCreateImageDevice(&image)) {
            erased = ::SendMessage(m_hWndClient, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
            GdiDeleteDevice(hdc);
        }
        if (erased == 0)
            return QObject::eventFilter(watched, event);
        QPainter painter(viewport);
        painter.drawImage(static_cast<QPaintEvent*>(event)->rect(), image, static_cast<QPaintEvent*>(event)->rect());
        return true;
    }

private:
    HWND m_hWndClient;
};

// The child's title as the Window menu lists it ("&" would mark a mnemonic).
CString WindowMenuText(std::size_t index, CMDIChildWnd* child)
{
    CString title;
    child->GetWindowText(title);
    title.Replace("&", "&&");
    CString text;
    text.Format("&%u %s", unsigned(index + 1), title.c_str());
    return text;
}

bool IsWindowCommandMenu(CMenu* menu)
{
    for (UINT id : {ID_WINDOW_ARRANGE, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_TILE_VERT}) {
        if (menu->GetMenuState(id, MF_BYCOMMAND) != UINT(-1))
            return true;
    }
    return false;
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
        area->viewport()->installEventFilter(new ClientBackgroundPainter(area, m_hWndMDIClient));
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

void CMDIFrameWnd::OnChildDestroyed(CMDIChildWnd* pChild, BOOL bWasMaximized)
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
        if (bWasMaximized)
            MDIMaximize(next);
        // The focus fell to the first control of the next window when the closing one was hidden.
        if (CView* view = next->GetActiveView(); view != nullptr && view->m_hWnd != nullptr)
            view->SetFocus();
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

void CMDIFrameWnd::MDIPrev()
{
    if (QMdiArea* area = AreaOf(m_hWndMDIClient)) {
        area->activatePreviousSubWindow();
        OnActiveChildChanged(ChildOf(area->currentSubWindow()));
    }
}

void CMDIFrameWnd::MDICascade()
{
    QMdiArea* area = AreaOf(m_hWndMDIClient);
    if (area == nullptr)
        return;
    // The active window goes last, on top of the others.
    std::vector<QMdiSubWindow*> shown;
    QMdiSubWindow* active = area->activeSubWindow();
    for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::CreationOrder)) {
        if (sub->isVisible() && !sub->isMinimized() && sub != active)
            shown.push_back(sub);
    }
    if (active != nullptr && active->isVisible() && !active->isMinimized())
        shown.push_back(active);
    if (shown.empty())
        return;
    // One size for all, each a title bar lower and further right than the one before;
    // a window never shrinks below two thirds of the room, so the steps start over at the
    // top left when there is no more room for them.
    const QSize room = area->viewport()->size();
    const int count = int(shown.size());
    const int step = std::max(shown.front()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, shown.front()), 16);
    const QSize size(std::max(room.width() - (count - 1) * step, room.width() * 2 / 3),
                     std::max(room.height() - (count - 1) * step, room.height() * 2 / 3));
    const int positions =
        1 + std::max(0, std::min((room.width() - size.width()) / step, (room.height() - size.height()) / step));
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* sub = shown[std::size_t(i)];
        if (sub->isMaximized())
            sub->showNormal();
        const int offset = (i % positions) * step;
        sub->setGeometry(offset, offset, size.width(), size.height());
        sub->raise();
    }
}

void CMDIFrameWnd::MDITile(int nType)
{
    QMdiArea* area = AreaOf(m_hWndMDIClient);
    if (area == nullptr)
        return;
    std::vector<QMdiSubWindow*> shown;
    for (QMdiSubWindow* sub : area->subWindowList()) {
        if (sub->isVisible() && !sub->isMinimized())
            shown.push_back(sub);
    }
    if (shown.empty())
        return;
    const QSize size = area->viewport()->size();
    const int count = int(shown.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* sub = shown[std::size_t(i)];
        if (sub->isMaximized())
            sub->showNormal();
        if (nType == MDITILE_HORIZONTAL) {
            const int top = size.height() * i / count;
            sub->setGeometry(0, top, size.width(), size.height() * (i + 1) / count - top);
        } else {
            const int left = size.width() * i / count;
            sub->setGeometry(left, 0, size.width() * (i + 1) / count - left, size.height());
        }
    }
}

void CMDIFrameWnd::MDIIconArrange()
{
    QMdiArea* area = AreaOf(m_hWndMDIClient);
    if (area == nullptr)
        return;
    const int bottom = area->viewport()->height();
    int left = 0;
    for (QMdiSubWindow* sub : area->subWindowList()) {
        if (!sub->isMinimized())
            continue;
        sub->move(left, std::max(0, bottom - sub->height()));
        left += sub->width();
    }
}

std::vector<CMDIChildWnd*> CMDIFrameWnd::GetMDIChildren() const
{
    std::vector<CMDIChildWnd*> children;
    if (QMdiArea* area = AreaOf(m_hWndMDIClient)) {
        for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::CreationOrder)) {
            CMDIChildWnd* child = ChildOf(sub);
            if (child != nullptr && child->m_hWnd != nullptr && sub->isVisible())
                children.push_back(child);
        }
    }
    return children;
}

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT nID)
{
    switch (nID) {
    case ID_WINDOW_ARRANGE: MDIIconArrange(); return TRUE;
    case ID_WINDOW_CASCADE: MDICascade(); return TRUE;
    case ID_WINDOW_TILE_HORZ: MDITile(MDITILE_HORIZONTAL); return TRUE;
    case ID_WINDOW_TILE_VERT: MDITile(MDITILE_VERTICAL); return TRUE;
    default: return FALSE;
    }
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(MDIGetActive() != nullptr);
}

BOOL CMDIFrameWnd::OnActivateChildFromMenu(UINT nID)
{
    const std::vector<CMDIChildWnd*> children = GetMDIChildren();
    const std::size_t index = nID - AFX_IDM_FIRST_MDICHILD;
    if (index >= children.size())
        return FALSE;
    MDIActivate(children[index]);
    return TRUE;
}

void CMDIFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    if (!bSysMenu && pPopupMenu != nullptr && IsWindowCommandMenu(pPopupMenu)) {
        // The list of the last opening goes, with the separator before it.
        UINT count = pPopupMenu->GetMenuItemCount();
        bool removedListed = false;
        while (count > 0) {
            const UINT id = pPopupMenu->GetMenuItemID(int(count - 1));
            const bool listed = id >= AFX_IDM_FIRST_MDICHILD && id < AFX_IDM_FIRST_MDICHILD + kMaxMDIChildMenuItems;
            const bool separatorOfList = id == 0 && removedListed;
            if (!listed && !separatorOfList)
                break;
            removedListed = true;
            pPopupMenu->DeleteMenu(count - 1, MF_BYPOSITION);
            --count;
            if (separatorOfList)
                break;
        }
        const std::vector<CMDIChildWnd*> children = GetMDIChildren();
        if (!children.empty())
            pPopupMenu->AppendMenu(MF_SEPARATOR);
        CMDIChildWnd* active = MDIGetActive();
        for (std::size_t i = 0; i < children.size() && i < kMaxMDIChildMenuItems; ++i) {
            pPopupMenu->AppendMenu(MF_STRING | (children[i] == active ? MF_CHECKED : MF_UNCHECKED),
                                   AFX_IDM_FIRST_MDICHILD + UINT(i), WindowMenuText(i, children[i]).c_str());
        }
    }
    CFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
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

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg != nullptr && TranslateWindowKey(*pMsg))
        return TRUE;
    return CFrameWnd::PreTranslateMessage(pMsg);
}

BOOL CMDIFrameWnd::TranslateWindowKey(const MSG& msg)
{
    const auto down = [](int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; };
    if (msg.message != WM_KEYDOWN || !down(VK_CONTROL) || down(VK_MENU))
        return FALSE;
    CMDIChildWnd* active = MDIGetActive();
    if (active == nullptr || active->m_hWnd == nullptr)
        return FALSE;
    if (msg.wParam == WPARAM(kKeyF6)) {
        if (down(VK_SHIFT))
            MDIPrev();
        else
            MDINext();
        return TRUE;
    }
    if (msg.wParam == WPARAM(kKeyF4) && !down(VK_SHIFT)) {
        // Posted: the key's own window may be one that the close destroys.
        active->PostMessage(WM_CLOSE);
        return TRUE;
    }
    return FALSE;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The active child's route goes on to this frame and the application itself.
    if (CMDIChildWnd* child = MDIGetActive())
        return child->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
